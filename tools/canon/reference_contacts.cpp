#include "reference_contacts.h"

#include <erfa.h>

#include <cmath>

#include "ephemeris/lunar_figure.h"
#include "ephemeris/shadow.h"

namespace vernier::canon {
namespace {

constexpr double kLightKmPerDay = 299792.458 * 86400.0;

double Angle(const Vec3& a, const Vec3& b) {
  return std::atan2(Norm(Cross(a, b)), Dot(a, b));
}

}  // namespace

bool ReferenceContacts::LimbOffset(const CatalogueStar& star, const Site& site, double jdTT,
                                   double deltaT, double& arcsec) {
  const double date1 = std::floor(jdTT) + 0.5;
  const double date2 = jdTT - date1;

  // Geocentric apparent place of the star in the CIRS.
  double ra = 0.0, dec = 0.0, equationOfOrigins = 0.0;
  eraAtci13(star.ra, star.dec, star.pmRa * ERFA_DMAS2R / std::cos(star.dec),
            star.pmDec * ERFA_DMAS2R, star.parallax / 1000.0, 0.0, date1, date2, &ra, &dec,
            &equationOfOrigins);
  const Vec3 starDirection = FromSpherical(ra, dec);

  // The site in the CIRS: the Earth rotation angle of UT1, no polar motion.
  double itrs[3];
  if (eraGd2gc(1, site.longitude * ERFA_DD2R, site.latitude * ERFA_DD2R, site.height, itrs) != 0) {
    error_ = "site outside the ellipsoid's range";
    return false;
  }
  const double era = eraEra00(date1, date2 - deltaT / 86400.0);
  const Vec3 siteKm = {(std::cos(era) * itrs[0] - std::sin(era) * itrs[1]) / 1000.0,
                       (std::sin(era) * itrs[0] + std::cos(era) * itrs[1]) / 1000.0,
                       itrs[2] / 1000.0};

  // The Moon at the instant its light left for the site (the ephemeris gives
  // it for the geocentre; the site is up to 21 ms nearer or farther).
  double toCirs[3][3];
  eraC2i06a(date1, date2, toCirs);
  Mat3 c2i;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) c2i[i][j] = toCirs[i][j];
  Vec3 toMoon{};
  double extraDays = 0.0;
  for (int i = 0; i < 2; ++i) {
    Vec3 moon;
    Mat3 body;
    if (!ephemeris_.Moon(jdTT - extraDays, moon) ||
        (figure_ && !ephemeris_.LunarBodyFrame(jdTT - extraDays, body))) {
      error_ = ephemeris_.Error();
      return false;
    }
    if (figure_)
      for (int axis = 0; axis < 3; ++axis)
        moon = Add(moon, Scale(body[axis], kFigureOffsetBodyKm[axis]));
    const Vec3 moonCirs = Multiply(c2i, moon);
    toMoon = Sub(moonCirs, siteKm);
    extraDays = (Norm(toMoon) - Norm(moonCirs)) / kLightKmPerDay;
  }
  const double moonRadiusKm = kMoonRadius * kEarthRadiusKm;
  const double offset = Angle(toMoon, starDirection) - std::asin(moonRadiusKm / Norm(toMoon));
  arcsec = offset / ERFA_DAS2R;
  return true;
}

bool ReferenceContacts::ContactBetween(const CatalogueStar& star, const Site& site,
                                       double jdOutside, double jdInside, double deltaT,
                                       double& jdContact) {
  double outside = 0.0, inside = 0.0;
  if (!LimbOffset(star, site, jdOutside, deltaT, outside) ||
      !LimbOffset(star, site, jdInside, deltaT, inside))
    return false;
  if (!(outside >= 0.0 && inside < 0.0)) {
    error_ = "no contact between the instants";
    return false;
  }
  while (std::fabs(jdInside - jdOutside) > 1e-3 / 86400.0) {
    const double middle = 0.5 * (jdOutside + jdInside);
    double offset = 0.0;
    if (!LimbOffset(star, site, middle, deltaT, offset)) return false;
    (offset < 0.0 ? jdInside : jdOutside) = middle;
  }
  jdContact = 0.5 * (jdOutside + jdInside);
  return true;
}

}  // namespace vernier::canon
