// The status bar along the top of the play screen (scores, HP and SP gauges,
// lives) and the time limit under it.
#include "base/frame_timing.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/composite_blits.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/play_screen_layout.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

namespace {

constexpr int kGaugeWidth = 50;
constexpr int kBarY = 3;

bool IsGauge(int n) { return n == BAR_HP || n == BAR_SP; }

// The label or the 16 x 16 icon of an entry at x; its width.
int DrawLead(DDSURFACEDATA* pTarget, const cStatusItem& item, int n, int x) {
  if (item.m_bIcon) {
    DDBlt(pTarget, x, kBarY, 16, 16, &g_SurfaceTable[SURF_ACCESSORY], 16 * n, 32, 1);
    return 16;
  }
  DDFontPrintf(&g_Font[1], pTarget, x, kBarY, "%s", item.m_strLabel.c_str());
  return 16 * CountChars(item.m_strLabel.c_str());
}

// A gauge of the player's HP or SP: its frame, the fill in the warning row
// when the value is at or below the entry's limit, and the value in small
// figures when the entry asks for it.
void DrawGauge(DDSURFACEDATA* pTarget, const cStatusItem& item, int n, int x, int32_t nValue,
               int32_t nMax) {
  DDSURFACEDATA* pIcons = &g_SurfaceTable[SURF_ACCESSORY];
  const int nSrcX = n == BAR_HP ? 0 : 64;
  DDBlt(pTarget, x, kBarY, kGaugeWidth, 16, pIcons, nSrcX, 128, 1);
  const int64_t nFill = nMax == 0 ? 0 : static_cast<int64_t>(nValue) * kGaugeWidth / nMax;
  const int nRow = g_SystemData.IsAtOrBelowLimit(n, nValue, nMax) ? 160 : 144;
  if (nFill > 0)
    DDBlt(pTarget, x, kBarY, static_cast<int>(std::min<int64_t>(nFill, kGaugeWidth)), 16, pIcons,
          nSrcX, nRow, 1);
  if (item.m_bNumberOnGauge) DDFontPrintf(&g_Font[0], pTarget, x, 6, "%d", nValue);
}

}  // namespace

int LayoutStatusBar(const cSafeVector<cStatusItem>& items, int32_t (&anX)[BAR_ENTRIES],
                    int32_t (&anWidth)[BAR_ENTRIES]) {
  int nCount = 0;
  int64_t nSum = 0;
  for (int n = 0; n < BAR_ENTRIES; ++n) {
    anX[n] = anWidth[n] = 0;
    if (n >= static_cast<int>(items.size()) || !items[n].m_bShow) continue;
    const cStatusItem& item = items[n];
    int64_t w = item.m_bIcon ? 16 : 16 * static_cast<int64_t>(CountChars(item.m_strLabel.c_str()));
    w += IsGauge(n) ? kGaugeWidth : 16 * static_cast<int64_t>(item.m_nDigits);
    anWidth[n] = static_cast<int32_t>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
    nSum += anWidth[n];
    ++nCount;
  }
  if (nCount == 0) return 0;
  const int64_t nGap = (638 - nSum) / (nCount + 1);
  int64_t x = nGap;
  for (int n = 0; n < BAR_ENTRIES; ++n) {
    if (n >= static_cast<int>(items.size()) || !items[n].m_bShow) continue;
    anX[n] = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    x += anWidth[n] + nGap;
  }
  return nCount;
}

void cPlayScene::DrawStatusBar(DDSURFACEDATA* pTarget) {
  if (!m_bStatusBar) return;
  const cSafeVector<cStatusItem>& items = g_SystemData.m_vStatusItems;
  int32_t anX[BAR_ENTRIES], anWidth[BAR_ENTRIES];
  if (LayoutStatusBar(items, anX, anWidth) == 0) return;
  DDBlt(pTarget, 0, 0, 640, 20, &g_SurfaceTable[SURF_STATUS_BAR], 0, 0, 1);
  const cPlayerObj* pPlayer = g_Players.empty() ? nullptr : &g_Players[0];
  const bool bUnlimited = g_PlayData.m_nLives == kUnlimitedLives;
  for (int n = 0; n < BAR_ENTRIES; ++n) {
    if (anWidth[n] == 0 && anX[n] == 0) continue;
    const cStatusItem& item = items[n];
    const int x = anX[n];
    switch (n) {
      case BAR_TOTAL_SCORE:
      case BAR_STAGE_SCORE: {
        const int32_t nScore =
            n == BAR_TOTAL_SCORE ? g_PlayData.m_nTotalScore : g_PlayData.m_nStageScore;
        const int nLead = DrawLead(pTarget, item, n, x);
        DDFontPrintf(&g_Font[1], pTarget, x + nLead, kBarY, "%d", nScore);
        break;
      }
      case BAR_HP:
      case BAR_SP: {
        const int nLead = DrawLead(pTarget, item, n, x);
        const int32_t nValue = !pPlayer ? 0 : n == BAR_HP ? pPlayer->m_nHP : pPlayer->m_nSP;
        const int32_t nMax = !pPlayer      ? 0
                             : n == BAR_HP ? pPlayer->m_Def.m_nMaxHP
                                           : pPlayer->m_Def.m_nMaxSP;
        DrawGauge(pTarget, item, n, x + nLead, nValue, nMax);
        break;
      }
      case BAR_LIVES: {
        const int nLead = DrawLead(pTarget, item, n, x);
        if (bUnlimited)
          DDFontPrintf(&g_Font[1], pTarget, x + nLead, kBarY, "-");
        else
          DDFontPrintf(&g_Font[1], pTarget, x + nLead, kBarY, "%d", g_PlayData.m_nLives);
        break;
      }
    }
  }
}

void cPlayScene::DrawTime(DDSURFACEDATA* pTarget, int bTimeSound) {
  if (m_bNoTimeLimit) return;
  DDDrawNumber(pTarget, 272, 24, 32, 32, &g_SurfaceTable[SURF_WORD], 0, 160, 1, m_nTime, 3, 1);
  // The warning sounds on the first frame of each second of the shared
  // frame count, and never once the time is out.
  if (m_nTime > 0 && m_nTime <= g_Stage.m_nTimeWarning && FrameSkipCounter(2, m_nStageFrameRate) &&
      bTimeSound)
    PlaySE(13);
}
