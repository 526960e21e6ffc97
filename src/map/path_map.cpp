#include "map/path_map.h"

#include <cmath>

#include "astro/sexagesimal.h"
#include "astro/time.h"
#include "bessel/kml_export.h"
#include "base/format.h"
#include "gdi/palette.h"
#include "map/map_frame.h"
#include "map/path_points.h"

namespace vernier {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLabelColour{255, 255, 191};

void DrawObserverPlaces(const MapWindow& w, DeviceContext& dc, const CityList& cities) {
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  for (int i = 1; i <= cities.count && i <= kCityListCapacity; ++i) {
    const CityEntry& city = cities.entries[i];
    ProjectedPixel p = ProjectGlobe(w, city.longitude, city.latitude);
    const int x = w.centreX + p.x, y = w.centreY - p.y;
    if (p.z < 12 && x > w.frameLeft && x < w.frameRight && y > w.frameTop && y < w.frameBottom) {
      dc.SetTextColor(kLabelColour);
      dc.TextOut(x + 2, y, city.name);
      DrawFilledCircle(dc, x, y, 2, Colour::Red);
    }
  }
}

// The map driver's work around the schedule: centre, panel, world map, time
// label and the export's path pieces.
class MapDriver : public PathTraceSink {
 public:
  MapDriver(DeviceContext& dc, PathMapInputs& in, PathMapResult& result)
      : dc_(dc), in_(in), result_(result), colours_(PathColoursFor(in.map.gridMode)) {
    panel_.objectName = ObjectName(in.elements.xz);
    panel_.deltaT = in.deltaT;
    panel_.siteMagnitude = in.siteMagnitude;
    panel_.siteAltitude = in.siteAltitude;
    panel_.siteSunAltitude = in.siteSunAltitude;
  }

  void OnGreatestFound(const GreatestOccultationResult& g) override {
    MapWindow& w = in_.map;
    double lon = g.lon, lat = g.lat;
    switch (w.preset) {
      case WindowPreset::Asia:
        lon = 125, lat = 36;
        break;
      case WindowPreset::Europe:
        lon = 25, lat = 40;
        break;
      case WindowPreset::TypedCentre:
        lon = w.typedLon, lat = w.typedLat;
        break;
      case WindowPreset::WholeGlobe:
        break;
    }
    SetMapCentreAt(w, lon, lat);
    centred_ = true;
    result_.centreLon = lon;
    result_.centreLat = lat;
    panel_.greatestT = g.t;
    panel_.greatestLon = g.lon;
    panel_.greatestLat = g.lat;
  }

  void OnContactsFound(const PathTraceResult& r) override {
    panel_.firstContactT = r.firstContact.t;
    panel_.lastContactT = r.lastContact.t;
    panel_.firstInnerT = r.firstInnerContact.t;
    panel_.lastInnerT = r.lastInnerContact.t;
    panel_.firstInnerLon = r.firstInnerContact.lon;
    panel_.firstInnerLat = r.firstInnerContact.lat;
    panel_.lastInnerLon = r.lastInnerContact.lon;
    panel_.lastInnerLat = r.lastInnerContact.lat;
    DrawFrame();
    if (in_.exportKml) kml_.emplace(in_.elements);
  }

  // The panel and the world map; also drawn when the path has no contacts.
  void DrawFrame() {
    if (framed_) return;
    framed_ = true;
    if (!centred_) OnGreatestFound(GreatestOccultationResult{});  // no greatest point: 0° 0°
    MapWindow& w = in_.map;
    DrawTextPanel(dc_, w, in_.elements, panel_);
    DrawWorldMap(w, dc_, in_.dataDirectory);
    DrawPresetHeader(dc_, w, in_.elements, panel_);
    if (w.projection != Projection::Mercator && w.preset != WindowPreset::WholeGlobe &&
        Magnification(w) >= 10)
      DrawObserverPlaces(w, dc_, in_.cities);
  }

  void OnPathPoint(const PathPoint& p) override {
    PlotPathPoint(in_.map, dc_, p, colours_);
    if (!kml_) return;
    if (p.curve == PathCurve::Limit) {
      kml_->AddPoint(p.side > 0 ? KmlLine::South : KmlLine::North, p.lon, p.lat);
    } else if (p.curve == PathCurve::LimitOffset) {
      // Offset −1 widens the inner shadow: the "+1 sec" lines.
      KmlLine line = p.side > 0 ? (p.offset < 0 ? KmlLine::SouthPlus : KmlLine::SouthMinus)
                                : (p.offset < 0 ? KmlLine::NorthPlus : KmlLine::NorthMinus);
      kml_->AddPoint(line, p.lon, p.lat);
    }
  }

  void OnInstantTraced(double t) override {
    HoursMinutes hm = SplitHours(UniversalHours(in_.elements.t0, t, in_.deltaT));
    dc_.SetBackgroundMode(BackgroundMode::Opaque);
    dc_.SetTextColor(kWhite);
    dc_.TextOut(in_.map.frameRight - 85, 16,
                FormatFixed(hm.hours, 2, 0) + ':' + FormatFixed(hm.minutes, 4, 1));
    labelled_ = true;
  }

  void Finish() {
    DrawFrame();
    if (labelled_) dc_.TextOut(in_.map.frameRight - 85, 16, "         ");
    if (kml_) {
      result_.kmlPath = kml_->Finish(in_.dataDirectory, in_.outputDirectory);
      result_.kmlProblem = kml_->Problem();
    }
  }

 private:
  DeviceContext& dc_;
  PathMapInputs& in_;
  PathMapResult& result_;
  PathLineColours colours_;
  MapPanel panel_;
  std::optional<KmlExport> kml_;
  bool centred_ = false;
  bool framed_ = false;
  bool labelled_ = false;
};

}  // namespace

PathMapResult DrawOccultationMap(DeviceContext& dc, PathMapInputs& in) {
  PathMapResult result;
  in.map.colour = Colour::Red;
  PathContext ctx(in.elements, in.shadow);
  PathTraceSettings settings;
  settings.deltaT = in.deltaT;
  settings.drawStepHours = in.drawStepHours;
  settings.kmlExport = in.exportKml;
  MapDriver driver(dc, in, result);
  result.trace = TracePath(ctx, settings, &driver);
  driver.Finish();
  return result;
}

}  // namespace vernier
