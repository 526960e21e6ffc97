// A computing layer's header that includes nothing but an allowed layer,
// which itself reaches the drawing surface.
#pragma once

#include "map/window.h"
