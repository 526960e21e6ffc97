#include "search/predicted_event.h"

namespace vernier {

bool LoadPredictedEvent(ProgramState& s, const PredictedContact& contact,
                        const ObserverSite& site) {
  s.site = site;
  s.event.year = contact.eventYear;
  s.event.month = contact.eventMonth;
  s.event.day = contact.eventDay;
  // The reader loads the record before the position it is given.
  s.file.recordIndex = contact.recordIndex + 1;
  if (SeekElementRecord(s.file, s.elements, 0, s.event.year, s.event) != 1) {
    s.navigation.paintRequest = PaintRequest::ReadAtDate;
    return false;
  }
  s.navigation.paintRequest = PaintRequest::Redraw;
  return true;
}

}  // namespace vernier
