// The calendar time a story slot is stamped with: sixteen bytes of 16-bit
// fields as save files store them, and the local time in that form.
#pragma once

#include <cstdint>

struct SYSTEMTIME {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;  // 0 is Sunday
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

constexpr int kSystemTimeBytes = 16;

void GetLocalTime(SYSTEMTIME& st);

// Tests fix the time the next stamps get (null: the clock again).
void SetTestLocalTime(const SYSTEMTIME* pTime);
