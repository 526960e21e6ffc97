#include "map/map_settings.h"

namespace vernier {

std::pair<double, double> PathMapCentre(const MapSettings& w, const GreatestOccultationResult& g) {
  switch (w.preset) {
    case WindowPreset::Asia:
      return {125, 36};
    case WindowPreset::Europe:
      return {25, 40};
    case WindowPreset::TypedCentre:
      return {w.typedLon, w.typedLat};
    case WindowPreset::WholeGlobe:
      break;
  }
  return {g.lon, g.lat};
}

}  // namespace vernier
