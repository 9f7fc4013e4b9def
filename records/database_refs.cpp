#include "records/database_refs.h"

#include <atomic>

namespace {
std::atomic<const cDbRefSource*> g_pDbRefSource{nullptr};
}

void SetDbRefSource(const cDbRefSource* pSource) { g_pDbRefSource = pSource; }

bool HasDbRefSource() { return g_pDbRefSource.load() != nullptr; }

uint32_t GetDbListSize(eDbList eList) {
  const cDbRefSource* p = g_pDbRefSource.load();
  if (!p) return UINT32_MAX;
  return p->GetListSize(eList);
}

int32_t GetSwordTypeTime(int nSwordType) {
  const cDbRefSource* p = g_pDbRefSource.load();
  if (!p || IsOutsideList(nSwordType, p->GetListSize(DBLIST_SWORDTYPE))) return 0;
  int32_t nSum = 0;
  const int nFrames = p->GetSwordFrameCount(nSwordType);
  for (int i = 0; i < nFrames; ++i) {
    // 64-bit so that two large frame times cannot wrap before the cap.
    int64_t n = static_cast<int64_t>(nSum) + p->GetSwordFrameTime(nSwordType, i);
    nSum = n >= 9999 ? 9999 : static_cast<int32_t>(n);
  }
  return nSum;
}
