// Finished frames reach the presenter as 32-bit pixels: 8-bit screens through
// their palette, 16-bit ones widened by the rounding rules.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/direct_draw.h"
#include "platform/gfx/pixel_rules.h"
#include "platform/present/presenter.h"

namespace plat::gfx {
namespace {

// The last presented frame's pixel, read back through a saved PNG.
uint32_t PresentedPixel(int x, int y) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("brimvale_present_test_" + std::to_string(getpid()) + ".png"))
                               .string();
  EXPECT_TRUE(plat::SaveLastFramePng(path));
  GError* pErr = nullptr;
  GdkPixbuf* pix = gdk_pixbuf_new_from_file(path.c_str(), &pErr);
  if (!pix) return 0xDEADBEEF;
  const guchar* p = gdk_pixbuf_read_pixels(pix) + y * gdk_pixbuf_get_rowstride(pix) +
                    x * gdk_pixbuf_get_n_channels(pix);
  const uint32_t c = MakeArgb(255, p[0], p[1], p[2]);
  g_object_unref(pix);
  std::filesystem::remove(path);
  return c;
}

TEST(PresentImage, EightBitThroughThePaletteAndSixteenBitWidened) {
  cDirectDraw dd;
  ASSERT_EQ(dd.SetDisplayMode(8, 4, 8, 60), eGfxResult::Ok);
  cImagePtr front, back;
  ASSERT_EQ(dd.CreatePrimary(1, front), eGfxResult::Ok);
  ASSERT_EQ(dd.GetAttachedBackBuffer(back), eGfxResult::Ok);
  GFXPALENTRY entries[256] = {};
  entries[9] = {200, 100, 50, 0};
  std::shared_ptr<cPalette> pal;
  ASSERT_EQ(dd.CreatePalette(entries, pal), eGfxResult::Ok);
  ASSERT_EQ(dd.SetPalette(*front, pal), eGfxResult::Ok);
  back->WritePixel(3, 2, 9);
  ASSERT_EQ(dd.Flip(), eGfxResult::Ok);
  EXPECT_EQ(PresentedPixel(3, 2), MakeArgb(255, 200, 100, 50));

  GFXPRESENTPARAMS pp;
  pp.nWidth = 8, pp.nHeight = 4, pp.BackBufferFormat = ePixelFormat::R5G6B5;
  std::unique_ptr<cD3DDevice> dev;
  ASSERT_EQ(cD3DDevice::Create(pp, false, dev), eGfxResult::Ok);
  dev->GetBackBuffer()->WritePixel(5, 1, Pack565(3, 32, 31));
  ASSERT_EQ(dev->Present(), eGfxResult::Ok);
  EXPECT_EQ(PresentedPixel(5, 1), MakeArgb(255, ExpandChannel(3, 31), ExpandChannel(32, 63), 255));
}

}  // namespace
}  // namespace plat::gfx
