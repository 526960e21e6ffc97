// Feeds arbitrary bytes to the coastline-file reader as one open file, in the
// globe and Mercator forms, whole and zoomed so that every rank and the
// thinning step 1 are reached.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gdi/recording_device_context.h"
#include "map/coastlines.h"
#include "map/map_window.h"

namespace {

void Draw(const std::vector<std::uint8_t>& bytes, vernier::Projection projection,
          vernier::WindowPreset preset, double zoom) {
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(bytes.data()), bytes.size(), "rb");
  if (!file) return;
  vernier::RecordingDeviceContext dc;
  dc.SetRecording(false);
  vernier::MapWindow w;
  w.projection = projection;
  const vernier::ClientRect client{0, 0, 684, 520};
  vernier::LayoutMapWindow(w, dc, client, true);
  vernier::ApplyWindowPreset(w);
  w.preset = preset;
  vernier::LayoutMapWindow(w, dc, client, true);
  vernier::ApplyWindowPreset(w);
  if (preset == vernier::WindowPreset::TypedCentre) w.targetRadius = w.baseRadius * zoom;
  w.centreLonDeg = 135;
  w.centreLatDeg = 35;
  vernier::SetMapCentre(w);
  vernier::DrawCoastlineFile(w, dc, file, vernier::CoastlineDrawingFor(w));
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // fmemopen does not take an empty buffer.
  if (size == 0) return 0;
  const std::vector<std::uint8_t> bytes(data, data + size);
  Draw(bytes, vernier::Projection::Globe, vernier::WindowPreset::WholeGlobe, 1);
  Draw(bytes, vernier::Projection::Globe, vernier::WindowPreset::TypedCentre, 150);
  Draw(bytes, vernier::Projection::Mercator, vernier::WindowPreset::WholeGlobe, 1);
  return 0;
}
