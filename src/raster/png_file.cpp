#include "raster/png_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
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

}  // namespace

constexpr int kPngQuality = 80;

bool WritePngFile(const QImage& image, const std::string& path, std::string& problem) {
  // The whole file is encoded first, so that writing it is one checked step.
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt's quality 80 is zlib's fastest level: the same pixels in about half
    // the encoding time of the default, for a file a fifth larger.
    if (!image.save(&buffer, "PNG", kPngQuality)) {
      problem = "the picture could not be encoded as PNG";
      return false;
    }
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
