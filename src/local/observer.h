// The observer: the site record the dialogs edit, the user's list of sites
// read from "location.new", and the preparation of the observer's geocentric
// terms in the shared evaluation point (ObserverGeometry).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "bessel/geo_point.h"
#include "base/status.h"
#include "base/user_message.h"

namespace vernier {

// The site entry number that marks a position typed in or picked on the map.
inline constexpr int kTypedSiteIndex = 99;

struct ObserverSite {
  double longitude = 135.0;  // degrees, positive east
  double latitude = 35.0;    // degrees, geographic, positive north
  double height = 0.0;       // metres above the reference ellipsoid
  int cityIndex = 1;         // 1-based entry of CityList, or kTypedSiteIndex
  int searchCityIndex = 1;   // 1-based entry chosen for the search by observer
  int siteSource = 0;        // 0 = from CityList, 1 = typed in
};

inline constexpr int kCityListCapacity = 40;
// All names share this many bytes, each name followed by a zero byte. The
// bytes counted are the name's bytes as they stand in the file (Shift-JIS or
// UTF-8), so a list holds the same entries whichever encoding it was saved in.
inline constexpr int kCityNamePoolBytes = 852;

struct CityEntry {
  std::string name;  // UTF-8, as written (leading blanks kept)
  double longitude = 0, latitude = 0, height = 0;
  double fourth = 0;  // read and kept, used nowhere
};

struct CityList {
  std::array<CityEntry, kCityListCapacity + 1> entries;  // 1-based; entries[0] unused
  int count = 0;
  int poolUsed = 0;  // name-pool bytes taken by the last read
  std::vector<std::string> skipped;  // why entries of the last read were skipped
};

// Reads "location.new" from `dataDirectory` (name matched without regard to
// case). Returns 1 when the file was read, whatever it held, and -1 when it
// cannot be opened; the list then keeps its previous contents and
// MissingSiteListMessage says so to the user.
//
// Lines are read 79 bytes at a time as the C runtime reads them (a longer line
// continues as the next read), but a read never ends inside a character. Line
// ends CR LF count as LF. A line starting with ';' is a comment; any other line
// is an entry: its name runs up to the first ',', then four numbers separated
// by ',' or ';' are converted with atof. Reading stops after 40 entries, or at
// the first entry whose name no longer fits in the name pool (that entry and
// the rest are ignored). An entry whose numbers are not finite or lie outside
// longitude -180..360, latitude -90..90 and height -500..9000 m is skipped, and
// `skipped` says so, naming its line.
Status LoadCityList(const DataDirectory& dataDirectory, CityList& list);
UserMessage MissingSiteListMessage();

// Copies the site into the evaluation point and computes rhoSinPhi and
// rhoCosPhi for its latitude and height.
void SetUpObserver(const ObserverSite& site, ObserverGeometry& geometry);

}  // namespace vernier
