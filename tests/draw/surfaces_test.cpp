// Surface records: texture size rules, video-memory shortage, creation
// failures with their lines, sharing and mirrored source rectangles,
// release, and locks of render targets.
#include "draw/surfaces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/surface_lock.h"
#include "draw_fixture.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/fault_hooks.h"

using namespace drawtest;
using plat::gfx::eFaultPoint;
using plat::gfx::eGfxResult;

namespace {

class cSurfaceTest : public testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override { ShutDown(); }
  void StartD3D(bool bPow2, bool bSquare, int nMax = 4096) {
    plat::gfx::GFXCAPS caps;
    caps.bPow2Only = bPow2;
    caps.bSquareOnly = bSquare;
    caps.nMaxTextureWidth = caps.nMaxTextureHeight = nMax;
    plat::gfx::SetDefaultCaps(caps);
    ASSERT_TRUE(InitMode(kModes[5]));
  }
};

TEST_F(cSurfaceTest, TextureSizeRules) {
  struct ROW {
    bool bPow2, bSquare;
    int w, h, tw, th;
  };
  const ROW rows[] = {
      {false, false, 640, 480, 640, 480}, {true, false, 640, 480, 1024, 512},
      {true, true, 640, 480, 1024, 1024}, {true, false, 256, 256, 256, 256},
      {true, false, 1, 3, 1, 4},          {false, true, 30, 10, 30, 30},
  };
  for (const ROW& r : rows) {
    SCOPED_TRACE(testing::Message()
                 << r.w << "x" << r.h << " pow2 " << r.bPow2 << " square " << r.bSquare);
    ResetPlatform();
    StartD3D(r.bPow2, r.bSquare);
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, r.w, r.h, 0, 0, 0, 0, 0));
    EXPECT_EQ(sd.nWidth, r.w);
    EXPECT_EQ(sd.nHeight, r.h);
    EXPECT_EQ(sd.nTexWidth, r.tw);
    EXPECT_EQ(sd.nTexHeight, r.th);
    EXPECT_STREQ(sd.szName, "OffScreen");
    EXPECT_STREQ(sd.szFileName, "E");
    ShutDown();
  }
}

TEST_F(cSurfaceTest, OversizedTexturesAreReportedAndStillMade) {
  StartD3D(false, false, 512);
  DDSURFACEDATA sd;
  EXPECT_TRUE(DDCreateSurface(&sd, 600, 700, 0, 0, 0, 0, 0));
  const std::string strReport = ReportLog();
  EXPECT_NE(strReport.find("このビデオカードでは横幅512を超える画像はサポートされていません！"),
            std::string::npos);
  EXPECT_NE(strReport.find("このビデオカードでは縦幅512を超える画像はサポートされていません！"),
            std::string::npos);
  EXPECT_NE(strReport.find("上記の理由でテクスチャの描画が失敗する可能性があります。(空)"),
            std::string::npos);
}

TEST_F(cSurfaceTest, PaddedTexturesMapTheVisiblePartExactly) {
  StartD3D(true, false);
  BMPPICTURE pic;
  pic.nWidth = 6;
  pic.nHeight = 3;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) pic.Pixels.push_back(uint32_t(0x100000 * (x + 1) + 0x20 * (y + 1)));
  DDSURFACEDATA sd;
  ASSERT_EQ(DDCreateSurfaceFromFile(&sd, WriteBmp("odd.bmp", pic).c_str(), 0, 32, 0, 0, nullptr, 0,
                                    0, 0, 0),
            0);
  EXPECT_EQ(sd.nTexWidth, 8);
  EXPECT_EQ(sd.nTexHeight, 4);
  DDBlt(&BackBuffer, 5, 5, 6, 3, &sd, 0, 0, 0);
  DDBltStretch(&BackBuffer, 20, 5, 3, 3, &sd, 0, 0, 6, 3, 0);  // 2:1 picks the odd columns
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(ReadRgb(&BackBuffer, 5 + x, 5 + y), pic.Pixels[size_t(y) * 6 + x]);
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(ReadRgb(&BackBuffer, 20 + k, 5 + y), pic.Pixels[size_t(y) * 6 + 2 * k + 1]);
  }
}

TEST_F(cSurfaceTest, VideoMemoryShortageMovesToSystemMemory) {
  StartD3D(false, false);
  DDSURFACEDATA blank, file;
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::OutOfVideoMemory, 2);
  ASSERT_TRUE(DDCreateSurface(&blank, 16, 16, 1, 0, 0, 0, 0));
  EXPECT_EQ(blank.lpDT->nMemoryType, DTMEMORYTYPE_SYSTEM);
  EXPECT_EQ(blank.lpDT->bRenderTarget, 0);
  const std::string strPath = WriteBmp("pic.bmp", SolidBmp(4, 4, 0x123456));
  EXPECT_EQ(DDCreateSurfaceFromFile(&file, strPath.c_str(), 1, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
  EXPECT_EQ(file.lpDT->nMemoryType, DTMEMORYTYPE_SYSTEM);
  const std::string strReport = ReportLog();
  EXPECT_NE(strReport.find("VRAM不足のためシステムメモリにテクスチャを作成します。(空)"),
            std::string::npos);
  EXPECT_NE(
      strReport.find("VRAM不足のためシステムメモリにテクスチャを作成します。(" + strPath + ")"),
      std::string::npos);
  // A system-memory source takes the software path and still draws.
  DDBlt(&BackBuffer, 0, 0, 4, 4, &file, 0, 0, 0);
  EXPECT_EQ(ReadRgb(&BackBuffer, 3, 3), 0x123456u);
  ShutDown();

  // DirectDraw: silently into system memory.
  ResetPlatform();
  ASSERT_TRUE(InitMode(kModes[2]));
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::OutOfVideoMemory, 1);
  ASSERT_TRUE(DDCreateSurface(&blank, 16, 16, 1, 0, 0, 0, 0));
  EXPECT_EQ(blank.nMemory, 1);
}

TEST_F(cSurfaceTest, CreationFailuresAndTheirLines) {
  StartD3D(false, false);
  g_DD.lpDTCon->strTextureError = "";
  DDSURFACEDATA sd;
  // A render target failing for another reason than memory: false, silently.
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::Fail, 1);
  EXPECT_FALSE(DDCreateSurface(&sd, 8, 8, 0, 0, 0, 0, 0));
  // A system-memory texture that cannot be made ends the program.
  plat::gfx::FailNext(eFaultPoint::CreateSystemImage, eGfxResult::Fail, 1);
  EXPECT_FALSE(DDCreateSurface(&sd, 8, 8, 0, 1, DTMEMORYTYPE_SYSTEM, 0, 0));
  EXPECT_NE(ReportLog().find("D3DXCreateTexture Err hr = 80004005"), std::string::npos);
  plat::gfx::FailNext(eFaultPoint::CreateSystemImage, eGfxResult::Fail, 1);
  EXPECT_FALSE(DDCreateSurface(&sd, 8, 8, 0, 0, 0, 0, 0));
  EXPECT_NE(ReportLog().find("CreateOffscreenPlainSurface Err hr = 80004005"), std::string::npos);
  plat::gfx::FailNext(eFaultPoint::CreateVertexBuffer, eGfxResult::Fail, 1);
  EXPECT_FALSE(DDCreateSurface(&sd, 8, 8, 0, 0, 0, 0, 0));
  EXPECT_NE(ReportLog().find("CreateVertexBuffer Err"), std::string::npos);

  // Files: missing (with and without a name), and a texture the device refuses.
  EXPECT_EQ(DDCreateSurfaceFromFile(&sd, "", 1, 32, 0, 0, nullptr, 0, 0, 0, 0), LOADIMAGE_ERR);
  EXPECT_EQ(ReportLog().find("LoadImage Err \n"), std::string::npos);
  EXPECT_EQ(DDCreateSurfaceFromFile(&sd, "/nonexistent/x.bmp", 1, 32, 0, 0, nullptr, 0, 0, 0, 0),
            LOADIMAGE_ERR);
  EXPECT_NE(ReportLog().find("LoadImage Err /nonexistent/x.bmp"), std::string::npos);
  const std::string strPath = WriteBmp("pic.bmp", SolidBmp(4, 4, 0x123456));
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::Fail, 1);
  const int nCode = DDCreateSurfaceFromFile(&sd, strPath.c_str(), 1, 32, 0, 0, nullptr, 0, 0, 0, 0);
  EXPECT_NE(nCode, 0);
  EXPECT_TRUE(DDLogSurfaceError(nCode));  // loaders go on without the texture
  EXPECT_NE(ReportLog().find("テクスチャの作成に失敗。(" + strPath + ")"), std::string::npos);
}

TEST_F(cSurfaceTest, MemoryTypeTwoIsTypeZero) {
  StartD3D(false, false);
  DDSURFACEDATA blank, file;
  ASSERT_TRUE(DDCreateSurface(&blank, 32, 32, 1, 0, DTMEMORYTYPE_VIDEO_NORT, 0, 0));
  EXPECT_EQ(blank.lpDT->nMemoryType, DTMEMORYTYPE_VIDEO_RT);
  EXPECT_EQ(blank.lpDT->bRenderTarget, 1);
  EXPECT_TRUE(blank.lpDT->lpSystemSurface != nullptr);
  const std::string strPath = WriteBmp("pic.bmp", SolidBmp(4, 4, 0x123456));
  EXPECT_EQ(DDCreateSurfaceFromFile(&file, strPath.c_str(), 1, 32, 0, DTMEMORYTYPE_VIDEO_NORT,
                                    nullptr, 0, 0, 0, 0),
            0);
  EXPECT_EQ(file.lpDT->nMemoryType, DTMEMORYTYPE_VIDEO_RT);
  EXPECT_EQ(file.lpDT->bRenderTarget, 0);
  EXPECT_TRUE(file.lpDT->lpSystemSurface == nullptr);
  EXPECT_NE(DebugLogText().find("DTMEMORYTYPE_VIDEO_NORTの指定は未対応です。"), std::string::npos);
}

TEST_F(cSurfaceTest, NewRenderTargetsStartInTheKeyColourAndReleaseIsClean) {
  StartD3D(false, false);
  g_DD.lpDTCon->dwTransmitColor = 0xFF102030;
  {
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 8, 8, 1, 0, 0, 0, 0));
    EXPECT_EQ(ReadRaw(&sd, 7, 7), 0xFF102030u);
    EXPECT_EQ(TextureList.back(), &sd);
    const size_t nCount = TextureList.size();
    DDReleaseSurface(&sd);
    EXPECT_EQ(TextureList.size(), nCount - 1);
    DDReleaseSurface(&sd);  // twice: nothing left to do
    EXPECT_TRUE(sd.lpDT == nullptr);
    EXPECT_EQ(sd.nWidth, 8);  // sizes and names stay
    EXPECT_STREQ(sd.szName, "OffScreen");
    ASSERT_TRUE(DDCreateSurface(&sd, 8, 8, 1, 0, 0, 0, 0));
  }
  // A record that goes away leaves the list.
  for (DDSURFACEDATA* p : TextureList) EXPECT_TRUE(p == &VirBackBuffer || p == &WorkSD);
}

TEST_F(cSurfaceTest, SharedRecordsDrawTheOwnersTextureMirroredByFrame) {
  StartD3D(false, false);
  // Two 4-pixel frames: columns have distinct colours.
  BMPPICTURE pic;
  pic.nWidth = 8;
  pic.nHeight = 1;
  for (int x = 0; x < 8; ++x) pic.Pixels.push_back(uint32_t(0x10 * (x + 1)));
  const std::string strPath = WriteBmp("frames.bmp", pic);
  DDSURFACEDATA owner, mirrored;
  ASSERT_EQ(DDCreateSurfaceFromFile(&owner, strPath.c_str(), 1, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
  const size_t nListed = TextureList.size();
  ASSERT_EQ(DDCreateSurfaceFromFile(&mirrored, strPath.c_str(), 1, 32, 0, 0, &owner, 0, 4, 0, 0),
            0);
  EXPECT_EQ(TextureList.size(), nListed);  // owns no texture
  mirrored.lpShareSD = &owner;

  struct ROW {
    int sx, sw;
    std::vector<uint32_t> cols;  // expected source columns left to right
  };
  const ROW rows[] = {
      {0, 4, {3, 2, 1, 0}}, {4, 4, {7, 6, 5, 4}}, {1, 2, {2, 1}}, {0, 8, {0, 1, 2, 3, 4, 5, 6, 7}}};
  for (const ROW& r : rows) {
    SCOPED_TRACE(testing::Message() << r.sx << "+" << r.sw);
    DDBlt(&BackBuffer, 0, 0, r.sw, 1, &mirrored, r.sx, 0, 1);
    for (size_t k = 0; k < r.cols.size(); ++k)
      EXPECT_EQ(ReadRgb(&BackBuffer, int(k), 0), pic.Pixels[r.cols[k]]) << k;
  }
  DDReleaseSurface(&mirrored);  // owns nothing: the owner still draws
  DDBlt(&BackBuffer, 0, 0, 1, 1, &owner, 5, 0, 1);
  EXPECT_EQ(ReadRgb(&BackBuffer, 0, 0), pic.Pixels[5]);
}

TEST_F(cSurfaceTest, DirectDrawGivesASharedEntryASurfaceOfItsOwn) {
  ASSERT_TRUE(InitMode(kModes[2]));
  const std::string strPath = WriteBmp("pic.bmp", SolidBmp(4, 4, 0x123456));
  DDSURFACEDATA owner, copy;
  ASSERT_EQ(DDCreateSurfaceFromFile(&owner, strPath.c_str(), 1, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
  ASSERT_EQ(DDCreateSurfaceFromFile(&copy, strPath.c_str(), 1, 32, 0, 0, &owner, 0, 0, 0, 0), 0);
  ASSERT_TRUE(copy.lpDDS && copy.lpDDS->lpDDSurface);
  EXPECT_NE(copy.lpDDS->lpDDSurface, owner.lpDDS->lpDDSurface);
  EXPECT_STREQ(copy.szFileName, strPath.c_str());
}

TEST_F(cSurfaceTest, RenderTargetLocksReadBackAndWriteBack) {
  StartD3D(false, false);
  {
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(&WorkSD));
    EXPECT_EQ(lock.m_nPitch, 640);
    uint32_t v = 0xFF00FF00;
    std::memcpy(lock.m_lpBits + (10 * lock.m_nPitch + 20) * 4, &v, 4);
  }
  EXPECT_EQ(WorkSD.lpDT->lpSurface->ReadPixel(20, 10), 0xFF00FF00u);  // written back
  DDBlt(&BackBuffer, 0, 0, 640, 480, &WorkSD, 0, 0, 0);
  EXPECT_EQ(ReadRgb(&BackBuffer, 20, 10), 0x00FF00u);

  struct ROW {
    eFaultPoint point;
    const char* szLine;
  };
  const ROW rows[] = {
      {eFaultPoint::GetRenderTargetData,
       "FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) "
       ")"},
      {eFaultPoint::LockSurface, "FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )"},
  };
  for (const ROW& r : rows) {
    plat::gfx::FailNext(r.point, eGfxResult::Fail, 1);
    cSurfaceLock lock;
    EXPECT_FALSE(lock.Lock(&WorkSD));
    EXPECT_TRUE(lock.m_lpSD == nullptr);
    EXPECT_NE(DebugLogText().find(r.szLine), std::string::npos) << r.szLine;
  }
  // The back buffer is locked directly, without a read-back.
  plat::gfx::FailNext(eFaultPoint::GetRenderTargetData, eGfxResult::Fail, 1);
  cSurfaceLock back;
  EXPECT_TRUE(back.Lock(&BackBuffer));
  back.Unlock();
  plat::gfx::ClearAllFaults();
  // A failed unlock of the system copy: no write-back.
  {
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(&WorkSD));
    std::memset(lock.m_lpBits + (10 * lock.m_nPitch + 20) * 4, 0, 4);
    plat::gfx::FailNext(eFaultPoint::UnlockSurface, eGfxResult::Fail, 1);
  }
  EXPECT_NE(DebugLogText().find("D3D_OK != m_lpSD->lpDT->lpSystemSurface->UnlockRect();"),
            std::string::npos);
  EXPECT_EQ(WorkSD.lpDT->lpSurface->ReadPixel(20, 10), 0xFF00FF00u);
}

TEST_F(cSurfaceTest, DirectDrawLockInDirect3DIsRefused) {
  StartD3D(false, false);
  DDLOCKDESC desc;
  uint8_t* lpBits = nullptr;
  EXPECT_TRUE(DDLock(&WorkSD, &desc, &lpBits, 32));
  EXPECT_TRUE(lpBits == nullptr);
  EXPECT_NE(DebugLogText().find("D3DではDDLockは未対応"), std::string::npos);
}

TEST_F(cSurfaceTest, BadBitmapFilesFailTheLoadWithItsLines) {
  const std::vector<uint8_t> good = EncodeBmp(SolidBmp(4, 4, 0x102030));
  struct ROW {
    const char* szName;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> lying = good;
  lying[18] = 0xFF;  // width far beyond the pixel data
  lying[19] = 0xFF;
  std::vector<uint8_t> giant = good;
  giant[18] = giant[19] = giant[20] = 0xFF;  // 16 M pixels wide
  giant[22] = giant[23] = giant[24] = 0xFF;
  const ROW rows[] = {{"empty.bmp", {}},
                      {"header.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
                      {"truncated.bmp", std::vector<uint8_t>(good.begin(), good.end() - 20)},
                      {"lying.bmp", lying},
                      {"giant.bmp", giant}};
  for (const DRAWMODE& mode : {kModes[1], kModes[5]}) {
    ResetPlatform();
    ASSERT_TRUE(InitMode(mode));
    for (const ROW& r : rows) {
      SCOPED_TRACE(testing::Message() << mode.szName << " " << r.szName);
      const std::string strPath = TempDir() + "/" + r.szName;
      std::FILE* f = std::fopen(strPath.c_str(), "wb");
      ASSERT_TRUE(f);
      if (!r.bytes.empty()) std::fwrite(r.bytes.data(), 1, r.bytes.size(), f);
      std::fclose(f);
      DDSURFACEDATA sd;
      EXPECT_EQ(
          DDCreateSurfaceFromFile(&sd, strPath.c_str(), 1, mode.nBpp, 0, 0, nullptr, 0, 0, 0, 0),
          LOADIMAGE_ERR);
      if (mode.bDirect3D)
        EXPECT_NE(ReportLog().find("LoadImage Err " + strPath), std::string::npos);
      else
        EXPECT_NE(DebugLogText().find(strPath), std::string::npos);
    }
    ShutDown();
  }
}

TEST_F(cSurfaceTest, RestoreThatRunsShortOfVideoMemoryStillMakesTheTexture) {
  StartD3D(false, false);
  DDSURFACEDATA sys, rt;
  ASSERT_TRUE(DDCreateSurface(&sys, 8, 8, 1, 1, DTMEMORYTYPE_SYSTEM, 0, 0));
  ASSERT_TRUE(DDCreateSurface(&rt, 8, 8, 1, 0, 0, 0, 0));
  const plat::gfx::cImagePtr kept = sys.lpDT->lpTexture;
  // What a device restore does: video textures go, then every record is
  // made again in restore mode.
  rt.lpDT->lpTexture.reset();
  rt.lpDT->lpSurface.reset();
  plat::gfx::FailNext(eFaultPoint::CreateVideoImage, eGfxResult::OutOfVideoMemory, 1);
  ASSERT_TRUE(DDCreateSurface(&rt, 8, 8, 1, 0, 0, 0, 1));
  EXPECT_EQ(rt.lpDT->nMemoryType, DTMEMORYTYPE_SYSTEM);
  ASSERT_TRUE(rt.lpDT->lpTexture != nullptr);
  EXPECT_EQ(rt.lpDT->lpSurface, rt.lpDT->lpTexture);
  ASSERT_TRUE(DDCreateSurface(&sys, 8, 8, 1, 1, DTMEMORYTYPE_SYSTEM, 0, 1));
  EXPECT_EQ(sys.lpDT->lpTexture, kept);  // a system texture keeps what it has
}

}  // namespace
