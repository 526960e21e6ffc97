// The observer's evaluation point and the current geographic point share one
// storage: the path plot operations leave each point they convert in it (east
// longitude, latitude, altitude of the body), and the local computations read
// the observer from it (west longitude, latitude, height). Drawing a path thus
// moves the observer point, which is why the local maximum finders restore it
// first.
#pragma once

namespace vernier {

struct ObserverGeometry {
  double westLongitude = 0;  // degrees, positive west; a GeoPoint's east longitude
  double latitude = 0;       // degrees, geographic
  double height = 0;         // metres; a GeoPoint's altitude of the body in degrees
  double rhoSinPhi = 0;      // ρ sin φ′, Earth equatorial radii
  double rhoCosPhi = 0;      // ρ cos φ′
  double savedWestLongitude = 0;
  double savedLatitude = 0;
};

struct GeoPoint {
  double lat = 0, lon = 0, alt = 0;
};

inline void StoreGeoPoint(ObserverGeometry& storage, const GeoPoint& point) {
  storage.latitude = point.lat;
  storage.westLongitude = point.lon;
  storage.height = point.alt;
}

inline GeoPoint LoadGeoPoint(const ObserverGeometry& storage) {
  return {storage.latitude, storage.westLongitude, storage.height};
}

}  // namespace vernier
