// The records a path finder works on, fresh per test: an element record and
// the shadow state bound together in a PathContext, and a map window laid out
// on the 684 x 520 client with a recording surface for what the map draws.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

#include "bessel/path_context.h"
#include "gdi/recording_device_context.h"
#include "map/map_window.h"

namespace vernier::testing {

struct PathFixture {
  explicit PathFixture(const BesselianElements& e, Projection projection = Projection::Mercator)
      : elements(e) {
    map.projection = projection;
    LayoutMapWindow(map, dc, ClientRect{0, 0, 684, 520}, true);
    ApplyWindowPreset(map);
    CentreOn(0, 0);
    dc.Clear();
  }

  // The centre fields as the path driver fills them, then SetMapCentre.
  void CentreOn(double lon, double lat) { SetMapCentreAt(map, lon, lat); }

  int Count(DrawCall::Kind kind) const {
    int n = 0;
    for (const DrawCall& c : dc.Calls()) n += c.kind == kind;
    return n;
  }

  BesselianElements elements;
  BesselianState state;
  MapWindow map;
  RecordingDeviceContext dc;
  PathContext ctx{elements, state};
};

// Collects the diagnostic lines a context writes.
class DiagnosticCapture {
 public:
  explicit DiagnosticCapture(PathContext& ctx) : ctx_(ctx), file_(std::tmpfile()) {
    ctx_.diagnostics = file_;
    ctx_.diagnosticLevel = 1;
  }
  ~DiagnosticCapture() {
    ctx_.diagnostics = nullptr;
    if (file_) std::fclose(file_);
  }
  DiagnosticCapture(const DiagnosticCapture&) = delete;
  DiagnosticCapture& operator=(const DiagnosticCapture&) = delete;

  std::string Text() const {
    std::string text;
    if (!file_) return text;
    std::fflush(file_);
    std::rewind(file_);
    char buffer[256];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
    std::fseek(file_, 0, SEEK_END);
    return text;
  }

 private:
  PathContext& ctx_;
  std::FILE* file_;
};

// An occultation-like record (star at infinity: l1 = l2 = the Moon's radius,
// no cone): the shadow crosses the Earth west to east, a little north of the
// centre, on 2025 March 15 around t0 = 12 TD, with the star opposite the Sun
// so that the path lies on the night side.
inline BesselianElements StraightShadowRecord(double y0 = 0.2) {
  BesselianElements e;
  e.year = 2025;
  e.month = 3;
  e.day = 15;
  e.type = 2;
  e.mag = 4.5;
  e.xz = 1234;
  e.jd = 2460750.0;
  e.t0 = 12;
  e.x1 = 0.55;
  e.y0 = y0;
  e.y1 = 0.05;
  e.d0 = 10;
  e.mu0 = 180;
  e.mu1 = 15;
  e.l10 = 0.2725;
  e.l20 = 0.2725;
  return e;
}

}  // namespace vernier::testing
