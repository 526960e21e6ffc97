#include "views/limit_table_view.h"

#include "astro/sexagesimal.h"
#include "gdi/format.h"

namespace vernier {

void DrawLimitLineTable(DeviceContext& dc, const BesselianElements& e,
                        const LimitLineTable& table) {
  dc.SetTextColor(Rgb{255, 255, 255});
  dc.TextOut(10, 45, Format(" Date     :%5.0f %2.0f %2.0f", e.year, e.month, e.day));
  dc.TextOut(10, 105, "   LON.     NORTH     CENTER    SOUTH    TIME   TIME");
  dc.TextOut(10, 120, "            LIMIT     LINE      LIMIT    (UT)   (LMT)");
  dc.TextOut(10, 135, " --------  --------  --------  --------  -----  -----");
  for (int i = 0; i < kLimitLineRows; ++i) {
    const LimitLineRow& row = table[static_cast<std::size_t>(i)];
    const int y = 15 * (i + 11);
    if (row.central) {
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
