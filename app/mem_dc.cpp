// Releasing a window's drawing records.
#include "app/mem_dc.h"

void cMemDC::Release() {
  pFirst.reset();
  bFirstReady = 0;
  pSecond.reset();
  bSecondReady = 0;
}

void cMemDC::ReleaseFont() { pSelectedFont.reset(); }

void cFontHolder::Release(cMemDC& dc) {
  dc.ReleaseFont();
  dc.Release();
  dc.pOwnFont.reset();
}
