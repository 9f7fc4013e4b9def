// The built-in bitmap table loaded by entry number in a project folder, and
// the surface collections: where new surfaces go, what erasing takes away.
#include "draw/surface_collections.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/logs.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/surfaces.h"
#include "draw_fixture.h"
#include "platform/gfx/fault_hooks.h"
#include "support/temp_folder.h"

namespace {

using drawtest::BMPPICTURE;

using drawtest::kBackground, drawtest::kRed, drawtest::kYellow, drawtest::kBlue;

// An 8-bit picture on the demo colours: 0 black (the key), 1 red, 2 yellow,
// 3 blue.
BMPPICTURE Indexed(int w, int h, uint8_t byFill) {
  BMPPICTURE p;
  p.nWidth = w;
  p.nHeight = h;
  p.nBitCount = 8;
  p.Table = {0x000000, kRed, kYellow, kBlue};
  p.Pixels.assign(size_t(w) * size_t(h), byFill);
  return p;
}

bool HasSurface(const DDSURFACEDATA& sd) {
  return (sd.lpDT && (sd.lpDT->lpSurface || sd.lpShareSD)) || (sd.lpDDS && sd.lpDDS->lpDDSurface);
}

class cBuiltInTableTest : public testing::TestWithParam<drawtest::DRAWMODE> {
 protected:
  void SetUp() override {
    drawtest::ResetPlatform();
    m_strProject = drawtest::TempDir() + "/project";
    std::filesystem::create_directories(m_strProject + "/bmp");
    ASSERT_TRUE(drawtest::InitMode(GetParam(), g_SurfaceTable, kBuiltInSurfaceCount));
    g_DD.lpImageTable = g_ImageTable;
    if (DDIsDirect3D()) LinkSharedSurfaces();
    drawtest::InstallPalette({{1, kRed}, {2, kYellow}, {3, kBlue}, {4, kBackground}});
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 4);
  }
  void TearDown() override { drawtest::ShutDown(); }
  void Write(const std::string& strName, const BMPPICTURE& pic) {
    const std::vector<uint8_t> bytes = drawtest::EncodeBmp(pic);
    std::string strBytes(bytes.begin(), bytes.end());
    std::ofstream(m_strProject + "/" + strName, std::ios::binary) << strBytes;
  }
  bool Load(std::vector<int> entries) {
    cCurrentFolder in(m_strProject);
    return DDLoadSurfaces(g_SurfaceTable, entries.data(), int(entries.size()));
  }

  std::string m_strProject;
};

TEST_P(cBuiltInTableTest, LoadsTheListedEntriesOnly) {
  Write("bmp/Debug.bmp", Indexed(24, 8, 1));
  ASSERT_TRUE(Load({1}));
  EXPECT_TRUE(HasSurface(g_SurfaceTable[1]));
  EXPECT_EQ(g_SurfaceTable[1].nWidth, 24);
  EXPECT_EQ(g_SurfaceTable[1].nHeight, 8);
  for (int n : {0, 2, 45, 50, 63}) EXPECT_FALSE(HasSurface(g_SurfaceTable[n])) << n;

  // The work surfaces are blank entries of their sizes.
  ASSERT_TRUE(Load({63, 65, 66, 67, 68, 69, 70}));
  const struct {
    int n, w, h;
  } blanks[] = {{63, 256, 960}, {65, 640, 480},   {66, 640, 480},  {67, 640, 480},
                {68, 640, 480}, {69, 1024, 1024}, {70, 1024, 1024}};
  for (const auto& b : blanks) {
    EXPECT_TRUE(HasSurface(g_SurfaceTable[b.n])) << b.n;
    EXPECT_EQ(g_SurfaceTable[b.n].nWidth, b.w) << b.n;
    EXPECT_EQ(g_SurfaceTable[b.n].nHeight, b.h) << b.n;
  }
  // Loading again releases first.
  Write("bmp/Debug.bmp", Indexed(12, 6, 1));
  ASSERT_TRUE(Load({1}));
  EXPECT_EQ(g_SurfaceTable[1].nWidth, 12);
}

TEST_P(cBuiltInTableTest, MissingPicturesStopTheLoadUnlessOptional) {
  Write("bmp/Debug.bmp", Indexed(8, 8, 1));
  // Character2 is optional: both of its entries stay empty, no box.
  const std::string strBoxBefore = GetLastErrorBoxText();
  EXPECT_TRUE(Load({6, 7, 1}));
  EXPECT_FALSE(HasSurface(g_SurfaceTable[6]));
  EXPECT_FALSE(HasSurface(g_SurfaceTable[7]));
  EXPECT_TRUE(HasSurface(g_SurfaceTable[1]));
  EXPECT_EQ(GetLastErrorBoxText(), strBoxBefore);

  // The block sheet is required: the box names it, and what follows is
  // not loaded.
  DDReleaseSurface(&g_SurfaceTable[1]);
  EXPECT_FALSE(Load({2, 1}));
  EXPECT_EQ(GetLastErrorBoxText(), "bmp\\Block.bmp の読み込みに失敗！");
  EXPECT_FALSE(HasSurface(g_SurfaceTable[2]));
  EXPECT_FALSE(HasSurface(g_SurfaceTable[1]));
  EXPECT_FALSE(Load({kBuiltInSurfaceCount}));
}

TEST_P(cBuiltInTableTest, MirroredEntriesShowTheirSheetFrameByFrame) {
  // Two 32-pixel frames: red with a yellow first column, then blue.
  BMPPICTURE sheet = Indexed(64, 32, 1);
  for (int y = 0; y < 32; ++y) {
    sheet.Pixels[size_t(y) * 64] = 2;
    for (int x = 32; x < 64; ++x) sheet.Pixels[size_t(y) * 64 + size_t(x)] = 3;
  }
  Write("bmp/Character1.bmp", sheet);
  ASSERT_TRUE(Load({4, 5, 22, 23}));
  DDBlt(&BackBuffer, 100, 100, 32, 32, &g_SurfaceTable[5], 0, 0, 1);
  DDBlt(&BackBuffer, 132, 100, 32, 32, &g_SurfaceTable[5], 32, 0, 1);
  DDBlt(&BackBuffer, 100, 200, 64, 32, &g_SurfaceTable[22], 0, 0, 1);
  DDBlt(&BackBuffer, 100, 300, 32, 32, &g_SurfaceTable[23], 32, 0, 1);
  const auto At = [](int x, int y) { return drawtest::ReadRgb(&BackBuffer, x, y); };
  const auto Rgb = [](uint32_t c) { return drawtest::ScreenRgbOf(c); };
  EXPECT_EQ(At(100, 110), Rgb(kRed));
  EXPECT_EQ(At(131, 110), Rgb(kYellow)) << "the first frame faces the other way";
  EXPECT_EQ(At(132, 110), Rgb(kBlue)) << "the second frame stays second";
  EXPECT_EQ(At(100, 210), Rgb(kYellow)) << "a copy as it is";
  EXPECT_EQ(At(131, 310), Rgb(kBlue)) << "the mirrored copy's second frame";
}

TEST(SurfaceCollections, NewSurfacesGoWhereAskedAndErasingTakesTheirDescriptors) {
  drawtest::ResetPlatform();
  ASSERT_TRUE(drawtest::InitMode(drawtest::kModes[5]));
  DDSURFACELIST surfaces;
  DDIMAGELIST images;
  // Descriptors tell the elements apart by colour key and memory.
  EXPECT_TRUE(DDPushSurfaceList(surfaces, images, 10, 4, 0, 0, 0, 0));
  EXPECT_TRUE(DDPushSurfaceList(surfaces, images, 20, 4, 1, 0, 0, 0));
  EXPECT_TRUE(DDInsertSurfaceList(surfaces, images, 2, 30, 4, 0, 1, 1, 0));
  EXPECT_TRUE(DDInsertSurfaceList(surfaces, images, 0, 40, 4, 1, 1, 1, 0));
  EXPECT_TRUE(DDInsertSurfaceList(surfaces, images, 7, 50, 4, 1, 0, 0, 0));
  EXPECT_TRUE(DDInsertSurfaceList(surfaces, images, -3, 60, 4, 0, 0, 0, 0));
  const auto Widths = [&] {
    std::vector<int> v;
    for (const DDSURFACEDATA& sd : surfaces) v.push_back(sd.nWidth);
    return v;
  };
  const auto Keys = [&] {
    std::vector<int> v;
    for (const DDIMAGEDATA& d : images) v.push_back(d.bColorKey * 10 + d.nMemory);
    return v;
  };
  EXPECT_EQ(Widths(), (std::vector<int>{60, 40, 10, 20, 30, 50}));
  EXPECT_EQ(Keys(), (std::vector<int>{0, 11, 0, 10, 1, 10}));

  DDSURFACEDATA stranger;
  EXPECT_EQ(DDEraseSurfaceList(surfaces, images, &stranger), 0);
  EXPECT_EQ(surfaces.size(), 6u);
  DDSURFACEDATA* lpTwenty = &*std::next(surfaces.begin(), 3);
  EXPECT_EQ(DDEraseSurfaceList(surfaces, images, lpTwenty), 1);
  EXPECT_EQ(Widths(), (std::vector<int>{60, 40, 10, 30, 50}));
  EXPECT_EQ(Keys(), (std::vector<int>{0, 11, 0, 1, 10}));

  DDSURFACEVECTOR vec;
  DDIMAGEVECTOR vecImages;
  EXPECT_TRUE(DDPushSurface(vec, vecImages, 16, 16, 1, 0, 0, 0));
  DDSURFACEDATA* lpFirst = &vec[0];
  for (int i = 0; i < 40; ++i) DDPushSurface(vec, vecImages, 8, 8, 0, 1, 1, 0);
  EXPECT_EQ(&vec[0], lpFirst) << "records stay where they are";
  EXPECT_EQ(vecImages.size(), 41u);
  // Short of video memory a render target moves to system memory; any
  // other failure to make it is the push's failure.
  plat::gfx::FailNext(plat::gfx::eFaultPoint::CreateVideoImage,
                      plat::gfx::eGfxResult::OutOfVideoMemory);
  EXPECT_TRUE(DDPushSurface(vec, vecImages, 8, 8, 1, 0, 0, 0));
  EXPECT_EQ(vec.back().lpDT->nMemoryType, DTMEMORYTYPE_SYSTEM);
  plat::gfx::FailNext(plat::gfx::eFaultPoint::CreateVideoImage, plat::gfx::eGfxResult::Fail);
  EXPECT_FALSE(DDPushSurface(vec, vecImages, 8, 8, 1, 0, 0, 0));
  EXPECT_EQ(vec.size(), 43u);
  DDReleaseSurfaceVector(vec);
  DDReleaseSurfaceList(surfaces);
  EXPECT_EQ(vec.size(), 43u);
  for (const DDSURFACEDATA& sd : vec) EXPECT_FALSE(HasSurface(sd));
  for (const DDSURFACEDATA& sd : surfaces) EXPECT_FALSE(HasSurface(sd));
  drawtest::ShutDown();
}

INSTANTIATE_TEST_SUITE_P(Modes, cBuiltInTableTest, testing::ValuesIn(drawtest::kModes),
                         drawtest::ModeName);

}  // namespace
