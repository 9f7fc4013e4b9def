#include "scenes/result_panel.h"

#include <algorithm>
#include <cstdio>

#include "base/program_state.h"
#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kItems = 5;
constexpr int kClearTimeItem = 2;   // drawn as a time text
constexpr int kClearTimeWidth = 8;  // "mm:ss.hh"
constexpr int kFirstCaption = 5;    // System texts 5 to 9 name the tables
constexpr int kAccessorySheet = 49;

int DigitCount(int32_t n) {
  int64_t v = n < 0 ? -static_cast<int64_t>(n) : n;
  int nDigits = 1;
  while (v >= 10) {
    v /= 10;
    ++nDigits;
  }
  return nDigits;
}

// At least two digits, a minus sign before a negative value.
std::string TwoDigits(int64_t n) {
  char sz[32];
  std::snprintf(sz, sizeof sz, n < 0 ? "-%02lld" : "%02lld",
                static_cast<long long>(n < 0 ? -n : n));
  return sz;
}

const std::string& Caption(int i) {
  static const std::string strEmpty;
  const auto& texts = g_SystemData.m_vTexts;
  const size_t n = static_cast<size_t>(kFirstCaption + i);
  return n < texts.size() ? texts[n] : strEmpty;
}

// A table's result is shown when the stage offers it and the kind of play
// ranks it (a stage opened directly from its file shows all it offers).
bool IsShown(int i) {
  const auto& vecStage = g_Stage.m_vRanking;
  if (static_cast<size_t>(i) >= vecStage.size() || vecStage[static_cast<size_t>(i)] == 0)
    return false;
  if (bCommandLineStage) return true;
  const auto& vecModes = g_SystemData.m_vModeRanking;
  const size_t nMode = static_cast<size_t>(g_SceneManager.m_nSubMode);
  if (nMode >= vecModes.size()) return false;
  const auto& vecCriteria = vecModes[nMode].m_vCriteria;
  return static_cast<size_t>(i) < vecCriteria.size() && vecCriteria[static_cast<size_t>(i)] != 0;
}

// The values the results offer the rankings, in table order.
int32_t ResultValue(int i) {
  const cPlayData& play = g_PlayData;
  const int32_t values[kItems] = {play.m_nTotalScore, play.m_nTimeSum, play.m_nPlayTimeSum,
                                  play.m_nHPSum, play.m_nSPSum};
  return values[i];
}

}  // namespace

void TimeToStr(std::string& strOut, int32_t t) {
  const int64_t n = t;
  const int64_t nHundredths = n % 100 < 0 ? -(n % 100) : n % 100;
  char szHundredths[8];
  std::snprintf(szHundredths, sizeof szHundredths, "%02lld", static_cast<long long>(nHundredths));
  strOut = TwoDigits(n / 100 / 60) + ":" + TwoDigits((n / 100) % 60) + "." + szHundredths;
}

void DrawResult(DDSURFACEDATA* lpDstSD, int x, int y, const cSafeVector<int32_t>& vecPositions) {
  bool bShown[kItems] = {};
  int nShown = 0;
  for (int i = 0; i < kItems; ++i) nShown += (bShown[i] = IsShown(i)) ? 1 : 0;
  if (nShown == 0) return;

  int w = 1;
  int n = bShown[0] ? DigitCount(ResultValue(0)) : 1;
  for (int i = 0; i < kItems; ++i) {
    if (!bShown[i]) continue;
    w = std::max(w, CountChars(Caption(i).c_str()));
    if (i > 0) n = std::max(n, i == kClearTimeItem ? kClearTimeWidth : DigitCount(ResultValue(i)));
  }

  Font& font = g_Font[1];
  font.DrawFrame(lpDstSD, x, y, 16 * (n + w + 3), 16 * nShown);
  int nLine = y;
  for (int i = 0; i < kItems; ++i) {
    if (!bShown[i]) continue;
    font.DrawText(lpDstSD, x + 16, nLine, Caption(i).c_str());
    std::string strValue;
    if (i == kClearTimeItem)
      TimeToStr(strValue, ResultValue(i));
    else
      strValue = std::to_string(ResultValue(i));
    font.DrawText(lpDstSD, x + 16 * w + 32, nLine, strValue.c_str());
    nLine += 16;
  }
  int nMarkY = y;
  for (int32_t nPos : vecPositions) {
    if (nPos == -1) continue;
    DDBlt(lpDstSD, x, nMarkY, 16, 16, &g_SurfaceTable[kAccessorySheet], 16, 48, 1);
    nMarkY += 16;
  }
}
