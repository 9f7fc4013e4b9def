// Lengths of the palette lists, for code that checks references into them
// without needing the definition classes themselves. The lists are defined
// above the flow records that check such references, so the palette installs
// its measure here; until it does, every list reads as empty.
#pragma once

#include <cstdint>

enum ePaletteKind { PALETTE_BLOCK, PALETTE_CHARA, PALETTE_ITEM };

// nSource as the inherit source counts: 1 the common palette, 2 the stage
// palette of the stage being played. 0 for any other source.
uint32_t GetPaletteListSize(int nSource, ePaletteKind eKind);

using PALETTESIZEPROC = uint32_t (*)(int nSource, ePaletteKind eKind);
void SetPaletteSizeProc(PALETTESIZEPROC pfnSize);
