// The published periodic terms of the truncated ELP-2000/82 lunar theory and
// of the IAU 1980 nutation series.
#pragma once

namespace vernier {

// Multiples of D, M, M′, F; Σl coefficient (1e-6 degree, sine), Σr (1e-3 km, cosine).
struct LunarLongitudeTerm {
  int d, m, mp, f;
  int sigmaL, sigmaR;
};
// Multiples of D, M, M′, F; Σb coefficient (1e-6 degree, sine).
struct LunarLatitudeTerm {
  int d, m, mp, f;
  int sigmaB;
};
// Multiples of M′, M, F, D, Ω; Δψ coefficient (0.0001″) and rate (0.00001″ per
// century), Δε coefficient and rate.
struct NutationTerm {
  int mp, m, f, d, omega;
  int psi, psiRate, eps, epsRate;
};

extern const LunarLongitudeTerm kLunarLongitudeTerms[60];
extern const LunarLatitudeTerm kLunarLatitudeTerms[60];
extern const NutationTerm kNutationTerms[62];

}  // namespace vernier
