// Block characters as terrain: a character that moved against them is
// pushed out, lands on them or is crushed, and a character riding one moves
// with it. The contacts come with the block characters' own rules; until
// then characters pass through each other.
#include "stage/play_scene.h"

int cPlayScene::ResolveBlockCharas(cGameObj& /*chara*/, CHARALIST& /*list*/) { return 0; }

int cPlayScene::CarryRider(cGameObj& /*chara*/, CHARALIST& /*list*/) { return 0; }
