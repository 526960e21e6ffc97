#include "local/observer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "astro/constants.h"
#include "base/data_directory.h"
#include "base/ui_text.h"
#include "local/text_encoding.h"

namespace vernier {
namespace {

// The C runtime's line read into 80 bytes: 79 characters and the zero.
constexpr std::size_t kLineReadBytes = 79;

std::string ReadWholeFile(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  return bytes;
}

// Text mode as the program's home platform reads it: CR LF is one LF.
std::string ToTextMode(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

// The next line read starting at `pos`: up to and including '\n', at most 79
// bytes, shortened so that it does not end inside a character.
std::string_view NextLineRead(std::string_view text, std::size_t pos, TextEncoding encoding) {
  std::size_t end = pos;
  while (end < text.size() && end - pos < kLineReadBytes) {
    const std::size_t length = CharacterLength(text, end, encoding);
    if (end + length - pos > kLineReadBytes) break;  // the character goes to the next read
    const bool lineEnd = text[end] == '\n';
    end += length;
    if (lineEnd) break;
  }
  return text.substr(pos, end - pos);
}

// The collected text up to the next ',' or ';' from `pos`, and the position
// after that separator (the end when there is none).
std::string_view NextField(std::string_view line, std::size_t& pos) {
  const std::size_t start = pos < line.size() ? pos : line.size();
  std::size_t end = start;
  while (end < line.size() && line[end] != ',' && line[end] != ';') ++end;
  pos = end < line.size() ? end + 1 : line.size();
  return line.substr(start, end - start);
}

double AtofOf(std::string_view text) {
  return std::atof(std::string(text).c_str());
}

}  // namespace

UserMessage MissingSiteListMessage() {
  return {{UI_TEXT("SiteList", "都市情報(location.new)ファイルがありません！"),
           UI_TEXT("SiteList", "location.newファイルのあるディレクトリで起動して下さい。")}};
}

Status LoadCityList(const DataDirectory& dataDirectory, CityList& list) {
  std::FILE* file = OpenDataFile(dataDirectory, "location.new", "rb");
  if (!file) return Status::Failed;
  const std::string raw = ReadWholeFile(file);
  std::fclose(file);

  const TextEncoding encoding = DetectTextEncoding(raw);
  std::string_view body = raw;
  if (encoding == TextEncoding::Utf8 && body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  const std::string text = ToTextMode(body);

  int counter = 0;
  int poolUsed = 0;
  int lineNumber = 0;
  bool lineStarts = true;
  list.skipped.clear();
  for (std::size_t pos = 0; pos < text.size();) {
    std::string_view line = NextLineRead(text, pos, encoding);
    pos += line.size();
    if (lineStarts) ++lineNumber;
    lineStarts = !line.empty() && line.back() == '\n';
    // A zero byte ends the text of a read, as it ends a C string.
    if (const std::size_t zero = line.find('\0'); zero != std::string_view::npos)
      line = line.substr(0, zero);
    if (!line.empty() && line[0] == ';') continue;

    if (counter + 1 > kCityListCapacity) break;
    const std::size_t comma = line.find(',');
    const std::string_view name = line.substr(0, comma);
    std::size_t field = comma == std::string_view::npos ? line.size() : comma + 1;
    CityEntry read;
    read.longitude = AtofOf(NextField(line, field));
    read.latitude = AtofOf(NextField(line, field));
    read.height = AtofOf(NextField(line, field));
    read.fourth = AtofOf(NextField(line, field));
    // A position no observer can have (or a number that is none) is no site.
    if (!(read.longitude >= -180 && read.longitude <= 360 && read.latitude >= -90 &&
          read.latitude <= 90 && read.height >= -500 && read.height <= 9000 &&
          std::isfinite(read.fourth))) {
      list.skipped.push_back("location.new line " + std::to_string(lineNumber) +
                             ": not a site (longitude -180..360, latitude -90..90, height "
                             "-500..9000 m); skipped");
      continue;
    }
    const int nameBytes = static_cast<int>(name.size()) + 1;
    if (poolUsed + nameBytes > kCityNamePoolBytes) break;  // the pool is full: stop cleanly
    poolUsed += nameBytes;
    ++counter;

    CityEntry& entry = list.entries[counter];
    entry = read;
    entry.name = encoding == TextEncoding::ShiftJis ? ShiftJisToUtf8(name) : std::string(name);
    list.count = counter;
  }
  if (counter > 0) list.poolUsed = poolUsed;
  return Status::Ok;
}

void SetUpObserver(const ObserverSite& site, ObserverGeometry& g) {
  g.westLongitude = -site.longitude;
  g.latitude = site.latitude;
  g.height = site.height;
  const double phi = site.latitude * kDegToRad;
  const double u = std::atan(kObserverAxisRatio * std::tan(phi));
  g.rhoSinPhi =
      kObserverAxisRatio * std::sin(u) + (site.height / kEarthRadiusMetres) * std::sin(phi);
  g.rhoCosPhi = std::cos(u) + (site.height / kEarthRadiusMetres) * std::cos(phi);
}

}  // namespace vernier
