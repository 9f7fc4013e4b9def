#include "palette/ed_chara.h"

#include "palette/palette_lists.h"
#include "records/database_refs.h"

namespace {

using OP = INHERITOP<cEdChara>;

// The flow group: the parent's flows, and never a character left with none
// at this point (the validation that follows drops an empty default flow).
void InheritFlows(cEdChara& d, const cEdChara& s) {
  if (&d != &s) CopyVector(d.m_vecFlows, s.m_vecFlows);
  if (d.m_vecFlows.empty()) d.m_vecFlows.emplace_back();
}

#define COPY1(a) [](cEdChara& d, const cEdChara& s) { d.a = s.a; }
#define COPY2(a, b)                    \
  [](cEdChara& d, const cEdChara& s) { \
    d.a = s.a;                         \
    d.b = s.b;                         \
  }
#define COPY3(a, b, c)                 \
  [](cEdChara& d, const cEdChara& s) { \
    d.a = s.a;                         \
    d.b = s.b;                         \
    d.c = s.c;                         \
  }

const OP g_CharaInherit[cEdChara::INHERIT_GROUPS] = {
    COPY1(m_strName),
    COPY2(m_cOperator, m_cInputPlayer),
    COPY1(m_cFaction),
    COPY1(m_cCharaId),
    [](cEdChara& d, const cEdChara& s) {
      CopyVector(d.m_vecConds, s.m_vecConds);
      d.m_cCondMode = s.m_cCondMode;
      d.m_cLatch = s.m_cLatch;
    },
    COPY1(m_cMoveMirror),
    COPY1(m_cExtraCopies),
    COPY3(m_sOffsetX, m_sStepX, m_cMirrorX),
    COPY3(m_sOffsetY, m_sStepY, m_cMirrorY),
    COPY3(m_cGraphicKind, m_sGraphic, m_sGraphicCell),
    COPY1(m_sAnimeSet),
    COPY1(m_cLayer),
    COPY1(m_cTransparent),
    COPY3(m_sAppearEffect, m_cAppearVariant, m_cAppearSetting),
    COPY2(m_sDeathEffect, m_cDeathVariant),
    COPY2(m_cMarkShown, m_sMark),
    COPY1(m_cFixedDir),
    COPY1(m_cFlying),
    COPY2(m_cInvincible, m_cInvDisplay),
    COPY1(m_cBlockLike),
    COPY1(m_cGiant),
    COPY1(m_cScrollSync),
    COPY2(m_cSightShape, m_cSightRange),
    COPY1(m_nMaxHP),
    COPY1(m_nMaxSP),
    COPY1(m_cBlockHitRange),
    COPY1(m_nBodyPower),
    COPY1(m_cBodyImpact),
    COPY1(m_sBodyHitEffect),
    COPY1(m_nDefence),
    COPY1(m_cImpactResist),
    COPY1(m_sStopEase),
    COPY2(m_cActRange, m_cActMode),
    COPY2(m_cActGroupUsed, m_sActGroup),
    COPY1(m_nScore),
    COPY1(m_cSettingD),
    &InheritFlows,
};

#undef COPY1
#undef COPY2
#undef COPY3

double CopyOffset(int n, int16_t sStep, int16_t sOffset, bool bMirror) {
  uint32_t v = static_cast<uint32_t>(n) * static_cast<uint32_t>(static_cast<int32_t>(sStep)) +
               static_cast<uint32_t>(static_cast<int32_t>(sOffset));
  if (bMirror) v = 0u - v;
  return static_cast<double>(static_cast<int32_t>(v));
}

}  // namespace

cEdChara::cEdChara() {
  m_nCarriedItem = 0;
  Clear();
  ResetInheritFlags(INHERIT_GROUPS);
  SetDefaults();
}

void cEdChara::SetDefaults() {
  m_nMaxHP = 10;
  m_sStopEase = 10;
  m_cOperator = 1;
  m_cFaction = 1;
  m_cLayer = 3;
  m_cAppearSetting = 1;
  m_nDefence = 0;
  m_cGraphicKind = 1;
  m_sGraphic = 0;
  m_cGiant = 1;
  m_cFixedDir = 1;
  m_cSettingD = 1;
}

void cEdChara::Reset() {
  m_nCarriedItem = 0;
  Clear();
  ResetInheritFlags(INHERIT_GROUPS);
  SetDefaults();
}

void cEdChara::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddByte(&m_cInheritSrc);
  AddWord(&m_sParent);
  AddByte(&m_cCondMode);
  AddByte(&m_cLatch);
  AddByte(&m_cMoveMirror);
  AddByte(&m_cExtraCopies);
  AddWord(&m_sOffsetX);
  AddWord(&m_sStepX);
  AddWord(&m_sOffsetY);
  AddWord(&m_sStepY);
  AddByte(&m_cMirrorX);
  AddByte(&m_cMirrorY);
  AddWord(&m_sGraphic);
  AddByte(&m_cGraphicKind);
  AddWord(&m_sGraphicCell);
  AddWord(&m_sAnimeSet);
  AddByte(&m_cLayer);
  AddByte(&m_cTransparent);
  AddWord(&m_sAppearEffect);
  if (nVersion >= 196) AddByte(&m_cAppearVariant);
  AddByte(&m_cAppearSetting);
  AddWord(&m_sDeathEffect);
  if (nVersion >= 196) AddByte(&m_cDeathVariant);
  AddByte(&m_cMarkShown);
  AddWord(&m_sMark);
  AddByte(&m_cOperator);
  AddByte(&m_cInputPlayer);
  AddByte(&m_cFaction);
  AddByte(&m_cCharaId);
  AddByte(&m_cFlying);
  AddByte(&m_cFixedDir);
  AddByte(&m_cInvincible);
  if (nVersion >= 285) AddByte(&m_cInvDisplay);
  AddByte(&m_cBlockLike);
  AddByte(&m_cGiant);
  if (nVersion >= 210) AddByte(&m_cScrollSync);
  AddByte(&m_cSightShape);
  AddByte(&m_cSightRange);
  AddDword(&m_nMaxHP);
  AddDword(&m_nMaxSP);
  AddWord(&m_sStopEase);
  if (nVersion >= 201) AddByte(&m_cBlockHitRange);
  AddDword(&m_nBodyPower);
  AddByte(&m_cBodyImpact);
  AddWord(&m_sBodyHitEffect);
  if (nVersion >= 168) AddDword(&m_nDefence);
  AddByte(&m_cImpactResist);
  AddDword(&m_nScore);
  AddByte(&m_cSettingD);
  AddByte(&m_cActGroupUsed);
  AddWord(&m_sActGroup);
  AddByte(&m_cActRange);
  AddByte(&m_cActMode);
  AddString(&m_strName);
}

void cEdChara::InsertInheritFlag(int nIndex) {
  m_vecInherit.resize(INHERIT_GROUPS, 0);
  for (int i = INHERIT_GROUPS - 1; i > nIndex; --i) m_vecInherit[i] = m_vecInherit[i - 1];
  m_vecInherit[nIndex] = 1;
}

void cEdChara::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadHeadTail(r, &m_nCarriedItem);
  if (r.Failed()) return;
  ReadFlowVector(m_vecFlows, r);
  if (r.Failed()) return;
  if (!KeepDisabledFlows()) RemoveDisabledFlows(m_vecFlows);

  const int32_t v = r.FileVersion();
  if (v < kCurrentDataVersion) {
    // Each format that added a field added its inherit group, switched on,
    // at the place of that field's group in its own layout.
    if (v < 168) {
      m_nDefence = 0;
      InsertInheritFlag(27);
    }
    if (v < 196) {
      m_cAppearVariant = 0;
      m_cDeathVariant = 0;
    }
    if (v < 201) {
      m_cBlockHitRange = 0;
      InsertInheritFlag(24);
    }
    if (v < 206 && static_cast<int8_t>(m_cBlockHitRange) >= 2) ++m_cBlockHitRange;
    if (v < 210) {
      m_cScrollSync = 0;
      InsertInheritFlag(21);
    }
    if (v < 219 && m_cGraphicKind == 3) m_sGraphic = ShotSheetIndexPlusOne(m_sGraphic);
    if (v < 285) m_cInvDisplay = 1;
  }
  Inherit();
  Validate();
}

void cEdChara::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteHeadTail(w, &m_nCarriedItem);
  WriteRecordVector(m_vecFlows, w);
}

void cEdChara::Inherit() {
  ApplyInheritance(*this, GetParentList<cEdChara>(m_cInheritSrc), g_CharaInherit, INHERIT_GROUPS);
}

void cEdChara::Validate() {
  ValidateParent(GetPaletteListSize(m_cInheritSrc, PALETTE_CHARA));
  if (m_cGraphicKind == 4 && IsOutsideDbList(static_cast<uint16_t>(m_sGraphic), DBLIST_BMPSET))
    m_sGraphic = 1;
  if (static_cast<int8_t>(m_cGiant) <= 0) m_cGiant = 1;
  if (IsOutsideDbList(static_cast<uint16_t>(m_sAnimeSet), DBLIST_ANIMESET)) m_sAnimeSet = 0;
  if (IsOutsideDbList(static_cast<uint16_t>(m_sAppearEffect), DBLIST_CHARAEFFECT))
    m_sAppearEffect = 0;
  if (IsOutsideDbList(static_cast<uint16_t>(m_sDeathEffect), DBLIST_CHARAEFFECT))
    m_sDeathEffect = 0;
  if (IsOutsideDbList(static_cast<uint16_t>(m_sBodyHitEffect), DBLIST_EFFECT)) m_sBodyHitEffect = 0;
  // A player-operated character is one character and never a platform.
  if (m_cOperator == 0) {
    m_cBlockLike = 0;
    m_cExtraCopies = 0;
  }
  for (size_t i = 0; i < m_vecFlows.size();) {
    m_vecFlows[i].Validate();
    if (m_vecFlows[i].IsEmpty())
      m_vecFlows.erase(m_vecFlows.begin() + static_cast<ptrdiff_t>(i));
    else
      ++i;
  }
}

void cEdChara::ValidateFlows() {
  for (cFlow& flow : m_vecFlows) flow.ValidateRefs();
}

double cEdChara::GetPosX(int n, int d) const {
  return CopyOffset(n, m_sStepX, m_sOffsetX, d == 1 && m_cMirrorX != 0);
}

double cEdChara::GetPosY(int n, int d) const {
  return CopyOffset(n, m_sStepY, m_sOffsetY, d == 1 && m_cMirrorY != 0);
}
