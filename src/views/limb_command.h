// The view's limb command: the lunar limb profile at contact for the current
// event and observer, drawn at once on the window (it is not a display mode:
// the next paint shows the display mode again).
#pragma once

#include <cstdio>

#include "gdi/device_context.h"
#include "base/ui_text.h"
#include "local/graze_tracks.h"
#include "local/limb_profile.h"
#include "map/map_window.h"
#include "program/program_state.h"

namespace vernier {

struct LimbCommandResult {
  bool gridFound = false;  // "LRO.dat" could be opened; otherwise only the message was drawn
  LimbViewResult view;     // when gridFound
  StationTracks stationTracks;  // when gridFound and stations were given
};

// The white lines shown instead of the profile when "LRO.dat" is missing:
// what is missing, where the elevation model is published, and the converter
// that makes the file from it.
// The texts are marked in the "LimbGrid" context: look them up with
// TranslateUiText("LimbGrid", ...) where they are shown.
inline constexpr const char* kLimbGridMissingLine =
    UI_TEXT_NOOP("LimbGrid", "月の標高ファイル(LRO.dat)がありません！");
extern const char* const kLimbGridSourceLine;
extern const char* const kLimbGridConverterLine;

// Sets up the observer, finds the maximum (from t0 with the event's Delta T),
// fills the client area black and draws the limb view, or the message
// lines when "LRO.dat" cannot be opened. The libration's four lines go to
// `librationLines` (null: nowhere). With the stations of a graze, their tracks
// are drawn over the profile too.
LimbCommandResult DrawLimbCommand(ProgramState& state, DeviceContext& dc, const ClientRect& client,
                                  std::FILE* librationLines = nullptr,
                                  const GrazeStations* stations = nullptr);

}  // namespace vernier
