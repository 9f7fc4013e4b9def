// The player against the items lying in the stage, and the giving of an
// item: its picture rising over the taker, its sound, its commands.
#include "base/window_requests.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"

namespace {

enum : uint8_t { PICK_ONCE = 0, PICK_EVERY_TOUCH = 1, PICK_NEVER = 2 };

bool Overlaps(const cItemObj& item, const HITBOX& box) {
  return item.m_dX <= box.dRight && item.m_dRight >= box.dLeft && item.m_dY <= box.dBottom &&
         item.m_dBottom >= box.dTop;
}

}  // namespace

int cPlayScene::GiveItem(cItemObj* pItem, cPlayerObj& taker, const cGameObj* pFlowOwner) {
  if (!pItem || pItem->m_nKindValue == 0 || pItem->m_Def.m_cPickRule == PICK_NEVER ||
      !pItem->m_nActive)
    return 0;
  cEdItem& def = pItem->m_Def;
  if (def.m_cPopup) taker.ShowPickupText(def.m_cGraphicKind, def.m_sGraphic, def.m_sGraphicCell);
  PlayDatabaseSE(def.m_sSound);
  return taker.RunItemCommands(def.m_vecCmds, pFlowOwner);
}

int cPlayScene::CheckItemPickup(cPlayerObj& player) {
  for (cListWalk<cItemObj> walk(m_ItemWalks, g_ItemList); !walk.AtEnd(); walk.Next()) {
    cItemObj& item = walk.Get();
    const uint8_t cRule = item.m_Def.m_cPickRule;
    if (!item.m_nActive || item.m_bHeld || cRule == PICK_NEVER) continue;
    if (!Overlaps(item, player.m_PickBox)) {
      if (cRule == PICK_EVERY_TOUCH) player.ForgetTouch(item.m_nId);
      continue;
    }
    player.FireTrigger(8);
    if (walk.Left()) continue;
    if (cRule == PICK_EVERY_TOUCH) {
      // Once per touch: standing on it gives it once.
      if (!player.IsNewTouch(item.m_nId)) continue;
      player.m_lstTouching.push_back(item.m_nId);
    }
    const int r = GiveItem(&item, player, nullptr);
    if (cRule == PICK_ONCE && !walk.Left()) RemoveItem(walk.It());
    if (r != 0) return r;
  }
  return 0;
}
