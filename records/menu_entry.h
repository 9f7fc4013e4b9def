// A menu entry: a label and a flag saying whether the entry is shown. Menus
// are vectors of entries; menu code maps the n-th shown line back to the
// entry's index, which is what the menu's owner acts on.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "records/record.h"

class cCmd : public cRecord {
 public:
  int32_t m_bEnable = 1;  // 0 hides the entry; any other value shows it
  std::string m_strLabel;

  cCmd() {
    Clear();
    m_bEnable = 1;
  }
  cCmd(int32_t bEnable, std::string strLabel)
      : m_bEnable(bEnable), m_strLabel(std::move(strLabel)) {}

  void RegisterFields(int32_t nVersion) override;

  // The number of shown entries.
  static int GetCmdCount(cSafeVector<cCmd>& vMenu);
  // The index of the entry shown on line n (counted over shown entries);
  // an impossible line gives 0 after a debug message.
  static int GetCmdNum(int n, cSafeVector<cCmd>& vMenu);
  // The left edge that centres the menu's framed box on x (the box is one
  // 16-pixel column wider than its longest shown label).
  static int GetCenterX(int x, cSafeVector<cCmd>& vMenu);
  // The character count of the longest shown label.
  static int GetWidestLabel(cSafeVector<cCmd>& vMenu);
};
