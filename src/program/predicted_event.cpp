#include "program/predicted_event.h"

#include "program/navigation.h"

namespace vernier {

bool LoadPredictedEvent(ProgramState& s, const PredictedContact& contact,
                        const ObserverSite& site) {
  s.site = site;
  return LoadEventAtPosition(s, contact.eventYear, contact.eventMonth, contact.eventDay,
                             contact.recordIndex);
}

void LoadPredictedRecord(ProgramState& s, const BesselianElements& record,
                         const ObserverSite& site) {
  s.site = site;
  BesselianElements fromFile;
  CurrentEvent at;
  // The reader stops before the files' first event after this one, so that
  // "next" reads it; a year without a band leaves the reader where it was.
  if (TakeRecord(OpenElementFileAt(s.cursor.file, 0, record.year, record.month, record.day),
                 fromFile, at)) {
    while (fromFile.jd <= record.jd &&
           ReadNextElements(s.cursor.file, fromFile, 0, at) == Status::Ok) {
    }
    if (fromFile.jd > record.jd) UnreadElementRecord(s.cursor.file);
  }
  s.cursor.elements = record;
  s.cursor.event = {record.year, record.month, record.day, record.type, record.mag,
                    record.gamma, record.jd,   record.ma,  record.xz,   record.t0};
  s.navigation.loadedBeforeDate = false;
  s.navigation.loadFailed = false;
  s.navigation.paintRequest = PaintRequest::Redraw;
}

}  // namespace vernier
