// Palette cycling: the bouncing channels of the device's colour table, the
// rotation of the 8-bit palette's shimmering block, and nothing elsewhere.
#include "scenes/palette_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "files/system_data.h"
#include "support/draw_setup.h"

namespace {

class PaletteCycling : public testing::Test {
 protected:
  void SetUp() override {
    m_Saved = g_SystemData;
    g_PaletteCycle = PALETTECYCLE{};
    for (DDBLTCOLOR& c : g_CycleColorTable) c = DDBLTCOLOR{};
    g_SystemData.m_nCycleStep = 16;
  }
  void TearDown() override {
    g_SystemData = m_Saved;
    g_PaletteCycle = PALETTECYCLE{};
  }
  cSystemData m_Saved;
};

uint32_t Red(uint32_t c) { return (c >> 16) & 0xFF; }

TEST_F(PaletteCycling, PingPongNeverTakesItsBounds) {
  int v = 0, d = 0;
  std::vector<int> seen;
  std::vector<int> turnsAtMin;
  for (int i = 0; i < 34; ++i) {
    if (PingPong(v, d, 16, 0, 255)) turnsAtMin.push_back(i);
    seen.push_back(v);
  }
  // 16 .. 240, held at 240 for one call, down to 16, held there, up again.
  std::vector<int> want;
  for (int x = 16; x <= 240; x += 16) want.push_back(x);
  want.push_back(240);
  for (int x = 224; x >= 16; x -= 16) want.push_back(x);
  want.push_back(16);
  want.push_back(32);
  want.push_back(48);
  want.push_back(64);
  EXPECT_EQ(seen, want);
  EXPECT_EQ(turnsAtMin, (std::vector<int>{30}));
  // A step from data cannot overflow.
  int big = 2147483000, dir = 0;
  EXPECT_EQ(PingPong(big, dir, 2147483000, 0, 2147483647), 0);
  EXPECT_EQ(big, 2147483000);
  EXPECT_EQ(dir, 1);
}

TEST_F(PaletteCycling, DeviceTableShowsEachChannelBeforeItsStep) {
  cHeadlessDrawing drawing(1, 32);
  std::vector<int> reds;
  int nHueChanges = 0;
  uint32_t lastHue = 0;
  for (int i = 0; i < 40; ++i) {
    CyclePalette();
    reds.push_back(static_cast<int>(Red(g_CycleColorTable[3].dwColor)));
    const uint32_t c9 = g_CycleColorTable[9].dwColor;
    const uint32_t hue = (Red(c9) ? 1u : 0u) | ((c9 >> 8) & 0xFF ? 2u : 0u) | (c9 & 0xFF ? 4u : 0u);
    if (hue && lastHue && hue != lastHue) ++nHueChanges;
    if (hue) lastHue = hue;
  }
  EXPECT_EQ(reds[0], 0);
  EXPECT_EQ(reds[1], 16);
  EXPECT_EQ(reds[15], 240);
  EXPECT_EQ(reds[16], 240);
  EXPECT_EQ(reds[17], 224);
  // One bottom turn of channel 8 in 40 calls: the rainbow moved on once.
  EXPECT_EQ(g_PaletteCycle.nRainbow, 1);
  EXPECT_EQ(nHueChanges, 1);
  EXPECT_EQ(g_CycleColorTable[1].nColorOp, 7);
  EXPECT_EQ(g_CycleColorTable[2].nColorOp, 10);
  EXPECT_EQ(g_CycleColorTable[1].dwColor >> 24, 0xFFu);
}

TEST_F(PaletteCycling, EightBitPaletteTurnsEverySixthCall) {
  struct {
    const char* szName;
    int nBpp;
    int bFlag;
    bool bTurns;
  } cases[] = {
      {"8 bits with the flag", 8, 1, true},
      {"8 bits without the flag", 8, 0, false},
      {"32 bits with the flag", 32, 1, false},
  };
  for (const auto& c : cases) {
    cHeadlessDrawing drawing(0, c.nBpp);
    g_SystemData.m_bPaletteCycle = c.bFlag;
    g_PaletteCycle = PALETTECYCLE{};
    for (int i = 0; i < 256; ++i) g_DD.DisplayPalette[size_t(i)] = {uint8_t(i), 0, 0, 0};
    std::vector<int> changedAt;
    for (int call = 1; call <= 13; ++call) {
      const uint8_t before = g_DD.DisplayPalette[208].byRed;
      CyclePalette();
      if (g_DD.DisplayPalette[208].byRed != before) changedAt.push_back(call);
    }
    if (c.bTurns) {
      EXPECT_EQ(changedAt, (std::vector<int>{6, 12})) << c.szName;
      // Each group of four turned once toward lower indexes, twice now.
      EXPECT_EQ(g_DD.DisplayPalette[208].byRed, 210) << c.szName;
      EXPECT_EQ(g_DD.DisplayPalette[211].byRed, 209) << c.szName;
      EXPECT_EQ(g_DD.DisplayPalette[240].byRed, 240) << c.szName;
    } else {
      EXPECT_TRUE(changedAt.empty()) << c.szName;
    }
  }
}

}  // namespace
