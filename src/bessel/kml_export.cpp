#include "bessel/kml_export.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "astro/star_key.h"
#include "base/data_directory.h"
#include "base/format.h"

namespace vernier {

namespace {

struct LineInfo {
  const char* file;
  const char* placemark;
  const char* style;
};

// Indexed by KmlLine.
constexpr LineInfo kLines[7] = {
    {"north.prn", "North Limit Line", "#orangeLineGreenPoly"},
    {"center.prn", "", ""},
    {"south.prn", "South Limit Line", "#orangeLineGreenPoly"},
    {"sm.prn", "South Limit +1 sec Line", "#yellowLineGreenPoly"},
    {"sp.prn", "South Limit -1 sec Line", "#blueLineGreenPoly"},
    {"np.prn", "North Limit -1 sec Line", "#blueLineGreenPoly"},
    {"nm.prn", "North Limit +1 sec Line", "#yellowLineGreenPoly"},
};

// The six limit lines in the order their heads are written.
constexpr KmlLine kLimitLines[6] = {KmlLine::South,      KmlLine::North,      KmlLine::SouthPlus,
                                    KmlLine::SouthMinus, KmlLine::NorthMinus, KmlLine::NorthPlus};
// The order of the pieces in the document.
constexpr KmlLine kJoinOrder[7] = {KmlLine::NorthPlus,  KmlLine::North, KmlLine::NorthMinus,
                                   KmlLine::Center,     KmlLine::SouthMinus, KmlLine::South,
                                   KmlLine::SouthPlus};

}  // namespace

const char* KmlPathFileName(KmlLine line) { return kLines[static_cast<int>(line)].file; }

std::string ObjectName(double xz) {
  static const char* const kPlanets[10] = {" ",       "Mercury", "Venus",  nullptr, "Mars",
                                           "Jupitar", "Saturn",  "Uranus", "Neptune", "Pluto"};
  const double n = std::trunc(xz);
  if (n >= 0 && n <= 9 && kPlanets[static_cast<int>(n)]) return kPlanets[static_cast<int>(n)];
  // A star without a HIP number: its identifier, not the key's digits.
  if (n >= kZoneKeyBase && n < 1e12) return StarIdentifier(static_cast<long long>(n));
  return Format("%.0f", n);
}

KmlExport::KmlExport(const BesselianElements& e)
    : fileName_(FileName(e.year, e.month, e.day, e.t0)) {
  const int y = static_cast<int>(e.year), m = static_cast<int>(e.month),
            d = static_cast<int>(e.day);
  const std::string name = ObjectName(e.xz);
  std::string& south = pieces_[static_cast<int>(KmlLine::South)];
  south += Format("<name>Occultation %6d/%02d/%02d Star:%s</name>\n", y, m, d, name.c_str());
  south += Format("<description>%6d/%02d/%02d Star:%s</description>\n", y, m, d, name.c_str());
  for (KmlLine line : kLimitLines) {
    const LineInfo& info = kLines[static_cast<int>(line)];
    std::string& piece = pieces_[static_cast<int>(line)];
    piece += "\n<Placemark>\n";
    piece += std::string("<name>") + info.placemark + "</name>\n";
    piece += Format("<description>%6d/%02d/%02d %s</description>\n", y, m, d, name.c_str());
    piece += std::string("<styleUrl>") + info.style + "</styleUrl>\n";
    piece += "<LineString>\n<extrude>1</extrude>\n<tessellate>1</tessellate>\n"
             "<altitudeMode>clampToGround</altitudeMode>\n<coordinates>\n";
  }
}

void KmlExport::AddPoint(KmlLine line, double lon, double lat) {
  if (closed_ || line == KmlLine::Center) return;
  // Globe viewers read longitudes in -180..180.
  pieces_[static_cast<int>(line)] +=
      Format(" %012.6f,%012.6f,0\n", std::remainder(lon, 360.0), lat);
}

std::string KmlExport::FileName(double year, double month, double day, double t0) {
  const double s = year < 0 ? -1 : 1;
  const double value = s * (std::abs(year) * 1000000 + month * 10000 + day * 100 + t0);
  const auto n = static_cast<std::int64_t>(std::trunc(value));
  return std::to_string(static_cast<std::uint32_t>(n)) + ".kml";
}

std::string KmlExport::Finish(const DataDirectory& dataDirectory,
                              const std::string& outputDirectory) {
  if (!closed_) {
    for (KmlLine line : kLimitLines)
      pieces_[static_cast<int>(line)] += "</coordinates>\n</LineString>\n</Placemark>\n";
    closed_ = true;
  }
  problem_.clear();
  // Without its prologue the document is no KML: nothing is written then.
  std::string document;
  std::FILE* head = OpenDataFile(dataDirectory, "echead.prn", "r");
  if (!head) {
    problem_ = "echead.prn is missing or unreadable in the data directory " +
               DescribeDataDirectory(dataDirectory);
    return {};
  }
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, head)) > 0) document.append(chunk, n);
  const bool readWhole = !std::ferror(head);
  std::fclose(head);
  if (!readWhole || document.empty()) {
    problem_ = "echead.prn in the data directory " + DescribeDataDirectory(dataDirectory) +
               " could not be read";
    return {};
  }
  for (KmlLine line : kJoinOrder) document += pieces_[static_cast<int>(line)];
  document += "</Document>\n</kml>\n";

  // Written whole under a temporary name and then renamed, so that a failed
  // write never leaves a half document under the event's name.
  const std::string path = DataFilePath(outputDirectory, fileName_);
  const std::string temporary = path + ".part";
  auto fail = [&](const std::string& reason) {
    problem_ = "cannot write " + path + ": " + reason;
    return std::string();
  };
  std::FILE* out = std::fopen(temporary.c_str(), "w");
  if (!out) return fail(std::strerror(errno));
  bool written = std::fwrite(document.data(), 1, document.size(), out) == document.size();
  written = std::fflush(out) == 0 && written;
  const std::string reason = written ? "" : std::strerror(errno);
  written = std::fclose(out) == 0 && written;
  std::error_code ec;
  if (written) std::filesystem::rename(temporary, path, ec);
  if (!written || ec) {
    const std::string why = ec ? ec.message() : reason.empty() ? std::strerror(errno) : reason;
    std::filesystem::remove(temporary, ec);
    return fail(why);
  }
  return path;
}

}  // namespace vernier
