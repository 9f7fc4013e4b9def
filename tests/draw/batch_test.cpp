// The scene bracket, the sprite batch's order and runs, the fill batch, the
// software path's transparency test, the virtual back buffer, and the clip
// rules on their own.
#include <gtest/gtest.h>

#include <cstring>

#include "draw/blit.h"
#include "draw/blit_clip.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "platform/gfx/fault_hooks.h"

using namespace drawtest;
using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;

namespace {

// One blit's rectangles as x, y, width, height and source x, y, width, height.
struct BLTRECTS {
  int x = 0, y = 0, nWidth = 0, nHeight = 0;
  int nSrcX = 0, nSrcY = 0, nSrcWidth = 0, nSrcHeight = 0;
};

// DDClipBlt on views of two surfaces with the given visible sizes; the
// rectangles come back clipped.
int ClipRects(bool bD3D, int nDstWidth, int nDstHeight, int nSrcWidth, int nSrcHeight,
              BLTRECTS& r) {
  const plat::gfx::cImageView dst(nullptr, {0, 0, nDstWidth, nDstHeight});
  const plat::gfx::cImageView src(nullptr, {0, 0, nSrcWidth, nSrcHeight});
  DDBLTVIEWS blt{dst.Sub(r.x, r.y, r.nWidth, r.nHeight),
                 src.Sub(r.nSrcX, r.nSrcY, r.nSrcWidth, r.nSrcHeight)};
  const bool bLeft = DDClipBlt(bD3D, dst, src, blt);
  r = {blt.Dst.GetLeft(), blt.Dst.GetTop(), blt.Dst.GetWidth(), blt.Dst.GetHeight(),
       blt.Src.GetLeft(), blt.Src.GetTop(), blt.Src.GetWidth(), blt.Src.GetHeight()};
  return bLeft ? 1 : 0;
}

TEST(DrawClip, RowsOfTheClipRules) {
  struct ROW {
    bool bD3D;
    BLTRECTS in;
    int bLeft;
    BLTRECTS out;
  };
  // Destination 640 x 480, source 32 x 32.
  const ROW rows[] = {
      // 32-pixel sprite at x -10, width 20: 10 columns from source x 10.
      {false, {-10, 0, 20, 32, 0, 0, 20, 32}, 1, {0, 0, 10, 32, 10, 0, 10, 32}},
      // A negative source x cuts the source; the destination does not move.
      {true, {50, 0, 20, 32, -5, 0, 20, 32}, 1, {50, 0, 15, 15, 0, 0, 15, 32}},
      // Right and bottom edges.
      {true, {630, 470, 20, 20, 0, 0, 20, 20}, 1, {630, 470, 10, 10, 0, 0, 10, 10}},
      // Nothing: zero or negative sizes, fully outside.
      {true, {0, 0, 0, 10, 0, 0, 0, 10}, 0, {}},
      {false, {640, 0, 10, 10, 0, 0, 10, 10}, 0, {}},
      {false, {-20, 0, 10, 10, 0, 0, 10, 10}, 0, {}},
      // Direct3D mirrored and scaled: source cut to the picture, destination scaled.
      {true, {0, 0, 64, 32, 32, 0, -40, 32}, 1, {0, 0, 51, 32, 32, 0, -32, 32}},
      // DirectDraw scaled at x < 0: the source moves by the scaled amount.
      {false, {-10, 0, 64, 32, 0, 0, 32, 32}, 1, {0, 0, 54, 32, 5, 0, 27, 32}},
      // DirectDraw refuses mirrored sources.
      {false, {0, 0, 32, 32, 32, 0, -32, 32}, 0, {}},
  };
  int nRow = 0;
  for (const ROW& r : rows) {
    SCOPED_TRACE(nRow++);
    BLTRECTS rc = r.in;
    EXPECT_EQ(ClipRects(r.bD3D, 640, 480, 32, 32, rc), r.bLeft);
    if (!r.bLeft) continue;
    EXPECT_EQ(std::vector<int>({rc.x, rc.y, rc.nWidth, rc.nSrcX, rc.nSrcY, rc.nSrcWidth}),
              std::vector<int>(
                  {r.out.x, r.out.y, r.out.nWidth, r.out.nSrcX, r.out.nSrcY, r.out.nSrcWidth}));
  }
  // A 1000-pixel picture at x -100: 640 columns from source column 100.
  BLTRECTS wide{-100, 0, 1000, 10, 0, 0, 1000, 10};
  ASSERT_EQ(ClipRects(false, 640, 480, 1000, 10, wide), 1);
  EXPECT_EQ(wide.nWidth, 640);
  EXPECT_EQ(wide.nSrcX, 100);
}

class cBatchTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    ASSERT_TRUE(InitMode(kModes[5]));
    const uint32_t colours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
      const std::string strPath =
          WriteBmp("s" + std::to_string(i) + ".bmp", SolidBmp(4, 4, colours[i]));
      ASSERT_EQ(
          DDCreateSurfaceFromFile(&m_Src[i], strPath.c_str(), 0, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
    }
    DDFillSurfaceColor(&BackBuffer, 0xFF000000);
  }
  void TearDown() override {
    for (auto& sd : m_Src) DDReleaseSurface(&sd);
    ShutDown();
  }
  // Blits A1 B1 A2 C1, each at the given x (all at 0 when bSameSpot).
  void SubmitABAC(bool bSort, bool bSameSpot) {
    DDBatchBegin(bSort);
    DDBatchRegister(&A());
    DDBatchRegister(&B());
    DDBatchRegister(&A());  // already registered: no change
    const int xs[4] = {0, 10, 20, 30};
    DDSURFACEDATA* srcs[4] = {&A(), &B(), &A(), &C()};
    for (int i = 0; i < 4; ++i)
      DDBlt(&BackBuffer, bSameSpot ? 0 : xs[i], 0, 4, 4, srcs[i], 0, 0, 1);
  }
  DDSURFACEDATA& A() { return m_Src[0]; }
  DDSURFACEDATA& B() { return m_Src[1]; }
  DDSURFACEDATA& C() { return m_Src[2]; }
  DDSURFACEDATA m_Src[3];
};

TEST_F(cBatchTest, SortedBatchDrawsUnregisteredFirstThenByRegistration) {
  SubmitABAC(true, true);
  EXPECT_EQ(SpriteBatch.Registrations.size(), 2u);
  EXPECT_EQ(SpriteBatch.Queue.size(), 4u);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);  // nothing drawn before the end
  DDBatchEnd();
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0x00FF00u);  // C1, A1, A2, B1: B last
  EXPECT_EQ(SpriteBatch.bActive, 0);
  EXPECT_TRUE(SpriteBatch.Queue.empty());

  SubmitABAC(false, true);
  EXPECT_TRUE(SpriteBatch.Registrations.empty());  // a batch that does not sort registers nothing
  DDBatchEnd();
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0x0000FFu);  // A1, B1, A2, C1: C last
}

TEST_F(cBatchTest, RunsAreSkippedWholeWhenTheirBuffersFail) {
  struct ROW {
    bool bSort;
    std::vector<uint32_t> expected;  // colour at x 0, 10, 20, 30
  };
  // Two runs skipped: sorted runs are [C1] [A1 A2] [B1]; unsorted, every
  // quad is a run of its own.
  const ROW rows[] = {{true, {0, 0x00FF00, 0, 0}}, {false, {0, 0, 0xFF0000, 0x0000FF}}};
  for (const ROW& r : rows) {
    SCOPED_TRACE(r.bSort);
    DDFillSurfaceColor(&BackBuffer, 0xFF000000);
    SubmitABAC(r.bSort, false);
    plat::gfx::FailNext(eFaultPoint::LockVertexBuffer, eGfxResult::Fail, 2);
    DDBatchEnd();
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(ReadRgb(&BackBuffer, i * 10 + 1, 1), r.expected[size_t(i)]) << i;
  }
  // A buffer that cannot be made drops only the run's first quad.
  DDFillSurfaceColor(&BackBuffer, 0xFF000000);
  SubmitABAC(true, false);
  plat::gfx::FailNext(eFaultPoint::CreateVertexBuffer, eGfxResult::Fail, 2);
  DDBatchEnd();  // [C1] loses C1; [A1 A2] loses A1
  EXPECT_EQ(ReadRgb(&BackBuffer, 31, 1), 0u);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);
  EXPECT_EQ(ReadRgb(&BackBuffer, 21, 1), 0xFF0000u);
  EXPECT_EQ(ReadRgb(&BackBuffer, 11, 1), 0x00FF00u);
  EXPECT_NE(ReportLog().find("CreateVertexBuffer Err"), std::string::npos);
}

TEST_F(cBatchTest, SoftwarePathBypassesTheQueueAndEmptyEndOnlyCloses) {
  DDSURFACEDATA sys;
  const std::string strPath = WriteBmp("sys.bmp", SolidBmp(4, 4, 0x123456));
  ASSERT_EQ(DDCreateSurfaceFromFile(&sys, strPath.c_str(), 0, 32, 1, DTMEMORYTYPE_SYSTEM, nullptr,
                                    0, 0, 0, 0),
            0);
  DDBatchBegin(1);
  DDBlt(&BackBuffer, 50, 50, 4, 4, &sys, 0, 0, 0);
  EXPECT_TRUE(SpriteBatch.Queue.empty());
  EXPECT_EQ(ReadRgb(&BackBuffer, 51, 51), 0x123456u);
  DDBatchEnd();
  EXPECT_EQ(SpriteBatch.bActive, 0);
}

TEST_F(cBatchTest, SceneOpensOnceAndFailuresSkipTheDraw) {
  EXPECT_EQ(DDBeginScene(), 1);
  EXPECT_EQ(DDBeginScene(), 1);  // a second begin in a frame does not call the device
  DDEndScene();
  EXPECT_EQ(g_DD.lpDTCon->bInScene, 0);
  plat::gfx::FailNext(eFaultPoint::BeginScene, eGfxResult::Fail, 1);
  DDBlt(&BackBuffer, 0, 0, 4, 4, &A(), 0, 0, 0);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);
  EXPECT_NE(ReportLog().find("BeginScene Err 80004005"), std::string::npos);
  plat::gfx::FailNext(eFaultPoint::SetRenderTarget, eGfxResult::Fail, 1);
  DDBlt(&BackBuffer, 0, 0, 4, 4, &A(), 0, 0, 0);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);
  EXPECT_NE(ReportLog().find("SetRenderTarget Err 80004005 ()"), std::string::npos);
  EXPECT_EQ(DDSetRenderTarget(0, &A()), 0);  // a file texture is never a target
}

TEST_F(cBatchTest, FillBatchDrawsAtItsEnd) {
  DDFillBatchBegin();
  DDFillRectColor(&BackBuffer, 0, 0, 4, 4, 0xFFFF0000);
  DDFillRectColor(&BackBuffer, 10, 0, 4, 4, 0x80FFFFFF);
  EXPECT_EQ(FillBatch.Queue.size(), 2u);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);
  DDFillBatchEnd();
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0xFF0000u);
  const int nHalf = plat::gfx::LerpChannel(255, 0, 0x80);
  EXPECT_EQ(ReadRgb(&BackBuffer, 11, 1), uint32_t(nHalf * 0x010101));
  EXPECT_EQ(FillBatch.bActive, 0);
}

TEST_F(cBatchTest, TransparentFillOfAKeyedTargetClearsIt) {
  DDSURFACEDATA keyed;
  g_DD.lpDTCon->dwTransmitColor = 0xFF00FF00;
  ASSERT_TRUE(DDCreateSurface(&keyed, 8, 8, 1, 0, 0, 0, 0));
  EXPECT_EQ(ReadRaw(&keyed, 2, 2), 0xFF00FF00u);
  DDFillRect(&keyed, 0, 0, 4, 4, 0);
  EXPECT_EQ(ReadRaw(&keyed, 2, 2), 0u);  // transparent, not black
  EXPECT_EQ(ReadRaw(&keyed, 5, 5), 0xFF00FF00u);
  // The same fill onto the screen blends away.
  DDFillRect(&BackBuffer, 0, 0, 4, 4, 0);
  EXPECT_EQ(ReadRgb(&BackBuffer, 1, 1), 0u);
}

TEST_F(cBatchTest, VirtualBackBufferDivertsAndCopiesOnceWhenSwitchedOff) {
  DDSetVirtualBackBuffer(1);
  DDFillRectColor(&BackBuffer, 0, 0, 8, 8, 0xFF123456);
  const plat::gfx::cImage& screen = *BackBuffer.lpDT->lpSurface;
  EXPECT_EQ(screen.ReadPixel(2, 2) & 0xFFFFFF, 0u);
  EXPECT_EQ(VirBackBuffer.lpDT->lpSurface->ReadPixel(2, 2) & 0xFFFFFF, 0x123456u);
  DDSetVirtualBackBuffer(1);  // on twice: no copy
  EXPECT_EQ(screen.ReadPixel(2, 2) & 0xFFFFFF, 0u);
  DDSetVirtualBackBuffer(0);
  EXPECT_EQ(screen.ReadPixel(2, 2) & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(g_DD.lpDTCon->nAlphaOp, 2);
  EXPECT_EQ(g_DD.lpDTCon->bStretching, 0);
}

// The software path at 16 bits: a texel passes the transparency test when
// its high byte has a bit of 0xA0.
TEST(DrawSoftwarePath, SixteenBitTransparencyTestAndBackBufferRepack) {
  for (const DRAWMODE& mode : {kModes[3], kModes[4]}) {
    SCOPED_TRACE(mode.szName);
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    DDSURFACEDATA sys;
    ASSERT_TRUE(DDCreateSurface(&sys, 4, 1, 0, 1, DTMEMORYTYPE_SYSTEM, 0, 0));
    const uint16_t texels[4] = {0x2000, 0x0000, 0x8000, 0xFFFF};
    {
      cSurfaceLock lock;
      ASSERT_TRUE(lock.Lock(&sys));
      std::memcpy(lock.m_lpBits, texels, sizeof texels);
    }
    {
      cSurfaceLock lock;
      ASSERT_TRUE(lock.Lock(&BackBuffer));
      for (int x = 0; x < 4; ++x) reinterpret_cast<uint16_t*>(lock.m_lpBits)[x] = 0x1234;
    }
    DDBlt(&BackBuffer, 0, 0, 4, 1, &sys, 0, 0, 1);
    const bool bFull = !mode.bWindow;
    auto expect = [&](uint16_t t) -> uint32_t {
      if (!bFull) return t;
      const uint32_t r = (t >> 10) & 31, g = (t >> 5) & 31, b = t & 31;
      return r << 11 | (g * 2) << 5 | b;  // repacked for R5G6B5, green doubled
    };
    EXPECT_EQ(ReadRaw(&BackBuffer, 0, 0), expect(0x2000));
    EXPECT_EQ(ReadRaw(&BackBuffer, 1, 0), 0x1234u);  // skipped
    EXPECT_EQ(ReadRaw(&BackBuffer, 2, 0), expect(0x8000));
    EXPECT_EQ(ReadRaw(&BackBuffer, 3, 0), expect(0xFFFF));
    DDReleaseSurface(&sys);
    ShutDown();
  }
}

}  // namespace

namespace {

// Scaled and mirrored blits from a system-memory texture take the software
// path: column i = trunc(k * source width / width), mirrored "x + i - 1".
TEST(DrawSoftwarePath, StretchAndMirrorColumns) {
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[5]));
  BMPPICTURE pic;
  pic.nWidth = 8;
  pic.nHeight = 1;
  for (int x = 0; x < 8; ++x) pic.Pixels.push_back(uint32_t(0x20 * (x + 1)) << 8 | 0x11);
  DDSURFACEDATA sys;
  ASSERT_EQ(DDCreateSurfaceFromFile(&sys, WriteBmp("row.bmp", pic).c_str(), 0, 32, 1,
                                    DTMEMORYTYPE_SYSTEM, nullptr, 0, 0, 0, 0),
            0);
  struct ROW {
    int w, sx, sw;
    std::vector<int> cols;
  };
  const ROW rows[] = {{4, 0, 8, {0, 2, 4, 6}},
                      {16, 0, 8, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7}},
                      {8, 8, -8, {7, 6, 5, 4, 3, 2, 1, 0}}};
  int y = 0;
  for (const ROW& r : rows) {
    DDBltStretch(&BackBuffer, 0, y, r.w, 1, &sys, r.sx, 0, r.sw, 1, 0);
    for (int k = 0; k < r.w; ++k)
      EXPECT_EQ(ReadRgb(&BackBuffer, k, y), pic.Pixels[size_t(r.cols[size_t(k)])])
          << "row " << y << " column " << k;
    ++y;
  }
  DDReleaseSurface(&sys);
  ShutDown();
}

}  // namespace
