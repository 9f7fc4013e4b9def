#include "palette/ed_item.h"

#include "palette/palette_lists.h"
#include "records/database_refs.h"

namespace {

const INHERITOP<cEdItem> g_ItemInherit[cEdItem::INHERIT_GROUPS] = {
    [](cEdItem& d, const cEdItem& s) { d.m_strName = s.m_strName; },
    [](cEdItem& d, const cEdItem& s) {
      CopyVector(d.m_vecConds, s.m_vecConds);
      d.m_cCondMode = s.m_cCondMode;
      d.m_cLatch = s.m_cLatch;
    },
    [](cEdItem& d, const cEdItem& s) { d.m_sWordA = s.m_sWordA; },
    [](cEdItem& d, const cEdItem& s) { d.m_sWordB = s.m_sWordB; },
    [](cEdItem& d, const cEdItem& s) {
      d.m_cGraphicKind = s.m_cGraphicKind;
      d.m_sGraphic = s.m_sGraphic;
      d.m_sGraphicCell = s.m_sGraphicCell;
    },
    [](cEdItem& d, const cEdItem& s) { d.m_cLayer = s.m_cLayer; },
    [](cEdItem& d, const cEdItem& s) { d.m_cHidden = s.m_cHidden; },
    [](cEdItem& d, const cEdItem& s) {
      d.m_cMarkShown = s.m_cMarkShown;
      d.m_sMark = s.m_sMark;
    },
    [](cEdItem& d, const cEdItem& s) { d.m_cGiant = s.m_cGiant; },
    [](cEdItem& d, const cEdItem& s) { d.m_cPickRule = s.m_cPickRule; },
    [](cEdItem& d, const cEdItem& s) { d.m_cPopup = s.m_cPopup; },
    [](cEdItem& d, const cEdItem& s) { d.m_sSound = s.m_sSound; },
    [](cEdItem& d, const cEdItem& s) { CopyVector(d.m_vecCmds, s.m_vecCmds); },
};

}  // namespace

cEdItem::cEdItem() { Reset(); }

void cEdItem::Reset() {
  Clear();
  ResetInheritFlags(INHERIT_GROUPS);
  m_cGraphicKind = 2;
  m_sGraphic = 0;
  m_cPopup = 1;
  m_cGiant = 1;
  m_cLayer = 6;
}

void cEdItem::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddByte(&m_cInheritSrc);
  AddWord(&m_sParent);
  AddByte(&m_cCondMode);
  AddByte(&m_cLatch);
  AddWord(&m_sWordA);
  AddWord(&m_sWordB);
  AddWord(&m_sGraphic);
  AddByte(&m_cGraphicKind);
  AddWord(&m_sGraphicCell);
  AddByte(&m_cLayer);
  AddByte(&m_cHidden);
  AddByte(&m_cMarkShown);
  AddWord(&m_sMark);
  // The pop-up flag is stored before the pick-up rule.
  AddByte(&m_cPopup);
  AddByte(&m_cPickRule);
  AddByte(&m_cGiant);
  AddWord(&m_sSound);
  AddString(&m_strName);
}

void cEdItem::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadHeadTail(r, nullptr);
  if (r.Failed()) return;
  ReadCmdVector(m_vecCmds, r);
  if (r.Failed()) return;
  if (r.FileVersion() < 219 && m_cGraphicKind == 3) m_sGraphic = ShotSheetIndexPlusOne(m_sGraphic);
  Inherit();
  Validate();
}

void cEdItem::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteHeadTail(w, nullptr);
  WriteRecordVector(m_vecCmds, w);
}

void cEdItem::Inherit() {
  ApplyInheritance(*this, GetParentList<cEdItem>(m_cInheritSrc), g_ItemInherit, INHERIT_GROUPS);
}

void cEdItem::Validate() {
  ValidateParent(GetPaletteListSize(m_cInheritSrc, PALETTE_ITEM));
  if (static_cast<int8_t>(m_cGiant) <= 0) m_cGiant = 1;
  if (IsOutsideDbList(static_cast<uint16_t>(m_sSound), DBLIST_SOUND)) m_sSound = 0;
  for (cFlowCmd& cmd : m_vecCmds) cmd.Validate();
}

void cEdItem::ValidateCommands() {
  for (cFlowCmd& cmd : m_vecCmds) cmd.ValidateRefs();
}
