#include "stage/stage_objects.h"

// Characters hold references to the player: the character list is defined
// after the players so it is destroyed first.
cSafeVector<cPlayerObj> g_Players;
cSafeList<cCharaObj> g_CharaList;
cSafeList<cItemObj> g_ItemList;
