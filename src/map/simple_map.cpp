#include "map/simple_map.h"

namespace vernier {

void ResetOutlineTables(OutlineCursor& cursor) {
  cursor.currentTable = 0;
  cursor.position.fill(0);
}

double NextOutlineValue(OutlineCursor& cursor,
                        const std::array<std::span<const double>, kOutlineTableCount>& tables) {
  // Each pass either returns or moves one table on; a table that runs out
  // without its 999 counts as ended, so the cursor never reads past it.
  for (int pass = 0; pass <= kOutlineTableCount; ++pass) {
    if (cursor.currentTable < 0 || cursor.currentTable >= kOutlineTableCount) {
      ResetOutlineTables(cursor);
      return kOutlineStreamEnd;
    }
    const auto table = static_cast<std::size_t>(cursor.currentTable);
    int& at = cursor.position[table];
    const std::span<const double> values = tables[table];
    if (at >= 0 && static_cast<std::size_t>(at) < values.size() &&
        values[static_cast<std::size_t>(at)] != kOutlineTableEnd) {
      return values[static_cast<std::size_t>(at++)];
    }
    ++cursor.currentTable;
    if (cursor.currentTable >= kOutlineTableCount) {
      ResetOutlineTables(cursor);
      return kOutlineStreamEnd;
    }
    cursor.position[static_cast<std::size_t>(cursor.currentTable)] = 0;
  }
  ResetOutlineTables(cursor);
  return kOutlineStreamEnd;
}

}  // namespace vernier
