// The sky at the observer's maximum: a text block with the date, the time in
// universal, zone and local mean time and the observer's position, and a
// circular horizon chart with the zenith in the centre (south down, west
// right), on which the Sun, the five bright planets, 92 bright stars and the
// Moon are drawn where they stand above the horizon, the bright ones named.
#pragma once

#include "gdi/device_context.h"
#include "sky/sky_coordinates.h"

namespace vernier {

// The calendar date of a date number year + month/100 + day/10000 (for a
// negative year −(|year| + month/100 + day/10000)).
struct PackedDate {
  int year = 0, month = 0, day = 0;
};
PackedDate UnpackDate(double packed);

// The whole-hour zone of an east longitude: lon/15 rounded to the nearest
// hour, halves away from zero.
int SkyZoneHours(double longitude);

// The chart's geometry: centre (430, 200), two pixels per degree of zenith
// distance, horizon radius 180.
inline constexpr int kSkyCentreX = 430, kSkyCentreY = 200, kSkyHorizonRadius = 180;

// The pixel of azimuth `azimuth` (degrees from the south, westward) and
// `altitude` (degrees).
Pixel SkyChartPixel(double azimuth, double altitude);

// The radius of an object's disc for its magnitude.
int SkySymbolRadius(double magnitude);

// The Sun, a planet or a star at its horizon position: nothing unless it
// stands above the horizon; its name below it when brighter than magnitude 1;
// a disc whose radius and fill follow the magnitude (at magnitude -5 exactly
// the fill of the object drawn before stays).
void DrawSkyObject(DeviceContext& dc, const char* name, double magnitude,
                   const HorizonPosition& where);
// The Moon: "Moon" above it and a disc of radius 9, yellow for magnitudes
// between -6 and 0.
void DrawSkyMoon(DeviceContext& dc, double magnitude, const HorizonPosition& where);

// Draws the text block and the chart for the date number `packedDate`, the
// universal time `utHours` and the observer's east longitude and latitude
// (degrees). The font and brush selected before are selected back at the end;
// the text colour and the background mode are left as the chart set them.
void DrawSkyChart(DeviceContext& dc, double packedDate, double utHours, double longitude,
                  double latitude);

}  // namespace vernier
