// Tables the play engine indexes instead of the database lists: one step
// sequence per animation and per effect, with durations already in ticks and
// the end of each sequence as a code in the sequence itself; and two run
// entries per character and screen effect, one per direction. Built once at
// start-up right after the database is loaded, read-only afterwards.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "database/effect_run.h"

// End codes of a sequence (a negative cell).
constexpr int32_t ANIMESTEP_STAY = -1;    // stay on the previous step
constexpr int32_t ANIMESTEP_LOOP = -2;    // start again at step 0
constexpr int32_t ANIMESTEP_SWITCH = -3;  // forced switch to sequence nTicks
constexpr int32_t ANIMESTEP_END = -4;     // the sequence has ended

struct ANIMESTEP {
  int32_t nCell;   // cell to show, or an end code
  int32_t nTicks;  // ticks the step lasts
  int32_t bLock;   // 1: no change to another sequence unless forced
};

using ANIMESEQUENCE = cSafeVector<ANIMESTEP>;

extern cSafeVector<ANIMESEQUENCE> g_AnimeFrameTable;
extern cSafeVector<ANIMESEQUENCE> g_EffectFrameTable;
extern cSafeVector<cCharaEffectRun> g_CharaEffectRunTable;
extern cSafeVector<cCharaEffectRun> g_CharaEffectRunTableAlt;
extern cSafeVector<cScrEffectRun> g_ScrEffectRunTable;
extern cSafeVector<cScrEffectRun> g_ScrEffectRunTableAlt;

// From the database's lists; to be called in this order, after
// cDatabase::MakeAltLists and only once (the reversed tables exchange values
// in the copies).
void BuildAnimeFrameTable(cSafeVector<ANIMESEQUENCE>& table);
void BuildEffectFrameTable(cSafeVector<ANIMESEQUENCE>& table);
void BuildCharaEffectTables(cSafeVector<cCharaEffectRun>& table,
                            cSafeVector<cCharaEffectRun>& tableAlt);
void BuildScrEffectTables(cSafeVector<cScrEffectRun>& table, cSafeVector<cScrEffectRun>& tableAlt);
