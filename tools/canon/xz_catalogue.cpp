#include "xz_catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <unordered_map>

#include "astro/constants.h"
#include "astro/vec3.h"

namespace vernier::canon {
namespace {


// Field of 1-based columns [first, last]; blank → `blank` is set.
bool Field(const std::string& line, int first, int last, std::string& out) {
  if (static_cast<int>(line.size()) < last) return false;
  out = line.substr(first - 1, last - first + 1);
  const size_t a = out.find_first_not_of(' ');
  out = a == std::string::npos ? "" : out.substr(a, out.find_last_not_of(' ') - a + 1);
  return true;
}

// Plain decimal numbers only (strtod alone would take "0x85" or "nan").
bool Number(const std::string& text, double& value) {
  if (text.empty() || text.find_first_not_of("0123456789+-.") != std::string::npos) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0';
}

}  // namespace

bool ReadXzCatalogue(const std::string& path, std::vector<XzStar>& stars, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  stars.clear();
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
    std::string f;
    double xz = 0, mag = 0, rh = 0, rm = 0, rs = 0, dd = 0, dm = 0, ds = 0, zc = 0, hd = 0;
    if (!Field(line, 1, 55, f)) {
      error = where + "line too short";
      return false;
    }
    Field(line, 1, 6, f);
    const bool ok = Number(f, xz) && Field(line, 20, 24, f) && Number(f, mag) && Field(line, 26, 27, f) &&
                    Number(f, rh) && Field(line, 28, 29, f) && Number(f, rm) && Field(line, 30, 36, f) &&
                    Number(f, rs) && Field(line, 46, 47, f) && Number(f, dd) && Field(line, 48, 49, f) &&
                    Number(f, dm) && Field(line, 50, 55, f) && Number(f, ds);
    if (!ok) {
      error = where + "malformed number";
      return false;
    }
    // ZC and HD are blank for most stars, and the line may end before them.
    if (Field(line, 148, 151, f) && !f.empty() && !Number(f, zc)) {
      error = where + "malformed ZC number";
      return false;
    }
    if (Field(line, 167, 172, f) && !f.empty() && !Number(f, hd)) {
      error = where + "malformed HD number";
      return false;
    }
    XzStar s;
    s.xz = static_cast<int>(xz);
    s.zc = static_cast<int>(zc);
    s.hd = static_cast<int>(hd);
    s.magnitude = mag;
    s.ra = (rh + rm / 60.0 + rs / 3600.0) * 15.0 * kPi / 180.0;
    s.dec = (line[44] == '-' ? -1.0 : 1.0) * (dd + dm / 60.0 + ds / 3600.0) * kPi / 180.0;
    stars.push_back(s);
  }
  return true;
}

XzAssignment AssignXzNumbers(std::vector<CatalogueStar>& stars, const std::vector<XzStar>& xz,
                             double radiusArcsec) {
  std::unordered_map<int, const XzStar*> byHd;
  for (const auto& s : xz)
    if (s.hd > 0) byHd.emplace(s.hd, &s);
  std::vector<const XzStar*> byDec;
  for (const auto& s : xz) byDec.push_back(&s);
  std::sort(byDec.begin(), byDec.end(), [](auto a, auto b) { return a->dec < b->dec; });
  const double radius = radiusArcsec * kPi / (180.0 * 3600.0);

  XzAssignment result;
  for (auto& star : stars) {
    const XzStar* match = nullptr;
    if (star.hd > 0) {
      auto it = byHd.find(star.hd);
      if (it != byHd.end()) {
        match = it->second;
        ++result.byHd;
      }
    }
    if (!match) {
      double best = radius;
      const Vec3 p = FromSpherical(star.ra, star.dec);
      auto it = std::lower_bound(byDec.begin(), byDec.end(), star.dec - radius,
                                 [](const XzStar* s, double d) { return s->dec < d; });
      for (; it != byDec.end() && (*it)->dec <= star.dec + radius; ++it) {
        if (std::fabs((*it)->magnitude - star.magnitude) > 1.5) continue;
        const Vec3 q = FromSpherical((*it)->ra, (*it)->dec);
        const double sep = std::atan2(Norm(Cross(p, q)), Dot(p, q));
        if (sep <= best) {
          best = sep;
          match = *it;
        }
      }
      if (match) ++result.byPosition;
    }
    if (match) {
      star.xz = match->xz;
      star.zc = match->zc;
    } else {
      star.xz = 0;
      ++result.unmatched;
    }
  }
  return result;
}

}  // namespace vernier::canon
