// The two palettes an entry can name: the project's common palette and the
// stage palette of the stage being played. Inheritance, reference checks and
// the play engine's look-ups all resolve against these same lists.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "palette/ed_block.h"
#include "palette/ed_chara.h"
#include "palette/ed_item.h"
#include "records/database_refs.h"
#include "records/palette_sizes.h"

using BLOCK_VECTOR = cSafeVector<cEdBlock>;
using CHARA_VECTOR = cSafeVector<cEdChara>;
using ITEM_VECTOR = cSafeVector<cEdItem>;

struct PALETTELISTS {
  BLOCK_VECTOR* pBlocks = nullptr;
  CHARA_VECTOR* pCharas = nullptr;
  ITEM_VECTOR* pItems = nullptr;
};

// The stage record points this at its stage palette once; until then (and
// for lists it leaves null) the stage palette is empty.
void SetStagePalette(const PALETTELISTS& lists);
PALETTELISTS GetStagePalette();

// The list of class T in the palette of an inherit source (1 common, 2
// stage); null for any other source.
template <typename T>
cSafeVector<T>* GetParentList(int nSource);
template <>
BLOCK_VECTOR* GetParentList<cEdBlock>(int nSource);
template <>
CHARA_VECTOR* GetParentList<cEdChara>(int nSource);
template <>
ITEM_VECTOR* GetParentList<cEdItem>(int nSource);

// The item definition of palette cKind (1 common, 2 stage) at sIndex, or
// null. Index 0 is the palette's none item, a valid answer.
cEdItem* GetPaletteItem(uint8_t cKind, int16_t sIndex);
