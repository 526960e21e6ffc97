// The observer's evaluation point, and a geographic point of a path.
#pragma once

namespace vernier {

// Where the local computations evaluate: the observer's place (west
// longitude, latitude, height) and its geocentric coordinates.
struct ObserverGeometry {
  double westLongitude = 0;  // degrees, positive west
  double latitude = 0;       // degrees, geographic
  double height = 0;         // metres
  double rhoSinPhi = 0;      // ρ sin φ′, Earth equatorial radii
  double rhoCosPhi = 0;      // ρ cos φ′
};

// A point on the Earth found for a path: latitude and east longitude, and the
// body's altitude there (all degrees).
struct GeoPoint {
  double lat = 0, lon = 0, alt = 0;
};

// The sines and cosines of a point's latitude and east longitude (the angles
// in degrees times kDegToRad), where the finder already had them: the map
// projects from them instead of taking them again.
struct PointTrig {
  bool known = false;
  double sinLat = 0, cosLat = 1;
  double sinLon = 0, cosLon = 1;
};

}  // namespace vernier
