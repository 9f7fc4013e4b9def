#include "files/key_log.h"

#include <limits>

#include "base/global_order.h"
#include "base/logs.h"

GLOBAL_OBJECT(GLOBAL_KEY_LOGS) cKeyLog g_KeyLog;
GLOBAL_OBJECT(GLOBAL_KEY_LOGS) cKeyLog g_KeyLogPrev;

namespace {

// One channel: the value extends the last run or starts a new one. A run
// that cannot grow any more is followed by another of the same value.
void AddToChannel(cSafeVector<int16_t>& vValues, cSafeVector<int32_t>& vRuns, int16_t sValue) {
  if (!vValues.empty() && vValues.back() == sValue && !vRuns.empty() &&
      vRuns.back() < std::numeric_limits<int32_t>::max()) {
    ++vRuns.back();
    return;
  }
  vValues.push_back(sValue);
  vRuns.push_back(1);
}

bool ChannelExhausted(const cSafeVector<int16_t>& vValues, int32_t nIndex) {
  return nIndex < 0 || nIndex >= static_cast<int32_t>(vValues.size());
}

int16_t PlayChannel(const cSafeVector<int16_t>& vValues, const cSafeVector<int32_t>& vRuns,
                    int32_t& nIndex, int32_t& nCount) {
  const int16_t sValue = vValues.At(nIndex);
  // At or past the run's length: a run can never repeat one value forever.
  if (++nCount >= vRuns.At(nIndex)) {
    nCount = 0;
    ++nIndex;
  }
  return sValue;
}

bool ChannelIsSound(const cSafeVector<int16_t>& vValues, const cSafeVector<int32_t>& vRuns) {
  if (vValues.size() != vRuns.size()) return false;
  for (int32_t n : vRuns) {
    if (n < 1) return false;
  }
  return true;
}

}  // namespace

cKeyLog& cKeyLog::operator=(const cKeyLog& src) {
  if (&src == this) return *this;
  m_vDirValues = src.m_vDirValues;
  m_vButtonValues = src.m_vButtonValues;
  m_vDirRuns = src.m_vDirRuns;
  m_vButtonRuns = src.m_vButtonRuns;
  m_nSeed = src.m_nSeed;
  return *this;
}

void cKeyLog::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_nSeed);
}

void cKeyLog::Read(cDataReader& r) {
  cRecord::Read(r);
  ReadValueVector(m_vDirValues, r);
  ReadValueVector(m_vButtonValues, r);
  ReadValueVector(m_vDirRuns, r);
  ReadValueVector(m_vButtonRuns, r);
  if (r.Failed()) return;
  if (!ChannelIsSound(m_vDirValues, m_vDirRuns) ||
      !ChannelIsSound(m_vButtonValues, m_vButtonRuns)) {
    DebugLogF("key log: %d/%d direction and %d/%d button runs",
              static_cast<int>(m_vDirValues.size()), static_cast<int>(m_vDirRuns.size()),
              static_cast<int>(m_vButtonValues.size()), static_cast<int>(m_vButtonRuns.size()));
    r.Fail();
  }
}

void cKeyLog::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteValueVector(m_vDirValues, w);
  WriteValueVector(m_vButtonValues, w);
  WriteValueVector(m_vDirRuns, w);
  WriteValueVector(m_vButtonRuns, w);
}

void cKeyLog::Reset() {
  m_nSeed = 0;
  m_vDirValues.clear();
  m_vButtonValues.clear();
  m_vDirRuns.clear();
  m_vButtonRuns.clear();
  Rewind();
}

void cKeyLog::Rewind() { m_nDirIndex = m_nButtonIndex = m_nDirCount = m_nButtonCount = 0; }

void cKeyLog::AddKey(int16_t sDir, int16_t sButton) {
  AddToChannel(m_vDirValues, m_vDirRuns, sDir);
  AddToChannel(m_vButtonValues, m_vButtonRuns, sButton);
}

int cKeyLog::GetKey(int16_t* pDir, int16_t* pButton) {
  if (ChannelExhausted(m_vDirValues, m_nDirIndex) ||
      ChannelExhausted(m_vButtonValues, m_nButtonIndex))
    return 1;
  const int16_t sDir = PlayChannel(m_vDirValues, m_vDirRuns, m_nDirIndex, m_nDirCount);
  const int16_t sButton =
      PlayChannel(m_vButtonValues, m_vButtonRuns, m_nButtonIndex, m_nButtonCount);
  if (pDir) *pDir = sDir;
  if (pButton) *pButton = sButton;
  return 0;
}
