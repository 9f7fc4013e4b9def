// Fitting a stored command to the catalogue, the database and the palettes,
// so that whatever a file holds, a command never names a list entry that
// does not exist.
#include "flow/command_catalogue.h"
#include "flow/flow_cmd.h"
#include "records/database_refs.h"
#include "records/palette_sizes.h"

namespace {

// The flow kind whose rules a command follows; -1 for the item kinds that
// have no flow twin (none and "フローの変更") and for unknown numberings.
int CheckedKind(const cFlowCmd& cmd) {
  if (cmd.m_cCmdSet == 0) return cmd.m_cKind;
  if (cmd.m_cCmdSet == 1 && cmd.m_cKind >= ITEM_CMD_SHARED_FIRST)
    return cmd.m_cKind + ITEM_CMD_KIND_OFFSET;
  return -1;
}

// Summons and item gifts choose their palette 0 common, 1 stage.
int SourceOfChoice(int nChoice) { return nChoice == 0 ? 1 : (nChoice == 1 ? 2 : 0); }

}  // namespace

void cFlowCmd::Validate() {
  if (IsOutsideDbList(m_sAnime, DBLIST_ANIME)) m_sAnime = 0;
  if (IsOutsideDbList(m_sSound, DBLIST_SOUND)) m_sSound = 0;
  // A kind without a row keeps its parameters: nothing says what they mean.
  if (const CMDINFO* pInfo = GetCmdInfo(m_cCmdSet, m_cKind))
    m_vecParams.resize(pInfo->nParamCount, 0);

  auto ClampP0 = [&](eDbList eList, int32_t nRepair) {
    if (!m_vecParams.empty() && IsOutsideDbList(m_vecParams[0], eList)) m_vecParams[0] = nRepair;
  };
  switch (CheckedKind(*this)) {
    case CMD_SWORD:
      if (m_pShot && HasDbRefSource()) {
        if (IsOutsideDbList(m_pShot->m_cMoveType, DBLIST_SWORDTYPE)) m_pShot->m_cMoveType = 0;
        // A swing lasts exactly as long as its sword type's frames.
        m_sTime = static_cast<int16_t>(GetSwordTypeTime(m_pShot->m_cMoveType));
      }
      break;
    case CMD_ANIME_SET:
      ClampP0(DBLIST_ANIMESET, 0);
      break;
    case CMD_ANIME:
      ClampP0(DBLIST_ANIME, 1);
      break;
    case CMD_EFFECT:
      ClampP0(DBLIST_EFFECT, 1);
      break;
    case CMD_CHARA_EFFECT:
      ClampP0(DBLIST_CHARAEFFECT, 1);
      break;
    case CMD_SCREEN_EFFECT:
      ClampP0(DBLIST_SCREFFECT, 1);
      break;
    case CMD_PICTURE:
      ClampP0(DBLIST_PICTURE, 1);
      break;
    case CMD_SOUND:
      ClampP0(DBLIST_SOUND, 1);
      break;
    case CMD_BGM:
      ClampP0(DBLIST_BGM, 1);
      break;
    default:
      break;
  }
  for (cFlow& flow : m_vecFlows) flow.Validate();
}

void cFlowCmd::ValidateRefs() {
  const int nKind =
      m_cCmdSet == 0 ? m_cKind
                     : (m_cCmdSet == 1 && m_cKind == ItemCmdKind(CMD_GET_ITEM) ? CMD_GET_ITEM : -1);
  switch (nKind) {
    case CMD_SHOT:
    case CMD_SWORD:
      if (m_pShot && (m_pShot->m_cItemPalette == 1 || m_pShot->m_cItemPalette == 2) &&
          IsOutsideList(m_pShot->m_sItemIndex,
                        GetPaletteListSize(m_pShot->m_cItemPalette, PALETTE_ITEM))) {
        m_pShot->m_cItemPalette = 0;
        m_pShot->m_sItemIndex = 0;
      }
      break;
    case CMD_SUMMON_BLOCK:
    case CMD_SUMMON_CHARA:
    case CMD_SUMMON_ITEM:
      if (m_pShot) {
        const int nSource = SourceOfChoice(m_pShot->m_cSummonPalette);
        const ePaletteKind eKind = nKind == CMD_SUMMON_BLOCK   ? PALETTE_BLOCK
                                   : nKind == CMD_SUMMON_CHARA ? PALETTE_CHARA
                                                               : PALETTE_ITEM;
        if (nSource != 0 &&
            IsOutsideList(m_pShot->m_sSummonIndex, GetPaletteListSize(nSource, eKind))) {
          m_pShot->m_sSummonIndex = 1;
        }
      }
      break;
    case CMD_GET_ITEM:
      if (m_vecParams.size() >= 2) {
        const int nSource = SourceOfChoice(m_vecParams[0]);
        if (nSource != 0 &&
            IsOutsideList(m_vecParams[1], GetPaletteListSize(nSource, PALETTE_ITEM)))
          m_vecParams[1] = 1;
      }
      break;
    default:
      break;
  }
  for (cFlow& flow : m_vecFlows) flow.ValidateRefs();
}
