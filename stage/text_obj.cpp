// A message text: its set-up, its surface, and its frame (time, refresh,
// place, grow-in, drawing).
#include "stage/text_obj.h"

#include <algorithm>
#include <iterator>

#include "base/program_state.h"
#include "base/trunc_int.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "draw/surface_collections.h"
#include "draw/surfaces.h"
#include "platform/msg/messages.h"
#include "scenes/message_surfaces.h"
#include "stage/play_scene.h"
#include "stage/sprite_source.h"
#include "stage/stage_objects.h"

namespace {

constexpr int kAccessorySheet = 49;  // bmp\Accessory.bmp
constexpr int kCell = 32;
// A framed text's window opens over this many frames.
constexpr double kGrowInFrames = 10;

// Positions come from data: sums are taken wide and wrapped to 32 bits.
int32_t Wrap32(int64_t n) { return static_cast<int32_t>(static_cast<uint32_t>(n)); }


double CameraX() { return g_PlayScene ? g_PlayScene->m_ScrollX.m_dPos : 0.0; }
double CameraY() { return g_PlayScene ? g_PlayScene->m_ScrollY.m_dPos : 0.0; }
int32_t MarginCells(const cScrollAxis* pAxis) { return pAxis ? pAxis->m_nMarginCells : 10; }

// The record's place in the message surfaces, or -1.
int32_t IndexOfSurface(const DDSURFACEDATA* pSD) {
  int32_t n = 0;
  for (const DDSURFACEDATA& sd : Off_Msg) {
    if (&sd == pSD) return n;
    ++n;
  }
  return -1;
}

}  // namespace

cTextObj::~cTextObj() { ReleaseSurface(); }

void cTextObj::Setup(int32_t nKind, const char* szText, int32_t nValueA, int32_t nValueB,
                     int32_t nValueC, int32_t nPosMode, int32_t nColumn, int32_t nRow,
                     int32_t nOffsetX, int32_t nOffsetY, int32_t bKeepOnScreen, int32_t bFixed,
                     int32_t nDispMode, int32_t nFrames, int32_t bCountWhenStill, int32_t nOwnerId,
                     int32_t bNoGrowIn, int32_t bExpand, int32_t bRefresh, int32_t nRefreshInterval,
                     int32_t bFramed, int32_t nCmdValue1, int32_t nCmdValue2,
                     int32_t bDeferSurface) {
  if (!bDeferSurface) ReleaseSurface();
  m_nKind = nKind;
  m_strText = szText ? szText : "";
  m_strSource = m_strText;
  m_nValueA = nValueA;
  m_nValueB = nValueB;
  m_nValueC = nValueC;
  m_nPosMode = nPosMode;
  m_nColumn = nColumn;
  m_nRow = nRow;
  m_nOffsetX = nOffsetX;
  m_nOffsetY = nOffsetY;
  m_bKeepOnScreen = bKeepOnScreen;
  m_bFixed = bFixed;
  m_nDispMode = nDispMode;
  m_nFramesLeft = nFrames;
  m_bCountWhenStill = bCountWhenStill;
  m_nOwnerId = nOwnerId;
  m_bExpand = bExpand;
  m_bRefresh = bRefresh;
  m_nRefreshInterval = nRefreshInterval;
  m_bFramed = bFramed;
  m_nCmdValue1 = nCmdValue1;
  m_nCmdValue2 = nCmdValue2;
  m_bEnded = 0;
  m_nLastX = m_nLastY = 0;

  if (m_bExpand) ExpandTextVars(m_strText);
  if (m_nKind == TEXTKIND_TEXT) {
    Measure();
  } else if (m_nKind == TEXTKIND_GRAPHIC || m_nKind == TEXTKIND_LIFE) {
    m_nWidth = m_nHeight = 16;
  } else {
    m_nWidth = m_nHeight = 0;
  }
  m_bGrowIn = m_nDispMode == TEXTSHOW_UNTIL_KEY && !bNoGrowIn ? 1 : 0;
  m_dGrowIn = 0;
  m_bLatched = 0;

  if (m_nKind != TEXTKIND_TEXT) {
    ReleaseSurface();
    return;
  }
  if (!bDeferSurface || !m_pSurface) {
    NewSurface();
  } else if (m_pSurface->nWidth != m_nWidth || m_pSurface->nHeight != m_nHeight) {
    // Kept surfaces are of the text's size; one that is not is made again
    // in its place.
    MakeSurface(IndexOfSurface(m_pSurface));
  }
  if (m_pSurface) Render(m_pSurface);
}

void cTextObj::Measure() {
  MeasureText(m_strText, &m_nWidth, &m_nHeight);
  m_nWidth = std::min(m_nWidth, kMaxTextSurface);
  m_nHeight = std::min(m_nHeight, kMaxTextSurface);
}

void cTextObj::NewSurface() { MakeSurface(static_cast<int32_t>(Off_Msg.size())); }

void cTextObj::MakeSurface(int32_t n) {
  // The play run without a drawing context (tests of the play alone) has
  // nothing to make a surface in: the text lives on without one.
  if (!g_DD.lpDD && !g_DD.lpDevice) return;
  const int w = std::clamp(m_nWidth, 1, kMaxTextSurface);
  const int h = std::clamp(m_nHeight, 1, kMaxTextSurface);
  bool bMade = false;
  if (n >= 0 && static_cast<size_t>(n) < Off_Msg.size()) {
    DDSURFACEDATA& sd = *std::next(Off_Msg.begin(), n);
    DDReleaseSurface(&sd);
    bMade = DDCreateSurface(&sd, w, h, 1, 0, 0, 0, 0);
    m_pSurface = &sd;
    m_pImage =
        static_cast<size_t>(n) < g_MsgImages.size() ? &*std::next(g_MsgImages.begin(), n) : nullptr;
  } else {
    bMade = DDPushSurfaceList(Off_Msg, g_MsgImages, w, h, 1, 0, 0, 0);
    m_pSurface = &Off_Msg.back();
    m_pImage = &g_MsgImages.back();
  }
  if (!bMade) plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
}

void cTextObj::Render(DDSURFACEDATA* pSD) {
  if (!pSD) return;
  if (m_bFramed) {
    g_Font[1].DrawTextBox(pSD, 1, 1, 0, 0, m_strText.c_str(), 0);
    return;
  }
  DDFillSurface(pSD, 0);
  g_Font[1].DrawText(pSD, 1, 1, m_strText.c_str());
}

void cTextObj::ReleaseSurface() {
  if (m_pSurface) DDEraseSurfaceList(Off_Msg, g_MsgImages, m_pSurface);
  DropSurface();
}

int32_t cTextObj::Rise() const { return Wrap32((30 - int64_t{m_nFramesLeft}) >> 2); }

int cTextObj::End(int bStill) {
  if (m_nKind == TEXTKIND_TEXT) ReleaseSurface();
  if (!bStill) return 1;
  m_bEnded = 1;
  return 0;
}

bool cTextObj::PlaceOnScreen(int32_t& x, int32_t& y) {
  const int64_t w = m_nWidth, h = m_nHeight;
  const double dCamX = CameraX(), dCamY = CameraY();
  const int32_t nMode = m_nPosMode;
  if (nMode >= TEXTPOS_ABOVE_SELF && nMode <= TEXTPOS_CENTRE_PLAYER) {
    const cGameObj* pOwner = FindObjEntry(m_nOwnerId);
    if (!pOwner) {
      x = m_nLastX;
      y = m_nLastY;
      return false;
    }
    const int64_t nLeft = TruncI32(pOwner->m_dX - dCamX);
    const int64_t nTop = TruncI32(pOwner->m_dY - dCamY);
    const int64_t dx = pOwner->m_nDrawDX, dy = pOwner->m_nDrawDY;
    const int64_t dw = pOwner->m_nDrawW, dh = pOwner->m_nDrawH;
    x = Wrap32(nLeft + dw / 2 + m_nOffsetX - w / 2 - dx);
    if (nMode == TEXTPOS_ABOVE_SELF || nMode == TEXTPOS_ABOVE_PLAYER)
      y = Wrap32(nTop - dy - h + m_nOffsetY);
    else if (nMode == TEXTPOS_BELOW_SELF || nMode == TEXTPOS_BELOW_PLAYER)
      y = Wrap32(nTop + dh - dy + 1 + m_nOffsetY);
    else
      y = Wrap32(nTop + dh / 2 - h / 2 - dy + m_nOffsetY);
  } else if (nMode == TEXTPOS_SCREEN_CELL) {
    x = Wrap32(int64_t{m_nOffsetX} + int64_t{m_nColumn} * kCell);
    y = Wrap32(int64_t{m_nOffsetY} + int64_t{m_nRow} * kCell);
  } else if (nMode == TEXTPOS_STAGE_CELL) {
    const cScrollAxis* pX = g_PlayScene ? &g_PlayScene->m_ScrollX : nullptr;
    const cScrollAxis* pY = g_PlayScene ? &g_PlayScene->m_ScrollY : nullptr;
    x = TruncI32(static_cast<double>((int64_t{m_nColumn} + MarginCells(pX)) * kCell) + m_nOffsetX -
                 dCamX);
    y = TruncI32(static_cast<double>((int64_t{m_nRow} + MarginCells(pY)) * kCell) + m_nOffsetY -
                 dCamY);
  } else {
    // The screen's centre, and so every mode the command does not offer.
    x = Wrap32(int64_t{m_nOffsetX} - w / 2 + 320);
    y = Wrap32(int64_t{m_nOffsetY} - h / 2 + 240);
  }

  const bool bFollows =
      nMode >= TEXTPOS_ABOVE_SELF && nMode <= TEXTPOS_STAGE_CELL && nMode != TEXTPOS_SCREEN_CELL;
  const bool bOnScreen = nMode == TEXTPOS_SCREEN_CENTRE || nMode == TEXTPOS_SCREEN_CELL;
  if (m_bFixed && bFollows) {
    // Kept at the screen place it first had.
    if (!m_bLatched) {
      m_nLatchX = x;
      m_nLatchY = y;
      m_bLatched = 1;
    }
    x = m_nLatchX;
    y = m_nLatchY;
  } else if (!m_bFixed && bOnScreen) {
    // Kept at the stage place where it appeared, scrolling with the stage;
    // whole pixels of the camera both ways, so it does not move on its first
    // frame.
    const int64_t nCamX = TruncI32(dCamX), nCamY = TruncI32(dCamY);
    if (!m_bLatched) {
      m_nLatchX = Wrap32(x + nCamX);
      m_nLatchY = Wrap32(y + nCamY);
      m_bLatched = 1;
    }
    x = Wrap32(m_nLatchX - nCamX);
    y = Wrap32(m_nLatchY - nCamY);
  }
  m_nLastX = x;
  m_nLastY = y;
  return true;
}

void cTextObj::KeepOnScreen(int32_t& x, int32_t& y) const {
  // The right and bottom edges first: a text larger than the screen keeps
  // its top left corner in view.
  if (int64_t{x} + m_nWidth > 638) x = Wrap32(640 - int64_t{m_nWidth});
  if (x < 0) x = 0;
  if (int64_t{y} + m_nHeight > 478) y = Wrap32(480 - int64_t{m_nHeight});
  if (y <= 19) y = 20;
}

int cTextObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  if (m_bEnded) return bStill ? 0 : 1;

  if (m_nDispMode == TEXTSHOW_TIMED && (!bStill || m_bCountWhenStill)) {
    m_nFramesLeft = Wrap32(int64_t{m_nFramesLeft} - 1);
    if (m_nFramesLeft < 0) return End(bStill);
  }

  if (m_bRefresh && m_nKind == TEXTKIND_TEXT && m_bExpand) {
    const int64_t nFrame = g_PlayScene ? g_PlayScene->m_nFrames : 0;
    // An interval below 1 refreshes every frame.
    if (m_nRefreshInterval <= 0 || nFrame % m_nRefreshInterval == 0) {
      std::string strNew = m_strSource;
      ExpandTextVars(strNew);
      if (strNew != m_strText) {
        m_strText = strNew;
        const int32_t nOldWidth = m_nWidth, nOldHeight = m_nHeight;
        Measure();
        if (!m_pSurface)
          NewSurface();
        else if (m_nWidth != nOldWidth || m_nHeight != nOldHeight)
          MakeSurface(IndexOfSurface(m_pSurface));
        Render(m_pSurface);
      }
    }
  }

  int32_t x = 0, y = 0;
  if (!PlaceOnScreen(x, y) && m_nKind == TEXTKIND_TEXT) return End(bStill);
  if (m_bKeepOnScreen) KeepOnScreen(x, y);

  switch (m_nKind) {
    case TEXTKIND_TEXT: {
      if (!m_pSurface) break;
      if (m_pSurface->bLost) {
        Render(m_pSurface);
        m_pSurface->bLost = 0;
      }
      if (m_strText.empty()) break;
      if (m_bGrowIn) {
        m_dGrowIn += 1;
        if (m_dGrowIn < kGrowInFrames) {
          if (m_bFramed) {
            const double s = m_dGrowIn * 0.1;
            const int32_t w = m_nWidth, h = m_nHeight;
            g_Font[1].DrawFrame(pTarget,
                                TruncI32(static_cast<double>(int64_t{x} + w / 2) - s * w / 2),
                                TruncI32(static_cast<double>(int64_t{y} + h / 2) - s * h / 2),
                                TruncI32(s * w), TruncI32(s * h));
          }
          break;
        }
        m_bGrowIn = 0;
      }
      DDBlt(pTarget, x, y, m_nWidth, m_nHeight, m_pSurface, 0, 0, 1);
      break;
    }
    case TEXTKIND_GRAPHIC:
      DrawGraphicIcon(pTarget, m_nValueA, m_nValueB, m_nValueC, x, Wrap32(int64_t{y} - Rise()));
      break;
    case TEXTKIND_LIFE:
      DDBlt(pTarget, x, Wrap32(int64_t{y} - Rise()), 16, 16, &g_SurfaceTable[kAccessorySheet], 0,
            48, 1);
      break;
    default:
      break;
  }
  return 0;
}
