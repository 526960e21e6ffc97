#include "ephemeris/lunar_figure.h"

#include <cmath>

#include "astro/constants.h"

namespace vernier {

Mat3 LunarBodyFrame(double jdTT) {
  const double d = jdTT - 2451545.0;
  const double T = d / 36525.0;
  auto e = [&](double a, double rate) { return (a + rate * d) * kDegToRad; };
  const double e1 = e(125.045, -0.0529921), e2 = e(250.089, -0.1059842),
               e3 = e(260.008, 13.0120009), e4 = e(176.625, 13.3407154), e5 = e(357.529, 0.9856003),
               e6 = e(311.589, 26.4057084), e7 = e(134.963, 13.0649930), e8 = e(276.617, 0.3287146),
               e9 = e(34.226, 1.7484877), e10 = e(15.134, -0.1589763), e11 = e(119.743, 0.0036096),
               e12 = e(239.961, 0.1643573), e13 = e(25.053, 12.9590088);
  const double ra = (269.9949 + 0.0031 * T - 3.8787 * std::sin(e1) - 0.1204 * std::sin(e2) +
                     0.0700 * std::sin(e3) - 0.0172 * std::sin(e4) + 0.0072 * std::sin(e6) -
                     0.0052 * std::sin(e10) + 0.0043 * std::sin(e13)) *
                    kDegToRad;
  const double dec = (66.5392 + 0.0130 * T + 1.5419 * std::cos(e1) + 0.0239 * std::cos(e2) -
                      0.0278 * std::cos(e3) + 0.0068 * std::cos(e4) - 0.0029 * std::cos(e6) +
                      0.0009 * std::cos(e7) + 0.0008 * std::cos(e10) - 0.0009 * std::cos(e13)) *
                     kDegToRad;
  const double w = (38.3213 + 13.17635815 * d - 1.4e-12 * d * d + 3.5610 * std::sin(e1) +
                    0.1208 * std::sin(e2) - 0.0642 * std::sin(e3) + 0.0158 * std::sin(e4) +
                    0.0252 * std::sin(e5) - 0.0066 * std::sin(e6) - 0.0047 * std::sin(e7) -
                    0.0046 * std::sin(e8) + 0.0028 * std::sin(e9) + 0.0052 * std::sin(e10) +
                    0.0040 * std::sin(e11) + 0.0019 * std::sin(e12) - 0.0044 * std::sin(e13)) *
                   kDegToRad;
  // Body axes: z the pole (ra, dec); x the prime meridian, W east of the node
  // of the body's equator on the GCRS equator (at ra + 90°).
  const Vec3 pole = FromSpherical(ra, dec);
  const Vec3 node = {-std::sin(ra), std::cos(ra), 0.0};
  const Vec3 ninety = Cross(pole, node);
  const Vec3 x = Add(Scale(node, std::cos(w)), Scale(ninety, std::sin(w)));
  const Vec3 y = Cross(pole, x);
  return {x, y, pole};
}

Vec3 LunarFigureOffset(double jdTT) {
  const Mat3 m = LunarBodyFrame(jdTT);
  Vec3 offset{};
  for (int axis = 0; axis < 3; ++axis)
    offset = Add(offset, Scale(m[axis], kFigureOffsetBodyKm[axis]));
  return offset;
}

}  // namespace vernier
