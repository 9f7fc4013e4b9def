// Polling the pad: the fixed map, the configured map and absent joysticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "input/input.h"
#include "platform/input/joystick.h"
#include "platform/input/keyboard.h"
#include "tests/input/input_fake_source.h"

namespace {

constexpr int VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40;

JOYREADING Stick(uint32_t x, uint32_t y, uint32_t buttons = 0) {
  JOYREADING r;
  r.dwXpos = x;
  r.dwYpos = y;
  r.dwButtons = buttons;
  return r;
}

cInput PolledInput() {
  cInput in;
  in.SetRepeat(18, 6);
  in.InitJoyMasks();
  return in;
}

class InputPollTest : public testing::Test {
 protected:
  void SetUp() override { SetDefaultKeyConfig(g_KeyConfig); }
  void TearDown() override { SetDefaultKeyConfig(g_KeyConfig); }
  cFakeInputSource src;
};

struct FixedCase {
  const char* name;
  std::vector<int> keys;
  bool bJoystick;
  JOYREADING joy;
  uint16_t wDir;
  int nNumpad;
  uint16_t wButton;
};

TEST_F(InputPollTest, FixedMapCombinesKeyboardAndJoystick) {
  const JOYREADING centre = Stick(32767, 32767);
  const FixedCase cases[] = {
      {"nothing held", {}, false, centre, 0, 5, 0},
      {"opposite arrows cancel in the numpad", {VK_LEFT, VK_RIGHT}, false, centre, 3, 5, 0},
      {"up and right", {VK_UP, VK_RIGHT}, false, centre, 6, 3, 0},
      {"Z and F", {'Z', 'F'}, false, centre, 0, 5, 129},
      {"all letters", {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'}, false, centre, 0, 5, 255},
      {"centred stick, pad button 2: arrows steer, letters ignored",
       {VK_DOWN, 'Z'},
       true,
       Stick(32767, 32767, 2),
       8,
       8,
       2},
      {"deflected stick beats the arrows", {VK_RIGHT, 'X'}, true, Stick(10000, 55535), 9, 7, 2},
      {"stick just inside the dead zone", {}, true, Stick(10001, 55534), 0, 5, 0},
      {"stick up-right", {}, true, Stick(65535, 0), 6, 3, 0},
  };
  for (const FixedCase& c : cases) {
    SCOPED_TRACE(c.name);
    src.bKeys.fill(false);
    for (int k : c.keys) src.bKeys[k] = true;
    src.joysticks.clear();
    if (c.bJoystick) src.joysticks[0] = c.joy;
    cInput in = PolledInput();
    EXPECT_EQ(in.PollFixed(0, 3, 60), 1);
    EXPECT_EQ(in.m_wDir, c.wDir);
    EXPECT_EQ(in.m_nNumpad, c.nNumpad);
    EXPECT_EQ(in.m_wButton, c.wButton);
  }
}

TEST_F(InputPollTest, EachMapPollsOnlyWhenItIsTheChosenOne) {
  cInput in = PolledInput();
  src.bKeys[VK_LEFT] = true;
  g_KeyConfig.bUseConfig = 0;
  EXPECT_EQ(in.PollConfigured(1, 60), 0);
  EXPECT_EQ(in.m_wDir, 0);
  g_KeyConfig.bUseConfig = 1;
  EXPECT_EQ(in.PollFixed(0, 3, 60), 0);
  EXPECT_EQ(in.m_wDir, 0);
  EXPECT_EQ(in.PollConfigured(1, 60), 1);
  EXPECT_EQ(in.m_wDir, DIR_LEFT);
}

struct SlotSet {
  int nSlot;
  int nDevice;
  uint16_t wCode;
};

struct ConfiguredCase {
  const char* name;
  std::vector<SlotSet> slots;  // changes to the default configuration
  int nSlots;
  int nJoysticks;
  std::vector<int> keys;
  JOYREADING joy0;
  uint16_t wDir;
  int nNumpad;
  uint16_t wButton;
};

TEST_F(InputPollTest, ConfiguredMapReadsEachSlot) {
  const JOYREADING centre = Stick(32767, 32767);
  const ConfiguredCase cases[] = {
      {"left wins over right", {}, 12, 1, {VK_LEFT, VK_RIGHT}, centre, DIR_LEFT, 4, 0},
      {"up wins over down",
       {},
       12,
       1,
       {VK_UP, VK_DOWN, VK_RIGHT},
       centre,
       DIR_UP | DIR_RIGHT,
       3,
       0},
      {"keyboard buttons", {}, 12, 1, {'Z', 'F'}, centre, 0, 5, 129},
      {"stick-left slot by axis", {{0, 0, 256}}, 12, 1, {}, Stick(10000, 32767), DIR_LEFT, 4, 0},
      {"stick-left slot by pad button 9",
       {{0, 0, 256}},
       12,
       1,
       {},
       Stick(32767, 32767, 256),
       DIR_LEFT,
       4,
       0},
      {"stick-left slot, stick centred", {{0, 0, 256}}, 12, 1, {}, centre, 0, 5, 0},
      {"pad button mask", {{4, 0, 1 | 4}}, 12, 1, {}, Stick(32767, 32767, 4), 0, 5, 1},
      {"device beyond the counted pads", {{4, 1, 1}}, 12, 1, {}, Stick(32767, 32767, 1), 0, 5, 0},
      {"device number out of any range",
       {{4, 99, 1}, {5, -3, 1}},
       12,
       1,
       {},
       Stick(32767, 32767, 1),
       0,
       5,
       0},
      {"no pads counted", {{4, 0, 1}}, 12, 0, {}, Stick(32767, 32767, 1), 0, 5, 0},
      {"six slots give two buttons", {}, 6, 1, {'Z', 'X', 'C'}, centre, 0, 5, 3},
      {"slot count above twelve stops at button 8", {}, 13, 1, {'F'}, centre, 0, 5, 128},
  };
  for (const ConfiguredCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetDefaultKeyConfig(g_KeyConfig);
    g_KeyConfig.bUseConfig = 1;
    g_KeyConfig.nSlots = c.nSlots;
    g_KeyConfig.nJoysticks = c.nJoysticks;
    for (const SlotSet& s : c.slots) {
      g_KeyConfig.Slot[s.nSlot].nDevice = s.nDevice;
      g_KeyConfig.Slot[s.nSlot].wCode = s.wCode;
    }
    src.bKeys.fill(false);
    for (int k : c.keys) src.bKeys[k] = true;
    src.joysticks.clear();
    src.joysticks[0] = c.joy0;
    src.joysticks[1] = c.joy0;
    cInput in = PolledInput();
    ASSERT_EQ(in.PollConfigured(1, 60), 1);
    EXPECT_EQ(in.m_wDir, c.wDir);
    EXPECT_EQ(in.m_nNumpad, c.nNumpad);
    EXPECT_EQ(in.m_wButton, c.wButton);
  }
}

TEST_F(InputPollTest, AxisCodesHoldAtTheirThresholds) {
  struct {
    uint32_t x, y;
    uint16_t wCode;
    int nExpected;
  } const cases[] = {
      {10000, 32767, 256, 1}, {10001, 32767, 256, 0}, {55535, 32767, 512, 1},
      {55534, 32767, 512, 0}, {32767, 0, 1024, 1},    {32767, 65535, 2048, 1},
      {0, 0, 1, 0},  // a button mask is no axis code
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cInput::TestJoyAxis(Stick(c.x, c.y), c.wCode), c.nExpected)
        << c.x << "," << c.y << " code " << c.wCode;
  }
}

// Frames (1-based) on which a pad was read over a run of frames.
std::vector<int> ReadFrames(cFakeInputSource& src, int nJoystick, int nFrames,
                            const std::function<void()>& poll) {
  std::vector<int> frames;
  for (int f = 1; f <= nFrames; ++f) {
    int nBefore = src.nReads[nJoystick];
    poll();
    if (src.nReads[nJoystick] != nBefore) frames.push_back(f);
  }
  return frames;
}

TEST_F(InputPollTest, AbsentJoystickIsRetriedEvery121Frames) {
  cInput in = PolledInput();
  EXPECT_EQ(ReadFrames(src, 0, 250, [&] { in.PollFixed(0, 3, 60); }),
            (std::vector<int>{1, 122, 243}));
  EXPECT_EQ(in.m_bJoyPresent[0], 0);
}

TEST_F(InputPollTest, AnAbsentJoystickDoesNotSlowAnotherOne) {
  g_KeyConfig.bUseConfig = 1;
  g_KeyConfig.nJoysticks = 3;
  g_KeyConfig.Slot[4] = KEYSLOT{1, 1, 0};
  src.joysticks[1] = Stick(32767, 32767, 1);  // pads 0 and 2 are unplugged
  cInput in = PolledInput();
  std::vector<uint16_t> buttons;
  for (int f = 0; f < 130; ++f) {
    in.PollConfigured(1, 60);
    buttons.push_back(in.m_wButton);
  }
  EXPECT_EQ(src.nReads[0], 2);
  EXPECT_EQ(src.nReads[1], 130);
  EXPECT_EQ(src.nReads[2], 2);
  EXPECT_EQ(std::count(buttons.begin(), buttons.end(), 1), 130);
  EXPECT_EQ(in.m_bJoyPresent[1], 1);

  // Plugging pad 0 in is noticed at its next retry.
  src.joysticks[0] = Stick(0, 32767);
  g_KeyConfig.Slot[0] = KEYSLOT{0, 256, 0};
  int nFirstLeft = 0;
  for (int f = 131; f <= 250 && !nFirstLeft; ++f) {
    in.PollConfigured(1, 60);
    if (in.m_wDir & DIR_LEFT) nFirstLeft = f;
  }
  EXPECT_EQ(nFirstLeft, 243);
}

TEST_F(InputPollTest, ResetAndClearButtons) {
  cInput in = PolledInput();
  in.m_wDir = 5;
  in.m_nNumpad = 1;
  in.m_wButton = 9;
  in.Reset();
  EXPECT_EQ(in.m_wDir, 0);
  EXPECT_EQ(in.m_nNumpad, 5);
  EXPECT_EQ(in.m_wButton, 9);
  in.ClearButtons();
  EXPECT_EQ(in.m_wButton, 0);
  struct {
    uint16_t wDir;
    int nNumpad;
  } const numpad[] = {{0, 5}, {1, 4}, {2, 6}, {3, 4}, {4, 2}, {8, 8}, {12, 2}, {15, 1}, {10, 9}};
  for (const auto& c : numpad) EXPECT_EQ(cInput::DirToNumpad(c.wDir), c.nNumpad) << c.wDir;
}

// Without a scripted source the pad reads the platform's keyboard table and
// pad snapshots.
TEST(InputPlatformTest, DefaultSourceReadsThePlatformKeyboardAndPads) {
  SetDefaultKeyConfig(g_KeyConfig);
  plat::SetKeyDown(plat::VK_LEFT, true);
  plat::SetKeyDown('Z', true);
  plat::JOYSTATE pad;
  pad.dwButtons = 2;
  plat::SetJoystickState(0, &pad);
  cInput in;
  in.InitJoyMasks();
  in.PollFixed(0, 3, 60);
  plat::SetJoystickState(0, nullptr);
  plat::ReleaseAllKeys();
  EXPECT_EQ(in.m_wDir, DIR_LEFT);
  EXPECT_EQ(in.m_wButton, 2);  // the pad's button beats the letter key
  EXPECT_EQ(in.m_bJoyPresent[0], 1);
}
}  // namespace
