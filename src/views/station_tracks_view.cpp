#include "views/station_tracks_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/format.h"
#include "gdi/palette.h"
#include "base/ui_text.h"
#include "views/view_paint.h"

namespace vernier {
namespace {

constexpr Colour kSeen = Colour::Yellow;
constexpr Colour kHidden = Colour::Red;
constexpr Colour kOnLimit = Colour::PaleCyan;
constexpr int kLabelSpacing = 14;  // pixels between the labels at the right edge

Colour TrackColour(const StationTrack& track, std::size_t i) {
  if (i < track.hidden.size() && track.hidden[i]) return kHidden;
  return track.station.offsetMetres == 0 ? kOnLimit : kSeen;
}

void DrawTrack(DeviceContext& dc, const StationTrack& track) {
  if (track.points.empty()) return;
  Colour current = TrackColour(track, 0);
  Pen previous = dc.SelectPen(PalettePen(current));
  dc.MoveTo(track.points[0].x, track.points[0].y);
  dc.SetPixel(track.points[0].x, track.points[0].y, PaletteColour(current));
  for (std::size_t i = 1; i < track.points.size(); ++i) {
    const Colour colour = TrackColour(track, i);
    if (colour != current) {
      dc.SelectPen(PalettePen(colour));
      current = colour;
    }
    dc.LineTo(track.points[i].x, track.points[i].y);
  }
  dc.SelectPen(previous);
}

}  // namespace

void DrawStationTracks(DeviceContext& dc, const StationTracks& tracks) {
  const FontSpec previousFont = dc.SelectFont(ViewFont());
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(PaletteColour(Colour::White));
  dc.TextOut(40, 42,
             tracks.eastPositive
                 ? UI_TEXT("GrazeTracks", "観測点の経路 (右の数字は限界線からの距離 m、東が +、経路の底の高さに)")
                 : UI_TEXT("GrazeTracks", "観測点の経路 (右の数字は限界線からの距離 m、北が +、経路の底の高さに)"));
  dc.SetTextColor(PaletteColour(kSeen));
  dc.TextOut(80, 419, UI_TEXT("GrazeTracks", "観測点の経路: 星が見える"));
  dc.SetTextColor(PaletteColour(kHidden));
  dc.TextOut(80, 435, UI_TEXT("GrazeTracks", "観測点の経路: 星が隠れる"));

  for (const StationTrack& track : tracks.tracks) DrawTrack(dc, track);

  // Each track's label at the frame's right edge, level with the track's
  // lowest point (where the tracks stand furthest apart), nearest the limit
  // first, leaving out a label that would overlap one already placed.
  std::vector<const StationTrack*> order;
  for (const StationTrack& track : tracks.tracks) order.push_back(&track);
  std::stable_sort(order.begin(), order.end(), [](const StationTrack* a, const StationTrack* b) {
    return std::fabs(a->station.offsetMetres) < std::fabs(b->station.offsetMetres);
  });
  std::vector<int> labelled;
  for (const StationTrack* entry : order) {
    const StationTrack& track = *entry;
    if (track.points.empty()) continue;
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < track.points.size(); ++i)
      if (track.points[i].y > track.points[lowest].y) lowest = i;
    const int y = track.points[lowest].y;
    bool clear = true;
    for (int other : labelled) clear = clear && std::abs(other - y) >= kLabelSpacing;
    if (!clear) continue;
    labelled.push_back(y);
    dc.SetTextColor(PaletteColour(TrackColour(track, lowest)));
    dc.TextOut(kLimbPlotRight + 4, y - 8,
               track.station.offsetMetres == 0 ? std::string("0")
                                               : Format("%+.0f", track.station.offsetMetres));
  }
  dc.SelectFont(previousFont);
}

}  // namespace vernier
