// Machine and display description lines of the report log.
#include "app/system_report.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <time.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "draw/draw_context.h"
#include "platform/clock/clock.h"
#include "platform/gfx/display_config.h"
#include "platform/present/presenter_service.h"
#include "platform/present/presenter_window.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

constexpr double kMegabyte = 1048576.0;
// The platform number the report names the system family by.
constexpr int kPlatformNumber = 2;
// The newest system version the program knows.
constexpr int kNewestMajor = 6;
constexpr int kNewestMinor = 1;
// How long the processor clock is measured: long enough for a tenth of a
// per cent, short enough not to hold up the start.
constexpr int kClockMeasureMs = 20;
// A 64-bit process's own half of the address space on this machine.
constexpr uint64_t kAddressSpaceBytes = uint64_t{1} << 47;

// A value of /proc/meminfo in bytes; 0 when it is missing.
uint64_t MemInfoBytes(const char* szKey) {
  std::FILE* fp = std::fopen("/proc/meminfo", "r");
  if (!fp) return 0;
  char line[256];
  uint64_t n = 0;
  const size_t nKey = std::strlen(szKey);
  while (std::fgets(line, sizeof line, fp)) {
    if (std::strncmp(line, szKey, nKey) == 0 && line[nKey] == ':') {
      n = std::strtoull(line + nKey + 1, nullptr, 10) * 1024u;
      break;
    }
  }
  std::fclose(fp);
  return n;
}

// The process's mapped size (VmSize) in bytes.
uint64_t ProcessMappedBytes() {
  std::FILE* fp = std::fopen("/proc/self/status", "r");
  if (!fp) return 0;
  char line[256];
  uint64_t n = 0;
  while (std::fgets(line, sizeof line, fp)) {
    if (std::strncmp(line, "VmSize:", 7) == 0) {
      n = std::strtoull(line + 7, nullptr, 10) * 1024u;
      break;
    }
  }
  std::fclose(fp);
  return n;
}

// The distribution's own name, e.g. "Debian GNU/Linux 12 (bookworm)".
std::string DistributionName() {
  std::FILE* fp = std::fopen("/etc/os-release", "r");
  if (!fp) return std::string();
  char line[512];
  std::string strName;
  while (std::fgets(line, sizeof line, fp)) {
    if (std::strncmp(line, "PRETTY_NAME=", 12) != 0) continue;
    strName = line + 12;
    while (!strName.empty() && (strName.back() == '\n' || strName.back() == '\r'))
      strName.pop_back();
    if (strName.size() >= 2 && strName.front() == '"' && strName.back() == '"')
      strName = strName.substr(1, strName.size() - 2);
    break;
  }
  std::fclose(fp);
  return strName;
}

uint64_t MonotonicNs() {
  struct timespec ts {};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

// The clock as the kernel reports it, in hertz; 0 when it does not.
double KernelCpuClock() {
  std::FILE* fp = std::fopen("/proc/cpuinfo", "r");
  if (!fp) return 0;
  char line[256];
  double dMhz = 0;
  while (std::fgets(line, sizeof line, fp)) {
    if (std::strncmp(line, "cpu MHz", 7) == 0) {
      const char* p = std::strchr(line, ':');
      if (p) dMhz = std::atof(p + 1);
      break;
    }
  }
  std::fclose(fp);
  return dMhz * 1e6;
}

// The engine's capability record, printed the way a display driver's is:
// every field in order, eight to a line.
std::string CapsDump(const plat::gfx::GFXCAPS& caps, int nAdapter, int nDeviceType) {
  const uint32_t dwCaps2 = caps.bDynamicTextures ? (1u << 29) : 0u;
  const uint32_t dwCaps3 = caps.bAlphaFullscreenFlipOrDiscard ? (1u << 5) : 0u;
  const uint32_t dwTextureCaps =
      (caps.bPow2Only ? (1u << 1) : 0u) | (caps.bSquareOnly ? (1u << 5) : 0u);
  const uint32_t values[] = {static_cast<uint32_t>(nDeviceType),
                             static_cast<uint32_t>(nAdapter),
                             dwCaps2,
                             dwCaps3,
                             dwTextureCaps,
                             static_cast<uint32_t>(caps.nMaxTextureWidth),
                             static_cast<uint32_t>(caps.nMaxTextureHeight),
                             1u,   // texture blend stages
                             1u};  // simultaneous textures
  std::string s;
  for (size_t i = 0; i < std::size(values); ++i) {
    if (i > 0) s += (i % 8 == 0) ? "\n\t" : " ";
    char sz[16];
    std::snprintf(sz, sizeof sz, "%08x", values[i]);
    s += sz;
  }
  return s;
}

}  // namespace

void GetOSName(std::string* pstrOut, int* pnMajor, int* pnMinor) {
  struct utsname u {};
  uname(&u);
  int nMajor = 0, nMinor = 0, nBuild = 0;
  std::sscanf(u.release, "%d.%d.%d", &nMajor, &nMinor, &nBuild);
  if (pstrOut) {
    std::string strName = DistributionName();
    if (strName.empty()) strName = u.sysname;
    FormatString(*pstrOut, "%s %s PID %d Build %d", strName.c_str(), u.release, kPlatformNumber,
                 nBuild);
  }
  if (pnMajor) *pnMajor = nMajor;
  if (pnMinor) *pnMinor = nMinor;
}

int IsOSAtLeast(int nMajor, int nMinor) {
  return (kNewestMajor > nMajor || (kNewestMajor == nMajor && kNewestMinor >= nMinor)) ? 1 : 0;
}

void GetMemoryStatus(MEMORYSTATUS* pStatus) {
  *pStatus = MEMORYSTATUS{};
  pStatus->dwTotalPhys = MemInfoBytes("MemTotal");
  pStatus->dwAvailPhys = MemInfoBytes("MemAvailable");
  pStatus->dwTotalPageFile = pStatus->dwTotalPhys + MemInfoBytes("SwapTotal");
  pStatus->dwAvailPageFile = pStatus->dwAvailPhys + MemInfoBytes("SwapFree");
  pStatus->dwTotalVirtual = kAddressSpaceBytes;
  const uint64_t nMapped = ProcessMappedBytes();
  pStatus->dwAvailVirtual = nMapped < kAddressSpaceBytes ? kAddressSpaceBytes - nMapped : 0;
  if (pStatus->dwTotalPhys > 0 && pStatus->dwAvailPhys <= pStatus->dwTotalPhys)
    pStatus->dwMemoryLoad =
        static_cast<uint32_t>(100 - pStatus->dwAvailPhys * 100 / pStatus->dwTotalPhys);
}

double MeasureCpuClock() {
#if defined(__x86_64__) || defined(__i386__)
  const uint64_t t0 = MonotonicNs();
  const uint64_t c0 = __builtin_ia32_rdtsc();
  plat::SleepMs(kClockMeasureMs);
  const uint64_t c1 = __builtin_ia32_rdtsc();
  const uint64_t t1 = MonotonicNs();
  if (t1 > t0 && c1 > c0) return static_cast<double>(c1 - c0) * 1e9 / static_cast<double>(t1 - t0);
#endif
  return KernelCpuClock();
}

void GetCpuInfo(CPUINFO* pInfo) {
  *pInfo = CPUINFO{};
#if defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(0, &a, &b, &c, &d) && a > 0) {
    std::memcpy(pInfo->szVendor, &b, 4);
    std::memcpy(pInfo->szVendor + 4, &d, 4);
    std::memcpy(pInfo->szVendor + 8, &c, 4);
    if (__get_cpuid(1, &a, &b, &c, &d)) {
      pInfo->bMMX = (d >> 23) & 1;
      pInfo->bSSE = (d >> 25) & 1;
      pInfo->bSSE2 = (d >> 26) & 1;
    }
    unsigned nHighest = 0;
    if (__get_cpuid(0x80000000, &nHighest, &b, &c, &d) && nHighest >= 0x80000001) {
      __get_cpuid(0x80000001, &a, &b, &c, &d);
      pInfo->b3DNowExt = (d >> 30) & 1;
      pInfo->b3DNow = (d >> 31) & 1;
      if (nHighest >= 0x80000004) {
        for (unsigned i = 0; i < 3; ++i) {
          __get_cpuid(0x80000002 + i, &a, &b, &c, &d);
          std::memcpy(pInfo->szBrand + i * 16, &a, 4);
          std::memcpy(pInfo->szBrand + i * 16 + 4, &b, 4);
          std::memcpy(pInfo->szBrand + i * 16 + 8, &c, 4);
          std::memcpy(pInfo->szBrand + i * 16 + 12, &d, 4);
        }
      }
    }
  }
#endif
  pInfo->dClock = MeasureCpuClock();
}

int32_t GetDiskFreeBytes(const char* szDir) {
  struct statvfs vfs {};
  if (statvfs(szDir && *szDir ? szDir : ".", &vfs) != 0) return 0;
  const double dFree = static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize);
  // A signed 32-bit count of bytes: everything beyond is 2 GB free.
  return dFree >= static_cast<double>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(dFree);
}

void GetVideoMemoryMB(int* pnFree, int* pnTotal) {
  *pnFree = *pnTotal = 0;
  if (!g_DD.lpDD) return;
  MEMORYSTATUS m;
  GetMemoryStatus(&m);
  *pnFree = static_cast<int>(static_cast<double>(m.dwAvailPhys) / kMegabyte);
  *pnTotal = static_cast<int>(static_cast<double>(m.dwTotalPhys) / kMegabyte);
}

int ReportSystem() {
  std::string strOS;
  GetOSName(&strOS, nullptr, nullptr);
  if (!ReportF("OS : %s", strOS.c_str())) return 0;
  CPUINFO cpu;
  GetCpuInfo(&cpu);
  ReportF("CPU : %s %s %d", cpu.szVendor, cpu.szBrand, static_cast<int>(cpu.dClock * 1e-6));
  MEMORYSTATUS m;
  GetMemoryStatus(&m);
  ReportF("Mem Total : %.3fMB", static_cast<double>(m.dwTotalPhys) / kMegabyte);
  ReportF("Mem Free : %3.fMB", static_cast<double>(m.dwAvailPhys) / kMegabyte);
  ReportF("Vir Total : %.3fMB", static_cast<double>(m.dwTotalVirtual) / kMegabyte);
  ReportF("Vir Free : %3.fMB", static_cast<double>(m.dwAvailVirtual) / kMegabyte);
  ReportF("HD Free : %3.fMB", static_cast<double>(GetDiskFreeBytes(nullptr)) / kMegabyte);
  return 1;
}

std::vector<std::string> DescribeDirect3D(int nDetail) {
  std::vector<std::string> out;
  auto Line = [&out](const char* szFormat, auto... args) {
    std::string s;
    FormatString(s, szFormat, args...);
    out.push_back(s);
  };
  plat::DISPLAYFACTS facts;
  const bool bFacts = plat::DescribeDisplay(facts);
  MEMORYSTATUS m;
  GetMemoryStatus(&m);
  if (bFacts)
    Line("Software pixel engine, SDL %d.%d.%d (%s)", facts.nLibraryMajor, facts.nLibraryMinor,
         facts.nLibraryPatch, facts.strVideoDriver.c_str());
  else
    Line("Software pixel engine");
  // The engine's textures live in main memory.
  Line("TextureMem : %dMB", static_cast<int>(m.dwAvailPhys >> 20));

  const plat::gfx::GFXCAPS caps =
      g_DD.lpDevice ? g_DD.lpDevice->GetCaps() : plat::gfx::GetDefaultCaps();
  const int nDeviceType = g_DD.lpDTCon ? g_DD.lpDTCon->nDeviceType : 1;
  const int nAdapter = 0;
  Line("---デバイス%d", nAdapter);
  if (bFacts && !facts.strDisplayName.empty())
    Line("Destination : %s", facts.strDisplayName.c_str());
  Line("VRAM : %u MB (main memory)", static_cast<unsigned>(m.dwTotalPhys >> 20));
  if (bFacts) {
    const std::string strDriver = facts.strRenderer.empty()
                                      ? facts.strVideoDriver
                                      : facts.strRenderer + "/" + facts.strVideoDriver;
    Line("Driver : %s %1d.%02d.%04d.%04d", strDriver.c_str(), facts.nLibraryMajor,
         facts.nLibraryMinor, facts.nLibraryPatch, 0);
  }
  Line("DDI : %d", plat::gfx::GetDisplayConfig().nDriverLevel);
  Line("TextureMaxSize : (%d,%d)", caps.nMaxTextureWidth, caps.nMaxTextureHeight);
  Line("TextureMaxBlend : (%d,%d)", 1, 1);
  if (nDetail) Line("%s", CapsDump(caps, nAdapter, nDeviceType).c_str());
  if (caps.bAlphaFullscreenFlipOrDiscard) Line("D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD");
  if (caps.bPow2Only) Line("D3DPTEXTURECAPS_POW2");
  if (caps.bSquareOnly) Line("D3DPTEXTURECAPS_SQUAREONLY");
  if (caps.bDynamicTextures) Line("D3DCAPS2_DYNAMICTEXTURES");
  if (nDetail) {
    // What the engine can make of each use, as a surface and as a texture:
    // render targets of both, dynamic textures when it has them.
    const char* const szOk = "○ ";
    const char* const szNo = "× ";
    struct USAGE {
      const char* szName;
      bool bSurface;
      bool bTexture;
    };
    const USAGE usages[] = {{"AU", false, false},
                            {"DE", false, false},
                            {"DM", false, false},
                            {"DO", false, false},
                            {"DY", false, caps.bDynamicTextures},
                            {"NP", false, false},
                            {"PO", false, false},
                            {"RT", false, false},
                            {"RE", true, true},
                            {"SO", false, false},
                            {"WR", false, false}};
    for (const USAGE& u : usages)
      Line("%s-SU %s%s-TE %s", u.szName, u.bSurface ? szOk : szNo, u.szName,
           u.bTexture ? szOk : szNo);
  }
  if (bFacts) {
    Line("DirectDraw : %s", facts.bAccelerated ? "○" : "×");
    Line("Direct3D : %s", facts.bAccelerated ? "○" : "×");
    Line("AGP : %s", "×");
  }
  return out;
}

int ReportDisplay(int nDetail) {
  if (!ReportF("Mode : %s", bWindowed ? "Window" : "Fullscreen")) return 0;
  ReportF("Bpp : %d", nScreenBpp);
  if (g_DD.lpDD && !DDIsDirect3D()) {
    MEMORYSTATUS m;
    GetMemoryStatus(&m);
    ReportF("VRAM Total : %.3fMB", static_cast<double>(m.dwTotalPhys) / kMegabyte);
    ReportF("VRAM Free : %.3fMB", static_cast<double>(m.dwAvailPhys) / kMegabyte);
    plat::DISPLAYFACTS facts;
    const unsigned nHz = plat::DescribeDisplay(facts) && facts.nRefreshRate > 0
                             ? static_cast<unsigned>(facts.nRefreshRate)
                             : static_cast<unsigned>(plat::gfx::GetDisplayConfig().nRefreshRate);
    ReportF("RR : %u", nHz);
  }
  if (DDIsDirect3D())
    for (const std::string& s : DescribeDirect3D(nDetail)) ReportF("%s", s.c_str());
  return 1;
}
