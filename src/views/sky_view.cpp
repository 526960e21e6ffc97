#include "views/sky_view.h"

#include <cmath>

#include "astro/time.h"
#include "local/observer.h"
#include "views/sky_chart.h"

namespace vernier {

double PackedDateNumber(double year, double month, double day) {
  const double y = std::trunc(year), m = std::trunc(month), d = std::trunc(day);
  if (y >= 0) return y + m / 100 + d / 10000;
  return -(m / 100 - y + d / 10000);
}

SkyViewResult DrawSkyView(ProgramState& s, DeviceContext& dc, const ClientRect& client) {
  SetUpObserver(s.site, s.observerPoint);
  LocalContext local = s.Local();
  const double t0 = s.cursor.elements.t0;
  const double deltaT = s.navigation.eventDeltaT;
  SkyViewResult result;
  // The search starts from the value t0 (hours after t0), as the command gives
  // it; the nearly straight relative motion lets it settle all the same.
  const std::optional<LocalMaximum> maximum = FindMaximum(local, t0, deltaT);
  result.localStatus = maximum ? Status::Ok : Status::Failed;
  if (maximum) result.maximum = *maximum;

  dc.FillSolidRect(client.left, client.top, client.right, client.bottom, Rgb{0, 0, 0});
  result.packedDate =
      PackedDateNumber(s.cursor.event.year, s.cursor.event.month, s.cursor.event.day);
  result.universalTime = UniversalHours(t0, result.maximum.t, deltaT);
  DrawSkyChart(dc, result.packedDate, result.universalTime, s.site.longitude, s.site.latitude);
  return result;
}

}  // namespace vernier
