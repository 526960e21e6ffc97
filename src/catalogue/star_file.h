// One binary star file of the Debian star catalogue ("stars_L_TvM_N.cat" in
// /usr/share/stellarium/stars/default), read whole and checked.
//
// Layout, little-endian:
// - Header, 32 bytes: 8 × uint32 — magic 0x835f040a, record type (0 full,
//   1 compact), major and minor version, level L, mag_min (millimagnitudes,
//   signed), mag_range, mag_steps.
// - uint32 count[20·4^L]: the stars of each zone, then the records zone by
//   zone. A zone is a triangle of the icosahedron split L times (star_file.cpp
//   builds them); its frame is the centre c and two axes a0 = ẑ×c, a1 = c×a0.
// - Full record (type 0), 28 bytes: uint32 id (HIP number in the low 24 bits,
//   0 for a star without one; component index in the high 8), int32 x0, x1,
//   uint8 bV, uint8 mag, uint16 spectral index, int32 dx0, dx1, int32 plx.
// - Compact record (type 1), 10 bytes of bit fields from the least significant
//   bit: x0:20, x1:20, dx0:14, dx1:14 (signed), bV:7, mag:5. No identifier,
//   no parallax.
//
// Meaning and units:
// - Position at J2000.0, ICRS: normalise(c + s·(x0·a0 + x1·a1)), where s is
//   the largest gnomonic offset of any zone corner divided by 2^31 − 1 (full)
//   or 2^19 − 1 (compact). One unit of x is s radians at the zone centre:
//   0.01 mas in level-0 full records, about 37.6 mas in the level-3 compact
//   file (PositionStepMas measures it).
// - Proper motion: dx0, dx1 in 0.1 mas/yr, the rate of the gnomonic
//   coordinates (x0, x1 times s) that the writer derived from the source's
//   (μα cos δ, μδ) as if these were the rates of the star's offsets along a0
//   and a1 (star_file.cpp undoes it; read as a motion on the tangent plane
//   they are up to tens of mas/yr off for fast stars). Compact records hold
//   14 bits: ±819.1 mas/yr.
// - Magnitude V = (mag_min + mag·mag_range/mag_steps)/1000 (0.05-mag steps);
//   B−V = bV·4/127 − 0.5; parallax plx in 0.01 mas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

namespace vernier {

enum class StarRecordType { Full = 0, Compact = 1 };

// One star as the file holds it, decoded.
struct StarFileEntry {
  int zone = 0;        // zone of the file's level
  int indexInZone = 0; // position of the record within its zone
  int hip = 0;         // 0: none
  int component = 0;   // the HIP component's index (0 for A or a single star)
  double ra = 0.0, dec = 0.0;         // ICRS, J2000.0, radians
  double pmRa = 0.0, pmDec = 0.0;     // mas/yr; pmRa times cos(dec)
  double parallax = 0.0;              // mas (0: not given)
  double magnitude = 0.0;             // V
  double colourIndex = 0.0;           // B−V
};

struct StarFile {
  std::string path;
  StarRecordType type = StarRecordType::Full;
  int level = 0;
  double magnitudeMin = 0.0;   // V of the file's mag = 0
  double magnitudeStep = 0.0;  // V per step of mag
  double positionStepMas = 0.0; // one unit of x at a zone centre
  std::vector<StarFileEntry> stars;
};

// Reads the file at `path`: every record, in zone order. Stars fainter than
// `magnitudeLimit` are skipped (the records are still checked). A file that
// is missing, not a star file, of an unknown record type, or cut short is
// refused: `error` names the file and says what is wrong.
Status ReadStarFile(const std::string& path, double magnitudeLimit, StarFile& file,
                    std::string& error);

// The zone count of a level: 20·4^level.
inline int ZoneCount(int level) { return 20 << (2 * level); }

}  // namespace vernier
