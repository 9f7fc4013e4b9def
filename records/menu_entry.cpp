#include "records/menu_entry.h"

#include <algorithm>

#include "base/logs.h"
#include "base/text_helpers.h"

void cCmd::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_bEnable, 1);
  AddString(&m_strLabel, 1);
}

int cCmd::GetCmdCount(cSafeVector<cCmd>& vMenu) {
  int nCount = 0;
  for (int j = 0; j < static_cast<int>(vMenu.size()); ++j) {
    if (vMenu.At(j).m_bEnable != 0) ++nCount;
  }
  return nCount;
}

int cCmd::GetCmdNum(int n, cSafeVector<cCmd>& vMenu) {
  int i = 0;
  for (int j = 0; j < static_cast<int>(vMenu.size()); ++j) {
    if (vMenu.At(j).m_bEnable == 0) continue;
    if (i == n) return j;
    ++i;
  }
  DebugErrorBoxF("cCmd::GetCmdNum 番号が不正です！");
  return 0;
}

int cCmd::GetWidestLabel(cSafeVector<cCmd>& vMenu) {
  int nWidest = 0;
  for (const cCmd& cmd : vMenu) {
    if (cmd.m_bEnable == 0) continue;
    nWidest = std::max(nWidest, CountChars(cmd.m_strLabel.c_str()));
  }
  return nWidest;
}

int cCmd::GetCenterX(int x, cSafeVector<cCmd>& vMenu) {
  const int nWidest = GetWidestLabel(vMenu);
  return nWidest != 0 ? x - 16 * (nWidest + 1) / 2 : x;
}
