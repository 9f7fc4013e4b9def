#include "stage/item_obj.h"

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "stage/sprite_source.h"
#include "stage/stage_surfaces.h"

#include "files/stage_data.h"
#include "stage/flow_engine.h"

cItemObj::cItemObj() {
  m_Def.m_cGraphicKind = 2;
  m_Def.m_sGraphic = 0;
  m_Def.m_cPopup = 1;
  m_Def.m_cGiant = 1;
  m_Def.m_cLayer = 6;
}

void cItemObj::OnSizeChange(int32_t nNew, int32_t nOld) {
  // Keeps the item's bottom where it was.
  m_dY -= static_cast<double>((nNew - nOld) * (m_nBaseHeight + m_nBaseDrawDY));
  ClampY(2);
}

void cItemObj::SetUp(int32_t nId, const cEdItem& def, int bHeld) {
  m_Def = def;
  if (m_Def.m_cGiant == 0) m_Def.m_cGiant = 1;
  const int32_t w = g_Stage.m_nItemW;
  const int32_t h = g_Stage.m_nItemH;
  Init(nId, 0, 0, 0, m_Def.m_sGraphic, g_ItemAnimTables, 0, 16 - (w >> 1), 16 - (h >> 1), w, h, 32,
       32, 0, FLIGHT_THROUGH, 0);
  m_nScrollSync = 0;
  m_bHeld = bHeld;
  if (bHeld)
    m_nActive = 1;
  else
    SetScale(GetScale(), 1);
  ExpandLoopCmds(m_Def.m_vecCmds);
}

int cItemObj::SetCell(int32_t nColumn, int32_t nRow) {
  m_dX = (static_cast<double>(nColumn) + 10) * 32 + m_nBaseDrawDX + 0.5;
  m_dY = (static_cast<double>(nRow) + 10) * 32 + m_nBaseDrawDY;
  SetScale(GetScale(), 1);
  ClampX(2);
  return ClampY(2);
}

void cItemObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  if (m_Def.m_cHidden) return;
  const int32_t nCell = bStill ? m_Anim.GetCell() : m_Anim.Tick();
  const int32_t nGiant = GetScale();
  SPRITEDATA sprite;
  if (SetSpriteSource(SPRITEUSE_ITEM, m_Def.m_cGraphicKind, m_nKindValue, m_Def.m_sGraphicCell, this,
                      nCell, sprite)) {
    const int nOwn = sprite.bOwnScale ? sprite.nScale : 1;
    if ((sprite.bOwnScale && nGiant != nOwn) || (!sprite.bOwnScale && nGiant > 1)) {
      DDBltStretch(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, sprite.lpSecond, sprite.nSrcX,
                   sprite.nSrcY, nOwn * m_nBaseDrawW, nOwn * m_nBaseDrawH, 1);
    } else {
      DDBlt(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, sprite.lpFirst, sprite.nSrcX,
            sprite.nSrcY, 1);
    }
  }
  if (m_Def.m_cMarkShown != 1) return;
  // Marks are 32 x 32, fifteen to a column of the mark sheet.
  const int32_t n = m_Def.m_sMark < 0 ? 0 : m_Def.m_sMark;
  const int nSrcX = (n / 15) * 32;
  const int nSrcY = (n % 15) * 32;
  if (nGiant > 1)
    DDBltStretch(pTarget, m_nScrLeft, m_nScrTop, m_nDrawW, m_nDrawH, &g_SurfaceTable[SURF_MARK + 1],
                 nSrcX, nSrcY, m_nBaseDrawW, m_nBaseDrawH, 1);
  else
    DDBlt(pTarget, m_nScrLeft, m_nScrTop, 32, 32, &g_SurfaceTable[SURF_MARK], nSrcX, nSrcY, 1);
}
