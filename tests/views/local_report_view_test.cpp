#include "views/local_report_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "astro/time.h"
#include "gdi/recording_device_context.h"
#include "support/eclipse_1999.h"
#include "support/japan_star.h"
#include "support/local_records.h"
#include "support/settled.h"

namespace vernier {
namespace {

using testing::kJapanDeltaT;

using testing::Hms;
using testing::JapanStar;

// The records of one report.
struct Report : testing::LocalRecords {
  ObserverSite site;
  CityList cities;
  RecordingDeviceContext dc;
  LocalCircumstances result;

  explicit Report(const BesselianElements& e, double longitude = 135, double latitude = 35)
      : LocalRecords(e) {
    site.longitude = longitude;
    site.latitude = latitude;
    site.cityIndex = kTypedSiteIndex;
  }
  void AddCity(const char* name, double longitude, double latitude, double height) {
    CityEntry& entry = cities.entries[++cities.count];
    entry.name = name;
    entry.longitude = longitude;
    entry.latitude = latitude;
    entry.height = height;
  }
  // Draws the report and returns its rows by row number (texts at x = 10).
  std::map<int, std::string> Draw(double deltaT = kJapanDeltaT,
                                  AnimationDrawing animation = AnimationDrawing::AllAtOnce) {
    result = ComputeLocalCircumstances(context, site, cities, elements.t0, deltaT);
    DrawLocalCircumstances(dc, result, animation);
    std::map<int, std::string> rows;
    for (const DrawnText& t : dc.Texts()) {
      if (t.x != 10) continue;
      EXPECT_EQ(t.y % 15, 0) << t.text;
      EXPECT_EQ(rows.count(t.y / 15), 0u) << "row " << t.y / 15 << " drawn twice";
      rows[t.y / 15] = t.text;
    }
    return rows;
  }
  // The observer's xi, eta on the fundamental plane at t (from u, v with the
  // axis at x0, y0 = 0).
  std::pair<double, double> ObserverOnPlane(double t, double deltaT = kJapanDeltaT) {
    BesselianElements plain = elements;
    plain.x0 = plain.y0 = 0;
    BesselianState s;
    ObserverGeometry g;
    LocalState l;
    LocalContext c{plain, s, g, l};
    SetUpObserver(site, g);
    EvaluateLocal(c, t, deltaT);
    return {plain.x1 * t - l.u, plain.y1 * t - l.v};
  }
};

// Hours from the "h:m:s" at `at` of a row.
double ClockAt(const std::string& row, std::size_t at) {
  return std::stod(row.substr(at, 2)) + std::stod(row.substr(at + 3, 2)) / 60 +
         std::stod(row.substr(at + 6)) / 3600;
}
// Columns of a contact row: UT at 24, STD at 35, LMT at 45, then altitude,
// azimuth (or magnitude), PA, AA.
double Ut(const std::string& row) {
  return ClockAt(row, 24);
}
double Std(const std::string& row) {
  return ClockAt(row, 35);
}
double Lmt(const std::string& row) {
  return ClockAt(row, 45);
}
double Column(const std::string& row, int k) {  // k = 0 altitude … 3 AA, 4 the Sun's altitude
  static const std::size_t starts[] = {54, 60, 67, 74, 81};
  return std::stod(row.substr(starts[k], 7));
}
// The limb column after the Sun's altitude.
std::string Limb(const std::string& row) {
  return row.size() > 90 ? row.substr(90) : std::string();
}

// A difference of two clock readings brought into -12 .. 12 hours.
double ClockDifference(double a, double b) {
  double d = std::fmod(a - b + 36, 24) - 12;
  return d;
}

constexpr double kTenthSecond = 0.1 / 3600;

TEST(LocalReportView, StarOccultedForTheObserver) {
  Report r(JapanStar());
  r.AddCity("Kobe", 135.2, 34.7, 10);
  r.AddCity("Osaka", 135, 35, 0);
  r.site.cityIndex = 2;
  auto rows = r.Draw();
  // The axis passes over 135 E 35 N at t = 0, 11:58:56 UT, 20:58 zone time.
  EXPECT_EQ(rows[2],
            " Date : 2000/ 1/ 1 20.98h(LST) : STAR NAME:X 1234 ZC#:  1234 SAO#: 98765 HIP#: "
            "54321 Mag.:  3.50");
  EXPECT_EQ(rows[3], " Location : Osaka Lon: 135.00 Lat:  35.00  Height:  0.0  STD = UT+9h");
  EXPECT_EQ(rows[5],
            "                        Universal  Local                              PA     AA      Sun"
            "   Limb");
  EXPECT_EQ(rows[6],
            "                        Time(UT)   STD Time    LMT      Alt   Az                      Alt");
  EXPECT_EQ(rows[7],
            "                        ---------- --------  --------  ----- ------ ------ ------  -----"
            "  ------");
  EXPECT_EQ(rows[30], " Note:  LMT = UT + Longitude/15.0     ");
  // A star: its disappearance, maximum and reappearance, no outer contacts.
  EXPECT_EQ(rows.count(8), 0u);
  EXPECT_EQ(rows.count(12), 0u);
  EXPECT_EQ(rows.count(13), 0u);
  EXPECT_EQ(rows[9].substr(0, 24), " First Umbra    Contact ");
  EXPECT_EQ(rows[10].substr(0, 24), " Max.  Occultation      ");
  EXPECT_EQ(rows[11].substr(0, 24), " Last  Umbra    Contact ");
  EXPECT_NEAR(Ut(rows[10]), 12 - kJapanDeltaT / 3600, 0.5 / 3600);
  for (int row : {9, 10, 11}) {
    // Zone time 9 h ahead; at 135 E local mean time too. Both truncate the
    // seconds the UT column rounds.
    EXPECT_NEAR(ClockDifference(Std(rows[row]), Ut(rows[row])), 9, 1.1 / 3600) << rows[row];
    EXPECT_NEAR(ClockDifference(Lmt(rows[row]), Ut(rows[row])), 9, 1.1 / 3600) << rows[row];
    EXPECT_LE(Std(rows[row]), std::fmod(Ut(rows[row]) + 9, 24) + 1e-9) << rows[row];
    // AA = PA - C, C the axis angle, which never exceeds some 25 degrees.
    const double c = std::fmod(Column(rows[row], 2) - Column(rows[row], 3) + 540, 360) - 180;
    EXPECT_LT(std::fabs(c), 25) << rows[row];
  }
  // The star disappears at the east limb (PA near 90) and reappears at the west.
  EXPECT_NEAR(Column(rows[9], 2), 90, 5);
  EXPECT_NEAR(Column(rows[11], 2), 270, 5);
  // On 2000 January 1 the Moon is a waning crescent, lit from the east: the
  // star goes behind the bright limb and comes out at the dark one, at 21 h
  // local time, the Sun far below the horizon.
  EXPECT_EQ(Limb(rows[9]), "bright");
  EXPECT_EQ(Limb(rows[11]), "dark");
  EXPECT_LT(Column(rows[9], 4), -30);
  // Every clock is written with two digits a field: "09:05:03".
  for (int row : {9, 10, 11})
    for (std::size_t at : {24u, 35u, 45u})
      for (std::size_t colon : {at + 2, at + 5}) EXPECT_EQ(rows[row][colon], ':') << rows[row];
  // The duration row: the inner contacts' whole interval (here more than an
  // hour) in minutes and seconds.
  const double duration = Ut(rows[11]) - Ut(rows[9]);
  ASSERT_GT(duration, 1);
  ASSERT_EQ(rows[4].substr(0, 12), " Duration : ");
  const std::size_t min = rows[4].find("min.");
  ASSERT_NE(min, std::string::npos) << rows[4];
  const double shown =
      std::stod(rows[4].substr(12, min - 12)) / 60 + std::stod(rows[4].substr(min + 4, 4)) / 3600;
  EXPECT_NEAR(shown, duration, 2 * kTenthSecond) << rows[4];
  EXPECT_EQ(rows[4].substr(min + 8), "sec. ");

  EXPECT_TRUE(r.result.maximumFound);
  EXPECT_EQ(r.result.maximum.inside, 1);
  EXPECT_TRUE(r.result.eclipseVisible);
  EXPECT_NEAR(r.result.trackStart - r.result.maximum.t, Ut(rows[9]) - Ut(rows[10]), 0.001);
}

TEST(LocalReportView, RowsShowTheComputedValue) {
  // Totality of 1999 (a planet record: all five rows) and the Japan star
  // (a star: its outer contacts found but not listed).
  Report eclipse(testing::Eclipse1999(), 24.3, 45.1);
  Report star(JapanStar());
  for (Report* report : {&eclipse, &star}) {
    const bool planet = report == &eclipse;
    auto rows = report->Draw(planet ? testing::kEclipse1999DeltaT : kJapanDeltaT);
    const LocalCircumstances& r = report->result;
    const std::pair<int, const LocalInstant*> instants[] = {{8, &r.firstOuter},
                                                            {9, &r.firstInner},
                                                            {10, &r.maximumRow},
                                                            {11, &r.lastInner},
                                                            {12, &r.lastOuter}};
    for (const auto& [row, at] : instants) {
      SCOPED_TRACE(row);
      ASSERT_TRUE(at->found);
      ASSERT_EQ(at->listed, planet || row == 9 || row == 10 || row == 11);
      if (!at->listed) {
        EXPECT_EQ(rows.count(row), 0u);
        continue;
      }
      ASSERT_EQ(rows.count(row), 1u);
      const std::string& text = rows[row];
      EXPECT_NEAR(ClockDifference(Ut(text), at->times.universal), 0, 0.051 / 3600) << text;
      EXPECT_NEAR(Column(text, 0), at->altitude, 0.051) << text;
      EXPECT_NEAR(Column(text, 1), at->azimuth, 0.051) << text;
      EXPECT_NEAR(Column(text, 2), at->positionAngle, 0.0051) << text;
      EXPECT_NEAR(Column(text, 3), at->axisAngle, 0.0051) << text;
      EXPECT_NEAR(Column(text, 4), at->sunAltitude, 0.051) << text;
      EXPECT_EQ(Limb(text), at->brightLimb ? "bright" : "dark") << text;
    }
    // A star's outer contacts are its inner ones.
    if (!planet) {
      EXPECT_NEAR(r.firstOuter.t, r.firstInner.t, 1e-6);
    }
    ASSERT_TRUE(r.duration.has_value());
    EXPECT_DOUBLE_EQ(*r.duration, r.lastInner.t - r.firstInner.t);
    EXPECT_EQ(r.horizonEvent, HorizonEvent::None);
    EXPECT_EQ(rows.count(13), 0u);
  }
}

TEST(LocalReportView, PublishedContactsOfThe1999EclipseAtOslo) {
  // NASA RP 1398 table 21: Oslo first contact 09:24:38.1 at altitude 41,
  // maximum 10:35:29.3 (altitude 45, azimuth 164), fourth contact 11:47:14.0
  // at altitude 45; partial, so no inner contacts. Object number 0: a blank name.
  Report r(testing::Eclipse1999());
  r.AddCity("Oslo", 10.75, 59.916667, 94);
  r.site = ObserverSite{10.75, 59.916667, 94, 1};
  auto rows = r.Draw(testing::kEclipse1999DeltaT);
  EXPECT_EQ(rows[2], " Date : 1999/ 8/11 11.59h(LST): STAR NAME:    Mag.:-26.70");
  EXPECT_EQ(rows[3], " Location : Oslo Lon:  10.75 Lat:  59.92  Height: 94.0  STD = UT+1h");
  EXPECT_EQ(rows[8].substr(0, 24), " First Penumbra Contact ");
  EXPECT_EQ(rows[9].substr(0, 24), " Max.  Occultation      ");
  EXPECT_EQ(rows[10].substr(0, 24), " Last  Penumbra Contact ");
  EXPECT_EQ(rows.count(4), 0u);
  EXPECT_EQ(rows.count(11), 0u);
  EXPECT_EQ(rows.count(12), 0u);
  EXPECT_NEAR(Ut(rows[8]), Hms(9, 24, 38.1), 0.25 / 3600);
  EXPECT_NEAR(Ut(rows[9]), Hms(10, 35, 29.3), 0.25 / 3600);
  EXPECT_NEAR(Ut(rows[10]), Hms(11, 47, 14.0), 0.25 / 3600);
  EXPECT_NEAR(Column(rows[8], 0), 41, 0.6);
  EXPECT_NEAR(Column(rows[9], 0), 45, 0.6);
  EXPECT_NEAR(Column(rows[9], 1), 164, 0.6);
  EXPECT_NEAR(Column(rows[10], 0), 45, 0.6);
  // Central European time is UT + 1 h; local mean time UT + 43 min.
  EXPECT_NEAR(ClockDifference(Std(rows[9]), Ut(rows[9])), 1, 1.1 / 3600);
  EXPECT_NEAR(ClockDifference(Lmt(rows[9]), Ut(rows[9])), 10.75 / 15, 1.1 / 3600);
}

TEST(LocalReportView, TotalityGivesAllFiveContactRowsForAPlanetRecord) {
  Report r(testing::Eclipse1999(), 24.3, 45.1);
  auto rows = r.Draw(testing::kEclipse1999DeltaT);
  const char* labels[] = {" First Penumbra Contact ", " First Umbra    Contact ",
                          " Max.  Occultation      ", " Last  Umbra    Contact ",
                          " Last  Penumbra Contact "};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rows[8 + i].substr(0, 24), labels[i]);
  for (int row = 9; row <= 12; ++row) EXPECT_GT(Ut(rows[row]), Ut(rows[row - 1])) << row;
  EXPECT_EQ(rows[3], " Location : Selected Point      Lon:  24.30 Lat:  45.10  Height:   0.0  STD = UT+2h");
  // Totality lasts under three minutes: whole minutes and seconds.
  const double duration = Ut(rows[11]) - Ut(rows[9]);
  EXPECT_NEAR(std::stod(rows[4].substr(12, 2)) * 60 + std::stod(rows[4].substr(18, 4)),
              duration * 3600, 0.2);
}

TEST(LocalReportView, GrazingPlanetShowsOuterContactsAndTheMaximumOnly) {
  BesselianElements e = JapanStar();
  e.xz = 5;
  e.l10 = 0.28;  // a disc: outer and inner radii differ
  e.l20 = 0.265;
  e.y0 = 0.2725;  // the axis passes between the radii from the observer
  Report r(e);
  auto rows = r.Draw();
  EXPECT_EQ(rows[2], " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: Jupitar  Mag.:  3.50");
  EXPECT_EQ(r.result.maximum.inside, 0);
  EXPECT_GT(r.result.maximum.magnitude, 0);
  EXPECT_EQ(rows[8].substr(0, 24), " First Penumbra Contact ");
  EXPECT_EQ(rows[9].substr(0, 24), " Max.  Occultation      ");
  EXPECT_EQ(rows[10].substr(0, 24), " Last  Penumbra Contact ");
  for (int row : {4, 11, 12, 13}) EXPECT_EQ(rows.count(row), 0u) << row;
  EXPECT_LT(Ut(rows[8]), Ut(rows[9]));
  EXPECT_LT(Ut(rows[9]), Ut(rows[10]));
}

TEST(LocalReportView, NoEclipseRowWhenTheShadowMissesTheObserver) {
  BesselianElements e = JapanStar();
  e.y0 = 0.6;
  Report r(e);
  auto rows = r.Draw();
  EXPECT_LT(r.result.maximum.magnitude, 0);
  EXPECT_EQ(rows[13], " =====    No eclipse Visible        ===== ");
  EXPECT_EQ(rows[9].substr(0, 24), " Max.  Occultation      ");
  for (int row : {4, 8, 10, 11, 12}) EXPECT_EQ(rows.count(row), 0u) << row;
  EXPECT_FALSE(r.result.eclipseVisible);
  EXPECT_TRUE(r.result.animation.empty());
  // Only the snapshot at maximum: no animation frame label at (340, 440).
  for (const DrawnText& t : r.dc.Texts()) EXPECT_NE(t.x, 340) << t.text;
  EXPECT_EQ(rows[30], " Note:  LMT = UT + Longitude/15.0     ");
}

// Moves the Japan star's axis over the report's observer at t = 0; an observer at
// hour angle 118 degrees from the star sees it set, at -118 rise,
// some 0.7 degrees above the horizon at t = 0.
void PutStarNearTheHorizon(Report& r) {
  const auto [xi, eta] = r.ObserverOnPlane(0);
  r.elements.x0 = xi;
  r.elements.y0 = eta;
}

TEST(LocalReportView, BodySettingOrRisingDuringTheEvent) {
  // Setting, rising, and rising with the maximum below the horizon.
  for (double hourAngle : {118.0, -118.0, -122.0}) {
    SCOPED_TRACE(hourAngle);
    Report r(JapanStar(), 135 + hourAngle, 35);
    PutStarNearTheHorizon(r);
    auto rows = r.Draw();
    const bool setting = hourAngle > 0;
    ASSERT_EQ(rows[13].substr(0, 24),
              setting ? " Magnitude at Sun Set   " : " Magnitude at Sun Rise  ");
    // The instant the body crosses -0.8 degrees, with the magnitude then.
    EXPECT_EQ(rows[13].substr(55, 5), " -0.8");
    const double magnitude = Column(rows[13], 1);
    EXPECT_GT(magnitude, 0);
    EXPECT_LT(magnitude, 0.5);
    const double crossing = Ut(rows[13]) - (r.elements.t0 - kJapanDeltaT / 3600);
    EXPECT_NEAR(setting ? r.result.trackEnd : r.result.trackStart, crossing, 0.5 / 3600);
    // The body crosses the horizon on the maximum's side that is below it.
    const bool maximumUp = r.result.maximum.altitude > -0.8;
    EXPECT_EQ(crossing > r.result.maximum.t, setting || !maximumUp);
    EXPECT_EQ(rows[10].substr(0, 24), " Max.  Occultation      ");
    // The first inner contact is shown only with the maximum above -0.8 degrees.
    EXPECT_EQ(rows.count(9), maximumUp ? 1u : 0u);
    EXPECT_EQ(maximumUp, hourAngle != -122.0);
    EXPECT_EQ(rows[11].substr(0, 24), " Last  Umbra    Contact ");
    // The animation runs from the track's start to its end.
    const auto& frames = r.result.animation;
    ASSERT_FALSE(frames.empty());
    EXPECT_LE(frames.front().t, r.result.trackStart);
    EXPECT_GE(frames.back().t, r.result.trackEnd);
    EXPECT_LT(frames.back().t, r.result.trackEnd + kAnimationStepHours);
    // Two snapshots at (525, 350): the crossing, then the maximum.
    int snapshots = 0;
    for (const DrawnText& t : r.dc.Texts()) snapshots += t.x == 515 && t.y == 440;
    EXPECT_EQ(snapshots, 2);
  }
}

TEST(LocalReportView, ObjectNamesInTheHeader) {
  const struct {
    double xz;
    const char* row;
  } cases[] = {
      {3, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: 3  Mag.:  3.50"},
      {0, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME:    Mag.:  3.50"},
      {9, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: Pluto  Mag.:  3.50"},
      {1, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: Mercury  Mag.:  3.50"},
      {5.9, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: Jupitar  Mag.:  3.50"},
      {-4, " Date : 2000/ 1/ 1 20.98h(LST): STAR NAME: -4  Mag.:  3.50"},
      {10,
       " Date : 2000/ 1/ 1 20.98h(LST) : STAR NAME:X 10 ZC#:  1234 SAO#: 98765 HIP#: 54321 "
       "Mag.:  3.50"},
      {4060400092,
       " Date : 2000/ 1/ 1 20.98h(LST) : STAR NAME:Z3-604-92 ZC#:  1234 SAO#: 98765 HIP#: 54321 "
       "Mag.:  3.50"},
  };
  for (const auto& c : cases) {
    BesselianElements e = JapanStar();
    e.xz = c.xz;
    Report r(e);
    EXPECT_EQ(r.Draw()[2], c.row);
  }
}

TEST(LocalReportView, InnerContactsSeventyFiveMinutesApart) {
  // The observer held still on the plane (no rotation) and a straight track:
  // the inner contacts lie sqrt(L^2 - v^2) / n either side of the maximum.
  BesselianElements e = JapanStar();
  e.mu1 = 0;
  Report r(e);
  const double v = -r.ObserverOnPlane(0).second;  // the axis' offset from the observer
  const double half = 0.625 * (1 + 1e-7) * e.x1;  // 37.5 minutes of track
  r.elements.l10 = r.elements.l20 = std::sqrt(half * half + v * v);
  auto rows = r.Draw();
  EXPECT_EQ(rows[4], " Duration : 75min. 0.0sec. ");

  r.elements.l10 = r.elements.l20 = std::sqrt(4 * half * half + v * v);  // 2 h 30 min
  EXPECT_EQ(Report(r.elements).Draw()[4], " Duration : 150min. 0.0sec. ");
}

TEST(LocalReportView, DurationRowShowsTheWholeIntervalInMinutes) {
  const struct {
    double seconds;
    const char* row;
  } cases[] = {
      {4410.9, " Duration : 73min.30.9sec. "},  // Jupiter, 2027-03-19, 153.01 E 37.21 S
      {3600, " Duration : 60min. 0.0sec. "},
      {59.96, " Duration :  1min. 0.0sec. "},  // the tenth carries into the minute
      {59.94, " Duration :  0min.59.9sec. "},
      {7.26, " Duration :  0min. 7.3sec. "},
  };
  for (const auto& c : cases) EXPECT_EQ(DurationRow(c.seconds / 3600), c.row) << c.seconds;
}

TEST(LocalReportView, LocationRowRules) {
  Report r(JapanStar(), 139.767, 35.681);
  r.AddCity("Tokyo", 139.767, 35.681, 40);
  r.AddCity("Naha", 127.681, 26.212, 10);
  r.site.height = 40;
  r.site.cityIndex = 1;
  EXPECT_EQ(r.Draw()[3], " Location : Tokyo Lon: 139.77 Lat:  35.68  Height: 40.0  STD = UT+9h");

  Report typed(JapanStar(), 139.767, 35.681);
  typed.site.height = 1234.56;
  EXPECT_EQ(typed.Draw()[3],
            " Location : Selected Point      Lon: 139.77 Lat:  35.68  Height:1234.6  STD = UT+9h");

  // An entry number the list no longer holds: no location row.
  Report gone(JapanStar());
  gone.AddCity("Tokyo", 139.767, 35.681, 40);
  gone.site.cityIndex = 2;
  EXPECT_EQ(gone.Draw().count(3), 0u);

  // The start site (135 E, 35 N, entry 1) is not entry 1's place: the row
  // names the position the report is computed for.
  Report start(JapanStar());
  start.AddCity("Tokyo", 139.767, 35.681, 40);
  start.site = ObserverSite{};
  EXPECT_EQ(start.Draw()[3],
            " Location : Selected Point      Lon: 135.00 Lat:  35.00  Height:   0.0  STD = UT+9h");
}

TEST(LocalReportView, MissingResultsAreLeftOut) {
  // A track curving back on itself: the maximum iteration never settles.
  {
    BesselianElements e = JapanStar();
    e.mu1 = 0;
    Report r(e);
    const auto [xi, eta] = r.ObserverOnPlane(0);
    (void)xi;
    r.elements.y0 = eta + 0.2;
    r.elements.y2 = 1;
    auto rows = r.Draw();
    EXPECT_FALSE(r.result.maximumFound);
    for (int row : {2, 3, 5, 6, 7, 13, 30}) EXPECT_EQ(rows.count(row), 1u) << row;
    EXPECT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[13], " =====    No eclipse Visible        ===== ");
    EXPECT_TRUE(r.result.animation.empty());
  }
  // A strongly curved track: the maximum is found, but no contact iteration
  // settles. Only the maximum row; the track is the maximum alone.
  {
    BesselianElements e = JapanStar();
    e.mu1 = 0;
    e.x0 = -0.1997, e.x1 = -0.5944, e.x2 = -0.4716, e.x3 = -0.0196;
    e.y0 = 0.0140, e.y1 = -0.1682, e.y2 = -0.5196, e.y3 = -0.2861;
    Report r(e);
    LocalMaximum m;
    ASSERT_TRUE(Settled(FindMaximum(r.context, e.t0, kJapanDeltaT), m));
    LocalContact contact;
    for (int sign : {-1, 1}) {
      ASSERT_EQ(FindOuterContactAz(r.context, m.t, kJapanDeltaT, sign, contact), Status::Failed);
      ASSERT_EQ(FindInnerContactAz(r.context, m.t, kJapanDeltaT, sign, contact), Status::Failed);
    }
    ASSERT_EQ(m.inside, 1);
    auto rows = r.Draw();
    EXPECT_EQ(rows[10].substr(0, 24), " Max.  Occultation      ");
    for (int row : {4, 8, 9, 11, 12, 13}) EXPECT_EQ(rows.count(row), 0u) << row;
    EXPECT_EQ(r.result.trackStart, r.result.maximum.t);
    EXPECT_EQ(r.result.trackEnd, r.result.maximum.t);
    ASSERT_EQ(r.result.animation.size(), 1u);
    EXPECT_NEAR(r.result.animation[0].t, r.result.maximum.t, 1e-12);
  }
}

TEST(LocalReportView, DeferredFramesDrawWhatTheReportDrawsAtOnce) {
  Report atOnce(JapanStar());
  atOnce.Draw();
  Report deferred(JapanStar());
  auto rows = deferred.Draw(kJapanDeltaT, AnimationDrawing::Deferred);
  EXPECT_EQ(rows.count(30), 0u) << "the note waits for the last frame";
  const auto& frames = deferred.result.animation;
  ASSERT_EQ(frames.size(), 9u);
  for (std::size_t k = 0; k <= frames.size(); ++k) DrawAnimationFrame(deferred.dc, frames, k);
  const auto& a = atOnce.dc.Calls();
  const auto& b = deferred.dc.Calls();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].kind, b[i].kind) << i;
    EXPECT_EQ(a[i].x, b[i].x) << i;
    EXPECT_EQ(a[i].y, b[i].y) << i;
    EXPECT_EQ(a[i].text, b[i].text) << i;
    if (a[i].kind != b[i].kind) break;
  }
}

}  // namespace
}  // namespace vernier
