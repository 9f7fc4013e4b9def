// The PNG encoder: its check sum, a round trip of filtered and compressed
// scan lines, the size of a plain frame, and screenshots of the last frame.
#include "platform/present/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/present/presenter.h"
#include "support/temp_folder.h"

namespace plat {
namespace {

uint32_t BE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

struct DECODED {
  int nWidth = 0, nHeight = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  std::vector<std::string> chunks;
};

// A reader of what the encoder writes (8-bit RGB, any of the five filters);
// chunks whose check sum is wrong are left out, so the pixels come out empty.
DECODED Decode(const std::vector<uint8_t>& png) {
  DECODED d;
  if (png.size() < 8 || std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8) != 0) return d;
  std::vector<uint8_t> z;
  for (size_t i = 8; i + 12 <= png.size();) {
    const uint32_t n = BE32(&png[i]);
    if (i + 12 + n > png.size()) return d;
    const std::string type(png.begin() + i + 4, png.begin() + i + 8);
    if (BE32(&png[i + 8 + n]) != Crc32(&png[i + 4], n + 4)) return d;
    d.chunks.push_back(type);
    if (type == "IHDR") {
      d.nWidth = int(BE32(&png[i + 8]));
      d.nHeight = int(BE32(&png[i + 12]));
      if (png[i + 16] != 8 || png[i + 17] != 2) return d;
    }
    if (type == "IDAT") z.insert(z.end(), png.begin() + i + 8, png.begin() + i + 8 + n);
    i += 12 + n;
  }
  const size_t nLine = size_t(d.nWidth) * 3;
  std::vector<uint8_t> raw(size_t(d.nHeight) * (1 + nLine));
  uLongf nRaw = raw.size();
  if (uncompress(raw.data(), &nRaw, z.data(), z.size()) != Z_OK || nRaw != raw.size()) return d;
  std::vector<uint8_t> above(nLine, 0), line(nLine);
  for (int y = 0; y < d.nHeight; ++y) {
    const uint8_t* p = &raw[size_t(y) * (1 + nLine)];
    for (size_t i = 0; i < nLine; ++i) {
      const int a = i >= 3 ? line[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
      int nPredict = 0;
      switch (p[0]) {
        case 0:
          break;
        case 1:
          nPredict = a;
          break;
        case 2:
          nPredict = b;
          break;
        case 3:
          nPredict = (a + b) / 2;
          break;
        case 4: {
          const int q = a + b - c, pa = std::abs(q - a), pb = std::abs(q - b), pc = std::abs(q - c);
          nPredict = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
          break;
        }
        default:
          return d;
      }
      line[i] = uint8_t(p[1 + i] + nPredict);
    }
    for (int x = 0; x < d.nWidth; ++x)
      d.pixels.push_back(uint32_t(line[x * 3]) << 16 | uint32_t(line[x * 3 + 1]) << 8 |
                         line[x * 3 + 2]);
    above = line;
  }
  return d;
}

}  // namespace

TEST(PngWriter, CrcMatchesItsCheckValue) {
  const char* sz = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(sz), 9), 0xCBF43926u);
}

TEST(PngWriter, PixelsSurviveTheEncodingWhateverTheyLookLike) {
  // Gradients, flat runs and noise side by side, on a pitch wider than the
  // picture: each scan line takes the filter that suits it.
  const int w = 200, h = 120, pitch = 256;
  std::vector<uint32_t> px(pitch * h, 0xDEADBEEF);
  uint32_t nNoise = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      nNoise = nNoise * 1103515245u + 12345u;
      uint32_t c = 0xFF000000u | (x << 16) | (y << 8) | ((x + y) & 0xFF);
      if (y % 30 < 10) c = 0x00336699;
      if (y % 30 >= 20) c = nNoise >> 8;
      px[y * pitch + x] = c;
    }
  const DECODED d = Decode(EncodePng(px.data(), w, h, pitch));
  EXPECT_EQ(d.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  ASSERT_EQ(d.nWidth, w);
  ASSERT_EQ(d.nHeight, h);
  ASSERT_EQ(d.pixels.size(), size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(d.pixels[size_t(y) * w + x], px[y * pitch + x] & 0xFFFFFF) << x << "," << y;
}

TEST(PngWriter, APlainFrameIsSmall) {
  // Screenshots are kept and passed around: a frame with nothing on it
  // must not weigh almost a megabyte.
  struct ROW {
    uint32_t nColour;
    size_t nBelow;
  };
  for (const ROW& r : {ROW{0x00000000u, 1024}, ROW{0x00FF00FFu, 2048}}) {
    std::vector<uint32_t> frame(640 * 480, r.nColour);
    const std::vector<uint8_t> png = EncodePng(frame.data(), 640, 480, 640);
    EXPECT_LT(png.size(), r.nBelow) << std::hex << r.nColour;
    EXPECT_EQ(Decode(png).pixels, frame);
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
  const std::vector<uint8_t> png = ReadTestFile(dir / "shot.png");
  EXPECT_EQ(Decode(png).pixels, frame);
  std::string strError;
  EXPECT_FALSE(SaveLastFramePng(dir / "no_folder/shot.png", &strError));
  EXPECT_EQ(strError, "No such file or directory");
}

}  // namespace plat
