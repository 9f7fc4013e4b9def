// The animations a flow cues for its commands: each command with an
// animation of its own gets it started early enough that the animation
// reaches its hold frame as the command begins, and the hold frame lasts
// the command's time.
#include <algorithm>

#include "database/post_load_tables.h"
#include "files/stage_data.h"
#include "stage/command_table.h"
#include "stage/flow_engine.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"

namespace {

// The frames of an animation up to its first held frame (all of them when
// none is held).
int32_t FramesToHold(const ANIMESEQUENCE& seq) {
  int64_t n = 0;
  for (const ANIMESTEP& step : seq) {
    if (step.nCell < 0 || step.bLock) break;
    n += step.nTicks;
  }
  return static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX / 64));
}

}  // namespace

void BuildFlowCues(cFlowState& state) {
  state.m_vecCues.clear();
  const int32_t n = g_Stage.m_nSteps > 0 ? g_Stage.m_nSteps : 1;
  int64_t T = 0;  // the step at which command c begins when nothing waits
  for (size_t c = 0; c < state.m_vecCmds.size(); ++c) {
    const cCmdState& inst = state.m_vecCmds[c];
    const cFlowCmd* pCmd = inst.m_pCmd;
    const int64_t nBegin = T;
    if (pCmd && pCmd->m_cParallel != 1) T += inst.m_nDuration;
    if (!pCmd || pCmd->m_sAnime == 0) continue;
    if (pCmd->m_pMove && !pCmd->m_pMove->m_cOwnAnime) continue;
    // An animation number outside the table has no frames to show.
    if (pCmd->m_sAnime < 0 || static_cast<size_t>(pCmd->m_sAnime) >= g_AnimeFrameTable.size())
      continue;
    const int32_t nFrames = FramesToHold(g_AnimeFrameTable[static_cast<size_t>(pCmd->m_sAnime)]);
    const int64_t nSteps = static_cast<int64_t>(nFrames) * n;
    ANIMCUE cue;
    cue.sAnime = pCmd->m_sAnime;
    cue.sCmdFrames = static_cast<int16_t>(pCmd->m_sTime * 6);
    cue.bHold = GetCmdRow(*pCmd).eCue == CUE_HOLD ? 1 : 0;
    int64_t R = nSteps;
    for (size_t k = c; k-- > 0 && R > 0;) {
      const cCmdState& before = state.m_vecCmds[k];
      if (before.m_pCmd && before.m_pCmd->m_cParallel == 1) continue;
      R -= before.m_nDuration;
    }
    if (R <= 0) {
      cue.nStart = cue.nStart2 = static_cast<int32_t>(nBegin - nSteps);
      cue.sLength = static_cast<int16_t>(nFrames);
    } else {
      // It cannot start early enough: from step 0, part-way through.
      const int64_t nSkipped = std::min<int64_t>(R / n, nFrames);
      cue.sSkipped = static_cast<int16_t>(nSkipped);
      cue.sLength = static_cast<int16_t>(nFrames - nSkipped);
    }
    state.m_vecCues.push_back(cue);
  }
}

void cGameObj::StartFlowAnims() {
  for (const cFlowState& state : m_vecFlowStates) {
    if (!state.m_nRunning || state.m_nPaused) continue;
    for (const ANIMCUE& cue : state.m_vecCues) {
      if (cue.nStart != state.m_nStepCount) continue;
      if (cue.sAnime < 0 || static_cast<size_t>(cue.sAnime) >= g_AnimeFrameTable.size()) continue;
      cAnimPlay& play = m_AnimList.emplace_back();
      play.m_nCue = 1;
      play.m_nRemain = cue.sLength;
      play.m_nCmdFrames = cue.sCmdFrames;
      play.m_nSerial = state.m_nSerial;
      play.m_nPaused = 0;
      play.m_Player.m_vecAnims.assign(1, g_AnimeFrameTable[static_cast<size_t>(cue.sAnime)]);
      ANIMESEQUENCE& seq = play.m_Player.m_vecAnims[0];
      if (cue.sCmdFrames >= 2 && cue.bHold)
        for (ANIMESTEP& step : seq)
          if (step.bLock) {
            step.nTicks += cue.sCmdFrames - 1;
            break;
          }
      play.m_Player.Set(0, 1);
      if (cue.sSkipped) play.m_Player.m_nTick += cue.sSkipped;
    }
  }
}
