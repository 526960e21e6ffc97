// A map header that draws: fine in the map layer itself.
#pragma once

#include "gdi/device_context.h"
