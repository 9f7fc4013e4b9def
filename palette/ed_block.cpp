#include "palette/ed_block.h"

#include "palette/palette_lists.h"

namespace {

// Group g copies the members of inherit group g from the parent.
const INHERITOP<cEdBlock> g_BlockInherit[cEdBlock::INHERIT_GROUPS] = {
    [](cEdBlock& d, const cEdBlock& s) { d.m_strName = s.m_strName; },
    [](cEdBlock& d, const cEdBlock& s) {
      CopyVector(d.m_vecConds, s.m_vecConds);
      d.m_cCondMode = s.m_cCondMode;
      d.m_cLatch = s.m_cLatch;
    },
    [](cEdBlock& d, const cEdBlock& s) {
      d.m_cGraphicKind = s.m_cGraphicKind;
      d.m_sGraphic = s.m_sGraphic;
      d.m_sGraphicCell = s.m_sGraphicCell;
    },
    [](cEdBlock& d, const cEdBlock& s) { d.m_cLayer = s.m_cLayer; },
    [](cEdBlock& d, const cEdBlock& s) { d.m_cHidden = s.m_cHidden; },
    [](cEdBlock& d, const cEdBlock& s) {
      d.m_cMarkShown = s.m_cMarkShown;
      d.m_sMark = s.m_sMark;
    },
    [](cEdBlock& d, const cEdBlock& s) { d.m_cHitType = s.m_cHitType; },
    [](cEdBlock& d, const cEdBlock& s) { d.m_cExempt = s.m_cExempt; },
    [](cEdBlock& d, const cEdBlock& s) {
      d.m_cSpecial = s.m_cSpecial;
      d.m_nSpecialParam = s.m_nSpecialParam;
    },
    [](cEdBlock& d, const cEdBlock& s) {
      d.m_cItemSrc = s.m_cItemSrc;
      d.m_sItem = s.m_sItem;
    },
    [](cEdBlock& d, const cEdBlock& s) { d.m_cSummonProof = s.m_cSummonProof; },
};

}  // namespace

cEdBlock::cEdBlock() {
  Clear();
  ResetInheritFlags(INHERIT_GROUPS);
  SetDefaults();
}

void cEdBlock::SetDefaults() {
  m_cHitType = 1;
  m_cExempt = 255;
  m_sGraphic = 0;
}

void cEdBlock::Reset() {
  Clear();
  ResetInheritFlags(INHERIT_GROUPS);
  SetDefaults();
}

void cEdBlock::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddByte(&m_cInheritSrc);
  AddWord(&m_sParent);
  AddByte(&m_cCondMode);
  AddByte(&m_cLatch);
  AddWord(&m_sGraphic);
  AddByte(&m_cGraphicKind);
  AddWord(&m_sGraphicCell);
  AddByte(&m_cLayer);
  AddByte(&m_cHidden);
  AddByte(&m_cMarkShown);
  AddWord(&m_sMark);
  AddByte(&m_cHitType);
  AddByte(&m_cExempt);
  AddByte(&m_cSpecial);
  AddDword(&m_nSpecialParam);
  AddByte(&m_cItemSrc);
  AddWord(&m_sItem);
  AddByte(&m_cSummonProof);
  AddString(&m_strName);
}

void cEdBlock::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadHeadTail(r, nullptr);
  if (r.Failed()) return;
  if (r.FileVersion() < 219 && m_cGraphicKind == 3) m_sGraphic = ShotSheetIndexPlusOne(m_sGraphic);
  Inherit();
  Validate();
}

void cEdBlock::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteHeadTail(w, nullptr);
}

void cEdBlock::Inherit() {
  ApplyInheritance(*this, GetParentList<cEdBlock>(m_cInheritSrc), g_BlockInherit, INHERIT_GROUPS);
}

void cEdBlock::Validate() {
  ValidateParent(GetPaletteListSize(m_cInheritSrc, PALETTE_BLOCK));
  // A block without a picture can neither be hit nor protect its cell.
  if (m_sGraphic == 0) {
    m_cHitType = 0;
    m_cSummonProof = 0;
  }
}

void cEdBlock::ValidateItem() {
  if ((m_cItemSrc == INHERIT_COMMON || m_cItemSrc == INHERIT_STAGE) &&
      IsOutsideList(m_sItem, GetPaletteListSize(m_cItemSrc, PALETTE_ITEM))) {
    m_cItemSrc = 0;
    m_sItem = 0;
  }
}

uint8_t cEdBlock::GetHitType(int32_t nFaction, bool bConditionsHold) const {
  if (!m_vecConds.empty() && !bConditionsHold) return 0;
  // The exemption byte reads as signed: 255 is -1 and matches no faction.
  if (static_cast<int8_t>(m_cExempt) == nFaction) return 0;
  return m_cHitType;
}
