#include "views/sky_chart.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/sexagesimal.h"
#include "astro/time.h"
#include "base/format.h"
#include "gdi/palette.h"
#include "local/circumstances.h"
#include "local/libration.h"
#include "sky/bright_objects.h"
#include "sky/planets.h"
#include "sky/sky_coordinates.h"

namespace vernier {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kNameColour{64, 0, 0};
constexpr Rgb kSkyColour{160, 192, 240};
constexpr Rgb kNegativeBrush{240, 192, 160};  // -5 < magnitude < 0
constexpr Rgb kFaintBrush{192, 240, 160};     // magnitude >= 0
constexpr Rgb kYellow{255, 255, 0};

constexpr double kSunMagnitude = -6;
constexpr double kMoonMagnitude = -5;
constexpr int kMoonRadius = 9;

FontSpec ChartFont(const char* face) {
  FontSpec f;
  f.height = -11;
  f.width = 0;
  f.escapement = 0;
  f.orientation = 0;
  f.weight = 500;
  f.charSet = 1;
  f.outPrecision = 0;
  f.clipPrecision = 0;
  f.quality = 0;
  f.pitchAndFamily = 1;
  f.faceName = face;
  return f;
}

// The date and time (seconds floored) of the instant `hours` after 0 h of the
// chart's date, in one time scale: " UT   2026-12-07 23:32:28".
std::string TimeRow(const char* label, const PackedDate& date, double hours) {
  const LocalDate d = DateOfHour(date.year, date.month, date.day, hours);
  const HoursMinutesSeconds t = SplitHoursMinSec(d.hour);
  return Format(" %-4s %d-%02.0f-%02.0f %02.0f:%02.0f:%02.0f", label, static_cast<int>(d.year),
                d.month, d.day, t.hours, t.minutes, std::floor(t.seconds));
}

// Returns the font selected before.
FontSpec DrawTextBlock(DeviceContext& dc, const PackedDate& date, double ut, double longitude,
                       double latitude) {
  const int zone = SkyZoneHours(longitude);
  const FontSpec previous = dc.SelectFont(ChartFont("Courier New"));
  dc.SetTextColor(kWhite);
  DrawRectOutline(dc, 5, 15, 180, 195, Colour::Brown);
  auto row = [&](int n, const std::string& text) { dc.TextOut(10, 15 * n, text); };
  row(2, " Sky at Max. Magnitude");
  // Each time with the date of that instant in its own time scale.
  row(4, TimeRow("UT", date, ut));
  row(5, TimeRow("LST", date, ut + zone));
  row(6, TimeRow("LMT", date, ut + longitude / 15));
  row(9, " Location");
  row(10, Format("   Lon(deg.):%8.2f", longitude));
  row(11, Format("   Lat(deg.):%8.2f", latitude));
  return previous;
}

// Returns the brush selected before.
Brush DrawChartFrame(DeviceContext& dc) {
  dc.SelectFont(ChartFont("Times Roman"));
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  const Brush previous = dc.SelectBrush(Brush{false, kSkyColour});
  dc.Ellipse(250, 20, 610, 380);
  for (int radius : {180, 120, 60})
    DrawCircleOutline(dc, kSkyCentreX, kSkyCentreY, radius, Colour::White);
  DrawSegment(dc, 430, 20, 430, 380, Colour::White);
  DrawSegment(dc, 250, 200, 610, 200, Colour::White);
  return previous;
}

}  // namespace

void DrawSkyObject(DeviceContext& dc, const char* name, double magnitude,
                   const HorizonPosition& where) {
  if (!(where.altitude > 0)) return;
  const Pixel p = SkyChartPixel(where.azimuth, where.altitude);
  const int r = SkySymbolRadius(magnitude);
  if (magnitude < 1) {
    dc.SetTextColor(kNameColour);
    dc.TextOut(p.x, p.y + 7, Format("%s", name));
  }
  if (magnitude > -5 && magnitude < 0)
    dc.SelectBrush(Brush{false, kNegativeBrush});
  else if (magnitude >= 0)
    dc.SelectBrush(Brush{false, kFaintBrush});
  else if (magnitude < -5)
    dc.SelectBrush(Brush{false, kYellow});
  dc.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
}

void DrawSkyMoon(DeviceContext& dc, double magnitude, const HorizonPosition& where) {
  if (!(where.altitude > 0)) return;
  const Pixel p = SkyChartPixel(where.azimuth, where.altitude);
  dc.SetTextColor(kNameColour);
  dc.TextOut(p.x, p.y - 20, "Moon");
  // Yellow but at magnitude 0 and fainter, as the stars there.
  dc.SelectBrush(Brush{false, magnitude >= 0 ? kFaintBrush : kYellow});
  const int r = kMoonRadius;
  dc.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
}

namespace {

// The Moon's geocentric right ascension and declination (degrees) at the
// Julian date `jd`, from the lunar theory with the mean obliquity.
EquatorialPlace MoonPlace(double jd) {
  const double T2 = JulianCenturies(jd);
  const double t = T2 / 100;
  const double epsilon = 23.44484667 - 1.3002583333333335 * t - 0.00043055555555555555 * t * t +
                         0.5553472222222222 * t * t * t - 0.014272222222222223 * t * t * t * t;
  const LunarEclipticPosition moon = MoonPositionELP(T2);
  const EquatorialPosition eq =
      EclipticToEquatorial(moon.longitude, moon.latitude, epsilon * kDegToRad);
  return {eq.rightAscension * kRadToDeg, eq.declination * kRadToDeg};
}

void DrawCompassLabels(DeviceContext& dc) {
  dc.SetTextColor(kSkyColour);
  dc.TextOut(415, 5, "North");
  dc.TextOut(415, 380, "South");
  dc.TextOut(225, 195, "East");
  dc.TextOut(615, 195, "West");
}

}  // namespace

PackedDate UnpackDate(double packed) {
  // The day is taken to the nearest whole number: x * 10000 - year * 10000 -
  // month * 100 comes out a few 1e-9 below the day for many dates.
  const double x = std::fabs(packed);
  const double year = std::floor(x);
  const long rest = std::lround((x - year) * 10000);
  PackedDate d;
  d.year = static_cast<int>(packed < 0 ? -year : year);
  d.month = static_cast<int>(rest / 100);
  d.day = static_cast<int>(rest % 100);
  return d;
}

int SkyZoneHours(double longitude) {
  return static_cast<int>(longitude > 0 ? std::trunc(longitude / 15 + 0.5)
                                        : std::trunc(longitude / 15 - 0.5));
}

Pixel SkyChartPixel(double azimuth, double altitude) {
  const double rho = 90 - altitude;
  const double alpha = -azimuth * kDegToRad;
  return {TruncatedPixel(kSkyCentreX - std::sin(alpha) * rho * 2),
          TruncatedPixel(2 * std::cos(alpha) * rho + kSkyCentreY)};
}

int SkySymbolRadius(double magnitude) {
  if (magnitude < 0) return TruncatedPixel(7 - 0.5 * magnitude);
  return TruncatedPixel(7 * std::pow(2.0, -magnitude));
}

void DrawSkyChart(DeviceContext& dc, double packedDate, double utHours, double longitude,
                  double latitude) {
  const PackedDate date = UnpackDate(packedDate);
  const FontSpec previousFont = DrawTextBlock(dc, date, utHours, longitude, latitude);
  const Brush previousBrush = DrawChartFrame(dc);

  const double jd = SkyJulianDate(date.year, date.month, date.day,
                                  utHours + SkyZoneHours(longitude), 1, longitude);
  auto horizon = [&](double ra, double dec) {
    return EquatorialToHorizon(jd, ra, dec, latitude, longitude);
  };

  const BodyPosition sun = SunPosition(jd);
  DrawSkyObject(dc, BrightObjectTable[0].name, kSunMagnitude,
                horizon(sun.rightAscension, sun.declination));
  const int planets[] = {kMercury, kVenus, kMars, kJupiter, kSaturn};
  for (int i = 0; i < 5; ++i) {
    const BodyPosition p = PlanetPosition(planets[i], jd);
    DrawSkyObject(dc, BrightObjectTable[i + 1].name, p.magnitude,
                  horizon(p.rightAscension, p.declination));
  }
  for (int i = 6; BrightObjectTable[i].name; ++i) {
    const BrightObject& star = BrightObjectTable[i];
    if (!(star.magnitude < 4)) continue;
    const StarPlace place = PrecessStar(jd, star.rightAscension, star.declination,
                                        star.properMotionRA, star.properMotionDec);
    DrawSkyObject(dc, star.name, star.magnitude, horizon(place.rightAscension, place.declination));
  }
  const EquatorialPlace moon = MoonPlace(jd);
  DrawSkyMoon(dc, kMoonMagnitude, horizon(moon.rightAscension, moon.declination));

  DrawCompassLabels(dc);
  dc.SelectFont(previousFont);
  dc.SelectBrush(previousBrush);
}

}  // namespace vernier
