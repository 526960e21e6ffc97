// The coastline files as read: the five compressed files' contents, read once
// and kept in memory (read again when a file changes). The command that shows
// a path map loads them; the map's drawing decodes and draws what was loaded
// and opens no file itself.
#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "base/data_directory.h"

namespace vernier {

// Asia, Europe, Africa, North America, South America, read in this order.
// A file whose name ends in a blank, as older data sets wrote them, is found
// as well.
inline constexpr std::array<std::string_view, 5> kCoastlineFileNames{
    "as_cil.cbd", "eu_cil.cbd", "af_cil.cbd", "na_cil.cbd", "sa_cil.cbd"};

struct CoastlineFiles {
  // In the order of kCoastlineFileNames; null from the first file that could
  // not be opened on (the files after it are not read).
  std::array<std::shared_ptr<const std::vector<unsigned char>>, kCoastlineFileNames.size()>
      contents;
};

CoastlineFiles LoadCoastlineFiles(const DataDirectory& dataDirectory);

}  // namespace vernier
