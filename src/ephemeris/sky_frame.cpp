#include "ephemeris/sky_frame.h"

#include <cmath>

namespace vernier {

bool ComputeSkyFrame(Ephemeris& ephemeris, double jdTT, SkyFrame& frame, std::string& error) {
  // Two-part dates keep the fraction of the day exact.
  const double date1 = std::floor(jdTT) + 0.5;
  const double date2 = jdTT - date1;
  frame.jdTT = jdTT;

  double rpb[3][3];
  eraLtpb(eraEpj(date1, date2), rpb);
  double eclipticPole[3], equatorPole[3];
  eraLtpecl(eraEpj(date1, date2), eclipticPole);
  eraLtpequ(eraEpj(date1, date2), equatorPole);
  const double meanObliquity = std::acos(eraPdp(eclipticPole, equatorPole));
  double dpsi = 0.0, deps = 0.0;
  eraNut00b(date1, date2, &dpsi, &deps);
  double rn[3][3], rnpb[3][3];
  eraNumat(meanObliquity, dpsi, deps, rn);
  eraRxr(rn, rpb, rnpb);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) frame.toDate[i][j] = rnpb[i][j];
  frame.gast = eraGst06(date1, date2, date1, date2, rnpb);

  EarthState earth;
  if (!ephemeris.Earth(jdTT, earth)) {
    error = ephemeris.Error();
    return false;
  }
  double ebpv[2][3], ehp[3];
  for (int i = 0; i < 3; ++i) {
    ebpv[0][i] = earth.barycentricPosition[i];
    ebpv[1][i] = earth.barycentricVelocity[i];
    ehp[i] = earth.heliocentricPosition[i];
  }
  eraApcg(date1, date2, ebpv, ehp, &frame.astrom);
  return true;
}

namespace {

// Direction of the star from the geocentre with space motion and parallax
// (the catalogue's RA motion includes cos(dec); the routine wants dRA/dt).
void CatalogueDirection(const SkyFrame& frame, const CatalogueStar& star, double direction[3]) {
  constexpr double kMasToRad = ERFA_DMAS2R;
  eraASTROM& a = const_cast<eraASTROM&>(frame.astrom);
  eraPmpx(star.ra, star.dec, star.pmRa * kMasToRad / std::cos(star.dec), star.pmDec * kMasToRad,
          star.parallax / 1000.0, 0.0, a.pmt, a.eb, direction);
}

Vec3 Aberrated(const SkyFrame& frame, double natural[3]) {
  eraASTROM& a = const_cast<eraASTROM&>(frame.astrom);
  double apparent[3];
  eraAb(natural, a.v, a.em, a.bm1, apparent);
  return Normalise(Vec3{apparent[0], apparent[1], apparent[2]});
}

}  // namespace

Vec3 StarDirection(const SkyFrame& frame, const CatalogueStar& star) {
  double direction[3], deflected[3];
  CatalogueDirection(frame, star, direction);
  eraASTROM& a = const_cast<eraASTROM&>(frame.astrom);
  eraLdsun(direction, a.eh, a.em, deflected);
  return Aberrated(frame, deflected);
}

Vec3 StarDirectionUndeflected(const SkyFrame& frame, const CatalogueStar& star) {
  double direction[3];
  CatalogueDirection(frame, star, direction);
  return Aberrated(frame, direction);
}

Vec3 StarDeflection(const SkyFrame& frame, const CatalogueStar& star) {
  return Sub(StarDirection(frame, star), StarDirectionUndeflected(frame, star));
}

}  // namespace vernier
