// Block characters as terrain for the other characters: a character that
// moved against one is pushed out of it, lands on it, bumps its head on it
// or is crushed between them, and a character standing on one rides along.
// The block characters of the list are kept at hand between changes of the
// list, so a character's contacts look only at them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "stage/list_walk.h"

class cCharaObj;
class cGameObj;
class cPlayScene;
struct RECTD;

class cBlockCharaContacts {
 public:
  enum : int { AXIS_HORIZONTAL = 0, AXIS_VERTICAL = 1 };

  // After the character moved: 0, or 2 when it is crushed (or, flying with
  // block mode 2, touches one at all).
  int ResolveBlockCharas(cPlayScene& scene, cGameObj& chara, CHARALIST& list);
  // Before a riding character moves: its platform's motion is added.
  int CarryRider(cGameObj& chara, CHARALIST& list);
  void PushOutOfBlockCharas(cGameObj& chara, CHARALIST& list, int nAxis);
  // 1 when each corner of the character lies in a block character, at its
  // rectangle now or at rStart.
  int IsEnclosedByBlockCharas(cGameObj& chara, const RECTD& rStart, CHARALIST& list);
  // 1 when the ridden block character lies within 5 pixels under the feet.
  int IsOnRideTarget(cGameObj& chara, CHARALIST& list);
  cCharaObj* FindBlockCharaUnderFeet(cGameObj& chara, CHARALIST& list);

  // A character left the list (additions are seen by its size).
  void OnListChanged() { ++m_nChanges; }

 private:
  // The block characters of the list, in list order.
  const std::vector<cCharaObj*>& BlockCharas(CHARALIST& list);
  int ResolveFlying(cGameObj& chara, CHARALIST& list);
  int ResolveWalking(cPlayScene& scene, cGameObj& chara, CHARALIST& list);
  // The first block character for chara that overlaps its upper half puts
  // it under that one.
  void PutUnderUpperBlock(cGameObj& chara, CHARALIST& list);

  std::vector<cCharaObj*> m_vecBlocks;
  const CHARALIST* m_pList = nullptr;
  size_t m_nListSize = 0;
  const void* m_pFront = nullptr;
  const void* m_pBack = nullptr;
  int64_t m_nChanges = 0;
  int64_t m_nBuiltAt = -1;
};
