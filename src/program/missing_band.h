// A band of years whose element file is not in the data directory, as a
// failed navigation reports it: which file is missing, and what the user was
// doing, so that a front end can offer to build the band and carry on.
#pragma once

#include <optional>
#include <string>

#include "base/data_directory.h"

namespace vernier {

enum class BandNeed {
  Date,      // an event at a date of the band (the date dialog, today)
  Next,      // reading on past the end of the band before
  Previous,  // stepping back past the start of the band after
  List,      // the search list's scan
};

struct MissingBand {
  std::string fileName;  // the band's element file, "ecad18.PRN"
  int year = 0;          // the date that was asked for, inside the band
  int month = 1, day = 1;
  BandNeed need = BandNeed::Date;
};

// The band holding `year` when no file of its name (in any letter case) is in
// the data directory; none when the file is there (readable or not) or no band holds
// the year.
// The second line of the message of a missing element file: the file the
// data directory lacks, when it is known.
std::string MissingBandLine(const std::optional<MissingBand>& band);

std::optional<MissingBand> FindMissingBand(const DataDirectory& directory, BandNeed need, double year,
                                           int month = 1, int day = 1);

}  // namespace vernier
