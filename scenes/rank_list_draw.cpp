// A ranking table as the player sees it: a framed box with the table's
// caption, one line per entry (place, name, value), the hint that another
// button shows the other tables, and the mark beside a newly entered row.
#include <cstdio>

#include "base/number_text.h"
#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/font_tables.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "scenes/ranking.h"
#include "scenes/result_panel.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kFrameWidth = 270;
constexpr int kFrameHeight = 350;
constexpr int kTimeWidth = 8;  // "mm:ss.hh"
constexpr int kFirstCaption = 5;
constexpr int kSwitchHintText = 25;
constexpr int kAccessorySheet = 49;
// "ランキング    %s"
constexpr const char* kHeading = "\x83\x89\x83\x93\x83\x4c\x83\x93\x83\x4f    %s";
constexpr const char* kHeadingEnglish = "Ranking     %s";

const std::string& SystemText(int n) {
  static const std::string strEmpty;
  const auto& texts = g_SystemData.m_vTexts;
  return n >= 0 && static_cast<size_t>(n) < texts.size() ? texts[static_cast<size_t>(n)] : strEmpty;
}

// Text the font draws itself, not from its sheet of lower-case letters:
// names and the English heading may hold any letter.
void DrawPlainText(Font& font, DDSURFACEDATA* lpDstSD, int x, int y, const std::string& str) {
  const bool bSwitch = g_SystemData.m_bFastFont != 0;
  if (bSwitch) font.m_bFastFont = 0;
  font.DrawText(lpDstSD, x, y, str.c_str());
  if (bSwitch) font.m_bFastFont = 1;
}

}  // namespace

void DrawRankList(cRankList& list, DDSURFACEDATA* lpDstSD, int x, int y, int nTable,
                  int nHighlight) {
  Font& font = g_Font[1];
  font.DrawFrame(lpDstSD, x + 1, y + 1, kFrameWidth, kFrameHeight);

  std::string strHeading;
  const std::string& strCaption = SystemText(nTable + kFirstCaption);
  if (SYSTEMINI.nEnglish) {
    FormatString(strHeading, kHeadingEnglish, strCaption.c_str());
    DrawPlainText(font, lpDstSD, x, y, strHeading);
  } else {
    FormatString(strHeading, kHeading, strCaption.c_str());
    font.DrawText(lpDstSD, x, y, strHeading.c_str());
  }

  const int nRows = static_cast<int>(list.m_vRows.size());
  const int nWidth = nTable == kRankingTimeTable
                         ? kTimeWidth
                         : (nRows ? GetDigitNum(list.m_vRows.At(0).m_nValue) : 1);
  for (int i = 0; i < nRows; ++i) {
    const cRankData& row = list.m_vRows.At(i);
    if (!row.m_bValid) continue;
    const int yi = y + 16 * (i + 1);
    char szPlace[16];
    std::snprintf(szPlace, sizeof szPlace, "%d", i + 1);
    font.DrawText(lpDstSD, x + 16, yi, szPlace);
    DrawPlainText(font, lpDstSD, x + 64, yi, row.m_strName);
    std::string strValue;
    if (nTable == kRankingTimeTable) {
      TimeToStr(strValue, row.m_nValue);
      font.DrawText(lpDstSD, x + 144, yi, strValue.c_str());
    } else {
      strValue = std::to_string(row.m_nValue);
      font.DrawText(lpDstSD, x + 16 * (nWidth + 9 - GetDigitNum(row.m_nValue)), yi,
                    strValue.c_str());
    }
  }

  if (g_SystemData.CountEnabledEntries(g_SceneManager.m_nSubMode) >= 2) {
    const std::string& strHint = SystemText(kSwitchHintText);
    font.DrawText(lpDstSD, x + 136 - 8 * CountChars(strHint.c_str()), y + 16 * (nRows + 1),
                  strHint.c_str());
  }
  if (nHighlight != -1)
    DDBlt(lpDstSD, x, y + 16 * (nHighlight + 1), 16, 16, &g_SurfaceTable[kAccessorySheet], 16, 48,
          1);
}
