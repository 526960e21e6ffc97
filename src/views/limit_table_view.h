// The limit-line table as the view shows it.
#pragma once

#include "bessel/elements.h"
#include "gdi/device_context.h"
#include "local/limit_lines.h"

namespace vernier {

// Draws the table in white at x = 10: the date row at y = 45, the heading rows
// at 105, 120, 135 and the 13 rows from y = 165 in steps of 15.
void DrawLimitLineTable(DeviceContext& dc, const BesselianElements& elements,
                        const LimitLineTable& table);

}  // namespace vernier
