// A weak stand-in for the Shift-JIS character count, so the tests link
// before the shared text helpers are complete; the real definition, once
// linked, takes precedence. Include from one source file of a test program.
#pragma once

#include "app/text_helpers.h"

__attribute__((weak)) int CountChars(const char* szText) {
  int n = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(szText); *p; ++n) {
    bool bLead = (*p >= 0x81 && *p <= 0x9F) || (*p >= 0xE0 && *p <= 0xFC);
    p += (bLead && p[1]) ? 2 : 1;
  }
  return n;
}
