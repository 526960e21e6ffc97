#include "raster/png_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <png.h>

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vernier {

namespace {

// Writes all of `bytes` to the open descriptor; false with errno set on failure.
bool WriteAll(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<std::size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

// zlib's fastest level, and no row filter: the pictures are mostly flat
// black, which deflate packs well unfiltered, and choosing a filter for every
// row took two thirds of the encoding time.
constexpr int kPngCompressionLevel = 1;

void AppendToByteArray(png_structp png, png_bytep data, png_size_t length) {
  static_cast<QByteArray*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void NoFlush(png_structp) {}

// The picture as an 8-bit RGB PNG; false when libpng fails.
bool EncodePng(const QImage& picture, QByteArray& bytes) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB888);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &bytes, AppendToByteArray, NoFlush);
  png_set_compression_level(png, kPngCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
               static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  for (int y = 0; y < image.height(); ++y)
    png_write_row(png, const_cast<png_bytep>(image.constScanLine(y)));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePngFile(const QImage& image, const std::string& path, std::string& problem) {
  // The whole file is encoded first, so that writing it is one checked step.
  QByteArray bytes;
  if (image.isNull() || !EncodePng(image, bytes)) {
    problem = "the picture could not be encoded as PNG";
    return false;
  }
  auto failed = [&](int error) {
    problem = std::strerror(error);
    return false;
  };

  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (std::filesystem::is_directory(status)) return failed(EISDIR);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    // A device or pipe (/dev/stdout) is written in place: nothing to rename over.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return failed(errno);
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && written) return failed(errno);
    return written ? true : failed(error);
  }

  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return failed(errno);
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  // The new file takes the usual permissions, not mkstemp's owner-only ones.
  if (written) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temporary.c_str(), 0666 & ~mask);
  }
  if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return failed(error);
  }
  return true;
}

}  // namespace vernier
