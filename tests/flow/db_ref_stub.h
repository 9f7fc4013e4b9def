// A database stand-in for tests: list sizes and sword frame times set by the
// test, installed for the fixture's lifetime.
#pragma once

#include <array>
#include <vector>

#include "records/database_refs.h"

class cDbRefStub : public cDbRefSource {
 public:
  cDbRefStub() {
    m_nSizes.fill(4);
    SetDbRefSource(this);
  }
  ~cDbRefStub() override { SetDbRefSource(nullptr); }
  cDbRefStub(const cDbRefStub&) = delete;
  cDbRefStub& operator=(const cDbRefStub&) = delete;

  uint32_t GetListSize(eDbList eList) const override { return m_nSizes[eList]; }
  int GetSwordFrameCount(int n) const override {
    return n < static_cast<int>(m_vecSwordTimes.size())
               ? static_cast<int>(m_vecSwordTimes[n].size())
               : 0;
  }
  int32_t GetSwordFrameTime(int n, int i) const override { return m_vecSwordTimes[n][i]; }

  std::array<uint32_t, DBLIST_COUNT> m_nSizes;
  std::vector<std::vector<int32_t>> m_vecSwordTimes;
};
