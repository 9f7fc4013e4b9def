// The frame rules of toolkit windows and the metrics they read.
#include "app/window_frame.h"

#include <map>

namespace {

std::map<int, int>& Metrics() {
  static std::map<int, int> metrics = {{SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}};
  return metrics;
}

}  // namespace

int GetSystemMetric(int nIndex) {
  auto it = Metrics().find(nIndex);
  return it == Metrics().end() ? 0 : it->second;
}

void SetSystemMetric(int nIndex, int nValue) { Metrics()[nIndex] = nValue; }

WINDOWFRAME GetWindowFrame(uint32_t dwStyle, bool bMenu) {
  WINDOWFRAME f;
  if (dwStyle & WS_CAPTION) f.nTop += GetSystemMetric(SM_CYCAPTION);
  if (dwStyle & WS_THICKFRAME) {
    f.nLeft += GetSystemMetric(SM_CXFRAME);
    f.nRight += GetSystemMetric(SM_CXFRAME);
    f.nTop += GetSystemMetric(SM_CYFRAME);
    f.nBottom += GetSystemMetric(SM_CYFRAME);
  } else if (dwStyle & WS_DLGFRAME) {
    f.nLeft += GetSystemMetric(SM_CXDLGFRAME);
    f.nRight += GetSystemMetric(SM_CXDLGFRAME);
    f.nTop += GetSystemMetric(SM_CYDLGFRAME);
    f.nBottom += GetSystemMetric(SM_CYDLGFRAME);
  }
  if (dwStyle & WS_VSCROLL) f.nRight += GetSystemMetric(SM_CXVSCROLL);
  if (dwStyle & WS_HSCROLL) f.nBottom += GetSystemMetric(SM_CYHSCROLL);
  if (bMenu) f.nTop += GetSystemMetric(SM_CYMENU);
  return f;
}
