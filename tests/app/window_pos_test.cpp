// Window.dat: its bytes, its clamps onto the desktop, and files that are
// short, newer or shaped wrong.
#include "app/window_pos.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int32_t> words) {
  cByteBuilder b;
  for (int32_t w : words) b.I32(w);
  return b.Bytes();
}

TEST(WindowPosTest, SavedPlacementHasItsGoldenBytesAndLoadsBack) {
  cTempFolder dir;
  cWindowPosData pos;
  pos.Set(10, 20, 320, 240, 1);
  const std::vector<uint8_t> golden = Bytes({783, 5, 10, 20, 320, 240, 1, 0});
  EXPECT_EQ(pos.SaveToBytes(), golden);
  ASSERT_EQ(pos.Save(dir / "Window.dat"), 1);
  const std::string onDisk = dir.Read("Window.dat");
  EXPECT_EQ(std::vector<uint8_t>(onDisk.begin(), onDisk.end()), golden);
  cWindowPosData back;
  ASSERT_EQ(LoadWhole(back, dir / "Window.dat"), 1);
  EXPECT_EQ(back.SaveToBytes(), golden);
}

// Without a display the desktop is 640 x 480.
TEST(WindowPosTest, LoadedPlacementIsClampedOntoTheDesktop) {
  struct {
    int32_t x, y, w, h;
    int32_t wantX, wantY, wantW, wantH;
  } const cases[] = {
      {100, 50, 640, 480, 100, 50, 640, 480},
      {-50, 99999, 640, 480, 0, 480, 640, 480},
      {640, 0, 100, 100, 640, 0, 100, 100},
      {0, 0, 99, -5, 0, 0, 100, 100},
      {0, 0, 5000, 481, 0, 0, 640, 480},
      {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, 0, 480, 100, 480},
  };
  for (const auto& c : cases) {
    cWindowPosData pos;
    std::vector<uint8_t> b = Bytes({783, 5, c.x, c.y, c.w, c.h, 7, 0});
    ASSERT_EQ(pos.LoadFromBytes(b.data(), b.size()), 1);
    EXPECT_EQ(pos.m_nX, c.wantX) << c.x;
    EXPECT_EQ(pos.m_nY, c.wantY) << c.y;
    EXPECT_EQ(pos.m_nWidth, c.wantW) << c.w;
    EXPECT_EQ(pos.m_nHeight, c.wantH) << c.h;
    EXPECT_EQ(pos.m_bZoomed, 7);  // taken as it stands
  }
}

TEST(WindowPosTest, BadFilesLeaveThePlacementAlone) {
  const std::vector<uint8_t> good = Bytes({783, 5, 1, 2, 300, 200, 0, 0});
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"empty", {}},
      {"header only", Bytes({783})},
      {"cut in the fields", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
      {"cut before the string count", std::vector<uint8_t>(good.begin(), good.begin() + 31)},
      {"newer program", Bytes({784, 5, 1, 2, 300, 200, 0, 0})},
      {"version above 2^31", Bytes({-1, 5, 1, 2, 300, 200, 0, 0})},
      {"more fields than the record has", Bytes({783, 6, 1, 2, 300, 200, 0, 0, 0})},
      {"negative field count", Bytes({783, -1, 0})},
      {"a string", Bytes({783, 5, 1, 2, 300, 200, 0, 1, 0})},
  };
  cTempFolder dir;
  for (const auto& [name, bytes] : cases) {
    dir.Write("Window.dat", std::string(bytes.begin(), bytes.end()));
    cWindowPosData pos;
    pos.Set(5, 6, 400, 300, 1);
    EXPECT_EQ(LoadWhole(pos, dir / "Window.dat"), 0) << name;
    EXPECT_EQ(pos.SaveToBytes(), Bytes({783, 5, 5, 6, 400, 300, 1, 0})) << name;
  }
  cWindowPosData pos;
  EXPECT_EQ(LoadWhole(pos, dir / "missing.dat"), 0);
}

TEST(WindowPosTest, OlderFileWithFewerFieldsKeepsTheRest) {
  cWindowPosData pos;
  pos.Set(5, 6, 400, 300, 1);
  std::vector<uint8_t> b = Bytes({700, 2, 30, 40, 0});
  ASSERT_EQ(pos.LoadFromBytes(b.data(), b.size()), 1);
  EXPECT_EQ(pos.SaveToBytes(), Bytes({783, 5, 30, 40, 400, 300, 1, 0}));
}

}  // namespace
