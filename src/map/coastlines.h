// The land outlines of the map: the five compressed coastline files (kept in
// memory once read, read again when a file changes), or the built-in simple
// outline.
//
// Coastline strokes are drawn in white (palette 15) through PlotPoint; a
// segment is skipped whole when its first point lies behind the globe or far
// outside the frame. Only every k-th stroke point is projected, k = 100 /
// magnification, and fine-rank segments are read only in a preset window
// zoomed to magnification 5 or more.
#pragma once

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "base/data_directory.h"
#include "gdi/device_context.h"
#include "base/ui_text.h"
#include "map/map_window.h"
#include "map/simple_map.h"

namespace vernier {

// Asia, Europe, Africa, North America, South America, read in this order.
// A file whose name ends in a blank, as older data sets wrote them, is found
// as well.
inline constexpr std::array<std::string_view, 5> kCoastlineFileNames{
    "as_cil.cbd", "eu_cil.cbd", "af_cil.cbd", "na_cil.cbd", "sa_cil.cbd"};

// Marked in the "Coastlines" context; looked up where it is drawn.
inline constexpr char kMissingCoastlineMessage[] =
    UI_TEXT_NOOP("Coastlines", "CIA WORLD BANKデータファイルがありません！");
inline constexpr int kMissingCoastlineMessageX = 300;
inline constexpr int kMissingCoastlineMessageY = 15;

// By the window's coastlineSource: 2 the simple map, else the files; each in
// the window's projection.
void DrawCoastlines(MapWindow& window, DeviceContext& dc, const DataDirectory& dataDirectory);

// The five files in order. A file that cannot be opened ends the drawing and
// writes the missing-file message; returns false then. A file that opens but
// is damaged is drawn as far as it is sound and the next file is read.
bool DrawCoastlineFiles(MapWindow& window, DeviceContext& dc, const DataDirectory& dataDirectory);

// The per-draw quantities of the coastline files.
struct CoastlineDrawing {
  double magnification = 1;  // radius / baseRadius
  int strokeStep = 100;      // k: every k-th stroke point is projected
  double margin = 28;        // pixels beyond the frame a segment may start
  bool fineRanks = false;    // ranks 3 and higher are drawn
};
CoastlineDrawing CoastlineDrawingFor(const MapWindow& window);

// One coastline file's bytes. Returns false when its header or dictionary is
// unusable (nothing of it is drawn then); bad segments are skipped.
bool DrawCoastlineBytes(MapWindow& window, DeviceContext& dc, std::span<const unsigned char> bytes,
                        const CoastlineDrawing& drawing);
// The same for an open file, read whole from its start.
bool DrawCoastlineFile(MapWindow& window, DeviceContext& dc, std::FILE* file,
                       const CoastlineDrawing& drawing);

// The built-in outline (or other tables of the same stream form), by
// projection.
using OutlineTableSet = std::array<std::span<const double>, kOutlineTableCount>;
void DrawSimpleMap(MapWindow& window, DeviceContext& dc);
void DrawSimpleMapGlobe(MapWindow& window, DeviceContext& dc,
                        const OutlineTableSet& tables = OutlineTables);
void DrawSimpleMapMercator(MapWindow& window, DeviceContext& dc,
                           const OutlineTableSet& tables = OutlineTables);

}  // namespace vernier
