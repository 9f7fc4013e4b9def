// Key-input conditions: matching a flow's key steps against the run logs of
// the input, newest step first and walking back in time, and the plain test
// whether one step holds right now.
#include <algorithm>

#include "files/system_data.h"
#include "flow/key_cond.h"
#include "input/input.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"

namespace {

// How a step's or a condition's slots combine: all of them, any of them,
// exactly one; another rule holds whatever matched.
bool RuleHolds(uint8_t cRule, int nFailed, int nMatched) {
  switch (cRule) {
    case 0:
      return nFailed == 0;
    case 1:
      return nMatched != 0;
    case 2:
      return nMatched == 1;
    default:
      return true;
  }
}

constexpr int kChannels = INPUT_DIR_LOGS + INPUT_BUTTON_LOGS;

// The channel's run log: 0..9 the directions, 10..18 the buttons.
const cEdgeLog& ChannelLog(const cInput& input, int nChannel) {
  return nChannel < INPUT_DIR_LOGS ? input.m_DirLogs[static_cast<size_t>(nChannel)]
                                   : input.m_ButtonLogs[static_cast<size_t>(nChannel - 10)];
}

// Left and right swap, and so do the diagonals, for a relative step of a
// character facing left.
int MirrorSlot(int s) {
  switch (s) {
    case 1:
      return 2;
    case 2:
      return 1;
    case 5:
      return 7;
    case 7:
      return 5;
    case 6:
      return 8;
    case 8:
      return 6;
    default:
      return s;
  }
}

int SlotCount(const cKeyCond& step) {
  // States past the 19 slots (a record may keep more) address no channel.
  return std::min<int>(static_cast<int>(step.m_vecKeys.size()), cKeyCond::KEY_SLOTS);
}

}  // namespace

void KEYCURSOR::AtPresent(const cInput& input) {
  for (int ch = 0; ch < kChannels; ++ch) {
    anRun[ch] = 0;
    anPos[ch] = ChannelLog(input, ch)[0].nLength;
  }
}

bool MatchKey(const EDGERUN& run, int32_t p, const cKeyCond& step, uint8_t cState) {
  if (cState == 1) {
    if (run.nState == 0) return false;
    if (step.m_cAnyLength) return p >= 1;
    return step.m_sMinHold <= p && p <= step.m_sMaxHold;
  }
  if (cState == 2) return run.nState == 0 && p >= 1;
  return false;
}

bool MatchKeyStep(const cKeyCond& step, const KEYCURSOR& cur, const cInput& input, bool bFacesLeft,
                  int32_t& nLength) {
  const bool bMirror = bFacesLeft && step.m_cRelative == 1;
  int nMatched = 0, nFailed = 0;
  bool bHaveL = false;
  for (int s = 0; s < SlotCount(step); ++s) {
    const uint8_t cState = step.m_vecKeys[static_cast<size_t>(s)];
    if (cState == 0) continue;
    const int ch = bMirror ? MirrorSlot(s) : s;
    const int32_t c = cur.anRun[ch];
    const int32_t p = cur.anPos[ch];
    if (!MatchKey(ChannelLog(input, ch)[static_cast<size_t>(c)], p, step, cState)) {
      ++nFailed;
      continue;
    }
    ++nMatched;
    switch (step.m_cRule) {
      case 0:
        if (!bHaveL || p < nLength) nLength = p;
        break;
      case 1:
        if (!bHaveL || p > nLength) nLength = p;
        break;
      default:
        nLength = p;
        break;
    }
    bHaveL = true;
  }
  return RuleHolds(step.m_cRule, nFailed, nMatched);
}

void ShiftKeyCursor(KEYCURSOR& cur, const cInput& input, int32_t nFrames) {
  for (int ch = 0; ch < kChannels; ++ch) {
    const cEdgeLog& log = ChannelLog(input, ch);
    int32_t& c = cur.anRun[ch];
    int64_t p = cur.anPos[ch];
    if (nFrames <= 0) {
      p += nFrames;
      while (p < 0) {
        if (++c >= INPUT_EDGE_RUNS) {
          c = INPUT_EDGE_RUNS - 1;
          break;
        }
        p += log[static_cast<size_t>(c)].nLength;
      }
      if (p == 0) {
        // On a run boundary: the newest frame of the older run.
        if (c + 1 >= INPUT_EDGE_RUNS) {
          p = 0;
        } else {
          ++c;
          p = log[static_cast<size_t>(c)].nLength;
        }
      }
    } else {
      p += nFrames;
      while (p > log[static_cast<size_t>(c)].nLength) {
        p -= log[static_cast<size_t>(c)].nLength;
        if (--c < 0) {
          c = 0;
          break;
        }
      }
    }
    cur.anPos[ch] = static_cast<int32_t>(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
  }
}

bool MatchKeySequence(cFlowState& run, const cInput& input, int32_t nTolerance, bool bFacesLeft) {
  const std::vector<cKeyCond*>& steps = run.m_vecKeys;
  if (steps.empty()) return true;
  const bool bRepeat = run.m_pFlow && run.m_pFlow->m_cKeyRepeat;
  KEYCURSOR cur;
  cur.AtPresent(input);
  int32_t nLength = 0;
  const int nLast = static_cast<int>(steps.size()) - 1;
  for (int n = nLast; n >= 0; --n) {
    const cKeyCond& step = *steps[static_cast<size_t>(n)];
    if (n == nLast) {
      if (!MatchKeyStep(step, cur, input, bFacesLeft, nLength)) return false;
      // A repeat flow keeps firing while its last step holds.
      if (bRepeat && run.m_nKeyMatched) return true;
    } else if (!MatchKeyStep(step, cur, input, bFacesLeft, nLength)) {
      if (nTolerance <= 0) return false;
      bool bFound = false;
      for (int k = 0; k < nTolerance && !bFound; ++k) {
        ShiftKeyCursor(cur, input, -1);
        bFound = MatchKeyStep(step, cur, input, bFacesLeft, nLength);
      }
      if (!bFound) {
        ShiftKeyCursor(cur, input, nTolerance);
        ShiftKeyCursor(cur, input, 1);
        if (!MatchKeyStep(step, cur, input, bFacesLeft, nLength)) return false;
        if (!g_SystemData.m_bCompat669) {
          // One moment may not satisfy two steps in a row.
          int32_t nCopy = nLength;
          if (MatchKeyStep(*steps[static_cast<size_t>(n + 1)], cur, input, bFacesLeft, nCopy))
            return false;
        }
      }
    }
    if (n == 0) return true;
    ShiftKeyCursor(cur, input, -nLength);
  }
  return true;
}

bool CheckKeyConds(cGameObj& chara, cFlowState& run, const cInput* pInput) {
  const cFlow* pFlow = run.m_pFlow;
  if (!pFlow || run.m_vecKeys.empty()) return true;
  if (!pInput) return false;
  // Relative steps read the directions mirrored while the character faces
  // left.
  const bool bFacesLeft = chara.m_nFacing == 0;
  const int32_t nTolerance = pFlow->m_cKeyGap;
  auto Match = [&]() { return MatchKeySequence(run, *pInput, nTolerance, bFacesLeft); };
  if (pFlow->m_cKeyRepeat) {
    const bool m = Match();
    run.m_nKeyMatched = m ? 1 : 0;
    return m;
  }
  run.m_nKeyMatched = 0;
  if (!Match()) {
    run.m_nKeyHeld = 0;
    return false;
  }
  if (run.m_nKeyHeld) {
    // Still held from an earlier match: the group stays busy meanwhile.
    if (pFlow->m_cTrigger == 0 && pFlow->m_cGroup != 0) {
      chara.m_vecRunGroups.At(pFlow->m_cGroup) = 1;
      chara.m_vecStopGroups.At(pFlow->m_cGroup) = 1;
      chara.m_nGroupRelease = 1;
    }
    return false;
  }
  run.m_nKeyHeld = 1;
  return true;
}

int GetInputDirection(const cInput& input) {
  for (int ch = 0; ch < INPUT_DIR_LOGS; ++ch)
    if (input.m_DirLogs[static_cast<size_t>(ch)][0].nState != 0) return ch;
  return 0;
}

int EvalKeyCond(cGameObj& /*chara*/, const cKeyCond& keys, const cInput* pInput) {
  if (!pInput) return 0;
  int nMatched = 0, nFailed = 0;
  for (int s = 0; s < SlotCount(keys); ++s) {
    const uint8_t cState = keys.m_vecKeys[static_cast<size_t>(s)];
    if (cState == 0) continue;
    const EDGERUN& run = ChannelLog(*pInput, s)[0];
    const bool bMatch = (cState == 1 && run.nState != 0) || (cState == 2 && run.nState == 0);
    if (!bMatch) {
      ++nFailed;
      continue;
    }
    ++nMatched;
    if (keys.m_cRule == 1) break;
  }
  return RuleHolds(keys.m_cRule, nFailed, nMatched) ? 1 : 0;
}
