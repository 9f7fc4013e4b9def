// The PNG encoder: check values of its sums and a round trip of its blocks.
#include "platform/present/png_writer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/present/presenter.h"
#include "support/temp_folder.h"

namespace plat {
namespace {

uint32_t BE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Undoes stored deflate blocks; empty on any framing error.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z) {
  std::vector<uint8_t> out;
  size_t i = 2;
  for (;;) {
    if (i + 5 > z.size()) return {};
    uint8_t hdr = z[i];
    uint16_t len = uint16_t(z[i + 1] | (z[i + 2] << 8));
    uint16_t nlen = uint16_t(z[i + 3] | (z[i + 4] << 8));
    if ((hdr & 6) != 0 || uint16_t(~len) != nlen || i + 5 + len > z.size()) return {};
    out.insert(out.end(), z.begin() + i + 5, z.begin() + i + 5 + len);
    i += 5 + len;
    if (hdr & 1) break;
  }
  if (i + 4 != z.size() || BE32(&z[i]) != Adler32(out.data(), out.size())) return {};
  return out;
}

}  // namespace

TEST(PngWriter, ChecksumsMatchTheirCheckValues) {
  const char* sz = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(sz), 9), 0xCBF43926u);
  const char* w = "Wikipedia";
  EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(w), 9), 0x11E60398u);
}

TEST(PngWriter, PixelsSurviveTheEncodingWithPitchAndManyBlocks) {
  // 200x120 RGB is 72120 bytes of scan lines: two stored blocks.
  const int w = 200, h = 120, pitch = 256;
  std::vector<uint32_t> px(pitch * h, 0xDEADBEEF);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[y * pitch + x] = 0xFF000000u | (x << 16) | (y << 8) | ((x + y) & 0xFF);
  std::vector<uint8_t> png = EncodePng(px.data(), w, h, pitch);
  ASSERT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  std::vector<uint8_t> idat;
  size_t i = 8;
  std::vector<std::string> chunks;
  while (i + 12 <= png.size()) {
    uint32_t n = BE32(&png[i]);
    std::string type(png.begin() + i + 4, png.begin() + i + 8);
    chunks.push_back(type);
    EXPECT_EQ(BE32(&png[i + 8 + n]), Crc32(&png[i + 4], n + 4)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(BE32(&png[i + 8]), uint32_t(w));
      EXPECT_EQ(BE32(&png[i + 12]), uint32_t(h));
    }
    if (type == "IDAT") idat.assign(png.begin() + i + 8, png.begin() + i + 8 + n);
    i += 12 + n;
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  std::vector<uint8_t> raw = Inflate(idat);
  ASSERT_EQ(raw.size(), size_t(h) * (1 + w * 3));
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &raw[y * (1 + w * 3)];
    ASSERT_EQ(row[0], 0);
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(row[1 + x * 3], x);
      ASSERT_EQ(row[2 + x * 3], y);
      ASSERT_EQ(row[3 + x * 3], (x + y) & 0xFF);
    }
  }
}

TEST(Presenter, SavesTheLastFrameOnlyOnceOneWasHandedOver) {
  cTempFolder dir;
  EXPECT_FALSE(SaveLastFramePng(dir / "none.png"));
  EXPECT_FALSE(dir.Has("none.png"));
  std::vector<uint32_t> frame(640 * 480, 0x00112233);
  PresentFrame(frame.data(), 640, 480, 640);
  frame.assign(frame.size(), 0x00445566);
  PresentFrame(frame.data(), 640, 480, 640);
  ASSERT_TRUE(SaveLastFramePng(dir / "shot.png"));
  std::string png = dir.Read("shot.png");
  // The first pixel of the first scan line, after the filter byte.
  size_t nIdat = png.find("IDAT");
  ASSERT_NE(nIdat, std::string::npos);
  EXPECT_EQ(png.substr(nIdat + 4 + 2 + 5, 4), std::string("\x00\x44\x55\x66", 4));
  EXPECT_FALSE(SaveLastFramePng(dir / "no_folder/shot.png"));
}

}  // namespace plat
