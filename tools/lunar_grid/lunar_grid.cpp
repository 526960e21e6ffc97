#include "lunar_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

namespace lunar_grid {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLabelReadLimit = 1 << 20;  // a label is far shorter

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return Upper(a) == Upper(b);
}

// A file named in a detached label: beside the label, its name matched
// without regard to letter case.
std::string Beside(const std::string& labelPath, const std::string& name) {
  const fs::path directory = fs::path(labelPath).parent_path();
  const fs::path exact = directory / name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.string();
  for (fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec), end;
       !ec && it != end; it.increment(ec))
    if (EqualIgnoringCase(it->path().filename().string(), name)) return it->path().string();
  return exact.string();
}

bool WholeNumber(double x, std::int64_t& n) {
  if (!std::isfinite(x) || std::fabs(x - std::round(x)) > 1e-6) return false;
  n = static_cast<std::int64_t>(std::llround(x));
  return true;
}

// The ^IMAGE pointer: a file name and/or a 1-based record or byte position.
bool ReadPointer(const Pds3Label& label, const std::string& labelPath, ImageDescription& image,
                 std::string& error) {
  auto pointer = label.Value("", "^IMAGE");
  if (!pointer) {
    error = "the label has no ^IMAGE pointer";
    return false;
  }
  std::string text = *pointer;
  std::string file;
  std::string position;
  if (!text.empty() && text.front() == '(') {
    const std::size_t close = text.rfind(')');
    const std::string inside =
        text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    const std::size_t comma = inside.find(',');
    file = PlainValue(inside.substr(0, comma));
    if (comma != std::string::npos) position = inside.substr(comma + 1);
  } else if (!text.empty() && text.front() == '"') {
    file = PlainValue(text);
  } else {
    position = text;
  }
  image.imagePath = file.empty() ? labelPath : Beside(labelPath, file);
  image.byteOffset = 0;
  if (position.empty()) return true;
  auto number = NumberValue(position);
  std::int64_t n = 0;
  if (!number || !WholeNumber(*number, n) || n < 1) {
    error = "the ^IMAGE pointer \"" + text + "\" is not a file name, record or byte position";
    return false;
  }
  if (UnitOf(position) == "BYTES") {
    image.byteOffset = static_cast<std::uint64_t>(n - 1);
    return true;
  }
  auto recordBytes = label.Value("", "RECORD_BYTES");
  std::int64_t bytes = 0;
  if (!recordBytes || !NumberValue(*recordBytes) ||
      !WholeNumber(*NumberValue(*recordBytes), bytes) || bytes < 1) {
    error = "the ^IMAGE pointer counts records but the label gives no RECORD_BYTES";
    return false;
  }
  image.byteOffset = static_cast<std::uint64_t>(n - 1) * static_cast<std::uint64_t>(bytes);
  return true;
}

std::int16_t Sample(const unsigned char* p, bool bigEndian) {
  const unsigned hi = bigEndian ? p[0] : p[1];
  const unsigned lo = bigEndian ? p[1] : p[0];
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((hi << 8) | lo));
}

}  // namespace

bool DescribeImageFromLabel(const Pds3Label& label, const std::string& labelPath,
                            ImageDescription& image, std::string& error) {
  image = ImageDescription{};
  auto number = [&](const char* object, const char* key, bool required,
                    double fallback) -> std::optional<double> {
    auto text = label.Value(object, key);
    if (!text) {
      if (required) error = std::string("the label gives no ") + key;
      return required ? std::nullopt : std::optional(fallback);
    }
    auto value = NumberValue(*text);
    if (!value) error = std::string(key) + " = " + *text + " is not a number";
    return value;
  };
  const auto lines = number("IMAGE", "LINES", true, 0);
  if (!lines) return false;
  const auto samples = number("IMAGE", "LINE_SAMPLES", true, 0);
  if (!samples) return false;
  const auto bits = number("IMAGE", "SAMPLE_BITS", true, 0);
  if (!bits) return false;
  const auto scale = number("IMAGE", "SCALING_FACTOR", false, 1);
  if (!scale) return false;
  const auto offset = number("IMAGE", "OFFSET", false, 0);
  if (!offset) return false;
  const auto bands = number("IMAGE", "BANDS", false, 1);
  const auto prefix = number("IMAGE", "LINE_PREFIX_BYTES", false, 0);
  const auto suffix = number("IMAGE", "LINE_SUFFIX_BYTES", false, 0);
  if (!bands || !prefix || !suffix) return false;
  const auto west = number("IMAGE_MAP_PROJECTION", "WESTERNMOST_LONGITUDE", false, 0);
  if (!west) return false;
  const auto east = number("IMAGE_MAP_PROJECTION", "EASTERNMOST_LONGITUDE", false, *west + 360);
  const auto north = number("IMAGE_MAP_PROJECTION", "MAXIMUM_LATITUDE", false, 90);
  const auto south = number("IMAGE_MAP_PROJECTION", "MINIMUM_LATITUDE", false, -90);
  if (!east || !north || !south) return false;

  std::int64_t n = 0;
  if (!WholeNumber(*lines, n) || n < 1 || n > 1000000) {
    error = "LINES must be a positive whole number";
    return false;
  }
  image.lines = static_cast<int>(n);
  if (!WholeNumber(*samples, n) || n < 1 || n > 2000000) {
    error = "LINE_SAMPLES must be a positive whole number";
    return false;
  }
  image.samples = static_cast<int>(n);
  if (*bits != 16) {
    error = "SAMPLE_BITS must be 16 (signed 16-bit samples)";
    return false;
  }
  const std::string type = Upper(PlainValue(label.Value("IMAGE", "SAMPLE_TYPE").value_or("")));
  if (type == "LSB_INTEGER" || type == "PC_INTEGER" || type == "VAX_INTEGER") {
    image.bigEndian = false;
  } else if (type == "MSB_INTEGER" || type == "MAC_INTEGER" || type == "SUN_INTEGER" ||
             type == "INTEGER") {
    image.bigEndian = true;
  } else {
    error =
        "SAMPLE_TYPE \"" + type + "\" is not a signed integer type (LSB_INTEGER or MSB_INTEGER)";
    return false;
  }
  if (*bands != 1 || *prefix != 0 || *suffix != 0) {
    error = "only single-band images without line prefix or suffix bytes are converted";
    return false;
  }
  if (!(*scale != 0 && std::isfinite(*scale) && std::isfinite(*offset))) {
    error = "SCALING_FACTOR must be a non-zero number";
    return false;
  }
  image.scalingFactor = *scale;
  image.offset = *offset;
  image.offsetIsRadius = *offset >= 1000000;
  if (std::fabs(*north - 90) > 1e-6 || std::fabs(*south + 90) > 1e-6 ||
      std::fabs(*east - *west - 360) > 1e-6) {
    error =
        "the image does not cover the whole Moon (latitude 90 to -90, 360 degrees of longitude)";
    return false;
  }
  image.westernmostLongitude = *west;
  return ReadPointer(label, labelPath, image, error);
}

bool DescribeImage(const std::string& labelPath, ImageDescription& image, std::string& error) {
  std::ifstream in(labelPath, std::ios::binary);
  if (!in) {
    error = "cannot open " + labelPath;
    return false;
  }
  std::string text(kLabelReadLimit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  Pds3Label label;
  if (!ParsePds3Label(text, label, error)) {
    error = labelPath + ": " + error;
    return false;
  }
  if (!DescribeImageFromLabel(label, labelPath, image, error)) {
    error = labelPath + ": " + error;
    return false;
  }
  return true;
}

bool ConvertImage(const ImageDescription& image, int rows, int columns,
                  std::vector<std::int16_t>& grid, ConversionReport& report, std::string& error) {
  report = ConversionReport{};
  // A whole factor, the same both ways (square pixels).
  const bool finer = image.lines >= rows;
  const int factor = finer ? image.lines / rows : rows / image.lines;
  const bool fits = finer ? (image.lines % rows == 0 && image.samples == columns * factor)
                          : (rows % image.lines == 0 && columns == image.samples * factor);
  if (!fits || factor < 1) {
    error = "the image's " + std::to_string(image.lines) + " x " + std::to_string(image.samples) +
            " pixels are not a whole multiple or fraction of the grid's " + std::to_string(rows) +
            " x " + std::to_string(columns);
    return false;
  }
  report.factor = factor;
  report.averaged = finer && factor > 1;

  // Image column j lies at longitude west + j * 360 / samples: shift it so that
  // column 0 starts at longitude 0.
  std::int64_t shift = 0;
  double west = std::fmod(image.westernmostLongitude, 360.0);
  if (west < 0) west += 360;
  if (!WholeNumber(west * image.samples / 360.0, shift)) {
    error = "WESTERNMOST_LONGITUDE does not fall on a pixel edge";
    return false;
  }
  shift %= image.samples;

  std::FILE* file = std::fopen(image.imagePath.c_str(), "rb");
  if (!file) {
    error = "cannot open the image " + image.imagePath;
    return false;
  }
  if (fseeko(file, static_cast<off_t>(image.byteOffset), SEEK_SET) != 0) {
    std::fclose(file);
    error = "cannot seek to the image data in " + image.imagePath;
    return false;
  }

  grid.assign(static_cast<std::size_t>(rows) * columns, 0);
  std::vector<unsigned char> line(static_cast<std::size_t>(image.samples) * 2);
  std::vector<double> metres(static_cast<std::size_t>(image.samples));  // by longitude from 0
  std::vector<double> sums(static_cast<std::size_t>(columns), 0.0);
  report.minimum = std::numeric_limits<int>::max();
  report.maximum = std::numeric_limits<int>::min();
  auto store = [&](std::size_t index, double value) {
    double rounded = std::round(value);
    if (rounded < -32768 || rounded > 32767) {
      ++report.clamped;
      rounded = std::clamp(rounded, -32768.0, 32767.0);
    }
    const int cell = static_cast<int>(rounded);
    grid[index] = static_cast<std::int16_t>(cell);
    report.minimum = std::min(report.minimum, cell);
    report.maximum = std::max(report.maximum, cell);
  };
  const double radius = image.offsetIsRadius ? kReferenceRadius : 0;

  for (int i = 0; i < image.lines; ++i) {
    if (std::fread(line.data(), 1, line.size(), file) != line.size()) {
      std::fclose(file);
      error = "the image " + image.imagePath + " ends within line " + std::to_string(i + 1) +
              " of " + std::to_string(image.lines);
      return false;
    }
    for (int j = 0; j < image.samples; ++j) {
      const std::size_t u = static_cast<std::size_t>((j + shift) % image.samples);
      metres[u] =
          Sample(&line[2 * static_cast<std::size_t>(j)], image.bigEndian) * image.scalingFactor +
          image.offset - radius;
    }
    if (finer) {
      for (int u = 0; u < image.samples; ++u)
        sums[static_cast<std::size_t>(u / factor)] += metres[static_cast<std::size_t>(u)];
      if (i % factor == factor - 1) {
        const std::size_t row = static_cast<std::size_t>(i / factor);
        for (int f = 0; f < columns; ++f) {
          store(row * columns + f, sums[static_cast<std::size_t>(f)] / (double(factor) * factor));
          sums[static_cast<std::size_t>(f)] = 0;
        }
      }
    } else {
      for (int b = 0; b < factor; ++b) {
        const std::size_t row = static_cast<std::size_t>(i) * factor + b;
        for (int f = 0; f < columns; ++f)
          store(row * columns + f, metres[static_cast<std::size_t>(f / factor)]);
      }
    }
  }
  std::fclose(file);
  return true;
}

bool WriteGrid(const std::string& path, const std::vector<std::int16_t>& grid, std::string& error) {
  const std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    error = "cannot create " + temporary;
    return false;
  }
  std::vector<unsigned char> bytes(grid.size() * 2);
  for (std::size_t i = 0; i < grid.size(); ++i) {
    const auto u = static_cast<std::uint16_t>(grid[i]);
    bytes[2 * i] = static_cast<unsigned char>(u & 0xff);
    bytes[2 * i + 1] = static_cast<unsigned char>(u >> 8);
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::remove(temporary.c_str());
    error = "cannot write " + temporary;
    return false;
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) {
    std::remove(temporary.c_str());
    error = "cannot rename " + temporary + " to " + path + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace lunar_grid
