// The frame store: whatever was handed over before, the window and a
// screenshot get the newest frame, at its own size.
#include <gtest/gtest.h>

#include <vector>

#include "platform/present/presenter.h"
#include "platform/present/presenter_service.h"

namespace {

struct SHOWN {
  std::vector<uint32_t> pixels;
  int nWidth = 0;
  int nHeight = 0;
};

void Keep(const uint32_t* pPixels, int nWidth, int nHeight, void* pContext) {
  auto& shown = *static_cast<SHOWN*>(pContext);
  shown.pixels.assign(pPixels, pPixels + size_t(nWidth) * size_t(nHeight));
  shown.nWidth = nWidth;
  shown.nHeight = nHeight;
}

}  // namespace

TEST(FrameStore, ShowsTheNewestFrameWhateverCameBefore) {
  plat::ForgetFrames();
  struct FRAME {
    int nWidth, nHeight;
    uint32_t dwColor;
    bool bShownOnArrival;  // the window shows it, else a presenter copies it
  };
  // Sizes that change and come back.
  const FRAME frames[] = {{4, 3, 0xFF010203u, true},  {4, 3, 0xFF040506u, false},
                          {2, 5, 0xFF070809u, true},  {4, 3, 0xFF0A0B0Cu, false},
                          {4, 3, 0xFF0D0E0Fu, false}, {3, 3, 0xFF101112u, true}};
  for (const FRAME& f : frames) {
    const std::vector<uint32_t> px(size_t(f.nWidth) * size_t(f.nHeight), f.dwColor);
    plat::PresentFrame(px.data(), f.nWidth, f.nHeight, f.nWidth);
    SHOWN shown;
    if (f.bShownOnArrival) {
      ASSERT_TRUE(plat::ShowNewFrame(Keep, &shown));
    } else {
      ASSERT_TRUE(plat::TakeNewFrame(shown.pixels, shown.nWidth, shown.nHeight));
    }
    EXPECT_EQ(shown.pixels, px);
    // Shown again (a window that lost its picture) or copied for a screenshot.
    ASSERT_TRUE(plat::ShowLastFrame(Keep, &shown));
    EXPECT_EQ(shown.nWidth, f.nWidth);
    EXPECT_EQ(shown.nHeight, f.nHeight);
    EXPECT_EQ(shown.pixels, px);
    SHOWN none;
    EXPECT_FALSE(plat::ShowNewFrame(Keep, &none));
  }
  plat::ForgetFrames();
  SHOWN none;
  EXPECT_FALSE(plat::ShowLastFrame(Keep, &none));
}
