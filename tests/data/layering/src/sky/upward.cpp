// A sky file that reaches up into the views: the layer check refuses it.
#include "bessel/elements.h"
#include "views/view_paint.h"
