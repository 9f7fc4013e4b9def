// The PNG encoder: its check sum, a round trip of filtered and compressed
// scan lines, the size of a plain frame, and screenshots of the last frame.
#include "platform/present/png_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/present/presenter.h"
#include "support/png_decode.h"
#include "support/temp_folder.h"

namespace plat {

using pngtest::Decode;
using pngtest::DECODED;

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
  // The store outlives the tests run before this one in the same process.
  ForgetFrames();
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
