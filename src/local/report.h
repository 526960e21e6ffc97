// The local-circumstances report: a fixed-layout text table (event header,
// observer, one row per contact, maximum, rising or setting of the body during
// the event) drawn at x = 10, y = 15 x row, followed by a diagram of the Moon
// and the occulted body at the key instants and an animation of the event in
// quarter-hour frames.
//
// The animation is not timed here. The report either draws every frame at once
// (the picture the window shows once the animation has run) or leaves the
// frames to the caller, which draws frame k with DrawAnimationFrame, one frame
// a second (kAnimationFrameMilliseconds).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier {

// Row pitch and left margin of the report's texts.
inline constexpr int kReportLineHeight = 15;
inline constexpr int kReportLeft = 10;

// Where the snapshots (labelled) and the animation frames (unlabelled) put the
// occulted body on the screen.
inline constexpr int kSnapshotX = 525, kSnapshotY = 350;
inline constexpr int kAnimationX = 350, kAnimationY = 350;

// One frame every quarter of an hour of the event, shown one second apart.
inline constexpr double kAnimationStepHours = 0.25;
inline constexpr int kAnimationFrameMilliseconds = 1000;
// No animation has more frames than this (four a day of the elements' span
// on both sides of t0, with room to spare).
inline constexpr std::size_t kAnimationFrameCap = 400;

// The altitude (degrees) below which the body counts as set: refraction and
// the Moon's semidiameter.
inline constexpr double kHorizonAltitude = -0.8;

enum class AnimationDrawing {
  AllAtOnce,  // every frame drawn straight away, then the closing note
  Deferred,   // frames left to the caller; the last frame draws the closing note
  LastOnly,   // only the last frame and the closing note: the final state in few calls
};

struct ReportOptions {
  AnimationDrawing animation = AnimationDrawing::AllAtOnce;
  // Where the libration lines of each axis-angle computation go (null: nowhere).
  std::FILE* librationLines = stdout;
};

// The frames of an event's animation and what drawing them needs.
struct LocalAnimation {
  double t0 = 0;               // the reference hour the instants count from
  double deltaT = 0;           // seconds
  std::vector<double> frames;  // instants, hours from t0, a quarter hour apart
};

struct LocalReport {
  bool maximumFound = false;            // false: only the header and the no-eclipse row
  LocalMaximum maximum;                 // the maximum of the maximum row (with azimuth)
  double trackStart = 0, trackEnd = 0;  // the animation's limits, hours from t0
  bool eclipseVisible = false;          // false: the no-eclipse row, no animation
  // The animation's frames: already drawn (AllAtOnce) or for the caller to
  // draw (Deferred). Empty when no eclipse is visible.
  LocalAnimation animation;
};

// The header's text for an object: the XZ number's digits, a planet's name
// (N = 1, 2, 4 ... 9), or " " for N = 0.
std::string BodyName(double xz);

// The duration row's text for the inner contacts `hours` apart: the whole
// interval in minutes and seconds to the tenth.
std::string DurationRow(double hours);

// Draws the whole report for the site into `dc` in white: SetUpObserver, the
// maximum from the instant `t0` (hours after t0, as the iteration's start),
// the rows, the snapshot diagrams at (525, 350) and the animation at (350, 350).
// `t0` is the record's reference hour and `deltaT` the event's Delta T (s).
//
// The location row names list entry `cityIndex` when the site holds that
// entry's position; a typed site (99), or a list entry the site's position was
// not taken from, shows the site's own position as "Selected Point"; any other
// entry number draws no location row.
//
// Where a contact finder has no result the contact's row is not drawn; the
// duration row needs both inner contacts, the rising and setting rows both
// outer contacts. A missing outer contact leaves the track at the maximum at
// that end. Without a maximum only the header, the location and column
// headings, the no-eclipse row and the closing note are drawn.
LocalReport ReportLocalCircumstances(DeviceContext& dc, LocalContext& c, const ObserverSite& site,
                                     const CityList& cities, double t0, double deltaT,
                                     const ReportOptions& options = {});

// The Moon and the body at instant t (hours from t0): the body fixed at
// (cx, cy), the Moon placed by the vertex angle and the distance from the axis
// (zenith up), its lit part flood-filled yellow and toward the Sun. labelled
// 1 writes the time in the current colours, 0 (animation frames) on an opaque
// black box.
void DrawOccultationDiagram(DeviceContext& dc, LocalContext& c, int cx, int cy, double t, double t0,
                            double deltaT, int labelled);

// The animation's instants from the track's start to its end (at most
// kAnimationFrameCap of them): when the
// maximum lies after the start, the start moves back so that the frames fall
// on the maximum; then start, start + 0.25, ... while below end + 0.25.
std::vector<double> AnimationFrames(double tMax, double start, double end);

// Frame k of the animation (the diagram at (350, 350), unlabelled); after the
// last frame the closing note row. Frames outside the list draw nothing.
void DrawAnimationFrame(DeviceContext& dc, LocalContext& c, const LocalAnimation& animation,
                        std::size_t k);

// The closing note (row 30).
void DrawReportNote(DeviceContext& dc);

}  // namespace vernier
