#include "gshhg_binned.h"

#include <netcdf.h>

#include <cstdint>
#include <map>
#include <tuple>

namespace coastlines {

namespace {

// Points are stored as unsigned 16-bit offsets in 1/65535 of a bin side from
// the bin's south-west corner.
constexpr long long kBinUnits = 65535;

class NetcdfFile {
 public:
  explicit NetcdfFile(const std::string& path) {
    ok_ = nc_open(path.c_str(), NC_NOWRITE, &id_) == NC_NOERR;
  }
  ~NetcdfFile() {
    if (ok_) nc_close(id_);
  }
  bool ok() const { return ok_; }

  bool Scalar(const char* name, int& value) {
    int var;
    return nc_inq_varid(id_, name, &var) == NC_NOERR &&
           nc_get_var_int(id_, var, &value) == NC_NOERR;
  }
  template <class T>
  bool Array(const char* name, std::size_t size, std::vector<T>& values) {
    int var;
    if (nc_inq_varid(id_, name, &var) != NC_NOERR) return false;
    values.resize(size);
    if (size == 0) return true;
    if constexpr (std::is_same_v<T, int>)
      return nc_get_var_int(id_, var, values.data()) == NC_NOERR;
    if constexpr (std::is_same_v<T, short>)
      return nc_get_var_short(id_, var, values.data()) == NC_NOERR;
    if constexpr (std::is_same_v<T, signed char>)
      return nc_get_var_schar(id_, var, values.data()) == NC_NOERR;
    if constexpr (std::is_same_v<T, double>)
      return nc_get_var_double(id_, var, values.data()) == NC_NOERR;
    return false;
  }

 private:
  int id_ = -1;
  bool ok_ = false;
};

struct Piece {
  int polygon;
  int level;
  bool antarctic;
  std::vector<std::pair<long long, long long>> units;  // absolute unit coordinates
};

struct BinnedPieces {
  std::vector<Piece> pieces;
  int binMinutes = 0;
  std::vector<double> area;  // km², by polygon
};

// The file's segments as pieces in absolute units, with the bin size and the
// polygons' areas; false, with the reason, when the file is not one.
bool ReadPieces(const std::string& path, BinnedPieces& in, std::string& error) {
  NetcdfFile nc(path);
  if (!nc.ok()) {
    error = "cannot open " + path;
    return false;
  }
  int binMinutes = 0, nx = 0, ny = 0, nBins = 0, nPolygons = 0, nSegments = 0, nPoints = 0;
  if (!nc.Scalar("Bin_size_in_minutes", binMinutes) ||
      !nc.Scalar("N_bins_in_360_longitude_range", nx) ||
      !nc.Scalar("N_bins_in_180_degree_latitude_range", ny) ||
      !nc.Scalar("N_bins_in_file", nBins) || !nc.Scalar("N_polygons_in_file", nPolygons) ||
      !nc.Scalar("N_segments_in_file", nSegments) || !nc.Scalar("N_points_in_file", nPoints) ||
      binMinutes <= 0 || nx <= 0 || ny <= 0 || nBins != nx * ny || nSegments < 0 || nPoints < 0 ||
      nPolygons < 0) {
    error = path + ": not a binned shoreline file";
    return false;
  }
  std::vector<int> firstSegment, segmentInfo, firstPoint, polygonOfSegment;
  std::vector<short> segmentsInBin, relLon, relLat;
  std::vector<signed char> antarcticFlag;
  if (!nc.Array("Id_of_first_segment_in_a_bin", nBins, firstSegment) ||
      !nc.Array("N_segments_in_a_bin", nBins, segmentsInBin) ||
      !nc.Array("Embedded_npts_levels_exit_entry_for_a_segment", nSegments, segmentInfo) ||
      !nc.Array("Id_of_first_point_in_a_segment", nSegments, firstPoint) ||
      !nc.Array("Id_of_GSHHS_ID", nSegments, polygonOfSegment) ||
      !nc.Array("Embedded_ANT_flag", nSegments, antarcticFlag) ||
      !nc.Array("The_km_squared_area_of_polygons", nPolygons, in.area) ||
      !nc.Array("Relative_longitude_from_SW_corner_of_bin", nPoints, relLon) ||
      !nc.Array("Relative_latitude_from_SW_corner_of_bin", nPoints, relLat)) {
    error = path + ": missing shoreline arrays";
    return false;
  }

  const long long width = nx * kBinUnits;
  for (int b = 0; b < nBins; ++b) {
    const long long col = b % nx, rowFromSouth = ny - 1 - b / nx;
    for (int s = firstSegment[b]; s < firstSegment[b] + segmentsInBin[b]; ++s) {
      if (s < 0 || s >= nSegments) continue;
      const int info = segmentInfo[s];
      const int n = info >> 9;
      const int first = firstPoint[s];
      if (n <= 0 || first < 0 || first + n > nPoints) continue;
      Piece p{polygonOfSegment[s], (info >> 6) & 7, antarcticFlag[s] != 0, {}};
      for (int k = first; k < first + n; ++k) {
        const long long ux = col * kBinUnits + static_cast<std::uint16_t>(relLon[k]);
        const long long uy = rowFromSouth * kBinUnits + static_cast<std::uint16_t>(relLat[k]);
        p.units.emplace_back(ux % width, uy);
      }
      in.pieces.push_back(std::move(p));
    }
  }
  in.binMinutes = binMinutes;
  return true;
}

// Joins the pieces of each polygon into outlines in degrees, the longitude
// unwrapped along each.
std::vector<Outline> JoinPieces(const BinnedPieces& in) {
  const std::vector<Piece>& pieces = in.pieces;
  const int nPolygons = static_cast<int>(in.area.size());
  // Pieces of one polygon meet at bin sides: the end of one is the start of
  // the next.
  std::multimap<std::tuple<int, long long, long long>, std::size_t> byStart;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const auto& u = pieces[i].units.front();
    byStart.emplace(std::make_tuple(pieces[i].polygon, u.first, u.second), i);
  }
  std::vector<bool> used(pieces.size(), false);
  const double degreesPerUnit = in.binMinutes / 60.0 / kBinUnits;
  std::vector<Outline> outlines;
  for (std::size_t start = 0; start < pieces.size(); ++start) {
    if (used[start]) continue;
    const Piece& head = pieces[start];
    Outline o;
    o.polygon = head.polygon;
    o.level = head.level;
    o.antarctic = head.antarctic;
    o.areaKm2 = head.polygon >= 0 && head.polygon < nPolygons ? in.area[head.polygon] : 0;
    std::vector<std::pair<long long, long long>> chain;
    std::size_t current = start;
    for (;;) {
      used[current] = true;
      const auto& u = pieces[current].units;
      chain.insert(chain.end(), u.begin() + (chain.empty() ? 0 : 1), u.end());
      if (chain.size() > 1 && chain.back() == chain.front()) {
        o.closed = true;
        break;
      }
      auto [lo, hi] =
          byStart.equal_range(std::make_tuple(o.polygon, chain.back().first, chain.back().second));
      std::size_t next = pieces.size();
      for (auto it = lo; it != hi; ++it) {
        if (!used[it->second] && pieces[it->second].level == o.level) {
          next = it->second;
          break;
        }
      }
      if (next == pieces.size()) break;
      current = next;
    }
    // Unwrap the longitude along the outline.
    double previous = 0;
    for (std::size_t i = 0; i < chain.size(); ++i) {
      double lon = chain[i].first * degreesPerUnit;
      const double lat = chain[i].second * degreesPerUnit - 90;
      if (i > 0) {
        while (lon - previous > 180) lon -= 360;
        while (lon - previous < -180) lon += 360;
      }
      previous = lon;
      o.points.push_back({lon, lat});
    }
    outlines.push_back(std::move(o));
  }
  return outlines;
}
}  // namespace

std::vector<Outline> ReadBinnedShorelines(const std::string& path, std::string& error) {
  BinnedPieces in;
  if (!ReadPieces(path, in, error)) return {};
  return JoinPieces(in);
}

}  // namespace coastlines
