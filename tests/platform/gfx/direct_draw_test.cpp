// The DirectDraw-shaped face: exact keys per format, plain and stretched
// blits, fills, the flip chain, locks, loss and the fault hooks.
#include "platform/gfx/direct_draw.h"

#include <gtest/gtest.h>

#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

class DirectDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearAllFaults(); }
  void TearDown() override { ClearAllFaults(); }

  cImagePtr Make(cDirectDraw& dd, int w, int h, bool bSystem = false) {
    cImagePtr p;
    EXPECT_EQ(dd.CreateOffscreen(w, h, bSystem, p), eGfxResult::Ok);
    return p;
  }
  static std::vector<uint32_t> Row(const cImage& im, int y) {
    std::vector<uint32_t> v;
    for (int x = 0; x < im.GetWidth(); ++x) v.push_back(im.ReadPixel(x, y));
    return v;
  }
};

TEST_F(DirectDrawTest, KeyedCopyComparesOnlyTheColourBitsOfEachFormat) {
  struct CASE {
    int nBpp;
    ePixelFormat sixteen;
    uint32_t dwKey;
    uint32_t dwSameColour;  // differs from the key only in bits the format does not use for colour
    uint32_t dwNear;        // one step off the key
  };
  const CASE cases[] = {
      {8, ePixelFormat::R5G6B5, 7, 7, 6},
      {16, ePixelFormat::R5G6B5, 0xF81F, 0xF81F, 0xF81E},
      {16, ePixelFormat::X1R5G5B5, 0x7C1F, 0xFC1F, 0x7C1E},
      {32, ePixelFormat::R5G6B5, 0xFF0080, 0xABFF0080, 0xFF0081},
  };
  for (const CASE& c : cases) {
    cDirectDraw dd;
    dd.SetSixteenBitFormat(c.sixteen);
    ASSERT_EQ(dd.SetDisplayMode(640, 480, c.nBpp, 60), eGfxResult::Ok);
    cImagePtr src = Make(dd, 3, 1), dst = Make(dd, 3, 1);
    ASSERT_EQ(dd.SetColorKey(*src, c.dwKey), eGfxResult::Ok);
    src->WritePixel(0, 0, c.dwKey);
    src->WritePixel(1, 0, c.dwSameColour);
    src->WritePixel(2, 0, c.dwNear);
    dst->FillRaw(1);
    ASSERT_EQ(dd.BltFast(*dst, 0, 0, *src, MakeRect(0, 0, 3, 1), true), eGfxResult::Ok);
    EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{1, 1, c.dwNear})) << c.nBpp;
    // Without the key flag every pixel is copied.
    ASSERT_EQ(dd.BltFast(*dst, 0, 0, *src, MakeRect(0, 0, 3, 1), false), eGfxResult::Ok);
    EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{c.dwKey, c.dwSameColour, c.dwNear})) << c.nBpp;
  }
}

// Keyed copies work on 16 or 32 bytes of a row at a time and finish the row
// pixel by pixel or with a group that reaches back: rows of every length and
// alignment keep the per-pixel rule.
TEST_F(DirectDrawTest, KeyedCopyKeepsThePixelRuleAtAnyRowLength) {
  struct CASE {
    int nBpp;
    ePixelFormat sixteen;
    uint32_t dwKey, dwSameColour, dwOther;
  };
  const CASE cases[] = {
      {8, ePixelFormat::R5G6B5, 7, 7, 9},
      {16, ePixelFormat::R5G6B5, 0xF81F, 0xF81F, 0x1234},
      {16, ePixelFormat::X1R5G5B5, 0x7C1F, 0xFC1F, 0x7C1E},
      {32, ePixelFormat::R5G6B5, 0xFF0080, 0xABFF0080, 0xFF0081},
  };
  const int kW = 45;
  for (const CASE& c : cases) {
    cDirectDraw dd;
    dd.SetSixteenBitFormat(c.sixteen);
    ASSERT_EQ(dd.SetDisplayMode(640, 480, c.nBpp, 60), eGfxResult::Ok);
    cImagePtr src = Make(dd, kW, 1), dst = Make(dd, kW, 1);
    ASSERT_EQ(dd.SetColorKey(*src, c.dwKey), eGfxResult::Ok);
    for (int x = 0; x < kW; ++x) {
      const int k = (x * 5 + x / 7) % 6;
      src->WritePixel(x, 0, k == 0 ? c.dwKey : k == 1 ? c.dwSameColour : c.dwOther - (x & 1));
    }
    for (int sx = 0; sx < 3; ++sx)
      for (int w = 1; sx + w <= kW; ++w) {
        dst->FillRaw(1);
        const int x0 = (w + sx) % 3;
        if (x0 + w > kW) continue;
        ASSERT_EQ(dd.BltFast(*dst, x0, 0, *src, MakeRect(sx, 0, w, 1), true), eGfxResult::Ok);
        for (int x = 0; x < kW; ++x) {
          uint32_t want = 1;
          if (x >= x0 && x < x0 + w) {
            const uint32_t v = src->ReadPixel(sx + x - x0, 0);
            if (v != c.dwKey && v != c.dwSameColour) want = v;
          }
          ASSERT_EQ(dst->ReadPixel(x, 0), want)
              << c.nBpp << " bits, sx " << sx << " w " << w << " x " << x;
        }
      }
  }
}

TEST_F(DirectDrawTest, StretchTruncatesSourceColumnsAndRows) {
  cDirectDraw dd;
  dd.SetDisplayMode(640, 480, 16, 60);
  cImagePtr src = Make(dd, 8, 2), dst = Make(dd, 8, 4);
  for (int x = 0; x < 8; ++x) {
    src->WritePixel(x, 0, uint32_t(x));
    src->WritePixel(x, 1, uint32_t(100 + x));
  }
  // 8 -> 4 reads the even columns; 2 rows -> 4 doubles each row.
  ASSERT_EQ(dd.Blt(*dst, MakeRect(0, 0, 4, 4), *src, MakeRect(0, 0, 8, 2), false), eGfxResult::Ok);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{0, 2, 4, 6, 0, 0, 0, 0}));
  EXPECT_EQ(Row(*dst, 1), Row(*dst, 0));
  EXPECT_EQ(Row(*dst, 2), (std::vector<uint32_t>{100, 102, 104, 106, 0, 0, 0, 0}));
  // 3 -> 8 columns: trunc(k * 3 / 8).
  ASSERT_EQ(dd.Blt(*dst, MakeRect(0, 3, 8, 1), *src, MakeRect(5, 0, 3, 1), false), eGfxResult::Ok);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(dst->ReadPixel(k, 3), uint32_t(5 + StretchColumn(k, 3, 8)));
}

TEST_F(DirectDrawTest, RefusesWhatTheCallerShouldHaveClipped) {
  cDirectDraw dd;
  dd.SetDisplayMode(640, 480, 32, 60);
  cImagePtr src = Make(dd, 4, 4), dst = Make(dd, 4, 4);
  const struct {
    GFXRECT d, s;
  } bad[] = {
      {{0, 0, 4, 4}, {4, 0, 0, 4}},   // negative source width
      {{0, 0, 4, 4}, {0, 0, 5, 4}},   // source past the right edge
      {{-1, 0, 3, 4}, {0, 0, 4, 4}},  // destination past the left edge
      {{0, 0, 0, 4}, {0, 0, 4, 4}},   // empty destination
  };
  for (const auto& b : bad) EXPECT_EQ(dd.Blt(*dst, b.d, *src, b.s, false), eGfxResult::InvalidCall);
  EXPECT_EQ(dd.BltFast(*dst, 2, 0, *src, MakeRect(0, 0, 4, 4), false), eGfxResult::InvalidCall);
  cImagePtr other;
  cDirectDraw dd16;
  dd16.SetDisplayMode(640, 480, 16, 60);
  ASSERT_EQ(dd16.CreateOffscreen(4, 4, false, other), eGfxResult::Ok);
  EXPECT_EQ(dd.BltFast(*dst, 0, 0, *other, MakeRect(0, 0, 4, 4), false), eGfxResult::InvalidCall);
}

TEST_F(DirectDrawTest, ColorFillIsClippedToTheImage) {
  cDirectDraw dd;
  dd.SetDisplayMode(640, 480, 8, 60);
  cImagePtr im = Make(dd, 4, 2);
  const GFXRECT r = MakeRect(-10, 1, 12, 5);
  ASSERT_EQ(dd.ColorFill(*im, &r, 9), eGfxResult::Ok);
  EXPECT_EQ(Row(*im, 0), (std::vector<uint32_t>{0, 0, 0, 0}));
  EXPECT_EQ(Row(*im, 1), (std::vector<uint32_t>{9, 9, 0, 0}));
  ASSERT_EQ(dd.ColorFill(*im, nullptr, 3), eGfxResult::Ok);
  EXPECT_EQ(Row(*im, 0), (std::vector<uint32_t>{3, 3, 3, 3}));
}

TEST_F(DirectDrawTest, FlipRotatesTheChain) {
  for (int nBacks : {1, 2}) {
    cDirectDraw dd;
    dd.SetDisplayMode(4, 2, 8, 60);
    cImagePtr front, back;
    ASSERT_EQ(dd.CreatePrimary(nBacks, front), eGfxResult::Ok);
    ASSERT_EQ(dd.GetAttachedBackBuffer(back), eGfxResult::Ok);
    EXPECT_EQ(front->GetFormat(), ePixelFormat::P8);
    front->FillRaw(1);
    back->FillRaw(2);
    ASSERT_EQ(dd.Flip(), eGfxResult::Ok);
    EXPECT_EQ(front->ReadPixel(0, 0), 2u);
    // One back buffer: the old front comes back to be drawn on; two: the third image does.
    EXPECT_EQ(back->ReadPixel(0, 0), nBacks == 1 ? 1u : 0u);
  }
}

TEST_F(DirectDrawTest, PaletteObjectReachesTheScreenImages) {
  cDirectDraw dd;
  dd.SetDisplayMode(4, 2, 8, 60);
  cImagePtr front, off;
  ASSERT_EQ(dd.CreatePrimary(1, front), eGfxResult::Ok);
  GFXPALENTRY entries[256] = {};
  entries[5] = {10, 20, 30, 1};
  std::shared_ptr<cPalette> pal;
  ASSERT_EQ(dd.CreatePalette(entries, pal), eGfxResult::Ok);
  ASSERT_EQ(dd.SetPalette(*front, pal), eGfxResult::Ok);
  off = Make(dd, 2, 2);
  off->WritePixel(0, 0, 5);
  EXPECT_EQ(off->ReadArgb(0, 0), MakeArgb(255, 10, 20, 30));
  GFXPALENTRY e{40, 50, 60, 0};
  pal->SetEntries(5, 1, &e);
  EXPECT_EQ(off->ReadArgb(0, 0), MakeArgb(255, 40, 50, 60));
  pal->SetEntries(250, 10, entries);  // entries past 255 are dropped, not written
}

TEST_F(DirectDrawTest, LocksAndLostImages) {
  cDirectDraw dd;
  dd.SetDisplayMode(640, 480, 16, 60);
  cImagePtr vid = Make(dd, 3, 3), sys = Make(dd, 3, 3, true);
  EXPECT_EQ(vid->GetPitch(), 8);  // rows padded to 4 bytes
  GFXLOCK lock;
  ASSERT_EQ(vid->Lock(lock), eGfxResult::Ok);
  GFXLOCK second;
  EXPECT_EQ(vid->Lock(second), eGfxResult::SurfaceBusy);
  EXPECT_EQ(dd.BltFast(*sys, 0, 0, *vid, MakeRect(0, 0, 3, 3), false), eGfxResult::SurfaceBusy);
  EXPECT_EQ(vid->Unlock(), eGfxResult::Ok);
  EXPECT_EQ(vid->Unlock(), eGfxResult::NotLocked);

  vid->FillRaw(0x1234);
  sys->FillRaw(0x5678);
  dd.LoseSurfaces();
  EXPECT_TRUE(vid->IsLost());
  EXPECT_FALSE(sys->IsLost());
  EXPECT_EQ(vid->Lock(lock), eGfxResult::SurfaceLost);
  EXPECT_EQ(dd.BltFast(*sys, 0, 0, *vid, MakeRect(0, 0, 3, 3), false), eGfxResult::SurfaceLost);
  EXPECT_EQ(dd.Restore(*vid), eGfxResult::Ok);
  EXPECT_EQ(vid->ReadPixel(1, 1), 0u);  // contents are gone; the owner redraws
  EXPECT_EQ(sys->ReadPixel(1, 1), 0x5678u);
}

TEST_F(DirectDrawTest, FaultHooksAndLiveCount) {
  cDirectDraw dd;
  FailNext(eFaultPoint::SetDisplayMode, eGfxResult::Fail);
  EXPECT_EQ(dd.SetDisplayMode(640, 480, 16, 60), eGfxResult::Fail);
  EXPECT_EQ(dd.SetDisplayMode(640, 480, 16, 0), eGfxResult::Ok);  // one shot only

  cImagePtr p;
  // Absurd sizes are refused before any memory is asked for.
  EXPECT_EQ(dd.CreateOffscreen(70000, 2, true, p), eGfxResult::InvalidCall);
  EXPECT_EQ(dd.CreateOffscreen(60000, 60000, true, p), eGfxResult::InvalidCall);
  EXPECT_EQ(dd.CreateOffscreen(0, 8, true, p), eGfxResult::InvalidCall);
  FailNext(eFaultPoint::CreateVideoImage, eGfxResult::OutOfVideoMemory);
  EXPECT_EQ(dd.CreateOffscreen(8, 8, false, p), eGfxResult::OutOfVideoMemory);
  EXPECT_FALSE(p);
  EXPECT_EQ(dd.CreateOffscreen(8, 8, true, p), eGfxResult::Ok);  // system memory still works
  EXPECT_EQ(p->GetPool(), ePool::System);

  FailNext(eFaultPoint::LockSurface, eGfxResult::Fail, -1);
  GFXLOCK lock;
  EXPECT_EQ(p->Lock(lock), eGfxResult::Fail);
  EXPECT_EQ(p->Lock(lock), eGfxResult::Fail);
  ClearFault(eFaultPoint::LockSurface);
  EXPECT_EQ(p->Lock(lock), eGfxResult::Ok);
  FailNext(eFaultPoint::UnlockSurface, eGfxResult::Fail);
  EXPECT_EQ(p->Unlock(), eGfxResult::Fail);
  EXPECT_EQ(p->Unlock(), eGfxResult::Ok);

  cImagePtr front;
  ASSERT_EQ(dd.CreatePrimary(1, front), eGfxResult::Ok);
  EXPECT_EQ(dd.CountLiveImages(), 2);  // the primary and the system image
  p.reset();
  front.reset();
  EXPECT_EQ(dd.CountLiveImages(), 0);  // the chain the object keeps itself does not count
}

}  // namespace
}  // namespace plat::gfx
