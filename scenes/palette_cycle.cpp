#include "scenes/palette_cycle.h"

void CyclePalette() {}
