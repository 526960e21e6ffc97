#include "map/coastlines.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "astro/constants.h"
#include "base/data_directory.h"
#include "map/decoded_coastline.h"

namespace vernier {

namespace {

constexpr double kStrokeStepBase = 100;
constexpr double kMarginPerMagnification = 28;
constexpr double kGlobeMarginFactor = 1.3;
constexpr double kFineRankMagnification = 5;

// The whole content of an open file, from its current position.
std::vector<unsigned char> ReadWholeFile(std::FILE* file) {
  std::vector<unsigned char> bytes;
  unsigned char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  return bytes;
}

// The coastline files are read once and kept: a map paint draws them all, and
// reading 8 MB from disk on every paint cost a third of it. A file is read
// again when its size or modification time changes. Its decoded form for the
// last stroke step asked for is kept with it.
class CoastlineFileCache {
 public:
  std::shared_ptr<DecodedCoastline> Decoded(const std::string& path, int strokeStep,
                                            bool fineRanks) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    const std::lock_guard<std::mutex> lock(mutex_);
    Entry& entry = entries_[path];
    if (!entry.bytes || entry.size != info.st_size ||
        entry.modified.tv_sec != info.st_mtim.tv_sec ||
        entry.modified.tv_nsec != info.st_mtim.tv_nsec) {
      std::FILE* file = std::fopen(path.c_str(), "rb");
      if (!file) return nullptr;
      entry.bytes = std::make_shared<const std::vector<unsigned char>>(ReadWholeFile(file));
      std::fclose(file);
      entry.size = info.st_size;
      entry.modified = info.st_mtim;
      entry.decoded.reset();
    }
    if (!entry.decoded || entry.decoded->strokeStep != strokeStep ||
        entry.decoded->fineRanks != fineRanks) {
      entry.decoded = DecodeCoastline(*entry.bytes, strokeStep, fineRanks, entry.bytes);
    }
    return entry.decoded;
  }

 private:
  struct Entry {
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    std::shared_ptr<DecodedCoastline> decoded;
    off_t size = -1;
    timespec modified{};
  };
  std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

CoastlineFileCache& Cache() {
  static CoastlineFileCache cache;
  return cache;
}

// The path of a coastline file, found with or without a trailing blank.
std::optional<std::string> FindCoastlineFile(const DataDirectory& directory,
                                             std::string_view name) {
  if (auto path = FindDataFile(directory, name)) return path;
  std::string_view trimmed = name;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  if (trimmed.size() != name.size()) return FindDataFile(directory, trimmed);
  return FindDataFile(directory, std::string(name) + " ");
}

}  // namespace

CoastlineDrawing CoastlineDrawingFor(const MapWindow& w) {
  CoastlineDrawing d;
  d.magnification = w.radius / w.baseRadius;
  const double k = std::trunc(kStrokeStepBase / d.magnification);
  d.strokeStep = k >= 1 ? (k > 1e6 ? 1000000 : static_cast<int>(k)) : 1;
  d.margin = std::trunc(kMarginPerMagnification * d.magnification);
  if (w.projection != Projection::Mercator) d.margin *= kGlobeMarginFactor;
  d.fineRanks = w.preset != WindowPreset::WholeGlobe && d.magnification >= kFineRankMagnification;
  return d;
}

bool DrawCoastlineFile(MapWindow& w, DeviceContext& dc, std::FILE* file,
                       const CoastlineDrawing& drawing) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  const std::vector<unsigned char> bytes = ReadWholeFile(file);
  return DrawCoastlineBytes(w, dc, bytes, drawing);
}

bool DrawCoastlineBytes(MapWindow& w, DeviceContext& dc, std::span<const unsigned char> bytes,
                        const CoastlineDrawing& drawing) {
  const auto decoded = DecodeCoastline(bytes, drawing.strokeStep, drawing.fineRanks);
  DrawDecodedCoastline(w, dc, *decoded, drawing.margin);
  return decoded->usable;
}

bool DrawCoastlineFiles(MapWindow& w, DeviceContext& dc, const DataDirectory& dataDirectory) {
  w.colour = kCoastlineColour;
  const CoastlineDrawing drawing = CoastlineDrawingFor(w);
  for (std::string_view name : kCoastlineFileNames) {
    const auto path = FindCoastlineFile(dataDirectory, name);
    const auto decoded =
        path ? Cache().Decoded(*path, drawing.strokeStep, drawing.fineRanks) : nullptr;
    if (!decoded) {
      dc.SetTextColor(Rgb{255, 255, 255});
      dc.TextOut(kMissingCoastlineMessageX, kMissingCoastlineMessageY,
                 TranslateUiText("Coastlines", kMissingCoastlineMessage));
      return false;
    }
    DrawDecodedCoastline(w, dc, *decoded, drawing.margin);
  }
  return true;
}

namespace {

// Walks the simple map's stream of pairs in the coastline colour: the break
// marker lifts the pen, the end marker (or the end of the stream) stops, and
// every other pair goes to `plot`.
template <typename PlotPair>
void WalkSimpleMap(MapWindow& w, const OutlineTableSet& tables, PlotPair plot) {
  w.colour = kCoastlineColour;
  w.penDown = false;
  OutlineCursor cursor;
  ResetOutlineTables(cursor);
  for (;;) {
    const double lon = NextOutlineValue(cursor, tables);
    const double lat = NextOutlineValue(cursor, tables);
    if (lon == kOutlineEnd && lat == kOutlineEnd) break;
    // Tables that lack the end pair stop at the end of the stream.
    if (lon == kOutlineStreamEnd || lat == kOutlineStreamEnd) break;
    if (lon == kOutlineBreak && lat == kOutlineBreak) {
      w.penDown = false;
      continue;
    }
    plot(lon, lat);
  }
}

}  // namespace

void DrawSimpleMapGlobe(MapWindow& w, DeviceContext& dc, const OutlineTableSet& tables) {
  WalkSimpleMap(w, tables, [&](double lon, double lat) {
    const ProjectedOffset p = ProjectGlobeOffset(w, lon, lat);
    if (p.z > kHiddenDepth) {
      w.penDown = false;
    } else {
      PlotPoint(w, dc, p.x, p.y, kCoastlineColour);
    }
  });
}

void DrawSimpleMapMercator(MapWindow& w, DeviceContext& dc, const OutlineTableSet& tables) {
  constexpr double kLatLimit = 1.3962634016;  // 80 degrees
  bool wrapped = false;
  WalkSimpleMap(w, tables, [&](double lon, double lat) {
    // A line never runs across the seam opposite the centre: crossing it in
    // either direction lifts the pen.
    double l = lon * w.degToRad + w.rotLon;
    if (l < -kMapPi || l > kMapPi) {
      l += l < -kMapPi ? kMapTwoPi : -kMapTwoPi;
      if (!wrapped) {
        wrapped = true;
        w.penDown = false;
      }
    } else if (wrapped) {
      wrapped = false;
      w.penDown = false;
    }
    double phi = lat * w.degToRad;
    if (phi > kLatLimit) phi = kLatLimit;
    if (phi < -kLatLimit) phi = -kLatLimit;
    const double x = w.radius * l;
    const double y = w.radius * std::log(std::tan(phi / 2 + kMapQuarterPi));
    PlotPoint(w, dc, x, y, kCoastlineColour);
  });
}

void DrawSimpleMap(MapWindow& w, DeviceContext& dc) {
  if (w.projection == Projection::Mercator) {
    DrawSimpleMapMercator(w, dc);
  } else {
    DrawSimpleMapGlobe(w, dc);
  }
}

void DrawCoastlines(MapWindow& w, DeviceContext& dc, const DataDirectory& dataDirectory) {
  if (w.coastlineSource == CoastlineSource::SimpleMap) {
    DrawSimpleMap(w, dc);
  } else {
    DrawCoastlineFiles(w, dc, dataDirectory);
  }
}

}  // namespace vernier
