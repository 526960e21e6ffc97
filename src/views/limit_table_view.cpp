#include "views/limit_table_view.h"

#include <cmath>
#include <string>

#include "astro/sexagesimal.h"
#include "base/format.h"

namespace vernier {
namespace {

// A latitude column, or dashes where the row has none.
std::string LatitudeColumn(double latitude) {
  return latitude == kNoLatitude ? std::string("   -----") : Format("%8.4f", latitude);
}

}  // namespace

void DrawLimitLineTable(DeviceContext& dc, const BesselianElements& e,
                        const LimitLineTable& table) {
  dc.SetTextColor(Rgb{255, 255, 255});
  dc.TextOut(10, 45, Format(" Date     :%5.0f %2.0f %2.0f", e.year, e.month, e.day));
  dc.TextOut(10, 105, "   LON.     NORTH     CENTER    SOUTH    TIME   TIME");
  dc.TextOut(10, 120, "            LIMIT     LINE      LIMIT    (UT)   (LMT)");
  dc.TextOut(10, 135, " --------  --------  --------  --------  -----  -----");
  const bool partial = std::trunc(e.type) == 1;
  if (partial)
    dc.TextOut(10, 75, " No central line: the limit that crosses the Earth, at its time");
  for (int i = 0; i < kLimitLineRows; ++i) {
    const LimitLineRow& row = table[static_cast<std::size_t>(i)];
    const int y = 15 * (i + 11);
    if (row.limitOnly) {
      const HoursMinutesSeconds u = SplitHoursMinSec(row.ut), l = SplitHoursMinSec(row.lmt);
      dc.TextOut(10, y,
                 Format(" %8.2f  %s  %s  %s  %2.0f:%2.0f  %2.0f:%2.0f  ", row.eastLongitude,
                        LatitudeColumn(row.north).c_str(), LatitudeColumn(kNoLatitude).c_str(),
                        LatitudeColumn(row.south).c_str(), u.hours, u.minutes, l.hours,
                        l.minutes));
    } else if (partial) {
      dc.TextOut(10, y,
                 Format(" %8.2f  =========  No Limit Line at This Longitude  =========  ",
                        row.eastLongitude));
    } else if (row.central) {
      const HoursMinutesSeconds u = SplitHoursMinSec(row.ut), l = SplitHoursMinSec(row.lmt);
      dc.TextOut(10, y,
                 Format(" %8.2f  %8.4f  %8.4f  %8.4f  %2.0f:%2.0f  %2.0f:%2.0f  ",
                        row.eastLongitude, row.north, row.centre, row.south, u.hours, u.minutes,
                        l.hours, l.minutes));
    } else {
      dc.TextOut(10, y,
                 Format(" %8.2f  =========  No Central Calculation Availabel   =========  ",
                        row.eastLongitude));
    }
  }
}

}  // namespace vernier
