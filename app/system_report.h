// The description of the machine at the top of the report log, and of the
// display once the drawing library is set up, so that a player's report
// tells the game's author what the game ran on; and the few questions about
// the machine other parts ask.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CPUINFO {
  char szBrand[256] = {};   // the processor's brand text
  char szVendor[256] = {};  // its 12-character vendor text
  int bMMX = 0;
  int bSSE = 0;
  int bSSE2 = 0;
  int b3DNow = 0;
  int b3DNowExt = 0;
  double dClock = 0;  // hertz
};

// Sizes in bytes.
struct MEMORYSTATUS {
  uint32_t dwLength = 32;
  uint32_t dwMemoryLoad = 0;  // per cent of physical memory in use
  uint64_t dwTotalPhys = 0;
  uint64_t dwAvailPhys = 0;
  uint64_t dwTotalPageFile = 0;  // memory and swap together
  uint64_t dwAvailPageFile = 0;
  uint64_t dwTotalVirtual = 0;  // the process's address space
  uint64_t dwAvailVirtual = 0;
};

// 1, or 0 when the report log cannot be opened.
int ReportSystem();
// The display: mode, depth, and the drawing mode's own section (nDetail:
// with the full capability lists). 1, or 0 when the report log cannot be
// opened.
int ReportDisplay(int nDetail);
// The Direct3D section's lines.
std::vector<std::string> DescribeDirect3D(int nDetail);

// "%s %s PID %d Build %d": the system's name, its release, the platform
// number and the build number; the major and minor version numbers too.
void GetOSName(std::string* pstrOut, int* pnMajor, int* pnMinor);
// Whether the system is the given version or later. Linux stands where the
// newest system the program knows stands: its desktops composite their
// windows, so vertical sync and the choosers behave as there.
int IsOSAtLeast(int nMajor, int nMinor);
void GetMemoryStatus(MEMORYSTATUS* pStatus);
void GetCpuInfo(CPUINFO* pInfo);
double MeasureCpuClock();
// Bytes free to the program in the folder (null: the current one), at most
// 2147483647; 0 when unknown.
int32_t GetDiskFreeBytes(const char* szDir);
// Free and total memory for the drawing library's images in whole
// megabytes; both 0 without a DirectDraw object. The images live in main
// memory.
void GetVideoMemoryMB(int* pnFree, int* pnTotal);
