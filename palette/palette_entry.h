// What block, character and item definitions have in common: where a placed
// copy stands, the parent it takes groups of its properties from, its name
// and the conditions under which it exists. The head's numeric members are
// registered by each class among its own fields; the rest is the tail every
// entry stores after its registered body.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "flow/cond.h"
#include "records/record.h"

// Where an entry's parent lives.
enum : uint8_t { INHERIT_NONE = 0, INHERIT_COMMON = 1, INHERIT_STAGE = 2 };

class cPaletteEntry : public cRecord {
 public:
  int16_t m_sColumn = 0;  // cell of a placed copy; meaningless in a palette
  int16_t m_sRow = 0;
  uint8_t m_cInheritSrc = 0;          // INHERIT_*
  int16_t m_sParent = 0;              // index in the same class's list there; 0 none
  cSafeVector<uint8_t> m_vecInherit;  // one flag per inherit group
  std::string m_strName;
  COND_VECTOR m_vecConds;
  uint8_t m_cCondMode = 0;  // 0 every condition must hold, 1 one is enough
  uint8_t m_cLatch = 0;     // once held, held for the rest of the stage

 protected:
  // The tail up to the conditions: column, row, (carried item), flags,
  // conditions. The class's own tail follows.
  void ReadHeadTail(cDataReader& r, int32_t* pCarriedItem);
  void WriteHeadTail(cDataWriter& w, const int32_t* pCarriedItem);
  // Exactly nGroups flags, all 0.
  void ResetInheritFlags(int nGroups);
  // A parent in the common or stage palette that is not there is dropped.
  void ValidateParent(uint32_t nListSize);
  // Older files numbered the shot sheet from 0: every picture moved up one.
  static int16_t ShotSheetIndexPlusOne(int16_t sIndex);
};

// Applies the flagged groups of an entry's parent to it, once, after it is
// read. T is the entry class; pfnOps its table of group copy operations.
template <typename T>
using INHERITOP = void (*)(T& dst, const T& src);

template <typename T>
void ApplyInheritance(T& entry, const cSafeVector<T>* pList, const INHERITOP<T>* pOps, int nOps) {
  if (entry.m_sParent == 0 || entry.m_cInheritSrc == INHERIT_NONE) return;
  const T* pParent = &entry;
  if (entry.m_cInheritSrc == INHERIT_COMMON || entry.m_cInheritSrc == INHERIT_STAGE) {
    const uint32_t nSize = pList ? static_cast<uint32_t>(pList->size()) : 0;
    if (static_cast<uint32_t>(static_cast<int32_t>(entry.m_sParent)) >= nSize) {
      // The parent is gone: the entry keeps its own values and names none.
      entry.m_cInheritSrc = INHERIT_NONE;
      entry.m_sParent = 0;
      return;
    }
    pParent = &pList->At(entry.m_sParent);
  }
  // Any other source makes the entry its own parent. A flag list longer than
  // the table has no operation for its surplus flags.
  const int nFlags = static_cast<int>(entry.m_vecInherit.size());
  for (int g = 0; g < nFlags && g < nOps; ++g) {
    if (entry.m_vecInherit[g] != 0) pOps[g](entry, *pParent);
  }
}
