// Splitting hours and degrees into their sexagesimal parts for display.
//
// Minutes and seconds are truncated, never rounded up, so a displayed time
// never runs ahead of the instant it shows.
#pragma once

namespace vernier {

struct HoursMinutes {
  double hours = 0, minutes = 0;  // minutes fractional
};

struct HoursMinutesSeconds {
  double hours = 0, minutes = 0, seconds = 0;  // seconds fractional
};

struct DegreesMinutes {
  double degrees = 0, minutes = 0;  // both carry the sign of the angle
};

// h = floor(hours), m = (hours - h) * 60; then the hour is wrapped once:
// h - 24 when h > 23.9, h + 24 when h < 0 (the minutes are taken before).
HoursMinutes SplitHours(double hours);

// h = floor(hours), m = floor((hours - h) * 60), s = ((hours - h) * 60 - m) * 60,
// with the same one-step wrap of the hour.
HoursMinutesSeconds SplitHoursMinSec(double hours);

// deg = floor(|a|), min = (|a| - deg) * 60, both negated when a < 0.
DegreesMinutes SplitDegrees(double angle);

}  // namespace vernier
