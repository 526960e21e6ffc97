#include "raster/png_file.h"

#include <QFile>
#include <QSaveFile>
#include <filesystem>
#include <system_error>

namespace vernier {

namespace {

// Writes through `file`, already open; the reason of a failure into `problem`.
template <typename File>
bool Write(const QImage& image, File& file, std::string& problem) {
  if (!image.save(&file, "PNG")) {
    problem = file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                    : "the picture could not be encoded";
    return false;
  }
  return true;
}

}  // namespace

bool WritePngFile(const QImage& image, const std::string& path, std::string& problem) {
  const QString name = QString::fromStdString(path);
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    if (std::filesystem::is_directory(status)) {
      problem = "it is a directory";
      return false;
    }
    QFile device(name);
    if (!device.open(QIODevice::WriteOnly)) {
      problem = device.errorString().toStdString();
      return false;
    }
    if (!Write(image, device, problem)) return false;
    if (!device.flush()) {
      problem = device.errorString().toStdString();
      return false;
    }
    device.close();
    if (device.error() != QFileDevice::NoError) {
      problem = device.errorString().toStdString();
      return false;
    }
    return true;
  }
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) {
    problem = file.errorString().toStdString();
    return false;
  }
  if (!Write(image, file, problem)) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    problem = file.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace vernier
