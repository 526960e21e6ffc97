// One occultation from a first guess of its time: the instant of least
// distance of the shadow axis from the Earth's centre, the test that the
// shadow touches the Earth, the least-squares fit of the element polynomials
// around the whole hour t0, the type, and the record's other fields.
#pragma once

#include <string>
#include <unordered_map>

#include "ephemeris/element_file.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/shadow.h"
#include "ephemeris/sky_frame.h"
#include "catalogue/star_catalogue.h"

namespace vernier {

// A star of the catalogue, or a planet by its element-file number. The
// light deflection by the Sun is held at its value at one instant of the
// event (see `ShadowEvaluator::HoldDeflection`): near the Sun it changes too
// fast for the element polynomials. Stars: a change of direction; planets: of
// position, km.
struct EventBody {
  const CatalogueStar* star = nullptr;
  int planet = 0;
  Vec3 deflection{};
};

// Shadow states of bodies at instants, through one ephemeris. Sample instants
// on the quarter-hour grid share their frame and Moon position between events.
class ShadowEvaluator {
 public:
  // `centreOfFigure`: the Moon's position is its centre of figure (see
  // lunar_figure.h), else its centre of mass. `interpolateOffGrid`: an instant
  // off the quarter-hour grid (the search for the least distance) takes the
  // frame and the Moon interpolated between the four nearest grid instants
  // (cubic; within 1e-6 km and 1e-12 rad) instead of computing them afresh;
  // the fitted samples are grid instants either way.
  explicit ShadowEvaluator(Ephemeris& ephemeris, bool centreOfFigure = false,
                           bool interpolateOffGrid = false)
      : ephemeris_(ephemeris), centreOfFigure_(centreOfFigure), interpolateOffGrid_(interpolateOffGrid) {}
  bool Evaluate(const EventBody& body, double jdTT, ShadowState& state);
  // Sets the body's deflection to its value at jdTT.
  bool HoldDeflection(EventBody& body, double jdTT);
  Ephemeris& ephemeris() { return ephemeris_; }
  const std::string& error() const { return error_; }

 private:
  struct Instant {
    SkyFrame frame;
    Vec3 moon;
  };
  bool InstantAt(double jdTT, const Instant*& instant);
  bool ComputeInstant(double jdTT, Instant& fresh);
  bool GridInstant(long long key, const Instant*& instant);
  bool InterpolatedInstant(double index, const Instant*& instant);

  Ephemeris& ephemeris_;
  bool centreOfFigure_;
  bool interpolateOffGrid_;
  std::unordered_map<long long, Instant> grid_;
  Instant scratch_;
  std::string error_;
};

// The Moon's age (days since the last new Moon) at an instant; remembers the
// lunation it found, so that events in time order cost little.
class MoonAge {
 public:
  bool At(Ephemeris& ephemeris, double jdTT, double& age, std::string& error);

 private:
  bool NewMoonNear(Ephemeris& ephemeris, double jdGuess, double& jdNewMoon, std::string& error);
  double previous_ = 0.0, next_ = 0.0;
};

struct FitQuality {
  double xy = 0.0;  // largest residual of x and y at the samples, Earth radii
  double d = 0.0;   // degrees
  double mu = 0.0;  // degrees
  double l = 0.0;   // Earth radii, of l1 and l2
  int samples = 0;
};

enum class EventOutcome { Recorded, Misses, Failed };

constexpr double kSampleStepHours = 0.25;

// Builds the record of the body's occultation nearest to `jdGuess` (TT).
// Misses: the shadow passes the Earth by. Failed: the ephemeris failed or the
// least distance did not converge (message in `error`). The record's catalogue
// numbers are the body's (xz is the star's xz field; the caller fills it).
EventOutcome BuildEvent(ShadowEvaluator& evaluator, MoonAge& moonAge, const EventBody& body,
                        double jdGuess, ElementRecord& record, double& jdLeast, FitQuality& quality,
                        std::string& error);

}  // namespace vernier
