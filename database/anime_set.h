// Character animations: the stand-alone animations of Anime.dat and the
// animation sets of AnimeSet.dat that character definitions name. A frame
// shows one picture cell for a time and may lock the animation against being
// replaced; a set holds a character's four basic animations and the cell
// offsets its picture shifts by while invincible, block-like or flying.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "records/record.h"

class cEdAnimeFrame : public cRecord {
 public:
  int32_t m_nCell = 0;  // picture cell, or a negative control code
  int32_t m_nTime = 1;  // tenths of a second
  int32_t m_nLock = 0;  // non-zero: from here on only a forced change is accepted

  cEdAnimeFrame();
  void RegisterFields(int32_t nVersion) override;
};

class cEdAnime : public cRecord {
 public:
  std::string m_strName;
  cSafeVector<cEdAnimeFrame> m_vecFrame;
  // Stored and copied; nothing at play time reads them.
  int16_t m_wSetting1 = 0;
  uint8_t m_bySetting = 1;
  int16_t m_wSetting2 = 0;

  // One frame (cell 0, 1 tenth, unlocked).
  cEdAnime();
  // Back to one frame: the first one is kept when there is one.
  void Reset();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
};

// The basic animations every set holds, in this order.
enum eBasicAnime { ANIME_STAND, ANIME_WALK, ANIME_FLY, ANIME_FLYMOVE, BASIC_ANIME_COUNT };

class cEdAnimeSet : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nInvincibleCellOffset = 4;
  int32_t m_nBlockCellOffset = 8;
  int32_t m_nFlyCellOffset = 0;
  cSafeVector<cEdAnime> m_vecAnime;

  // The standard set (SetDefault).
  cEdAnimeSet();
  // Default offsets and exactly the four basic animations under their
  // standard names; animations beyond the fourth are dropped.
  void SetDefault();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

 private:
  void MakeBasicAnimeCount();
};
