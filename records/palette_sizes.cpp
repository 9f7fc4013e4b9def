// The installed measure of the palette lists.
#include "records/palette_sizes.h"

#include <atomic>

namespace {
std::atomic<PALETTESIZEPROC> g_pfnPaletteSize{nullptr};
}

void SetPaletteSizeProc(PALETTESIZEPROC pfnSize) { g_pfnPaletteSize = pfnSize; }

uint32_t GetPaletteListSize(int nSource, ePaletteKind eKind) {
  PALETTESIZEPROC pfn = g_pfnPaletteSize.load();
  return pfn ? pfn(nSource, eKind) : 0;
}
