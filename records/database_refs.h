// What the checks of stored commands, shot parts and definitions need to know
// of the database: how long each list is (a reference at or past the end is
// repaired) and how long a sword swing lasts. The database answers through a
// source it installs once it has loaded; until one is installed nothing is
// known and no reference is touched.
#pragma once

#include <cstdint>

enum eDbList {
  DBLIST_ANIME,        // Anime.dat
  DBLIST_ANIMESET,     // AnimeSet.dat
  DBLIST_BMPSET,       // the bitmap-set list
  DBLIST_SWORDTYPE,    // SwordType.dat
  DBLIST_EFFECT,       // Effect.dat
  DBLIST_CHARAEFFECT,  // CharaEffect.dat
  DBLIST_SCREFFECT,    // ScrEffect.dat
  DBLIST_PICTURE,      // Picture.dat
  DBLIST_SOUND,        // Sound.dat
  DBLIST_BGM,          // Bgm.dat
  DBLIST_COUNT
};

class cDbRefSource {
 public:
  virtual ~cDbRefSource() = default;
  virtual uint32_t GetListSize(eDbList eList) const = 0;
  // Number of frames of sword type n and the display time of frame i; only
  // asked for a sword type below the sword-type list's size.
  virtual int GetSwordFrameCount(int nSwordType) const = 0;
  virtual int32_t GetSwordFrameTime(int nSwordType, int nFrame) const = 0;
};

// The source stays the caller's; null removes it.
void SetDbRefSource(const cDbRefSource* pSource);
bool HasDbRefSource();

// Size of a list; with no source installed, a size no reference reaches.
uint32_t GetDbListSize(eDbList eList);

// Whether a stored index lies outside a list: read as unsigned, so a
// negative index counts as far too large.
inline bool IsOutsideList(int32_t nIndex, uint32_t nSize) {
  return static_cast<uint32_t>(nIndex) >= nSize;
}
inline bool IsOutsideDbList(int32_t nIndex, eDbList eList) {
  return IsOutsideList(nIndex, GetDbListSize(eList));
}

// Total display time of a sword type's frames; the sum is held at 9999 after
// each addition. 0 with no source or an unknown type.
int32_t GetSwordTypeTime(int nSwordType);
