// The run state of one flow of a character and the instance of each of its
// commands: what the flow engine keeps while a flow runs. The objects hold
// these records; the engine that starts, steps and stops them is in
// flow_engine.h.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "base/safe_vector.h"
#include "flow/flow.h"

class cGameObj;
class cFlowState;
class cPlayScene;

// A remembered position of a homing movement.
struct POSITIOND {
  double dX = 0;
  double dY = 0;
};

// One command of a running flow.
class cCmdState {
 public:
  // First preparation when the command is reached in its run (the run's
  // pending bindings change the command first), and one update step for the
  // run's owner; Step gives 1 when the command has finished.
  void Init(cGameObj& owner, cFlowState& run, cPlayScene& scene);
  int Step(cGameObj& owner, cFlowState& run, cPlayScene& scene);

  cFlowCmd* m_pCmd = nullptr;  // the character's own copy of the command
  int32_t m_nDone = 0;         // finished in this run
  int32_t m_nDuration = 0;     // update steps the command lasts
  int32_t m_nRemain = 0;       // steps left; 0 not started (or finished)
  uint8_t m_cDir = 0;          // resolved direction, or the turning sense
  // Movement state of the movement commands.
  int32_t m_nDX = 0;  // target offsets
  int32_t m_nDY = 0;
  double m_dSpeed = 0;  // dots per step; a jump's start speed
  int32_t m_nAngle = 0;
  double m_dVX = 0;  // velocity this command gives
  double m_dVY = 0;
  int32_t m_nFaceResult = 0;  // 0 keep, 1 face left, 2 face right
  int32_t m_nCount = 0;       // steps run
  int32_t m_nStarted = 0;     // a jump was started
  double m_dSpeedCap = 0;     // of an accelerated movement
  int32_t m_nPrevFacing = 0;
  int32_t m_nJumpDone = 0;  // this jump instance may not start another jump
  std::list<POSITIOND> m_lstPositions;
  // Set when the run state is built: a circle's radius and its start and
  // end phases (degrees), all times the update steps per frame, and a
  // homing movement's re-aiming period in steps.
  int32_t m_nRadiusN = 0;
  int32_t m_nStartPhase = 0;
  int32_t m_nEndPhase = 0;
  int32_t m_nHomingDelay = 0;
  double m_dPhaseX = 0;  // a circle's running phases
  double m_dPhaseY = 0;
  int32_t m_anWork[11] = {};  // per-kind scratch of the other command bodies
};

// An animation a flow starts when its step count reaches nStart.
struct ANIMCUE {
  int32_t nStart = 0;
  int32_t nStart2 = 0;
  int16_t sAnime = 0;      // database animation
  int16_t sSkipped = 0;    // frames already run when it starts
  int16_t sLength = 0;     // frames of the animation
  int16_t sCmdFrames = 0;  // frames of its command
  int32_t bHold = 0;       // its hold frame lasts the command's time
};

// One flow of a character as it runs.
class cFlowState {
 public:
  // Start and stepping (Step gives 1 when the flow has ended); Stop gives 0
  // when it was not running. The character is the flow's owner.
  void Start(cGameObj& owner, cPlayScene& scene);
  int Step(cGameObj& owner, cPlayScene& scene);
  int Stop(cGameObj& chara);
  void Halt(cGameObj& chara);
  void Pause() { m_nPaused = 1; }
  void Resume() { m_nPaused = 0; }

  int32_t m_nIndex = 0;      // of its flow in the character's flow list
  int32_t m_nSerial = 0;     // tags the animations the run starts
  cFlow* m_pFlow = nullptr;  // the character's own copy of the flow
  uint8_t m_cCondLatch = 0;  // the flow's conditions held once
  std::vector<cKeyCond*> m_vecKeys;
  int32_t m_nKeyMatched = 0;
  int32_t m_nKeyHeld = 0;
  cSafeVector<cCmdState> m_vecCmds;
  std::vector<ANIMCUE> m_vecCues;
  int32_t m_nRunning = 0;
  int32_t m_nPaused = 0;
  int32_t m_nHalted = 0;
  int32_t m_nRemoval = 0;  // erase this flow at the end of the character's step
  int32_t m_nCurrent = 0;  // first command not yet passed
  int32_t m_nStepCount = 0;
  int32_t m_nInputDir = 0;  // input direction channel when the flow started
  int32_t m_nFiredThisFrame = 0;
  int32_t m_nStartedThisFrame = 0;
  int32_t m_nMessageShown = 0;
  int32_t m_nBreak = 0;
  // Counts the run's starts, so that a step sees one of its own commands
  // start the run again.
  uint32_t m_nStarts = 0;
  // Bindings left by an "アレンジ" command for the next command: five values
  // each (kind, setting, operation, source, variable).
  std::list<cSafeVector<int32_t>> m_lstBinds;
};
