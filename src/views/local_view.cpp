#include "views/local_view.h"

#include "sky/star_names.h"
#include "views/view_paint.h"

namespace vernier {

LocalCircumstances DrawLocalReport(ProgramState& s, DeviceContext& dc,
                                   const ReportOptions& options) {
  LocalContext local = s.Local();
  LocalCircumstances report =
      ComputeLocalCircumstances(local, s.site, s.cities, s.cursor.elements.t0,
                                s.navigation.eventDeltaT, options.librationLines);
  if (!report.planet && report.hip > 0)
    report.starName = StarNames::Shared(s.dataDirectory).NameOf(report.hip);
  DrawLocalCircumstances(dc, report, options.animation);
  return report;
}

LocalCircumstances RunLocalCircumstancesCommand(ProgramState& s, DeviceContext& dc,
                                                const ClientRect& client,
                                                const ReportOptions& options) {
  s.display.displayMode = DisplayMode::LocalCircumstances;
  s.navigation.paintRequest = PaintRequest::Redraw;
  const FontSpec previous = dc.SelectFont(ViewFont());
  dc.FillSolidRect(client.left, client.top, client.right, client.bottom, Rgb{0, 0, 0});
  LocalCircumstances report = DrawLocalReport(s, dc, options);
  dc.SelectFont(previous);
  return report;
}

void DrawLocalAnimationFrame(DeviceContext& dc, const std::vector<OccultationDiagramState>& frames,
                             std::size_t k) {
  const FontSpec previous = dc.SelectFont(ViewFont());
  dc.SetBackgroundColor(Rgb{0, 0, 0});  // as the paint's black fill left it
  DrawAnimationFrame(dc, frames, k);
  dc.SelectFont(previous);
}

}  // namespace vernier
