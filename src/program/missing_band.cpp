#include "program/missing_band.h"

#include <cmath>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "base/ui_text.h"

namespace vernier {

std::optional<MissingBand> FindMissingBand(const DataDirectory& directory, BandNeed need, double year,
                                           int month, int day) {
  // The first band begins in -3000: an earlier year has no band to build
  // (the reader takes the first band for it, but that band does not hold it).
  if (!(year >= -3000)) return std::nullopt;
  const auto name = ElementFileNameForYear(year);
  if (!name || FindDataEntry(directory, *name) != DataEntry::Missing) return std::nullopt;
  return MissingBand{*name, static_cast<int>(std::trunc(year)), month, day, need};
}

std::string MissingBandLine(const std::optional<MissingBand>& band) {
  if (!band) return UI_TEXT("ElementFiles", "データディレクトリにこの年代の読める要素ファイルがありません。");
  return UI_TEXT("ElementFiles", "データディレクトリにない要素ファイル：") + band->fileName;
}

}  // namespace vernier
