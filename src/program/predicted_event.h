// Loading the event of a predicted contact as the current event, with the
// predictions' site as the observer, so that the local circumstances show it.
#pragma once

#include "local/predictions.h"
#include "program/program_state.h"

namespace vernier {

// Re-seeks the contact's record (its date and its position in its file) and
// asks for a redraw; the observer becomes `site`. False, with the previous
// record kept and the next paint loading at the event's date, when the
// record can no longer be read.
bool LoadPredictedEvent(ProgramState& state, const PredictedContact& contact,
                        const ObserverSite& site);

}  // namespace vernier
