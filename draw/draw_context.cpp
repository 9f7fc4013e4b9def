// Placeholder: the drawing context replaces this.
#include "draw/draw_context.h"

int DDMesBox(const char*, const char*, uint32_t) { return 0; }
