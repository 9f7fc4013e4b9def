// The texts the play puts on screen: the message command's writing (shown,
// replaced in place by its ID, or erased), the picture of a picked item
// rising over the player, and the extra-life notice.
#include <algorithm>
#include <iterator>

#include "base/window_requests.h"
#include "flow/flow_cmd.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/text_obj.h"

namespace {

// The message command's values.
enum : int {
  MSG_POSITION = 0,
  MSG_COLUMN = 1,
  MSG_ROW = 2,
  MSG_OFFSET_X = 3,
  MSG_OFFSET_Y = 4,
  MSG_KEEP_ON_SCREEN = 5,
  MSG_DISPLAY = 6,
  MSG_TIME = 7,  // tenths of a second
  MSG_WAIT = 8,
  MSG_EXPAND = 9,
  MSG_FIXED = 10,
  MSG_REFRESH = 11,
  MSG_ID_MODE = 12,
  MSG_ID = 13,
  MSG_FRAMED = 14,
  MSG_ERASE = 15,
  MSG_REFRESH_INTERVAL = 16,
  MSG_ONE_FRAME = 17,
};

constexpr int kFirstKeySound = 11;  // a key-wait message opens with it
constexpr int32_t kRisingFrames = 30;

int32_t Wrap32(int64_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n)); }

}  // namespace

cTextObj* cPlayScene::ShowMessage(cGameObj& chara, const cFlowCmd& cmd, int32_t bMessageShown,
                                  int& bWait) {
  bWait = 0;
  if (m_bCloseRequest.load()) return nullptr;
  auto P = [&cmd](int n) { return cmd.m_vecParams.At(n); };

  // The text this one takes the place of, by its ID. One that has ended
  // while a wait showed the screen is as good as gone.
  auto itPlace = m_TextList.end();
  if (P(MSG_ID_MODE)) {
    itPlace = std::find_if(m_TextList.begin(), m_TextList.end(), [&](const cTextObj& text) {
      return !text.m_bEnded && text.m_nCmdValue1 != 0 && text.m_nCmdValue2 == P(MSG_ID);
    });
  }
  if (P(MSG_ERASE)) {
    if (itPlace != m_TextList.end()) m_TextList.erase(itPlace);
    return nullptr;
  }
  bool bInPlace = false;
  if (itPlace != m_TextList.end()) {
    std::string strText = cmd.m_strText;
    if (P(MSG_EXPAND)) ExpandTextVars(strText);
    int32_t w = 0, h = 0;
    MeasureText(strText, &w, &h);
    w = std::min(w, kMaxTextSurface);
    h = std::min(h, kMaxTextSurface);
    if (w == itPlace->m_nWidth && h == itPlace->m_nHeight)
      bInPlace = true;
    else
      itPlace = m_TextList.erase(itPlace);
  }

  const int32_t nFrames = P(MSG_ONE_FRAME) ? 1 : Wrap32(int64_t{P(MSG_TIME)} * 6);
  const int32_t nMode = P(MSG_POSITION);
  int32_t nOwner = 0;
  if (nMode >= TEXTPOS_ABOVE_SELF && nMode <= TEXTPOS_CENTRE_SELF)
    nOwner = chara.m_nId;
  else if (nMode >= TEXTPOS_ABOVE_PLAYER && nMode <= TEXTPOS_CENTRE_PLAYER)
    nOwner = ThePlayer().m_nId;

  cTextObj& text = bInPlace ? *itPlace : *m_TextList.emplace(itPlace);
  text.Setup(TEXTKIND_TEXT, cmd.m_strText.c_str(), 0, 0, 0, nMode, P(MSG_COLUMN), P(MSG_ROW),
             P(MSG_OFFSET_X), P(MSG_OFFSET_Y), P(MSG_KEEP_ON_SCREEN), P(MSG_FIXED), P(MSG_DISPLAY),
             nFrames, P(MSG_WAIT), nOwner, bMessageShown, P(MSG_EXPAND), P(MSG_REFRESH),
             P(MSG_REFRESH_INTERVAL), P(MSG_FRAMED), P(MSG_ID_MODE), P(MSG_ID), bInPlace ? 1 : 0);

  if (!P(MSG_WAIT)) return &text;
  bWait = 1;
  if (P(MSG_DISPLAY) == TEXTSHOW_UNTIL_KEY) {
    SetWaitData(m_Wait, WAIT_MESSAGE, 1, 0, bMessageShown);
    if (!bMessageShown) PlaySE(kFirstKeySound);
  } else if (P(MSG_DISPLAY) == TEXTSHOW_TIMED) {
    SetWaitData(m_Wait, WAIT_MESSAGE, 0, nFrames, bMessageShown);
  }
  return &text;
}

void cPlayScene::RunMessage(cGameObj& chara, const cFlowCmd& cmd, int32_t bMessageShown) {
  int bWait = 0;
  const cTextObj* pText = ShowMessage(chara, cmd, bMessageShown, bWait);
  if (!bWait) return;
  RunWait(1);
  RemoveText(pText);
}

void cPlayScene::RemoveText(const cTextObj* pText) {
  auto it = std::find_if(m_TextList.begin(), m_TextList.end(),
                         [pText](const cTextObj& text) { return &text == pText; });
  if (it != m_TextList.end()) m_TextList.erase(it);
}

cTextObj& cPlayScene::ShowLifeNotice() {
  cTextObj& text = m_TextList.emplace_back();
  // Counted while the screen is still: the notice rises during its wait.
  text.Setup(TEXTKIND_LIFE, nullptr, 0, 0, 0, TEXTPOS_ABOVE_PLAYER, 0, 0, 0, 0, 0, 1,
             TEXTSHOW_TIMED, kRisingFrames, 1, ThePlayer().m_nId, 1, 0, 0, 0, 0, 0, 0, 0);
  return text;
}

void cPlayerObj::ShowPickupText(int32_t nSheet, int32_t nGraphic, int32_t nVariant) {
  if (!g_PlayScene) return;
  cTextObj& text = g_PlayScene->m_TextList.emplace_back();
  text.Setup(TEXTKIND_GRAPHIC, nullptr, nSheet, nGraphic, nVariant, TEXTPOS_ABOVE_PLAYER, 0, 0, 0,
             0, 0, 1, TEXTSHOW_TIMED, kRisingFrames, 0, m_nId, 1, 0, 0, 0, 0, 0, 0, 0);
}
