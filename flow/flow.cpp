#include "flow/flow.h"

#include <algorithm>
#include <utility>

#include "base/program_state.h"

namespace {
int g_bSystemKeepsDisabledFlows = 0;
}

bool KeepDisabledFlows() { return bTestPlay != 0 || g_bSystemKeepsDisabledFlows != 0; }

void SetSystemKeepsDisabledFlows(int bKeep) { g_bSystemKeepsDisabledFlows = bKeep; }

cFlow::cFlow() {
  Clear();
  m_cKeyGap = 3;
}

cFlow::cFlow(const cFlow& src) = default;
cFlow::cFlow(cFlow&& src) noexcept = default;
cFlow::~cFlow() = default;

cFlow& cFlow::operator=(const cFlow& src) {
  if (this == &src) return *this;
  // Through a copy: src may live inside one of this flow's own commands.
  cFlow tmp(src);
  return *this = std::move(tmp);
}

cFlow& cFlow::operator=(cFlow&& src) noexcept = default;

void cFlow::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddByte(&m_cId);
  AddByte(&m_cGroup);
  AddByte(&m_cDisabled);
  AddByte(&m_cCondRule);
  AddByte(&m_cLatch);
  AddByte(&m_cTrigger);
  if (nVersion >= 762) AddByte(&m_cStorePartner);
  if (nVersion >= 767) AddByte(&m_cPartnerSlot);
  AddByte(&m_cKeyGap);
  AddByte(&m_cKeyRepeat);
  if (nVersion >= 676) AddString(&m_strMemo);
}

void cFlow::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadConditionVector(m_vecConds, r);
  if (r.Failed()) return;
  ReadKeyCondVector(m_vecKeys, r);
  if (r.Failed()) return;
  ReadCmdVector(m_vecCmds, r);
  if (r.Failed()) return;
  if (r.FileVersion() < kCurrentDataVersion) RenumberTrigger(r.FileVersion());
  // Notes are the editor's business; the game never keeps them.
  m_strMemo.clear();
  Validate();
}

void cFlow::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteRecordVector(m_vecConds, w);
  WriteRecordVector(m_vecKeys, w);
  WriteRecordVector(m_vecCmds, w);
}

void cFlow::RenumberTrigger(int32_t v) {
  if (v < 132 && m_cTrigger >= 11) m_cTrigger += 1;
  if (v < 163 && m_cTrigger != 0) m_cGroup = 0;
  if (v < 164 && m_cTrigger >= 5) m_cTrigger += 2;
  if (v < 762 && m_cTrigger >= 18) m_cTrigger += 3;
}

void cFlow::Validate() {
  for (cFlowCmd& cmd : m_vecCmds) cmd.Validate();
}

void cFlow::ValidateRefs() {
  for (cFlowCmd& cmd : m_vecCmds) cmd.ValidateRefs();
}

bool cFlow::IsEmpty() const {
  return m_cId == 0 && m_cGroup == 0 && m_cTrigger == 0 && m_vecConds.empty() &&
         m_vecKeys.empty() && m_vecCmds.empty();
}

void ReadFlowVector(FLOW_VECTOR& v, cDataReader& r) { ReadRecordVector(v, r, cFlow()); }

void RemoveDisabledFlows(FLOW_VECTOR& v) {
  v.erase(std::remove_if(v.begin(), v.end(), [](const cFlow& f) { return f.m_cDisabled != 0; }),
          v.end());
}
