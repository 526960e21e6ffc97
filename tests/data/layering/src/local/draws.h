// A local-circumstances header that takes the drawing surface: the layer
// check refuses it, as the local layer computes and draws nothing.
#include "bessel/elements.h"
#include "gdi/device_context.h"
