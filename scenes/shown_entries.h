// The lines a menu scene shows: the entries of its menu that are enabled.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "records/menu_entry.h"

// Puts the indexes of menu's enabled entries, in order and at most nMax, in
// anShown and gives their count; a menu with none enabled shows its first
// entry, so that there is always a line to stand on.
inline int32_t PickShownEntries(const cSafeVector<cCmd>& menu, int32_t* anShown, int nMax) {
  int32_t nCount = 0;
  for (int i = 0; i < static_cast<int>(menu.size()) && nCount < nMax; ++i)
    if (menu[i].m_bEnable) anShown[nCount++] = i;
  if (nCount == 0) {
    anShown[0] = 0;
    nCount = 1;
  }
  return nCount;
}
