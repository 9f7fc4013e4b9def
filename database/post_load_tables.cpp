#include "database/post_load_tables.h"

#include "base/global_order.h"
#include "database/database.h"

GLOBAL_OBJECT(GLOBAL_FRAME_TABLES) cSafeVector<ANIMESEQUENCE> g_AnimeFrameTable;
GLOBAL_OBJECT(GLOBAL_FRAME_TABLES) cSafeVector<ANIMESEQUENCE> g_EffectFrameTable;
GLOBAL_OBJECT(GLOBAL_EFFECT_RUN_TABLES) cSafeVector<cCharaEffectRun> g_CharaEffectRunTable;
GLOBAL_OBJECT(GLOBAL_EFFECT_RUN_TABLES) cSafeVector<cCharaEffectRun> g_CharaEffectRunTableAlt;
GLOBAL_OBJECT(GLOBAL_EFFECT_RUN_TABLES) cSafeVector<cScrEffectRun> g_ScrEffectRunTable;
GLOBAL_OBJECT(GLOBAL_EFFECT_RUN_TABLES) cSafeVector<cScrEffectRun> g_ScrEffectRunTableAlt;

namespace {

// Durations are kept in tenths of a second; the player ticks 60 times a
// second. The product wraps as 32-bit arithmetic would.
int32_t TenthsToTicks(int32_t nTenths) {
  return static_cast<int32_t>(static_cast<uint32_t>(nTenths) * 6u);
}

// Entry 0 of a list is the none entry: every step is locked and lasts no
// time, and the sequence loops instead of ending.
constexpr ANIMESTEP kNoneEnd = {ANIMESTEP_LOOP, 0, 1};
constexpr ANIMESTEP kEnd = {ANIMESTEP_END, 0, 0};

}  // namespace

void BuildAnimeFrameTable(cSafeVector<ANIMESEQUENCE>& table) {
  cSafeVector<cEdAnime>& vecAnime = Database.m_vecAnime;
  table.clear();
  table.resize(vecAnime.size());
  for (int i = 0; i < static_cast<int>(vecAnime.size()); ++i) {
    const cEdAnime& anime = vecAnime.At(i);
    ANIMESEQUENCE& seq = table.At(i);
    const int nFrames = static_cast<int>(anime.m_vecFrame.size());
    seq.assign(nFrames + 1, ANIMESTEP{0, 0, 0});
    int32_t bLatch = 0;
    for (int k = 0; k < nFrames; ++k) {
      const cEdAnimeFrame& frame = anime.m_vecFrame.At(k);
      ANIMESTEP& step = seq.At(k);
      step.nCell = frame.m_nCell;
      if (i == 0) {
        step.nTicks = 0;
        step.bLock = 1;
      } else {
        step.nTicks = TenthsToTicks(frame.m_nTime);
        // A lock holds from its frame to the end of the animation.
        if (frame.m_nLock != 0) bLatch = 1;
        step.bLock = bLatch;
      }
    }
    seq.At(nFrames) = i == 0 ? kNoneEnd : kEnd;
  }
}

void BuildEffectFrameTable(cSafeVector<ANIMESEQUENCE>& table) {
  cSafeVector<cEdEffect>& vecEffect = Database.m_vecEffect;
  table.clear();
  table.resize(vecEffect.size());
  for (int i = 0; i < static_cast<int>(vecEffect.size()); ++i) {
    const cEdEffect& effect = vecEffect.At(i);
    ANIMESEQUENCE& seq = table.At(i);
    const int nFrames = static_cast<int>(effect.m_vecFrame.size());
    seq.assign(nFrames + 1, ANIMESTEP{0, 0, 0});
    for (int k = 0; k < nFrames; ++k) {
      const cEdEffectFrame& frame = effect.m_vecFrame.At(k);
      ANIMESTEP& step = seq.At(k);
      step.nCell = frame.m_nCell;
      step.nTicks = i == 0 ? 0 : TenthsToTicks(frame.m_nTime);
      step.bLock = i == 0 ? 1 : 0;
    }
    seq.At(nFrames) = i == 0 ? kNoneEnd : kEnd;
  }
}

void BuildCharaEffectTables(cSafeVector<cCharaEffectRun>& table,
                            cSafeVector<cCharaEffectRun>& tableAlt) {
  const int nCount = static_cast<int>(Database.m_vecCharaEffect.size());
  table.resize(nCount);
  tableAlt.resize(nCount);
  for (int i = 0; i < nCount; ++i) {
    table.At(i).Build(i, 0);
    tableAlt.At(i).Build(i, 1);
  }
}

void BuildScrEffectTables(cSafeVector<cScrEffectRun>& table, cSafeVector<cScrEffectRun>& tableAlt) {
  const int nCount = static_cast<int>(Database.m_vecScrEffect.size());
  table.resize(nCount);
  tableAlt.resize(nCount);
  for (int i = 0; i < nCount; ++i) {
    table.At(i).Build(i, 0);
    tableAlt.At(i).Build(i, 1);
  }
}
