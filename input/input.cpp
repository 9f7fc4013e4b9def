// Polling, histories, edge logs and menu filters of the pad.
#include "input/input.h"

#include <climits>

#include "base/global_order.h"

GLOBAL_OBJECT(GLOBAL_INPUT) cSafeVector<cInput> g_Input(1);

namespace {

// Windows virtual-key codes of the fixed map.
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
constexpr int kFixedButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};

void Lengthen(int32_t& nLength) {
  if (nLength != INT_MAX) ++nLength;
}

}  // namespace

void cInput::InitJoyMasks() {
  for (int i = 0; i < 8; ++i) m_wJoyMask[i] = static_cast<uint16_t>(1u << i);
}

void cInput::SetRepeat(int nDelay, int nInterval) {
  m_nRepeatDelay = nDelay;
  m_nRepeatInterval = nInterval;
}

bool cInput::PollJoystick(int nJoystick, int nRetryDelay, JOYREADING& reading) {
  if (nJoystick < 0 || nJoystick >= KEYCONFIG_MAX_JOYSTICKS) return false;
  if (!m_bJoyPresent[nJoystick] && m_nJoyRetry[nJoystick] > 0) {
    --m_nJoyRetry[nJoystick];
    return false;
  }
  if (!ReadJoystick(nJoystick, reading)) {
    // A missing pad is tried again after a pause, so one plugged in during
    // play is picked up within a couple of seconds without a read per frame.
    m_bJoyPresent[nJoystick] = 0;
    m_nJoyRetry[nJoystick] = 2 * nRetryDelay;
    return false;
  }
  m_bJoyPresent[nJoystick] = 1;
  return true;
}

int cInput::PollFixed(int nJoystick, int nFlags, int nRetryDelay) {
  if (g_KeyConfig.bUseConfig) return 0;
  bool bStickDeflected = false;
  bool bJoyButtons = false;
  JOYREADING joy;
  if (PollJoystick(nJoystick, nRetryDelay, joy) && (nFlags & 1)) {
    m_nNumpad = 5;
    m_wDir = 0;
    if (joy.dwXpos <= JOY_AXIS_LOW) {
      m_nNumpad = 4;
      m_wDir |= DIR_LEFT;
    } else if (joy.dwXpos >= JOY_AXIS_HIGH) {
      m_nNumpad = 6;
      m_wDir |= DIR_RIGHT;
    }
    if (joy.dwYpos <= JOY_AXIS_LOW) {
      m_wDir |= DIR_UP;
      m_nNumpad -= 3;
    } else if (joy.dwYpos >= JOY_AXIS_HIGH) {
      m_wDir |= DIR_DOWN;
      m_nNumpad += 3;
    }
    bStickDeflected = m_nNumpad != 5;
    uint16_t wButtons = 0;
    for (int i = 0; i < 8; ++i) {
      if (joy.dwButtons & m_wJoyMask[i]) wButtons |= static_cast<uint16_t>(1u << i);
    }
    m_wButton = wButtons;
    bJoyButtons = wButtons != 0;
  }
  if (!(nFlags & 2)) return 1;

  if (!bStickDeflected) {
    m_wDir = 0;
    m_nNumpad = 5;
    if (IsVirtualKeyDown(VK_LEFT)) {
      m_wDir |= DIR_LEFT;
      m_nNumpad -= 1;
    }
    if (IsVirtualKeyDown(VK_RIGHT)) {
      m_wDir |= DIR_RIGHT;
      m_nNumpad += 1;
    }
    if (IsVirtualKeyDown(VK_UP)) {
      m_wDir |= DIR_UP;
      m_nNumpad -= 3;
    }
    if (IsVirtualKeyDown(VK_DOWN)) {
      m_wDir |= DIR_DOWN;
      m_nNumpad += 3;
    }
  }
  if (!bJoyButtons) {
    m_wButton = 0;
    for (int i = 0; i < 8; ++i) {
      if (IsVirtualKeyDown(kFixedButtonKeys[i])) m_wButton |= static_cast<uint16_t>(1u << i);
    }
  }
  return 1;
}

int cInput::TestJoyAxis(const JOYREADING& reading, uint16_t wCode) {
  switch (wCode) {
    case JOYCODE_LEFT:
      return reading.dwXpos <= JOY_AXIS_LOW;
    case JOYCODE_RIGHT:
      return reading.dwXpos >= JOY_AXIS_HIGH;
    case JOYCODE_UP:
      return reading.dwYpos <= JOY_AXIS_LOW;
    case JOYCODE_DOWN:
      return reading.dwYpos >= JOY_AXIS_HIGH;
    default:
      return 0;
  }
}

int cInput::PollConfigured(int /*nPlayers*/, int nRetryDelay) {
  const KEYCONFIGDATA& kc = g_KeyConfig;
  if (!kc.bUseConfig) return 0;
  const int nJoysticks = ClampedJoystickCount(kc);
  std::array<JOYREADING, KEYCONFIG_MAX_JOYSTICKS> readings{};
  std::array<bool, KEYCONFIG_MAX_JOYSTICKS> bRead{};
  for (int n = 0; n < nJoysticks; ++n) bRead[n] = PollJoystick(n, nRetryDelay, readings[n]);

  // A slot naming a joystick that was not read this frame (absent, paused,
  // or beyond the counted ones) reads as not pressed.
  auto IsSlotDown = [&](int k) {
    const KEYSLOT& slot = kc.Slot[k];
    if (slot.nDevice == KEYCONFIG_KEYBOARD) return IsVirtualKeyDown(slot.wCode);
    if (slot.nDevice < 0 || slot.nDevice >= nJoysticks || !bRead[slot.nDevice]) return false;
    const JOYREADING& joy = readings[slot.nDevice];
    return TestJoyAxis(joy, slot.wCode) != 0 || (slot.wCode & joy.dwButtons) != 0;
  };

  m_nNumpad = 5;
  m_wDir = 0;
  m_wButton = 0;
  if (IsSlotDown(0)) {
    m_wDir |= DIR_LEFT;
    m_nNumpad -= 1;
  } else if (IsSlotDown(1)) {
    m_wDir |= DIR_RIGHT;
    m_nNumpad += 1;
  }
  if (IsSlotDown(2)) {
    m_wDir |= DIR_UP;
    m_nNumpad -= 3;
  } else if (IsSlotDown(3)) {
    m_wDir |= DIR_DOWN;
    m_nNumpad += 3;
  }
  const int nSlots = ClampedSlotCount(kc);
  for (int j = 0; j + 4 < nSlots; ++j) {
    if (IsSlotDown(4 + j)) m_wButton |= static_cast<uint16_t>(1u << j);
  }
  return 1;
}

int cInput::DirToNumpad(uint16_t wDir) {
  int nNumpad = 5;
  if (wDir & DIR_LEFT)
    nNumpad -= 1;
  else if (wDir & DIR_RIGHT)
    nNumpad += 1;
  if (wDir & DIR_UP)
    nNumpad -= 3;
  else if (wDir & DIR_DOWN)
    nNumpad += 3;
  return nNumpad;
}

void cInput::Reset() {
  m_wDir = 0;
  m_nNumpad = 5;
}

void cInput::ClearButtons() { m_wButton = 0; }

void cInput::ClearHistory() {
  m_DirRuns.fill(INPUTRUN{});
  m_ButtonRuns.fill(INPUTRUN{});
  m_nDirCursor = 0;
  m_nButtonCursor = 0;
}

void cInput::PushHistory() {
  auto Push = [](std::array<INPUTRUN, INPUT_HISTORY_RUNS>& runs, int32_t& nCursor,
                 uint16_t wValue) {
    INPUTRUN& newest = runs[nCursor];
    if (newest.wValue == wValue) {
      Lengthen(newest.nLength);
      return;
    }
    nCursor = (nCursor + 1) % INPUT_HISTORY_RUNS;
    runs[nCursor] = INPUTRUN{wValue, 1};
  };
  Push(m_DirRuns, m_nDirCursor, m_wDir);
  Push(m_ButtonRuns, m_nButtonCursor, m_wButton);
}

uint16_t cInput::GetPastValue(int nChannel, int nFramesBack) const {
  const auto& runs = nChannel == 0 ? m_DirRuns : m_ButtonRuns;
  int nCursor = nChannel == 0 ? m_nDirCursor : m_nButtonCursor;
  int64_t nRemaining = static_cast<int64_t>(nFramesBack) + 1;
  for (int i = 0; i < INPUT_HISTORY_RUNS; ++i) {
    // A cleared run holds no frame: the history begins after it, and what
    // came before reads as nothing pressed (a walk on round the ring would
    // come back to the newest run).
    if (nRemaining <= runs[nCursor].nLength || runs[nCursor].nLength == 0) break;
    nRemaining -= runs[nCursor].nLength;
    nCursor = (nCursor + INPUT_HISTORY_RUNS - 1) % INPUT_HISTORY_RUNS;
  }
  return runs[nCursor].wValue;
}

void cInput::TrimLogs() {
  for (cEdgeLog& log : m_DirLogs) log.fill(EDGERUN{});
  for (cEdgeLog& log : m_ButtonLogs) log.fill(EDGERUN{});
}

void cInput::LogEdge(cEdgeLog& log, uint16_t wValue, uint16_t wKey, int bMask) {
  const int32_t nPressed = bMask ? (wValue & wKey) != 0 : wValue == wKey;
  if (nPressed != log[0].nState) {
    for (int i = INPUT_EDGE_RUNS - 1; i > 0; --i) log[i] = log[i - 1];
    log[0] = EDGERUN{nPressed, 1};
  } else {
    Lengthen(log[0].nLength);
  }
}

void cInput::UpdateLogs() {
  // Neutral, the four single directions, the four diagonals, then "any".
  static const uint16_t kDirKeys[9] = {0, 1, 2, 4, 8, 5, 9, 6, 10};
  for (int i = 0; i < 9; ++i) LogEdge(m_DirLogs[i], m_wDir, kDirKeys[i], 0);
  LogEdge(m_DirLogs[9], m_wDir, 15, 1);
  LogEdge(m_ButtonLogs[0], m_wButton, 0, 0);
  for (int i = 1; i < INPUT_BUTTON_LOGS; ++i) {
    LogEdge(m_ButtonLogs[i], m_wButton, static_cast<uint16_t>(1u << (i - 1)), 1);
  }
}

void cInput::ApplyRepeat() {
  const uint16_t wPrev = m_wDirHistory & 15;
  m_wDirHistory = static_cast<uint16_t>((m_wDirHistory << 4) | (m_wDir & 15));
  const uint32_t dwDelay = static_cast<uint32_t>(m_nRepeatDelay);
  // An interval below 1 would divide by zero; it repeats every frame instead.
  const uint32_t dwInterval = m_nRepeatInterval < 1 ? 1u : static_cast<uint32_t>(m_nRepeatInterval);
  auto Filter = [&](uint16_t wMask, uint32_t& dwCounter) {
    if ((m_wDir & wMask) != (wPrev & wMask)) {
      dwCounter = 0;
      return;
    }
    ++dwCounter;
    if (dwCounter < dwDelay || dwCounter % dwInterval != 0) m_wDir &= static_cast<uint16_t>(~wMask);
  };
  Filter(DIR_LEFT | DIR_RIGHT, m_dwRepeatH);
  Filter(DIR_UP | DIR_DOWN, m_dwRepeatV);
}

void cInput::TriggerButtons(uint16_t wMask) {
  if (wMask == 0) wMask = 0xFF;
  const bool bAnyDownOnEntry = (m_wButton & wMask & 0xFF) != 0;
  for (int i = 0; i < 8; ++i) {
    const uint16_t wBit = static_cast<uint16_t>(1u << i);
    if (!(wMask & wBit)) continue;
    if (m_bTriggerLatch == 1 && (m_wButton & wBit)) m_wButton &= static_cast<uint16_t>(~wBit);
    if ((m_wButton & wBit) && m_bTriggerLatch == 0) {
      // The first button of the group to go down passes this frame.
      m_bTriggerLatch = 1;
      return;
    }
  }
  if (!bAnyDownOnEntry)
    m_bTriggerLatch = 0;
  else
    m_wButton &= static_cast<uint16_t>(~(wMask & 0xFF));
}
