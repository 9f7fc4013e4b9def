// Which cell a character shows: its basic animation, or one of the
// animation instances that flows and commands started on top of it.
#include <climits>

#include "database/database.h"
#include "draw/draw_context.h"
#include "files/system_data.h"
#include "scenes/palette_cycle.h"
#include "stage/game_obj.h"
#include "stage/sprite_source.h"

int32_t cGameObj::StepAnims(int bStill) {
  if (!bStill) {
    m_Anim.Tick();
    for (auto it = m_AnimList.begin(); it != m_AnimList.end();) {
      if (it->m_nPaused) {
        ++it;
        continue;
      }
      if (it->m_Player.Tick() == ANIMESTEP_END) {
        it = m_AnimList.erase(it);
        continue;
      }
      --it->m_nRemain;
      ++it;
    }
  }
  // A cued instance with the fewest frames left wins; once one has run out,
  // only run-out instances nearer their end follow. An instance of the
  // animation command shows only while no cue is chosen.
  cAnimPlay* pChosen = nullptr;
  int32_t nBest = INT_MAX;
  bool bExpired = false;
  for (cAnimPlay& a : m_AnimList) {
    if (a.m_nPaused) continue;
    if (bExpired) {
      if (a.m_nRemain <= 0 && nBest <= 0 && nBest < a.m_nRemain) {
        pChosen = &a;
        nBest = a.m_nRemain;
      }
    } else if (a.m_nCue == 1) {
      if (a.m_nRemain <= 0 && nBest <= 0) {
        pChosen = &a;
        nBest = a.m_nRemain;
        bExpired = true;
      } else if (a.m_nRemain < nBest) {
        pChosen = &a;
        nBest = a.m_nRemain;
      }
    } else if (!pChosen) {
      pChosen = &a;
      nBest = INT_MAX;
    }
  }
  return pChosen ? pChosen->m_Player.GetCell() : m_Anim.GetCell();
}

int32_t cGameObj::GetCellShift(SPRITEDATA& Sprite) {
  const cEdAnimeSet& set = Database.m_vecAnimeSet.At(m_Def.m_sAnimeSet);
  int32_t nShift = m_Def.m_sGraphicCell;
  if (m_Def.m_cFlying) nShift += set.m_nFlyCellOffset;
  if (m_Def.m_cBlockLike) nShift += set.m_nBlockCellOffset;
  if (m_Def.m_cInvincible) nShift += set.m_nInvincibleCellOffset;
  // Only the device can tint: the colour of an invincible character is the
  // cycling table's entry, when the project asks for it.
  const int c = static_cast<int8_t>(m_Def.m_cInvDisplay);
  Sprite.bColor = m_Def.m_cInvincible && DDIsDirect3D() && g_SystemData.m_bOption287 && c > 0 &&
                  c < kCycleColours;
  if (Sprite.bColor) Sprite.Color = g_CycleColorTable[c];
  return nShift;
}

bool cGameObj::MakeSprite(int32_t nCell, SPRITEDATA& Sprite) {
  // A closing code read as a cell shows the first cell.
  if (nCell < 0) nCell = 0;
  const int32_t nShift = GetCellShift(Sprite);
  return SetSpriteSource(SPRITEUSE_CHARA, m_Def.m_cGraphicKind, m_nKindValue, nShift, this, nCell,
                         Sprite);
}
