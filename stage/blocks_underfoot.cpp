// The two kinds of special block under the player's feet: blocks with an
// effect (a spring, no jumping, a speed change, moving floors to the left or
// right), and blocks that give an item.
#include <algorithm>

#include "base/window_requests.h"
#include "files/stage_data.h"
#include "palette/palette_lists.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

enum : int32_t {
  TILE_SPRING = 1,
  TILE_NO_JUMP = 2,
  TILE_SPEED = 3,
  TILE_MOVE_LEFT = 4,
  TILE_MOVE_RIGHT = 5,
};

}  // namespace

int cPlayScene::ApplySpecialTile(cPlayerObj& player) {
  if (player.m_nFlying) return 0;
  const int32_t n = g_Stage.m_nSteps;
  if (player.m_pFootCell != NO_CELL && player.m_nTileSteps == 0 &&
      GetCellHitType(player.m_pFootCell, player.m_nGroup) != 0) {
    const cEdBlock& def = g_BlockPalette.DefAt(player.m_pFootCell);
    const int32_t nKind = static_cast<int8_t>(def.m_cSpecial);
    const int32_t nParam = def.m_nSpecialParam;
    switch (nKind) {
      case TILE_SPRING:
        PlaySE(10);
        // The height in 16-pixel units, a signed byte.
        player.m_dVY = player.JumpSpeedFromHbl(static_cast<int8_t>(nParam & 0xff));
        player.m_nJumping = 1;
        player.m_nJumpCut = 1;
        player.m_nJumpReady = 0;
        player.m_nJumpHold = player.StepsToApex(player.m_dVY);
        break;
      case TILE_NO_JUMP:
        player.m_nNoJump = 1;
        break;
      case TILE_SPEED:
        player.m_nTileKind = TILE_SPEED;
        player.m_dTileValue = nParam * 0.01;
        player.m_nTileSteps = n;
        break;
      case TILE_MOVE_LEFT:
      case TILE_MOVE_RIGHT:
        player.m_nTileKind = nKind;
        player.m_dTileValue = nParam * 0.1 / static_cast<double>(n);
        player.m_nTileSteps = n;
        break;
      default:
        break;
    }
    if (nKind != TILE_NO_JUMP) player.m_nNoJump = 0;
  }
  if (player.m_nTileSteps != 0) {
    switch (player.m_nTileKind) {
      case TILE_SPEED:
        player.m_dVX *= player.m_dTileValue;
        break;
      case TILE_MOVE_LEFT:
        player.m_dVX -= player.m_dTileValue;
        if (player.m_dPushVX > 0) player.m_dPushVX = 0;
        break;
      case TILE_MOVE_RIGHT:
        player.m_dVX += player.m_dTileValue;
        if (player.m_dPushVX < 0) player.m_dPushVX = 0;
        break;
      default:
        break;
    }
    if (--player.m_nTileSteps <= 0) {
      player.m_nTileSteps = 0;
      if (player.m_dVY >= 0) player.m_dVY += 1.0;
    }
  }
  return 0;
}

int cPlayScene::CheckTileEvents(cPlayerObj& player) {
  if (player.m_nFlying) return 0;
  bool bHanded = false;
  if (player.m_pFootCell != NO_CELL && player.m_nTileWait == 0 &&
      GetCellHitType(player.m_pFootCell, player.m_nGroup) != 0) {
    const cEdBlock& def = g_BlockPalette.DefAt(player.m_pFootCell);
    if (def.m_cItemSrc != 0) {
      if (cEdItem* pDef = GetPaletteItem(def.m_cItemSrc, def.m_sItem)) {
        cItemObj item;
        item.SetUp(0, *pDef, 0);
        item.m_nActive = 1;
        const int r = GiveItem(&item, player, nullptr);
        if (r != 0) return r;
        // Again only after a second of standing on it, or on landing anew.
        player.m_nTileWait = g_Stage.m_nSteps * 60;
        bHanded = true;
      }
    }
  }
  if (player.m_nTileWait != 0) {
    if (player.m_nFalling) {
      player.m_nTileWait = 0;
    } else {
      player.m_nTileWait = std::max(player.m_nTileWait - 1, 0);
      if (player.m_pFootCell != NO_CELL && player.m_pLandCell != player.m_pPrevLandCell &&
          !bHanded) {
        player.m_nTileWait = 0;
        if (player.m_dVY >= 0) player.m_dVY += 1.0;
      }
    }
  }
  return 0;
}
