// vernier-simple-map: writes the built-in simple world outline
// (src/map/simple_map_tables.cpp) from the low-resolution GSHHG shorelines.
//
//   vernier-simple-map [--gshhg FILE] OUTPUT.cpp
//
// Each of the 18 tables holds the outlines of one region, simplified
// (Visvalingam-Whyatt, by the area a point adds) to a fixed number of values,
// rounded to tenths of a degree. Outlines within a table are separated by the
// pair (200, 200); every table ends with a (200, 200) and its 999, the last
// one with (500, 500) and 999. Longitudes run on continuously along an outline (they may
// pass 180) so that a line crosses the date line without a jump.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gshhg_binned.h"

namespace {

using coastlines::GeoPoint;
using coastlines::Outline;

constexpr int kEurasia = 0, kAfrica = 1, kNorthAmerica = 2, kSouthAmerica = 3, kGreenland = 7;

struct Box {
  double west, east, south, north;
  bool Contains(const GeoPoint& p) const {
    double lon = p.lon;
    while (lon >= 180) lon -= 360;
    while (lon < -180) lon += 360;
    return lon >= west && lon <= east && p.lat >= south && p.lat <= north;
  }
};

struct TableLayout {
  const char* name;
  int values;      // including the closing 999
  GeoPoint first;  // the outline nearest this point comes first and starts here
  std::function<bool(const Outline&, const GeoPoint& centroid)> select;
};

GeoPoint Centroid(const Outline& o) {
  double lon = 0, lat = 0;
  for (const auto& p : o.points) lon += p.lon, lat += p.lat;
  const double n = static_cast<double>(o.points.size());
  return {lon / n, lat / n};
}

bool Land(const Outline& o, double minArea) {
  return o.level == 1 && !o.antarctic && o.areaKm2 >= minArea;
}

double Distance(const GeoPoint& a, const GeoPoint& b) {
  double dlon = std::fabs(a.lon - b.lon);
  dlon = std::fmod(dlon, 360);
  if (dlon > 180) dlon = 360 - dlon;
  return std::hypot(dlon * std::cos((a.lat + b.lat) / 2 * M_PI / 180), a.lat - b.lat);
}

double Length(const std::vector<GeoPoint>& pts) {
  double s = 0;
  for (std::size_t i = 1; i < pts.size(); ++i) s += Distance(pts[i - 1], pts[i]);
  return s;
}

// Keeps `keep` points of a polyline, dropping first the points whose
// triangle with their neighbours is smallest. The end points stay.
std::vector<GeoPoint> Simplify(const std::vector<GeoPoint>& pts, int keep) {
  const int n = static_cast<int>(pts.size());
  if (n <= keep) return pts;
  std::vector<int> prev(n), next(n);
  for (int i = 0; i < n; ++i) prev[i] = i - 1, next[i] = i + 1;
  auto area = [&](int i) {
    const GeoPoint &a = pts[prev[i]], &b = pts[i], &c = pts[next[i]];
    const double k = std::cos(b.lat * M_PI / 180);
    return std::fabs(((b.lon - a.lon) * (c.lat - a.lat) - (c.lon - a.lon) * (b.lat - a.lat)) * k) /
           2;
  };
  std::set<std::pair<double, int>> queue;
  std::vector<double> key(n, 0);
  for (int i = 1; i < n - 1; ++i) queue.insert({key[i] = area(i), i});
  int remaining = n;
  while (remaining > keep && !queue.empty()) {
    const int i = queue.begin()->second;
    queue.erase(queue.begin());
    const int p = prev[i], q = next[i];
    next[p] = q;
    prev[q] = p;
    --remaining;
    for (int j : {p, q}) {
      if (j <= 0 || j >= n - 1) continue;
      queue.erase({key[j], j});
      queue.insert({key[j] = area(j), j});
    }
  }
  std::vector<GeoPoint> out;
  for (int i = 0; i < n; i = next[i]) out.push_back(pts[i]);
  return out;
}

// A closed outline turned to start at its point nearest `start`, without the
// repeated last point; the caller closes it again.
std::vector<GeoPoint> RingFrom(const Outline& o, const GeoPoint& start) {
  std::vector<GeoPoint> ring(o.points.begin(), o.points.end() - (o.closed ? 1 : 0));
  std::size_t best = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    if (Distance(ring[i], start) < Distance(ring[best], start)) best = i;
  }
  std::rotate(ring.begin(), ring.begin() + static_cast<long>(best), ring.end());
  ring.push_back(ring.front());
  return ring;
}

// Longitudes continuous along the line, the first one in [-180, 180).
void Unwrap(std::vector<GeoPoint>& pts) {
  for (std::size_t i = 0; i < pts.size(); ++i) {
    if (i == 0) {
      while (pts[0].lon >= 180) pts[0].lon -= 360;
      while (pts[0].lon < -180) pts[0].lon += 360;
      continue;
    }
    while (pts[i].lon - pts[i - 1].lon > 180) pts[i].lon -= 360;
    while (pts[i].lon - pts[i - 1].lon < -180) pts[i].lon += 360;
  }
}

// The Eurasian outline cut at 60 degrees east where it crosses farthest north
// and farthest south: the western arc (Europe, from the north crossing
// westward) or the eastern arc (Asia, from the north crossing eastward).
std::vector<GeoPoint> EurasiaArc(const Outline& o, bool west) {
  std::vector<GeoPoint> ring(o.points.begin(), o.points.end() - 1);
  auto norm = [](double lon) {
    while (lon >= 180) lon -= 360;
    while (lon < -180) lon += 360;
    return lon;
  };
  const std::size_t n = ring.size();
  int north = -1, south = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const double a = norm(ring[i].lon), b = norm(ring[(i + 1) % n].lon);
    if ((a < 60) != (b < 60) && std::fabs(a - b) < 90) {
      if (north < 0 || ring[i].lat > ring[north].lat) north = static_cast<int>(i);
      if (south < 0 || ring[i].lat < ring[south].lat) south = static_cast<int>(i);
    }
  }
  auto crossing = [&](int i) {
    const GeoPoint a = ring[i], b = ring[(i + 1) % n];
    const double la = norm(a.lon), lb = norm(b.lon);
    const double t = (60 - la) / (lb - la);
    return GeoPoint{60, a.lat + t * (b.lat - a.lat)};
  };
  // The arc from just after the north crossing forward to the south crossing.
  std::vector<GeoPoint> forward{crossing(north)};
  for (std::size_t i = (north + 1) % n;; i = (i + 1) % n) {
    forward.push_back(ring[i]);
    if (static_cast<int>(i) == south) break;
  }
  forward.push_back(crossing(south));
  std::vector<GeoPoint> backward{crossing(north)};
  for (std::size_t i = north;; i = (i + n - 1) % n) {
    backward.push_back(ring[i]);
    if (static_cast<int>((i + n - 1) % n) == south) break;
  }
  backward.push_back(crossing(south));
  const bool forwardIsWest = norm(forward[forward.size() / 2].lon) < 60;
  return forwardIsWest == west ? forward : backward;
}

// The tables of the outline, in the order the map draws them: each one's
// size, its first point and the outlines it takes.
std::vector<TableLayout> TableLayouts() {
  auto polygon = [](int id) {
    return [id](const Outline& o, const GeoPoint&) { return o.polygon == id && o.level == 1; };
  };
  auto bigIn = [](Box b, double area) {
    return
        [b, area](const Outline& o, const GeoPoint& c) { return Land(o, area) && b.Contains(c); };
  };
  const Box australasia{95, 180, -50, 6};
  return {
      {"Africa",
       263,
       {-17, 20},
       [](const Outline& o, const GeoPoint& c) {
         return o.polygon == kAfrica || (Land(o, 100000) && Box{40, 52, -27, -11}.Contains(c));
       }},
      {"Australia and neighbours",
       359,
       {152, -24},
       [australasia](const Outline& o, const GeoPoint& c) {
         return Land(o, 40000) && australasia.Contains(c);
       }},
      {"South America",
       163,
       {-35, -6},
       [](const Outline& o, const GeoPoint& c) {
         return o.polygon == kSouthAmerica ||
                (Land(o, 40000) && Box{-75, -63, -56, -52}.Contains(c));
       }},
      {"North America",
       397,
       {-56, 52},
       [](const Outline& o, const GeoPoint& c) {
         return o.polygon == kNorthAmerica ||
                (Land(o, 30000) &&
                 (Box{-60, -52, 46, 52}.Contains(c) || Box{-129, -123, 48, 51}.Contains(c)));
       }},
      {"Caribbean", 59, {-65, 18}, bigIn({-86, -60, 15, 24}, 8000)},
      {"Canadian Arctic islands",
       143,
       {-101, 70},
       [](const Outline& o, const GeoPoint& c) {
         return o.polygon != kGreenland && Land(o, 20000) && Box{-125, -60, 60, 84}.Contains(c);
       }},
      {"Greenland", 57, {-22, 70}, polygon(kGreenland)},
      {"Europe",
       567,
       {60, 70},
       [](const Outline& o, const GeoPoint& c) {
         return o.polygon == kEurasia ||
                (Land(o, 8000) && o.polygon != kGreenland && Box{-25, 45, 34, 70}.Contains(c) &&
                 !Box{-11, 2, 50, 59}.Contains(c));
       }},
      {"Great Britain", 103, {-5, 58.5}, bigIn({-7, 2, 50, 59}, 100000)},
      {"Ireland", 71, {-7, 55.7}, bigIn({-11, -5, 51, 56}, 50000)},
      {"Asia", 829, {60, 70}, polygon(kEurasia)},
      {"Arctic islands", 139, {27, 81}, bigIn({10, 180, 70, 84}, 10000)},
      {"Sakhalin", 39, {143, 55}, bigIn({141, 145, 45, 55}, 50000)},
      {"Japan", 379, {142, 45.3}, bigIn({128, 146, 30, 46}, 15000)},
      {"Philippines", 101, {121, 19}, bigIn({116, 127, 4, 20}, 9000)},
      {"Taiwan and neighbouring islands", 107, {121.6, 25}, bigIn({108, 122.5, 18, 26}, 30000)},
      {"Sri Lanka", 13, {80, 10}, bigIn({79, 82, 5, 10}, 50000)},
      {"Antarctica",
       107,
       {0, -72},
       [](const Outline& o, const GeoPoint&) { return o.antarctic && o.areaKm2 > 1e7; }},
  };

}

// The values of one table: its outlines simplified to the points the table
// holds between them, with the breaks and its end marks; false, with the
// reason, when the outlines do not fill it exactly.
bool TableValues(const TableLayout& layout, const std::vector<Outline>& outlines, bool last,
                 std::vector<double>& values, std::size_t& lineCount) {
  std::vector<std::vector<GeoPoint>> lines;
  for (const Outline& o : outlines) {
    if (!o.closed || !layout.select(o, Centroid(o))) continue;
    if (o.polygon == kEurasia) {
      lines.push_back(EurasiaArc(o, std::string(layout.name) == "Europe"));
    } else {
      lines.push_back(RingFrom(o, layout.first));
    }
  }
  for (auto& l : lines) {
    // Antarctica's closing run along the pole is no coastline.
    l.erase(std::remove_if(l.begin(), l.end(), [](const GeoPoint& p) { return p.lat < -89.9; }),
            l.end());
    Unwrap(l);
  }
  // The outline nearest the table's first point first, the rest by size.
  std::sort(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
    const bool fa = Distance(a.front(), layout.first) < 1.5,
               fb = Distance(b.front(), layout.first) < 1.5;
    if (fa != fb) return fa;
    return Length(a) > Length(b);
  });
  // Points to share out: pairs less the breaks and the closing pair, a
  // break that keeps the next table's first line apart or the end pair.
  const int pairs = (layout.values - 1) / 2 - 1;
  int budget = pairs - static_cast<int>(lines.size() - 1);
  double totalLength = 0;
  for (const auto& l : lines) totalLength += Length(l);
  std::vector<int> keep(lines.size());
  int given = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    keep[i] = std::max(4, static_cast<int>(budget * Length(lines[i]) / totalLength));
    given += keep[i];
  }
  for (std::size_t i = 0; given != budget; i = (i + 1) % lines.size()) {
    if (given < budget)
      ++keep[i], ++given;
    else if (keep[i] > 4)
      --keep[i], --given;
  }
  values.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) values.insert(values.end(), {200, 200});
    const auto simple = Simplify(lines[i], keep[i]);
    if (static_cast<int>(simple.size()) != keep[i]) {
      std::fprintf(stderr, "%s: outline %zu has only %zu points\n", layout.name, i,
                   simple.size());
      return false;
    }
    for (const GeoPoint& p : simple) {
      values.push_back(std::round(p.lon * 10) / 10);
      values.push_back(std::round(p.lat * 10) / 10);
    }
  }
  if (last) {
    values.insert(values.end(), {500, 500});
  } else {
    values.insert(values.end(), {200, 200});
  }
  values.push_back(999);
  if (static_cast<int>(values.size()) != layout.values) {
    std::fprintf(stderr, "%s: %zu values instead of %d\n", layout.name, values.size(),
                 layout.values);
    return false;
  }
  lineCount = lines.size();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string gshhg = "/usr/share/gmt-gshhg/binned_GSHHS_l.nc";
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--gshhg" && i + 1 < argc)
      gshhg = argv[++i];
    else if (output.empty() && !a.empty() && a[0] != '-')
      output = a;
    else {
      std::fprintf(stderr, "usage: vernier-simple-map [--gshhg FILE] OUTPUT.cpp\n");
      return 2;
    }
  }
  if (output.empty()) {
    std::fprintf(stderr, "usage: vernier-simple-map [--gshhg FILE] OUTPUT.cpp\n");
    return 2;
  }
  std::string error;
  const std::vector<Outline> outlines = coastlines::ReadBinnedShorelines(gshhg, error);
  if (!error.empty()) {
    std::fprintf(stderr, "vernier-simple-map: %s\n", error.c_str());
    return 1;
  }
  const std::vector<TableLayout> tables = TableLayouts();

  std::FILE* out = std::fopen(output.c_str(), "w");
  if (!out) {
    std::fprintf(stderr, "vernier-simple-map: cannot write %s\n", output.c_str());
    return 1;
  }
  std::fprintf(
      out,
      "// The built-in simple world outline. Generated by tools/simple_map (vernier-simple-map)\n"
      "// from the low-resolution shorelines of GSHHG 2.3.7 (Wessel and Smith, "
      "LGPL-3.0-or-later);\n"
      "// do not edit by hand.\n"
      "#include \"map/simple_map.h\"\n\nnamespace vernier {\n\nnamespace {\n\n");
  int total = 0;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const TableLayout& layout = tables[t];
    const bool last = t + 1 == tables.size();
    std::vector<double> values;
    std::size_t lineCount = 0;
    if (!TableValues(layout, outlines, last, values, lineCount)) return 1;
    total += static_cast<int>(values.size());
    std::fprintf(out, "// %s: %zu outline(s), %d values.\nconst double kTable%zu[] = {\n",
                 layout.name, lineCount, layout.values, t + 1);
    for (std::size_t i = 0; i < values.size(); i += 2) {
      if (i + 1 < values.size()) {
        std::fprintf(out, "    %g, %g,\n", values[i], values[i + 1]);
      } else {
        std::fprintf(out, "    %g,\n", values[i]);
      }
    }
    std::fprintf(out, "};\n\n");
    std::printf("%-32s %2zu outline(s) %4d values, first (%g, %g)\n", layout.name, lineCount,
                layout.values, values[0], values[1]);
  }
  std::fprintf(out,
               "}  // namespace\n\nconst std::array<std::span<const double>, kOutlineTableCount> "
               "OutlineTables{{\n");
  for (std::size_t t = 0; t < tables.size(); ++t) std::fprintf(out, "    kTable%zu,\n", t + 1);
  std::fprintf(out, "}};\n\n}  // namespace vernier\n");
  std::fclose(out);
  std::printf("%d values in all\n", total);
  return 0;
}
