// The step player of every animated thing in a stage: stage objects, the
// animation instances of characters and effects. It plays short sequences
// of steps whose negative cell codes close a sequence (hold, loop, jump to
// another sequence, end), ticked once per drawn frame that advances.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "database/post_load_tables.h"

class cAnimPlayer {
 public:
  cSafeVector<ANIMESEQUENCE> m_vecAnims;
  int32_t m_nAnim = 0;   // current sequence
  int32_t m_nFrame = 0;  // current step of it
  int32_t m_nTick = 0;   // ticks spent on that step

  // One sequence per array of a null-terminated list, each array read up to
  // and including its first negative cell; a null list changes nothing.
  void SetTables(const ANIMESTEP* const* ppTables);
  // Starts sequence n at its first step; unless forced, refused (0) while
  // the current step is locked.
  int Set(int32_t n, int bForce);
  // As Set, except that the current sequence goes on (1) undisturbed.
  int Change(int32_t n, int bForce);
  // One tick; the cell of the step that is then current (a closing code
  // when the sequence ended on it). 0 without sequences.
  int32_t Tick();
  // The cell of the current step; 0 without sequences.
  int32_t GetCell();

 private:
  // Applies the closing code of the step just stepped onto.
  void ApplyCode(const ANIMESEQUENCE& seq);
};

// Sequences handed to new items and shots.
extern const ANIMESTEP* const g_ItemAnimTables[];
extern const ANIMESTEP* const g_ShotAnimTables[];
