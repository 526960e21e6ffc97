// Writing a picture as a PNG file so that a failure never passes unnoticed
// and never costs the picture already there.
#pragma once

#include <QImage>
#include <string>

namespace vernier {

// Writes `image` to `path` as PNG: into a temporary file beside it, checked on
// close, then renamed over the target. A target that exists but is no regular
// file (a device such as /dev/stdout) is written in place. On failure returns
// false and sets `problem` to the reason; a half-written target is never left.
bool WritePngFile(const QImage& image, const std::string& path, std::string& problem);

}  // namespace vernier
