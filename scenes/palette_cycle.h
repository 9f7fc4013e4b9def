// Palette cycling: one step per drawn frame.
#pragma once

void CyclePalette();
