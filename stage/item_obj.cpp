#include "stage/item_obj.h"

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

void cItemObj::Draw(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) {
  // Items are drawn by the play-screen drawing, built apart.
}
