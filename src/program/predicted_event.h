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

// Loads `record` itself, an event found from the ephemeris that no element
// file holds, as the current event, with `site` as the observer; the files'
// reader is placed at the record's date (where a band holds it) so that next
// and previous go on from there.
void LoadPredictedRecord(ProgramState& state, const BesselianElements& record,
                         const ObserverSite& site);

}  // namespace vernier
