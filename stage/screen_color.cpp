// The colour laid over the whole play screen by the "画面の色を変更" command:
// a change toward a colour that stays, one that blinks a number of times,
// and the way back from the colour shown.
#include <algorithm>

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "draw/tint_trans.h"
#include "stage/play_scene.h"
#include "stage/stage_surfaces.h"

void cScreenColor::SetFromCommand(const int32_t (&anValues)[8]) {
  const bool bPalette = !DDIsDirect3D() && g_DD.nBpp == 8;
  const bool bShown = bPalette ? m_bDone != 0 : m_bActive != 0;
  if (anValues[4] && !bShown) return;
  m_cPrevRed = m_cRed;
  m_cPrevGreen = m_cGreen;
  m_cPrevBlue = m_cBlue;
  m_nPrevStrength = m_nStrength;
  m_nPrevAlpha = m_nAlpha;
  m_cRed = static_cast<uint8_t>(anValues[0]);
  m_cGreen = static_cast<uint8_t>(anValues[1]);
  m_cBlue = static_cast<uint8_t>(anValues[2]);
  m_nStrength = anValues[3];
  m_bReturn = anValues[4];
  m_nDuration = static_cast<int32_t>(std::clamp<int64_t>(int64_t{anValues[5]} * 6, 0, INT32_MAX));
  m_bBlink = anValues[6];
  m_nRepeat = anValues[7];
  m_bActive = 1;
  m_nFrame = 0;
  m_nRepeatCount = 0;
  if (!m_bReturn) {
    m_nAlpha = 0;
    m_bDone = 1;
    return;
  }
  // The way back keeps showing the colour it started from.
  m_cRed = m_cPrevRed;
  m_cGreen = m_cPrevGreen;
  m_cBlue = m_cPrevBlue;
  m_nStrength = m_nPrevStrength;
  m_nAlpha = m_nPrevAlpha;
}

int32_t cScreenColor::StepLevel(int bStill) {
  const double dFull = m_nStrength * 2.55;
  const double f = m_nDuration ? static_cast<double>(m_nFrame) / m_nDuration * dFull : dFull;
  const bool bDue = m_nFrame >= m_nDuration;
  double t;
  if (m_bBlink) {
    // The end of a period shows the screen clear for a frame.
    t = bDue ? 255 : 255 - f;
    if (bDue && !bStill) {
      m_nFrame = 0;
      if (++m_nRepeatCount >= m_nRepeat) m_bActive = 0;
      return m_nAlpha = 255;
    }
  } else if (m_bReturn) {
    t = m_nDuration ? static_cast<double>(m_nFrame) / m_nDuration * (255 - m_nPrevAlpha) + m_nPrevAlpha
                    : 255;
    if (bDue && !bStill) m_bActive = 0;
  } else {
    t = 255 - f;
    if (bDue && !bStill && m_nStrength == 0) m_bActive = 0;
  }
  if (!bStill && !bDue) ++m_nFrame;
  m_nAlpha = static_cast<int32_t>(std::clamp(t, 0.0, 255.0));
  return m_nAlpha;
}

void cPlayScene::DrawScreenColor(int bStill) {
  cScreenColor& sc = m_ScreenColor;
  if (!sc.m_bActive) return;
  if (DDIsDirect3D()) {
    const int32_t t = sc.StepLevel(bStill);
    if (g_DD.lpDTCon->bVirtualBackBuffer) {
      DDSURFACEDATA* pWork = &g_SurfaceTable[SURF_WORK_COLOUR];
      DDFillRectColor(pWork, 0, 0, 640, 480,
                      0xFF000000u | uint32_t(sc.m_cRed) << 16 | uint32_t(sc.m_cGreen) << 8 | sc.m_cBlue);
      DDBltTrans(&BackBuffer, 0, 0, 640, 480, pWork, 0, 0, 0, nullptr, t);
    } else {
      DDChangeColor(&BackBuffer, 0, 0, 640, 480, t, sc.m_cRed, sc.m_cGreen, sc.m_cBlue);
    }
    return;
  }
  if (g_DD.nBpp != 8) {
    sc.m_bActive = 0;
    return;
  }
  if (bStill) return;
  const bool bBlinkEnd = sc.m_bBlink && sc.m_nFrame >= sc.m_nDuration;
  const int32_t t = sc.StepLevel(0);
  DDPALETTE& work = g_DD.DisplayPalette;
  if (bBlinkEnd) {
    work = g_DD.ProgramPalette;
  } else {
    DDBlendPalette(work, 0, 255, t, sc.m_cRed, sc.m_cGreen, sc.m_cBlue, g_DD.ProgramPalette);
  }
  // A plain change ends with its duration here: the palette keeps the colour.
  if (!sc.m_bBlink && !sc.m_bReturn && sc.m_nFrame >= sc.m_nDuration) sc.m_bActive = 0;
  if (g_DD.lpDDPalette) g_DD.lpDDPalette->SetEntries(0, 256, work.data());
}
