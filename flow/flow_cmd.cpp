#include "flow/flow_cmd.h"

#include <utility>

#include "flow/command_catalogue.h"

namespace {

template <typename T>
std::unique_ptr<T> ClonePart(const std::unique_ptr<T>& p) {
  return p ? std::make_unique<T>(*p) : nullptr;
}

// A part is stored as a 32-bit presence flag and, when set, the part's body.
template <typename T>
void ReadPart(cDataReader& r, std::unique_ptr<T>& p, int (*pfnNew)(std::unique_ptr<T>&)) {
  const uint32_t nFlag = r.U32();
  if (r.Failed()) return;
  p.reset();
  if (nFlag == 0) return;
  pfnNew(p);
  ReadSubRecord(*p, r);
}

template <typename T>
void WritePart(cDataWriter& w, const std::unique_ptr<T>& p) {
  w.U32(p ? 1 : 0);
  if (p) p->Write(w);
}

}  // namespace

int NewEdMove(std::unique_ptr<cEdMove>& p) {
  p = std::make_unique<cEdMove>();
  return 1;
}

int NewEdShot(std::unique_ptr<cEdShot>& p) {
  p = std::make_unique<cEdShot>();
  return 1;
}

int NewCondList(std::unique_ptr<cCondList>& p) {
  p = std::make_unique<cCondList>();
  return 1;
}

cFlowCmd::cFlowCmd() { Reset(); }

cFlowCmd::cFlowCmd(const cFlowCmd& src)
    : cRecord(src),
      m_cCmdSet(src.m_cCmdSet),
      m_cKind(src.m_cKind),
      m_vecParams(src.m_vecParams),
      m_strText(src.m_strText),
      m_pMove(ClonePart(src.m_pMove)),
      m_pShot(ClonePart(src.m_pShot)),
      m_sTime(src.m_sTime),
      m_sTimeInc(src.m_sTimeInc),
      m_cParallel(src.m_cParallel),
      m_sSound(src.m_sSound),
      m_cSoundOnScreen(src.m_cSoundOnScreen),
      m_sAnime(src.m_sAnime),
      m_pCondList(ClonePart(src.m_pCondList)),
      m_vecFlows(src.m_vecFlows) {}

cFlowCmd::cFlowCmd(cFlowCmd&& src) noexcept = default;
cFlowCmd::~cFlowCmd() = default;

cFlowCmd& cFlowCmd::operator=(const cFlowCmd& src) {
  if (this == &src) return *this;
  // Through a copy: src may be a command nested inside this one, which the
  // member-by-member assignment would destroy halfway.
  cFlowCmd tmp(src);
  return *this = std::move(tmp);
}

cFlowCmd& cFlowCmd::operator=(cFlowCmd&& src) noexcept = default;

void cFlowCmd::Reset() {
  Clear();
  m_pMove.reset();
  m_pShot.reset();
  m_pCondList.reset();
  m_cSoundOnScreen = 1;
}

int cFlowCmd::GetFlowKind() const {
  return m_cCmdSet == 1 ? m_cKind + ITEM_CMD_KIND_OFFSET : m_cKind;
}

void cFlowCmd::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddByte(&m_cCmdSet);
  AddByte(&m_cKind);
  AddWord(&m_sTime);
  AddWord(&m_sTimeInc);
  AddByte(&m_cParallel);
  AddWord(&m_sSound);
  AddByte(&m_cSoundOnScreen);
  AddWord(&m_sAnime);
  AddString(&m_strText);
}

void cFlowCmd::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  const int32_t v = r.FileVersion();
  ReadPart(r, m_pMove, &NewEdMove);
  ReadPart(r, m_pShot, &NewEdShot);
  if (v >= 764) ReadPart(r, m_pCondList, &NewCondList);
  if (r.Failed()) return;
  ReadFlowVector(m_vecFlows, r);
  if (r.Failed()) return;
  const uint32_t nParams = r.Count(4);
  if (r.Failed()) return;
  m_vecParams.assign(nParams, 0);
  for (int32_t& n : m_vecParams) n = r.I32();
  if (r.Failed()) return;
  if (v < kCurrentDataVersion) Renumber(v);
  if (!KeepDisabledFlows()) RemoveDisabledFlows(m_vecFlows);
  Validate();
}

void cFlowCmd::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WritePart(w, m_pMove);
  WritePart(w, m_pShot);
  WritePart(w, m_pCondList);
  WriteRecordVector(m_vecFlows, w);
  w.U32(static_cast<uint32_t>(m_vecParams.size()));
  for (int32_t n : m_vecParams) w.I32(n);
}

void ReadCmdVector(CMD_VECTOR& v, cDataReader& r) { ReadRecordVector(v, r, cFlowCmd()); }
