#include "files/system_time.h"

#include <sys/time.h>

#include <ctime>

namespace {
const SYSTEMTIME* g_pTestTime = nullptr;
}

void SetTestLocalTime(const SYSTEMTIME* pTime) { g_pTestTime = pTime; }

void GetLocalTime(SYSTEMTIME& st) {
  if (g_pTestTime) {
    st = *g_pTestTime;
    return;
  }
  timeval tv{};
  gettimeofday(&tv, nullptr);
  const std::time_t t = tv.tv_sec;
  std::tm tm{};
  localtime_r(&t, &tm);
  st.wYear = static_cast<uint16_t>(tm.tm_year + 1900);
  st.wMonth = static_cast<uint16_t>(tm.tm_mon + 1);
  st.wDayOfWeek = static_cast<uint16_t>(tm.tm_wday);
  st.wDay = static_cast<uint16_t>(tm.tm_mday);
  st.wHour = static_cast<uint16_t>(tm.tm_hour);
  st.wMinute = static_cast<uint16_t>(tm.tm_min);
  st.wSecond = static_cast<uint16_t>(tm.tm_sec);
  st.wMilliseconds = static_cast<uint16_t>(tv.tv_usec / 1000);
}
