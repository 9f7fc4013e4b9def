// Where the objects of the running stage live: the players (element 0 is the
// player), the computer's characters and the items, each held by value so an
// object keeps its address for as long as it lives; and the block grid.
#pragma once

#include "base/safe_vector.h"
#include "stage/block_grid.h"
#include "stage/chara_obj.h"
#include "stage/item_obj.h"
#include "stage/player_obj.h"

extern cSafeVector<cPlayerObj> g_Players;
extern cSafeList<cCharaObj> g_CharaList;
extern cSafeList<cItemObj> g_ItemList;
