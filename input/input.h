// One player's pad: four direction bits and eight button bits, polled once a
// frame from the keyboard and joysticks, with the histories the play scene
// and the flow conditions read and the filters the menus use.
#pragma once

#include <array>
#include <cstdint>

#include "base/safe_vector.h"
#include "input/input_source.h"
#include "input/key_config.h"

// Direction bits.
constexpr uint16_t DIR_LEFT = 1;
constexpr uint16_t DIR_RIGHT = 2;
constexpr uint16_t DIR_UP = 4;
constexpr uint16_t DIR_DOWN = 8;

// Axis thresholds on the 0..65535 range of a joystick reading.
constexpr uint32_t JOY_AXIS_LOW = 10000;
constexpr uint32_t JOY_AXIS_HIGH = 55535;

constexpr int INPUT_HISTORY_RUNS = 32;
constexpr int INPUT_EDGE_RUNS = 32;
constexpr int INPUT_DIR_LOGS = 10;
constexpr int INPUT_BUTTON_LOGS = 9;

// A run of equal values in a history ring.
struct INPUTRUN {
  uint16_t wValue = 0;
  int32_t nLength = 0;
};

// A run of one pressed/released state in an edge log.
struct EDGERUN {
  int32_t nState = 0;  // 0 released, 1 pressed
  int32_t nLength = 0;
};

using cEdgeLog = std::array<EDGERUN, INPUT_EDGE_RUNS>;  // newest run first

class cInput {
 public:
  uint16_t m_wDir = 0;
  uint16_t m_wButton = 0;
  uint16_t m_wDirHistory = 0;  // raw directions, 4 bits a frame, newest lowest
  std::array<INPUTRUN, INPUT_HISTORY_RUNS> m_DirRuns{};
  std::array<INPUTRUN, INPUT_HISTORY_RUNS> m_ButtonRuns{};
  int32_t m_nDirCursor = 0;  // the newest run
  int32_t m_nButtonCursor = 0;
  std::array<cEdgeLog, INPUT_DIR_LOGS> m_DirLogs{};
  std::array<cEdgeLog, INPUT_BUTTON_LOGS> m_ButtonLogs{};
  int32_t m_nNumpad = 5;  // direction as a numeric-keypad digit, 5 neutral
  uint32_t m_dwRepeatH = 0;
  uint32_t m_dwRepeatV = 0;
  int32_t m_nRepeatDelay = 0;
  int32_t m_nRepeatInterval = 0;
  int32_t m_bTriggerLatch = 0;
  std::array<uint16_t, 8> m_wJoyMask{};
  // Kept per joystick, so an unplugged pad never slows the reading of another.
  std::array<int32_t, KEYCONFIG_MAX_JOYSTICKS> m_bJoyPresent{};
  std::array<int32_t, KEYCONFIG_MAX_JOYSTICKS> m_nJoyRetry{};

  void InitJoyMasks();
  void SetRepeat(int nDelay, int nInterval);

  // Keyboard arrows and Z X C V A S D F plus one joystick; flags bit 0 reads
  // the joystick, bit 1 the keyboard. 0 without polling when the key
  // configuration is switched on.
  int PollFixed(int nJoystick, int nFlags, int nRetryDelay);
  // The slots of the key configuration; 0 without polling when it is off.
  int PollConfigured(int nPlayers, int nRetryDelay);
  static int TestJoyAxis(const JOYREADING& reading, uint16_t wCode);
  static int DirToNumpad(uint16_t wDir);

  void Reset();
  void ClearButtons();

  void ClearHistory();
  void PushHistory();
  uint16_t GetPastValue(int nChannel, int nFramesBack) const;

  void TrimLogs();
  void UpdateLogs();
  static void LogEdge(cEdgeLog& log, uint16_t wValue, uint16_t wKey, int bMask);

  void ApplyRepeat();
  void TriggerButtons(uint16_t wMask);

 private:
  // Reads joystick n unless it is in its retry pause; the presence flag and
  // the pause follow the result.
  bool PollJoystick(int nJoystick, int nRetryDelay, JOYREADING& reading);
};

// The players' pads; element 0 is player 1.
extern cSafeVector<cInput> g_Input;
