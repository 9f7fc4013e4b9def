// Helpers of the drawing tests.
#include "draw_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/logs.h"
#include "draw/palette_key.h"
#include "draw/scene_batch.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"

namespace drawtest {

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const BMPPICTURE& pic) {
  const int nTable = pic.nBitCount == 8 ? 256 : 0;
  const int nStride = ((pic.nWidth * pic.nBitCount / 8) + 3) & ~3;
  const uint32_t nOffset = 14 + 40 + nTable * 4;
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  Put32(v, nOffset + uint32_t(nStride * pic.nHeight));
  Put32(v, 0);
  Put32(v, nOffset);
  Put32(v, 40);
  Put32(v, uint32_t(pic.nWidth));
  Put32(v, uint32_t(pic.nHeight));  // bottom-up, as files usually are
  Put16(v, 1);
  Put16(v, uint32_t(pic.nBitCount));
  Put32(v, 0);
  Put32(v, uint32_t(nStride * pic.nHeight));
  Put32(v, 2835);
  Put32(v, 2835);
  Put32(v, uint32_t(nTable));
  Put32(v, 0);
  for (int i = 0; i < nTable; ++i) {
    uint32_t c = i < int(pic.Table.size()) ? pic.Table[size_t(i)] : 0;
    v.push_back(uint8_t(c));
    v.push_back(uint8_t(c >> 8));
    v.push_back(uint8_t(c >> 16));
    v.push_back(0);
  }
  for (int y = pic.nHeight - 1; y >= 0; --y) {
    size_t nStart = v.size();
    for (int x = 0; x < pic.nWidth; ++x) {
      uint32_t c = pic.Pixels[size_t(y) * pic.nWidth + x];
      if (pic.nBitCount == 8) {
        v.push_back(uint8_t(c));
      } else {
        v.push_back(uint8_t(c));
        v.push_back(uint8_t(c >> 8));
        v.push_back(uint8_t(c >> 16));
        if (pic.nBitCount == 32) v.push_back(0);
      }
    }
    while (v.size() - nStart < size_t(nStride)) v.push_back(0);
  }
  return v;
}

std::string WriteBmp(const std::string& strName, const BMPPICTURE& pic) {
  std::string strPath = TempDir() + "/" + strName;
  std::vector<uint8_t> bytes = EncodeBmp(pic);
  std::ofstream(strPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return strPath;
}

BMPPICTURE SolidBmp(int nWidth, int nHeight, uint32_t dwRgb) {
  BMPPICTURE s;
  s.nWidth = nWidth;
  s.nHeight = nHeight;
  s.Pixels.assign(size_t(nWidth) * nHeight, dwRgb);
  return s;
}

namespace {

// The process's folder of test folders, removed with everything in it when
// the process ends.
class cProcessTempDir {
 public:
  cProcessTempDir()
      : m_Path(std::filesystem::temp_directory_path() /
               ("brimvale-draw-tests-" + std::to_string(getpid()))) {}
  ~cProcessTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_Path, ec);
  }
  cProcessTempDir(const cProcessTempDir&) = delete;
  cProcessTempDir& operator=(const cProcessTempDir&) = delete;
  const std::filesystem::path& Path() const { return m_Path; }

 private:
  std::filesystem::path m_Path;
};

}  // namespace

std::string TempDir() {
  static const cProcessTempDir dir;
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string strName = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
  for (char& c : strName)
    if (c == '/') c = '_';
  std::filesystem::path p = dir.Path() / strName;
  std::filesystem::create_directories(p);
  return p.string();
}

std::string ReadText(const std::string& strPath) {
  std::ifstream f(strPath, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void ResetPlatform() {
  plat::gfx::ClearAllFaults();
  plat::gfx::SetDisplayConfig(plat::gfx::GFXDISPLAYCONFIG{});
  plat::gfx::SetDefaultCaps(plat::gfx::GFXCAPS{});
  std::string strDir = TempDir();
  // The debug log is made once per run; later lines only append to a file
  // that exists, so each test starts its own empty one.
  std::ofstream(strDir + "/debug.txt", std::ios::trunc);
  DebugLogInit(1, (strDir + "/debug.txt").c_str());
  ReportInit((strDir + "/report.txt").c_str());
}

bool InitMode(const DRAWMODE& mode, DDSURFACEDATA* lpTable, int nTable) {
  plat::gfx::GFXDISPLAYCONFIG display = plat::gfx::GetDisplayConfig();
  display.nDesktopBpp = mode.nBpp;  // a windowed DirectDraw screen draws at the desktop's depth
  plat::gfx::SetDisplayConfig(display);
  return DDInit(mode.bDirect3D, nullptr, 640, 480, mode.nBpp, 0, mode.bWindow, 1, 60, 0, lpTable,
                nullptr, nTable, 0);
}

void ShutDown() {
  DDReleaseAll();
  for (DDSURFACEDATA* sd : {&PrimarySD, &BackBuffer, &VirBackBuffer, &WorkSD, &SystemWorkSD})
    DDZeroSurface(sd);
  SpriteBatch = DDSPRITEBATCH{};
  FillBatch = DDFILLBATCH{};
  g_DD.bInitialized = 0;
  g_DD.dwColorKey = 0;
  g_DD.ProgramPalette = DDPALETTE{};
  g_DD.SurfaceBits = DDPIXELBITS{};
  g_DD.BackBufferBits = DDPIXELBITS{};
  plat::gfx::ClearAllFaults();
}

std::string ReportLog() { return ReadText(TempDir() + "/report.txt"); }
std::string DebugLogText() { return ReadText(TempDir() + "/debug.txt"); }

uint32_t ReadRaw(DDSURFACEDATA* lpSD, int x, int y) {
  cSurfaceLock lock;
  if (!lock.Lock(lpSD)) {
    ADD_FAILURE() << "lock failed";
    return 0xDEADBEEF;
  }
  const uint8_t* p = lock.m_lpBits + (size_t(y) * lock.m_nPitch + x) * lock.m_nBytesPerPixel;
  switch (lock.m_nBytesPerPixel) {
    case 1:
      return p[0];
    case 2:
      return uint32_t(p[0] | p[1] << 8);
    default:
      return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
  }
}

namespace {

plat::gfx::ePixelFormat FormatOf(DDSURFACEDATA* lpSD) {
  DDRedirectBackBuffer(&lpSD);
  if (lpSD->lpDT && lpSD->lpDT->lpSurface) return lpSD->lpDT->lpSurface->GetFormat();
  if (lpSD->lpDDS && lpSD->lpDDS->lpDDSurface) return lpSD->lpDDS->lpDDSurface->GetFormat();
  return plat::gfx::ePixelFormat::Unknown;
}

}  // namespace

uint32_t ReadRgb(DDSURFACEDATA* lpSD, int x, int y) {
  const uint32_t v = ReadRaw(lpSD, x, y);
  const plat::gfx::ePixelFormat f = FormatOf(lpSD);
  if (f == plat::gfx::ePixelFormat::P8) return g_DD.lpDDPalette->GetArgb(int(v)) & 0xFFFFFF;
  return plat::gfx::PixelToArgb(v, f) & 0xFFFFFF;
}

std::vector<uint32_t> ReadRgbArea(DDSURFACEDATA* lpSD, int x, int y, int w, int h) {
  std::vector<uint32_t> out;
  const plat::gfx::ePixelFormat f = FormatOf(lpSD);
  cSurfaceLock lock;
  if (!lock.Lock(lpSD)) {
    ADD_FAILURE() << "lock failed";
    return out;
  }
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      if (i < 0 || j < 0 || i >= lock.m_lpSD->nWidth || j >= lock.m_lpSD->nHeight) {
        out.push_back(0xDEADBEEF);
        continue;
      }
      const uint8_t* p = lock.m_lpBits + (size_t(j) * lock.m_nPitch + i) * lock.m_nBytesPerPixel;
      uint32_t v = p[0];
      if (lock.m_nBytesPerPixel == 2) v = uint32_t(p[0] | p[1] << 8);
      if (lock.m_nBytesPerPixel == 4)
        v = uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
      out.push_back(f == plat::gfx::ePixelFormat::P8 ? g_DD.lpDDPalette->GetArgb(int(v)) & 0xFFFFFF
                                                     : plat::gfx::PixelToArgb(v, f) & 0xFFFFFF);
    }
  return out;
}

uint32_t ScreenRgbOf(uint32_t dwRgb) {
  const plat::gfx::ePixelFormat f = FormatOf(&BackBuffer);
  if (f == plat::gfx::ePixelFormat::P8) return dwRgb;  // the palette holds the colour itself
  return plat::gfx::PixelToArgb(plat::gfx::ArgbToPixel(0xFF000000u | dwRgb, f), f) & 0xFFFFFF;
}

void InstallPalette(const std::vector<std::pair<int, uint32_t>>& entries) {
  for (const auto& [i, c] : entries) {
    DDPALENTRY& e = g_DD.ProgramPalette[size_t(i)];
    int r = int(c >> 16) & 255, g = int(c >> 8) & 255, b = int(c) & 255;
    if (!DDIsDirect3D() && g_DD.nBpp == 16) {
      r = plat::gfx::TruncateChannel(r, g_DD.SurfaceBits.nRedMax);
      g = plat::gfx::TruncateChannel(g, g_DD.SurfaceBits.nGreenMax);
      b = plat::gfx::TruncateChannel(b, g_DD.SurfaceBits.nBlueMax);
    }
    e = {uint8_t(r), uint8_t(g), uint8_t(b), 0};
  }
  if (!DDIsDirect3D() && g_DD.nBpp == 8)
    g_DD.lpDDPalette->SetEntries(0, 256, g_DD.ProgramPalette.data());
}

void cDrawModeTest::SetUp() {
  ResetPlatform();
  ASSERT_TRUE(InitMode(GetParam()));
}

void cDrawModeTest::TearDown() { ShutDown(); }

}  // namespace drawtest
