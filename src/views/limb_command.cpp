#include "views/limb_command.h"

#include "base/data_directory.h"
#include "views/limb_view.h"
#include "views/station_tracks_view.h"

namespace vernier {

const char* const kLimbGridSourceLine = UI_TEXT_NOOP(
    "LimbGrid",
    "月の標高データ(LRO LOLA の LDEM_16)は https://pds-geosciences.wustl.edu/ から入手できます");

const char* const kLimbGridConverterLine = UI_TEXT_NOOP(
    "LimbGrid",
    "vernier-lunar-grid で LDEM_16 から LRO.dat を作り、データディレクトリに置いてください");

LimbCommandResult DrawLimbCommand(ProgramState& s, DeviceContext& dc, const ClientRect& client,
                                  std::FILE* librationLines, const GrazeStations* stations) {
  LimbCommandResult result;
  SetUpObserver(s.site, s.observerPoint);
  LocalContext local = s.Local();
  const LocalMaximum maximum =
      FindMaximum(local, s.cursor.elements.t0, s.navigation.eventDeltaT).value_or(LocalMaximum{});

  dc.FillSolidRect(client.left, client.top, client.right, client.bottom, Rgb{0, 0, 0});
  if (std::FILE* probe = OpenDataFile(s.dataDirectory, kLroGridName, "r")) {
    std::fclose(probe);
    result.gridFound = true;
  } else {
    dc.SetTextColor(Rgb{255, 255, 255});
    dc.TextOut(50, 40, TranslateUiText("LimbGrid", kLimbGridMissingLine));
    dc.TextOut(50, 60, TranslateUiText("LimbGrid", kLimbGridSourceLine));
    dc.TextOut(50, 80, TranslateUiText("LimbGrid", kLimbGridConverterLine));
    return result;
  }

  LimbHeightGrid grid;
  LimbViewContext context{local, s.dataDirectory, grid, librationLines};
  result.view = ComputeLimbView(context, s.cursor.event.year, s.cursor.event.month,
                                s.cursor.event.day, s.site.longitude, 0.0);
  DrawLimbView(dc, result.view, s.cursor.elements, s.site.longitude, s.site.latitude);
  if (stations) {
    result.stationTracks = ComputeStationTracks(s.cursor.elements, result.view, *stations);
    DrawStationTracks(dc, result.stationTracks);
  }
  return result;
}

}  // namespace vernier
