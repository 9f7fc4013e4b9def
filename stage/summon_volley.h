// The summon commands' formations: the command's shot part names a palette
// entry (common or stage palette) and lays copies of it out as a volley's
// formation lays out shots, each position placing a character, an item or
// a block instead of firing.
#pragma once

class cEdShot;
class cFlowState;
class cGameObj;
class cPlayScene;

// Nothing happens when the entry is beyond its palette, or for characters
// when the entry is one the player operates.
void FireCharaSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                     const cEdShot& def);
void FireItemSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                    const cEdShot& def);
void FireBlockSummon(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                     const cEdShot& def);
