// libnova (ELP2000-82B and VSOP87) behind the ephemeris interface, kept for
// comparison with the Swiss Ephemeris.
#pragma once

#include <memory>

#include "ephemeris/ephemeris.h"

namespace vernier::canon {

// nullptr when the generator was built without libnova.
std::unique_ptr<Ephemeris> MakeLibnovaEphemeris();

}  // namespace vernier::canon
