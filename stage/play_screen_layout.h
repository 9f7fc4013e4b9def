// The arithmetic of the play screen's layout, apart from the drawing so that
// it can be checked on its own: where a background's picture starts, and
// where the status bar puts its entries.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"

class cStageBg;
class cStatusItem;

// The source offsets of an image background for the camera at (dScrollX,
// dScrollY): its own running offsets when it scrolls by itself, else the
// camera scaled by its parallax factor.
void BackgroundSourceOffset(const cStageBg& bg, double dScrollX, double dScrollY, int32_t& x,
                            int32_t& y);

// The five status-bar entries in their order.
enum : int {
  BAR_TOTAL_SCORE = 0,
  BAR_STAGE_SCORE = 1,
  BAR_HP = 2,
  BAR_SP = 3,
  BAR_LIVES = 4,
  BAR_ENTRIES = 5
};

// Left edge and width of each enabled entry (anX, anWidth by entry; a
// disabled one keeps 0 and 0); the number of enabled entries. The entries
// share what the bar's 638 pixels leave over equally, before, between and
// after them.
int LayoutStatusBar(const cSafeVector<cStatusItem>& items, int32_t (&anX)[BAR_ENTRIES],
                    int32_t (&anWidth)[BAR_ENTRIES]);

// The corner of the limited-sight mask (nMaskW x nMaskH, its hole in the
// middle) that lands on the screen's corner, for a player drawn at
// (nScrLeft, nScrTop) nDrawW x nDrawH: the hole on the player's centre,
// or, for the sight kinds 2 and 4, ahead of it by its facing; kept inside
// the mask.
void SightWindow(int32_t nMaskW, int32_t nMaskH, int32_t nScrLeft, int32_t nScrTop, int32_t nDrawW,
                 int32_t nDrawH, int nFacingSign, int32_t nRange, int nKind, int32_t& sx,
                 int32_t& sy);
