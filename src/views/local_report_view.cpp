#include "views/local_report_view.h"

#include <cmath>

#include "astro/sexagesimal.h"
#include "base/format.h"
#include "views/occultation_diagram.h"

namespace vernier {
namespace {

constexpr Rgb kWhite{255, 255, 255};
// The star's name stands on the duration's row, right of it.
constexpr int kStarNameX = 280;

// The last two columns: the Sun's altitude at the site and the Moon's limb
// (dark or bright) where the body disappears or reappears.
constexpr const char* kColumnHeadings[3] = {
    "                        Universal  Local                              PA     AA      Sun   Limb",
    "                        Time(UT)   STD Time    LMT      Alt   Az                      Alt",
    "                        ---------- --------  --------  ----- ------ ------ ------  -----  ------"};

constexpr const char* kFirstPenumbra =
    " First Penumbra Contact %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kFirstUmbra =
    " First Umbra    Contact %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kLastUmbra =
    " Last  Umbra    Contact %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kLastPenumbra =
    " Last  Penumbra Contact %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kSunSet =
    " Magnitude at Sun Set   %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f %6.3f "
    "%6.2f %6.2f";
constexpr const char* kSunRise =
    " Magnitude at Sun Rise  %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f %6.3f "
    "%6.2f %6.2f";
constexpr const char* kMaximum =
    " Max.  Occultation      %02.0f:%02.0f:%04.1f %02.0f:%02.0f:%02.0f  %02.0f:%02.0f:%02.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";

void DrawRow(DeviceContext& dc, int row, const std::string& text) {
  dc.TextOut(kReportLeft, kReportLineHeight * row, text);
}

// A contact-type row: the instant's times, the two values of its columns, PA and AA.
void DrawInstantRow(DeviceContext& dc, int row, const char* format, const LocalInstant& at,
                    double first, double second) {
  const HoursMinutesSeconds ut = SplitHoursMinSec(at.times.universal);
  const HoursMinutesSeconds zone = SplitHoursMinSec(at.times.zone);
  const HoursMinutesSeconds lmt = SplitHoursMinSec(at.times.localMean);
  DrawRow(dc, row,
          Format(format, ut.hours, ut.minutes, ut.seconds, zone.hours, zone.minutes,
                 std::floor(zone.seconds), lmt.hours, lmt.minutes, std::floor(lmt.seconds), first,
                 second, at.positionAngle, at.axisAngle) +
              Format("  %5.1f  %s", at.sunAltitude, at.brightLimb ? "bright" : "dark"));
}
void DrawContactRow(DeviceContext& dc, int row, const char* format, const LocalInstant& at) {
  if (at.listed) DrawInstantRow(dc, row, format, at, at.altitude, at.azimuth);
}

void DrawNoEclipse(DeviceContext& dc) {
  DrawRow(dc, 13, " =====    No eclipse Visible        ===== ");
  DrawReportNote(dc);
}

}  // namespace

std::string DurationRow(double hours) {
  // Rounded to the tenth shown first, so that 59.96 s reads as a whole minute.
  const double seconds = std::round(hours * 36000) / 10;
  const double minutes = std::floor(seconds / 60);
  return Format(" Duration : %2.0fmin.%4.1fsec. ", minutes, seconds - minutes * 60);
}

void DrawReportNote(DeviceContext& dc) {
  DrawRow(dc, 30, " Note:  LMT = UT + Longitude/15.0     ");
}

void DrawLocalCircumstances(DeviceContext& dc, const LocalCircumstances& r,
                            AnimationDrawing animation) {
  dc.SetTextColor(kWhite);
  const LocalDate& d = r.date;
  if (r.planet)
    DrawRow(dc, 2,
            Format(" Date :%5.0f/%2.0f/%2.0f %5.2fh(LST): STAR NAME: %s  Mag.:%6.2f", d.year,
                   d.month, d.day, d.hour, r.bodyName.c_str(), r.bodyMagnitude));
  else
    DrawRow(dc, 2,
            Format(" Date :%5.0f/%2.0f/%2.0f %5.2fh(LST) : STAR NAME:%s%s ZC#:%6.0f SAO#:%6.0f "
                   "HIP#:%6.0f Mag.:%6.2f",
                   d.year, d.month, d.day, d.hour,
                   // "X" marks a catalogue number; an identifier ("Z3-406-92") stands alone.
                   r.bodyName.starts_with('Z') ? "" : "X ", r.bodyName.c_str(), r.zc, r.sao, r.hip,
                   r.bodyMagnitude));

  // The standard time the STD column gives: whole hours of the longitude.
  const std::string zone = Format("  STD = UT%+dh", ZoneHours(r.longitude));
  if (r.location == LocationKind::ListEntry)
    DrawRow(dc, 3,
            Format(" Location : %s Lon:%7.2f Lat:%7.2f  Height:%5.1f", r.locationName.c_str(),
                   r.longitude, r.latitude, r.height) +
                zone);
  else if (r.location == LocationKind::SelectedPoint)
    DrawRow(dc, 3,
            Format(" Location : Selected Point      Lon:%7.2f Lat:%7.2f  Height:%6.1f", r.longitude,
                   r.latitude, r.height) +
                zone);
  if (!r.starName.empty())
    dc.TextOut(kReportLeft + kStarNameX, kReportLineHeight * 4, " Star : " + r.starName);
  for (int i = 0; i < 3; ++i) DrawRow(dc, 5 + i, kColumnHeadings[i]);

  if (!r.maximumFound) {
    DrawNoEclipse(dc);
    return;
  }

  DrawContactRow(dc, 8, kFirstPenumbra, r.firstOuter);
  DrawContactRow(dc, 9, kFirstUmbra, r.firstInner);
  DrawContactRow(dc, 11, kLastUmbra, r.lastInner);
  if (r.duration) DrawRow(dc, 4, DurationRow(*r.duration));
  DrawContactRow(dc, r.insideInnerCone ? 12 : 10, kLastPenumbra, r.lastOuter);

  if (r.horizonEvent != HorizonEvent::None) {
    DrawInstantRow(dc, 13, r.horizonEvent == HorizonEvent::Set ? kSunSet : kSunRise, r.horizon,
                   r.horizon.altitude, r.horizon.magnitude);
    DrawOccultationDiagram(dc, r.horizonSnapshot, kSnapshotX, kSnapshotY, 1);
  }
  if (r.maximumRow.found) {
    DrawInstantRow(dc, 9 + r.maximum.inside, kMaximum, r.maximumRow, r.maximumRow.altitude,
                   r.maximumRow.azimuth);
    DrawOccultationDiagram(dc, r.maximumSnapshot, kSnapshotX, kSnapshotY, 1);
  }

  if (!r.eclipseVisible) {
    DrawNoEclipse(dc);
    return;
  }
  const std::vector<OccultationDiagramState>& frames = r.animation;
  if (animation == AnimationDrawing::Deferred && !frames.empty())
    return;  // the caller draws the frames; the last one draws the note
  if (animation == AnimationDrawing::LastOnly && !frames.empty())
    DrawOccultationDiagram(dc, frames.back(), kAnimationX, kAnimationY, 0);
  else
    for (const OccultationDiagramState& frame : frames)
      DrawOccultationDiagram(dc, frame, kAnimationX, kAnimationY, 0);
  DrawReportNote(dc);
}

void DrawAnimationFrame(DeviceContext& dc, const std::vector<OccultationDiagramState>& frames,
                        std::size_t k) {
  if (k >= frames.size()) return;
  DrawOccultationDiagram(dc, frames[k], kAnimationX, kAnimationY, 0);
  if (k + 1 == frames.size()) DrawReportNote(dc);
}

}  // namespace vernier
