// The element record of one event, the element files that hold the records,
// and the single reader that loads them.
//
// A record is 34 decimal numbers separated by white space (written as lines of
// 13, 11 and 10 numbers; line breaks are only white space to the reader). Files
// cover bands of years; records follow each other in date order.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/data_directory.h"
#include "base/status.h"

namespace vernier {

struct BesselianElements {
  // Line 1.
  double year = 0, month = 0, day = 0, type = 0, mag = 0, gamma = 0, jd = 0, ma = 0, xz = 0, t0 = 0,
         zc = 0, sao = 0, hip = 0;
  // Line 2: x(t), y(t) cubic, d(t) quadratic (degrees), t in hours from t0.
  double x0 = 0, x1 = 0, x2 = 0, x3 = 0, y0 = 0, y1 = 0, y2 = 0, y3 = 0, d0 = 0, d1 = 0, d2 = 0;
  // Line 3: mu(t) linear (degrees), l1(t), l2(t) quadratic, cone tangents.
  double mu0 = 0, mu1 = 0, l10 = 0, l11 = 0, l12 = 0, l20 = 0, l21 = 0, l22 = 0, tanf1 = 0,
         tanf2 = 0;
};
inline constexpr int kElementRecordNumbers = 34;

// The view's copy of the leading ten numbers of the loaded record.
struct CurrentEvent {
  double year = 0, month = 0, day = 0, type = 0, mag = 0, gamma = 0, jd = 0, ma = 0, xz = 0, t0 = 0;
};

class ElementRecords;  // the records of one file, read whole

// The reader's state: one open file, the 1-based position of the current record
// in it, and the diagnostic level of the last reading operation.
struct ElementFile {
  ElementFile();
  ~ElementFile();
  ElementFile(ElementFile&&) noexcept;
  ElementFile& operator=(ElementFile&&) noexcept;

  DataDirectory dataDirectory;
  int recordIndex = 0;
  int diagnosticLevel = 0;

  std::string fileName;          // band name of the open file ("ecad22.PRN"), empty when none
  std::string lastProblem;       // the last unreadable-record message, empty when none
  std::FILE* messages = stderr;  // where unreadable records are reported (null: nowhere)

  std::shared_ptr<const ElementRecords> records;  // of the open file; null when none
  std::size_t nextRecord = 0;                     // position of the next record to read
};

// The element file of the band holding `year` ("ecbc28.PRN" … "ecad40.PRN"),
// none above 4000.
std::optional<std::string> ElementFileNameForYear(double year);
// The same bands, except that the first one is −3001 < year ≤ −2800.
std::optional<std::string> ElementFileNameForFirst(double year);

// The first year of the band after the one holding the whole year `year`, none
// after the last band (above 3800). Years below the first band lead into it.
std::optional<int> NextBandStartYear(int year);

// The last year of the band before the one holding the whole year `year`, none
// before the first band (at or below -2800).
std::optional<int> PreviousBandEndYear(int year);

// A record loaded, with its leading ten numbers.
struct LoadedRecord {
  BesselianElements elements;
  CurrentEvent event;
};

// Opens the band of `year` at its first record on or after the date (a date
// after the file's last record gives that record); none when no record can be
// loaded. Stores `level` in diagnosticLevel.
std::optional<LoadedRecord> OpenElementFileAt(ElementFile& file, int level, double year,
                                              double month, double day);

// Makes a loaded record the current one; false, leaving them as they are,
// when none was loaded.
inline bool TakeRecord(const std::optional<LoadedRecord>& loaded, BesselianElements& elements,
                       CurrentEvent& event) {
  if (!loaded) return false;
  elements = loaded->elements;
  event = loaded->event;
  return true;
}

// Reading operations. Each stores `level` in diagnosticLevel and returns Ok when
// a record is loaded (its leading ten numbers delivered in `event`), Failed
// otherwise; on Failed the previously loaded record stays in `elements`.
Status OpenElementFileFirst(ElementFile& file, BesselianElements& elements, int level, double year,
                            CurrentEvent& event);
Status ReadNextElements(ElementFile& file, BesselianElements& elements, int level,
                        CurrentEvent& event);
// Steps the reader back one record, so that the next ReadNextElements gives
// the record last read again; Failed before the file's first record.
Status UnreadElementRecord(ElementFile& file);
Status ReadNextElementsUncounted(ElementFile& file, BesselianElements& elements, int level,
                                 CurrentEvent& event);
Status SeekElementRecord(ElementFile& file, BesselianElements& elements, int level, double year,
                         CurrentEvent& event);
void CloseElementFile(ElementFile& file);

CurrentEvent LeadingNumbers(const BesselianElements& elements);

}  // namespace vernier
