// The character-effect kinds drawn in both drawing modes: a plain red
// 32 x 32 sprite at (100, 100) of a navy screen, each kind at one value,
// and pixels whose colour follows from the kind's rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "database/database.h"
#include "database/post_load_tables.h"
#include "draw/built_in_tables.h"
#include "stage/chara_obj.h"
#include "stage/sprite_source.h"
#include "support/draw_setup.h"

namespace {

constexpr int kPalNavy = 1, kPalRed = 5, kPalBlue = 6;
constexpr uint32_t kNavy = 0x000080, kRed = 0xFF0000, kBlue = 0x0000FF;
constexpr int X = 100, Y = 100;

struct PROBE {
  int x, y;
  uint32_t dwRgb;
};

struct EFFECTCASE {
  const char* szName;
  int32_t nKind;
  double dValue;
  int32_t p1, p2;
  int nGiant;
  std::vector<PROBE> probes;
};

// One drawing mode with the surfaces the handlers use.
class cEffectStage {
 public:
  explicit cEffectStage(int bDirect3D) : m_Drawing(bDirect3D, 32) {
    cHeadlessDrawing::SetColours({{kPalNavy, kNavy}, {kPalRed, kRed}, {kPalBlue, kBlue}});
    // The work surfaces, as the play scene's table makes them.
    for (int n = 67; n <= 70; ++n) {
      const DDIMAGEDATA& d = g_ImageTable[n];
      EXPECT_TRUE(DDCreateSurface(&g_SurfaceTable[n], d.nBlankWidth, d.nBlankHeight, 1, d.nMemory,
                                  d.nMemoryType, 0, 0));
    }
    EXPECT_TRUE(DDCreateSurface(&m_First, 64, 64, 1, 0, 0, 0, 0));
    EXPECT_TRUE(DDCreateSurface(&m_Second, 64, 64, 1, 1, DTMEMORYTYPE_SYSTEM, 0, 0));
    for (DDSURFACEDATA* p : {&m_First, &m_Second}) DDFillRect(p, 0, 0, 32, 32, kPalRed);
  }
  ~cEffectStage() {
    for (int n = 67; n <= 70; ++n) DDReleaseSurface(&g_SurfaceTable[n]);
    DDReleaseSurface(&m_First);
    DDReleaseSurface(&m_Second);
  }

  SPRITEDATA Sprite() {
    SPRITEDATA s;
    s.lpFirst = s.lpOppFirst = &m_First;
    s.lpSecond = s.lpOppSecond = &m_Second;
    return s;
  }

  cHeadlessDrawing m_Drawing;
  DDSURFACEDATA m_First, m_Second;
};

void DefineEffect(int32_t nKind, int32_t p1, int32_t p2) {
  Database.SetDefault();
  cEdCharaEffect& def = Database.m_vecCharaEffect[1];
  def.m_nKind = nKind;
  def.m_anParam[0] = 10;
  def.m_anParam[1] = 0;
  def.m_anParam[2] = 100;
  def.m_anParam[3] = p1;
  def.m_anParam[4] = p2;
  Database.MakeAltLists();
  BuildCharaEffectTables(g_CharaEffectRunTable, g_CharaEffectRunTableAlt);
}

void Place(cGameObj& o, int g) {
  o.m_Def.m_cGiant = static_cast<uint8_t>(g);
  o.m_nScrLeft = X;
  o.m_nScrTop = Y;
  o.m_nBaseDrawW = o.m_nBaseDrawH = 32;
  o.m_nDrawW = o.m_nDrawH = 32 * g;
}

bool Near(uint32_t a, uint32_t b, int nTolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > nTolerance) return false;
  return true;
}

const std::vector<EFFECTCASE>& Cases() {
  static const std::vector<EFFECTCASE> cases = {
      {"plain",
       0,
       0,
       0,
       0,
       1,
       {{100, 100, kRed}, {131, 131, kRed}, {99, 100, kNavy}, {132, 131, kNavy}}},
      // Quarters 16 x 16 moved 10 out on both axes.
      {"burst",
       1,
       10,
       0,
       0,
       1,
       {{90, 90, kRed},
        {105, 105, kRed},
        {106, 106, kNavy},
        {126, 126, kRed},
        {141, 141, kRed},
        {142, 90, kNavy}}},
      // Giant factor 2: the 64-pixel sprite's quarters move 20 out.
      {"giant burst",
       1,
       10,
       0,
       0,
       2,
       {{80, 80, kRed}, {111, 111, kRed}, {112, 112, kNavy}, {152, 152, kRed}, {183, 183, kRed}}},
      // Strips of ceil(32 / 4) = 8 rows, the first moved right by 8, the
      // second left.
      {"split across",
       2,
       8,
       4,
       0,
       1,
       {{107, 100, kNavy}, {108, 100, kRed}, {139, 107, kRed}, {92, 108, kRed}, {124, 108, kNavy}}},
      {"split down",
       3,
       8,
       4,
       0,
       1,
       {{100, 107, kNavy}, {100, 108, kRed}, {107, 139, kRed}, {108, 92, kRed}, {108, 124, kNavy}}},
      {"flat wave", 4, 0, 2, 2, 1, {{100, 100, kRed}, {131, 131, kRed}, {132, 116, kNavy}}},
      {"flat wave down", 5, 0, 2, 2, 1, {{100, 100, kRed}, {131, 131, kRed}, {116, 132, kNavy}}},
      // Hidden for the first frames.
      {"blink", 6, 0, 0, 0, 1, {{116, 116, kNavy}, {100, 100, kNavy}}},
      {"rotation A at 0", 7, 0, 0, 0, 1, {{100, 100, kRed}, {131, 131, kRed}, {132, 116, kNavy}}},
      {"rotation B at 0", 8, 0, 0, 0, 1, {{100, 100, kRed}, {131, 131, kRed}, {132, 116, kNavy}}},
      // A quarter turn of a card: 8 pixels in from each side.
      {"turning card",
       9,
       8,
       0,
       0,
       1,
       {{107, 116, kNavy}, {108, 116, kRed}, {123, 116, kRed}, {124, 116, kNavy}}},
      {"circle of 0", 10, 0, 2, 0, 1, {{116, 116, kNavy}, {100, 100, kNavy}}},
      {"circle of 32", 10, 32, 2, 0, 1, {{100, 100, kRed}, {131, 131, kRed}, {116, 116, kRed}}},
      // 64 wide around the same centre.
      {"zoom to 64",
       11,
       64,
       0,
       0,
       1,
       {{84, 84, kRed}, {147, 147, kRed}, {83, 116, kNavy}, {148, 116, kNavy}}},
      {"zoom at 32", 11, 32, 0, 0, 1, {{100, 100, kRed}, {131, 131, kRed}, {99, 116, kNavy}}},
      {"lens", 12, 100, 0, 0, 1, {{116, 116, kRed}, {150, 150, kNavy}}},
      {"mosaic", 15, 4, 0, 0, 1, {{100, 100, kRed}, {131, 131, kRed}, {132, 131, kNavy}}},
      {"blur", 16, 2, 0, 0, 1, {{116, 116, kRed}, {140, 116, kNavy}}},
  };
  return cases;
}

void RunCases(int bDirect3D) {
  cEffectStage stage(bDirect3D);
  for (const EFFECTCASE& c : Cases()) {
    DefineEffect(c.nKind, c.p1, c.p2);
    cCharaObj o;
    Place(o, c.nGiant);
    o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
    o.m_CharaEffect.m_dValue = c.dValue;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, kPalNavy);
    SPRITEDATA s = stage.Sprite();
    EXPECT_EQ(o.RunCharaEffect(&BackBuffer, &s, 1, 1), 0) << c.szName;
    for (const PROBE& p : c.probes)
      EXPECT_EQ(cHeadlessDrawing::Rgb(&BackBuffer, p.x, p.y), p.dwRgb)
          << c.szName << " at " << p.x << "," << p.y << (bDirect3D ? " (device)" : "");
  }
}

class CharaEffectKinds : public testing::Test {
 protected:
  void TearDown() override {
    Database.SetDefault();
    g_CharaEffectRunTable.clear();
    g_CharaEffectRunTableAlt.clear();
  }
};

TEST_F(CharaEffectKinds, PixelRulesInDirectDraw) { RunCases(0); }

TEST_F(CharaEffectKinds, PixelRulesOnTheDevice) { RunCases(1); }

TEST_F(CharaEffectKinds, MixingKindsMoveTowardTheColour) {
  for (int bDirect3D : {0, 1}) {
    cEffectStage stage(bDirect3D);
    // Colour change level 1 toward blue, and the translucent first frames:
    // each half-way (the device's factors round a little differently).
    DefineEffect(13, kPalBlue, 0);
    cCharaObj o;
    Place(o, 1);
    o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
    o.m_CharaEffect.m_dValue = 1;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, kPalNavy);
    SPRITEDATA s = stage.Sprite();
    o.RunCharaEffect(&BackBuffer, &s, 1, 1);
    EXPECT_TRUE(Near(cHeadlessDrawing::Rgb(&BackBuffer, 116, 116), 0x7F007F, 2))
        << std::hex << cHeadlessDrawing::Rgb(&BackBuffer, 116, 116) << " mode " << bDirect3D;

    DefineEffect(14, 0, 0);
    o.m_CharaEffect.Start(1, EFFECTRUN_NORMAL, 0);
    DDFillRect(&BackBuffer, 0, 0, 640, 480, kPalNavy);
    o.RunCharaEffect(&BackBuffer, &s, 1, 1);
    EXPECT_TRUE(Near(cHeadlessDrawing::Rgb(&BackBuffer, 116, 116), 0x7F0040, 2))
        << std::hex << cHeadlessDrawing::Rgb(&BackBuffer, 116, 116) << " mode " << bDirect3D;
  }
}

}  // namespace
