// The view's sky command: the sky at the observer's maximum of the current
// event, drawn at once over the whole client area.
#pragma once

#include "gdi/device_context.h"
#include "local/circumstances.h"
#include "map/map_window.h"
#include "program/program_state.h"

namespace vernier {

struct SkyViewResult {
  Status localStatus = Status::Ok;  // of the search for the maximum; Failed: none found
  LocalMaximum maximum;      // t, altitude, magnitude at the maximum (t = 0 when none)
  double universalTime = 0;  // hours, the instant the chart shows
  double packedDate = 0;     // the date number passed to the chart
};

// The date number of a calendar date: year + month/100 + day/10000, for a
// negative year −(month/100 − year + day/10000).
double PackedDateNumber(double year, double month, double day);

// Sets up the observer from the site record, finds the observer's maximum of
// the loaded event (from t0, with the event's ΔT), fills the client area black
// and draws the sky chart for the event's date, the universal time of the
// maximum and the observer's longitude and latitude. When no maximum is found
// the chart shows the event's reference instant t0 and the result says so.
SkyViewResult DrawSkyView(ProgramState& state, DeviceContext& dc, const ClientRect& client);

}  // namespace vernier
