// The drawing records of a toolkit window or control: two off-screen
// drawing contexts, each an image with a ready flag, and the fonts they
// hold. Dialogs are drawn by the desktop, so nothing in this program puts
// anything into them; they are released with their owner all the same, so
// whatever a window or control did put there goes with it.
#pragma once

#include <memory>

#include "platform/gfx/image.h"

struct cMemDC {
  plat::gfx::cImagePtr pFirst;  // the first context's image
  int bFirstReady = 0;
  std::shared_ptr<void> pOwnFont;  // a font the record owns
  plat::gfx::cImagePtr pSecond;
  int bSecondReady = 0;
  std::shared_ptr<void> pSelectedFont;  // the font selected into the first context

  // Both contexts and their images go; the ready flags are cleared.
  void Release();
  // The selected font goes.
  void ReleaseFont();
};

struct cFontHolder {
  // The selected font, both contexts, then the record's own font.
  static void Release(cMemDC& dc);
};
