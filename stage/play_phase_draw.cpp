// What the play scene's phases draw over the play screen: the captions and
// digits of the word sheet, the stage-clear caption sliding together, the
// pause and continue menus with their cursor, the ranking notice, the
// result panel, and the fades in and out of the scene.
#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/composite_blits.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/system_data.h"
#include "scenes/cmd_draw.h"
#include "scenes/menu_cursor.h"
#include "scenes/result_panel.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"

namespace {

constexpr int kAccessorySheet = 49;  // bmp\Accessory.bmp: icons and the cursor
constexpr int kWordSheet = 51;       // bmp\Word.bmp: captions and 32 x 32 digits
// The stage-clear caption comes together until this frame count.
constexpr int32_t kClearCaptionFrames = 100;

DDSURFACEDATA* Sheet(int n) { return &g_SurfaceTable[n]; }

}  // namespace

void cPlayScene::DrawWordImage(int32_t nSrcX, int32_t nSrcY, int32_t nWidth, int32_t nHeight,
                               int32_t x, int32_t y) {
  DDBlt(&BackBuffer, x, y, nWidth, nHeight, Sheet(kWordSheet), nSrcX, nSrcY, 1);
}

void cPlayScene::DrawWordNumber(int32_t nValue, int32_t x, int32_t y) {
  DDDrawNumber(&BackBuffer, x, y, 32, 32, Sheet(kWordSheet), 0, 128, 1, nValue, 1, 0);
}

void cPlayScene::DrawClearCaption(int32_t nFrames) {
  if (nFrames < kClearCaptionFrames) {
    // Strips of four rows, shifted alternately left and right, closing in.
    DDBltInterlace(&BackBuffer, 256, 192, 128, 32, 4, kClearCaptionFrames - nFrames,
                   Sheet(kWordSheet), 0, 64, 1, 0);
    return;
  }
  DrawWordImage(0, 64, 128, 32, 256, 192);
}

void cPlayScene::DrawMenuBox(cSafeVector<cCmd>& vecMenu, int32_t x, int32_t y) {
  DrawCmd(&BackBuffer, x, y, vecMenu);
}

void cPlayScene::DrawMenuCursor() {
  const CURSORDATA& cursor = g_Cursor.Current();
  DDBlt(&BackBuffer, cursor.nX, cursor.nY, 16, 16, Sheet(kAccessorySheet), 64, 0, 1);
}

void cPlayScene::DrawMenuTextBox(int32_t x, int32_t y) {
  DrawMenuTextWindow(&BackBuffer, x, y, 23, 2, 1);
}

void cPlayScene::DrawRankingNotice() {
  // While the results wait to be registered, System text 28 takes the
  // notice line.
  const auto& texts = g_SystemData.m_vTexts;
  if (texts.size() <= 28) return;
  const std::string& strText = texts[28];
  g_Font[1].DrawText(&BackBuffer, 320 - 8 * CountChars(strText.c_str()), 456, strText.c_str());
}

void cPlayScene::DrawResultPanel() { DrawResult(&BackBuffer, 336, 224, m_RankPos); }

int cPlayScene::FadeStep(int bToBlack) {
  return (bToBlack ? SceneFadeOutStep() : SceneFadeInStep()) ? 1 : 0;
}

void cPlayScene::FillBackBuffer(uint32_t dwColour) { DDFillSurface(&BackBuffer, dwColour); }
