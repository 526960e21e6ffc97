#include "app/command_availability.h"

#include <QObject>

namespace vernier {

QString WhyZoomDoesNothing(const ProgramState& state) {
  if (state.display.displayMode != DisplayMode::PathMap)
    return QObject::tr("拡大・縮小は星蝕経路の地図でだけ使えます");
  // Each paint lays the chart out at its one scale, and the globe and the
  // Asia and Europe windows at their own radius.
  if (state.map.projection == Projection::Mercator)
    return QObject::tr("メルカトル図法の地図は拡大・縮小できません");
  if (state.map.preset != WindowPreset::TypedCentre)
    return QObject::tr("拡大・縮小の前に、地図を左ダブルクリックして中心を選んでください");
  return {};
}

QString WhyPreviousDoesNothing(const ProgramState& state) {
  if (state.search.searchMode != SearchMode::AllEvents)
    return QObject::tr("前の星蝕へは検索モード「全て」のときだけ戻れます");
  return {};
}

}  // namespace vernier
