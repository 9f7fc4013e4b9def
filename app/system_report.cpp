// Machine description lines of the report log.
#include "app/system_report.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/logs.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

void GetCpuTexts(std::string& strVendor, std::string& strBrand) {
#if defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(0, &a, &b, &c, &d) && a > 0) {
    char v[13] = {};
    std::memcpy(v, &b, 4);
    std::memcpy(v + 4, &d, 4);
    std::memcpy(v + 8, &c, 4);
    strVendor = v;
  }
  if (__get_cpuid(0x80000000, &a, &b, &c, &d) && a >= 0x80000004) {
    char s[49] = {};
    for (unsigned i = 0; i < 3; ++i) {
      __get_cpuid(0x80000002 + i, &a, &b, &c, &d);
      std::memcpy(s + i * 16, &a, 4);
      std::memcpy(s + i * 16 + 4, &b, 4);
      std::memcpy(s + i * 16 + 8, &c, 4);
      std::memcpy(s + i * 16 + 12, &d, 4);
    }
    strBrand = s;
  }
#endif
}

// The clock as the kernel reports it, instead of a second spent measuring.
int CpuMegahertz() {
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
  return static_cast<int>(dMhz);
}

}  // namespace

int ReportSystem() {
  struct utsname u {};
  uname(&u);
  std::string strVendor, strBrand;
  GetCpuTexts(strVendor, strBrand);
  if (!ReportF("OS : %s %s PID %d Build %d", u.sysname, u.release, 2, 0)) return 0;
  ReportF("CPU : %s %s %d", strVendor.c_str(), strBrand.c_str(), CpuMegahertz());
  struct sysinfo si {};
  if (sysinfo(&si) == 0) {
    const double dUnit = static_cast<double>(si.mem_unit) / 1048576.0;
    ReportF("Mem Total : %.3fMB", static_cast<double>(si.totalram) * dUnit);
    ReportF("Mem Free : %3.fMB", static_cast<double>(si.freeram) * dUnit);
    ReportF("Vir Total : %.3fMB", static_cast<double>(si.totalram + si.totalswap) * dUnit);
    ReportF("Vir Free : %3.fMB", static_cast<double>(si.freeram + si.freeswap) * dUnit);
  }
  struct statvfs vfs {};
  double dFreeMb = 0;
  if (statvfs(".", &vfs) == 0)
    dFreeMb = static_cast<double>(vfs.f_bavail) * static_cast<double>(vfs.f_frsize) / 1048576.0;
  // The free space was a signed 32-bit byte count: at most 2048 MB.
  if (dFreeMb > 2048.0) dFreeMb = 2048.0;
  ReportF("HD Free : %3.fMB", dFreeMb);
  return 1;
}
