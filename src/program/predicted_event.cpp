#include "program/predicted_event.h"

#include "program/navigation.h"

namespace vernier {

bool LoadPredictedEvent(ProgramState& s, const PredictedContact& contact,
                        const ObserverSite& site) {
  s.site = site;
  return LoadEventAtPosition(s, contact.eventYear, contact.eventMonth, contact.eventDay,
                             contact.recordIndex);
}

}  // namespace vernier
