// The window-system bitmap copy: conversion per image format and per-frame
// mirroring.
#include "platform/gfx/bitmap_copy.h"

#include <gtest/gtest.h>

#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

cBitmap Strip(int w, int h) {
  cBitmap b;
  b.m_nWidth = w, b.m_nHeight = h, b.m_nBitCount = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.m_Colors.push_back(MakeArgb(255, x, y, 7));
  return b;
}

TEST(BitmapCopy, MirrorsFrameByFrame) {
  // A 100-pixel sheet of 32-pixel frames: three whole frames mirror in place;
  // the 4 columns of the partial frame are not drawn.
  const cBitmap b = Strip(100, 1);
  cImage im(100, 1, ePixelFormat::X8R8G8B8, ePool::System, false);
  CopyBitmapToImage(im, b, 32, 0);
  for (int x = 0; x < 96; ++x) {
    const int want = 32 * (x / 32 + 1) - x % 32 - 1;
    EXPECT_EQ(GetR(im.ReadPixel(x, 0)), want) << x;
  }
  for (int x = 96; x < 100; ++x) EXPECT_EQ(im.ReadPixel(x, 0), 0u) << x;
  // Rows likewise with a frame height; without frames the copy is straight.
  const cBitmap tall = Strip(1, 4);
  cImage col(1, 4, ePixelFormat::X8R8G8B8, ePool::System, false);
  CopyBitmapToImage(col, tall, 0, 2);
  EXPECT_EQ(GetG(col.ReadPixel(0, 0)), 1);
  EXPECT_EQ(GetG(col.ReadPixel(0, 3)), 2);
  CopyBitmapToImage(col, tall, 0, 0);
  EXPECT_EQ(GetG(col.ReadPixel(0, 3)), 3);
}

TEST(BitmapCopy, ConvertsToEachFormat) {
  cBitmap b;
  b.m_nWidth = 2, b.m_nHeight = 1, b.m_nBitCount = 24;
  b.m_Colors = {MakeArgb(255, 255, 130, 7), MakeArgb(255, 8, 4, 250)};
  cImage c565(2, 1, ePixelFormat::R5G6B5, ePool::System, false);
  CopyBitmapToImage(c565, b, 0, 0);
  EXPECT_EQ(c565.ReadPixel(0, 0), uint32_t(Pack565(31, 32, 0)));  // low bits dropped
  EXPECT_EQ(c565.ReadPixel(1, 0), uint32_t(Pack565(1, 1, 31)));
  cImage c555(2, 1, ePixelFormat::X1R5G5B5, ePool::System, false);
  CopyBitmapToImage(c555, b, 0, 0);
  EXPECT_EQ(c555.ReadPixel(0, 0) & 0x7FFF, uint32_t(Pack1555(0, 31, 16, 0)));
  cImage c32(2, 1, ePixelFormat::X8R8G8B8, ePool::System, false);
  CopyBitmapToImage(c32, b, 0, 0);
  EXPECT_EQ(c32.ReadPixel(1, 0) & 0xFFFFFF, 0x0804FAu);

  // 8 bits: the nearest entry of the image's palette, the lowest index on a tie.
  auto pal = std::make_shared<cPalette>();
  const GFXPALENTRY e[4] = {{0, 0, 0, 0}, {250, 130, 10, 0}, {10, 0, 250, 0}, {10, 0, 250, 0}};
  pal->SetEntries(0, 4, e);
  cImage p8(2, 1, ePixelFormat::P8, ePool::System, false);
  p8.SetPalette(pal);
  CopyBitmapToImage(p8, b, 0, 0);
  EXPECT_EQ(p8.ReadPixel(0, 0), 1u);
  EXPECT_EQ(p8.ReadPixel(1, 0), 2u);
  // An indexed bitmap into an 8-bit image without a palette keeps its indices.
  cBitmap ind;
  ind.m_nWidth = 2, ind.m_nHeight = 1, ind.m_nBitCount = 8;
  ind.m_ColorTable.resize(256);
  ind.m_Indices = {200, 17};
  cImage raw(2, 1, ePixelFormat::P8, ePool::System, false);
  CopyBitmapToImage(raw, ind, 0, 0);
  EXPECT_EQ(raw.ReadPixel(0, 0), 200u);
  EXPECT_EQ(raw.ReadPixel(1, 0), 17u);
}

}  // namespace
}  // namespace plat::gfx
