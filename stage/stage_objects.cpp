#include "stage/stage_objects.h"

#include "base/global_order.h"

// Characters hold references to the player: the character list is defined
// after the players so it is destroyed first.
GLOBAL_OBJECT(GLOBAL_PLAYERS) cSafeVector<cPlayerObj> g_Players;
GLOBAL_OBJECT(GLOBAL_STAGE_LISTS) cSafeList<cCharaObj> g_CharaList;
GLOBAL_OBJECT(GLOBAL_STAGE_LISTS) cSafeList<cItemObj> g_ItemList;
