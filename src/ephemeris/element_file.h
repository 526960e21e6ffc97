// Element files: the record of one event, the program's calendar, the band
// table of file names, and the text layout of a record (three lines of 13, 11
// and 10 numbers that a whitespace-separated scan reads back).
#pragma once

#include <string>
#include <vector>

namespace vernier {

struct ElementRecord {
  double year = 0, month = 0, day = 0, type = 0, mag = 0, gamma = 0, jd = 0, ma = 0, xz = 0, t0 = 0,
         zc = 0, sao = 0, hip = 0;
  double x0 = 0, x1 = 0, x2 = 0, x3 = 0, y0 = 0, y1 = 0, y2 = 0, y3 = 0, d0 = 0, d1 = 0, d2 = 0;
  double mu0 = 0, mu1 = 0, l10 = 0, l11 = 0, l12 = 0, l20 = 0, l21 = 0, l22 = 0, tanf1 = 0, tanf2 = 0;
};

// The program's Julian date: Julian calendar up to JD 2299150, Gregorian
// after, astronomical year numbering.
double ProgramJulianDate(double year, double month, double day, double hour);

struct RecordDate {
  int year = 0, month = 0, day = 0;
};

// The calendar date whose `ProgramJulianDate` with `hour` gives the instant
// `jd` (hour in [0, 24)).
RecordDate ProgramCalendarDate(double jd, double hour);

// "ecbc28.PRN" … "ecad40.PRN" for a year, or "" above 4000.
std::string BandFileName(double year);

// The three lines of a record, each ended by a newline.
std::string FormatRecord(const ElementRecord& record);

// The calendar years a band file holds events of (both included).
struct YearSpan {
  int first = 0, last = 0;
};

// The name of the record of years kept next to the element file `path`.
std::string YearsFilePath(const std::string& path);

// The 64-bit FNV-1a hash of a text, in 16 hex digits.
std::string TextHash(const std::string& text);

// Writes the records under a temporary name of this process's own in the same
// directory and renames it to `path` when complete. With `years`, a record of
// the years the file covers, its size and its hash is written next to it
// (YearsFilePath); without, a record left by an earlier build is removed.
bool WriteElementFile(const std::string& path, const std::vector<ElementRecord>& records,
                      std::string& error, const YearSpan* years = nullptr);

// Reads records the way the program does (groups of 13, 11 and 10 numbers,
// line breaks being only white space); false when a group is incomplete.
bool ReadElementFile(const std::string& path, std::vector<ElementRecord>& records,
                     std::string& error);

}  // namespace vernier
