#include "palette/palette_lists.h"

#include "palette/common_palette.h"

namespace {
PALETTELISTS g_StagePalette;
}

void SetStagePalette(const PALETTELISTS& lists) { g_StagePalette = lists; }

PALETTELISTS GetStagePalette() { return g_StagePalette; }

template <>
BLOCK_VECTOR* GetParentList<cEdBlock>(int nSource) {
  if (nSource == INHERIT_COMMON) return &CommonPalette.m_vecBlock;
  if (nSource == INHERIT_STAGE) return g_StagePalette.pBlocks;
  return nullptr;
}

template <>
CHARA_VECTOR* GetParentList<cEdChara>(int nSource) {
  if (nSource == INHERIT_COMMON) return &CommonPalette.m_vecChara;
  if (nSource == INHERIT_STAGE) return g_StagePalette.pCharas;
  return nullptr;
}

template <>
ITEM_VECTOR* GetParentList<cEdItem>(int nSource) {
  if (nSource == INHERIT_COMMON) return &CommonPalette.m_vecItem;
  if (nSource == INHERIT_STAGE) return g_StagePalette.pItems;
  return nullptr;
}

namespace {

uint32_t MeasurePaletteList(int nSource, ePaletteKind eKind) {
  switch (eKind) {
    case PALETTE_BLOCK: {
      const BLOCK_VECTOR* p = GetParentList<cEdBlock>(nSource);
      return p ? static_cast<uint32_t>(p->size()) : 0;
    }
    case PALETTE_CHARA: {
      const CHARA_VECTOR* p = GetParentList<cEdChara>(nSource);
      return p ? static_cast<uint32_t>(p->size()) : 0;
    }
    case PALETTE_ITEM: {
      const ITEM_VECTOR* p = GetParentList<cEdItem>(nSource);
      return p ? static_cast<uint32_t>(p->size()) : 0;
    }
  }
  return 0;
}

// The lists exist from program start, so their measure is installed with
// them: whatever links the palette has its sizes known below it.
const bool g_bPaletteSizesInstalled = (SetPaletteSizeProc(MeasurePaletteList), true);

}  // namespace

cEdItem* GetPaletteItem(uint8_t cKind, int16_t sIndex) {
  ITEM_VECTOR* pList = (cKind == 1 || cKind == 2) ? GetParentList<cEdItem>(cKind) : nullptr;
  if (!pList || IsOutsideList(sIndex, static_cast<uint32_t>(pList->size()))) return nullptr;
  return &pList->At(sIndex);
}
