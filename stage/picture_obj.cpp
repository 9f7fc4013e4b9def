#include "stage/picture_obj.h"

#include "base/trunc_int.h"
#include "draw/blit.h"
#include "stage/play_scene.h"

namespace {

int32_t CameraX() { return g_PlayScene ? TruncI32(g_PlayScene->m_ScrollX.m_dPos) : 0; }
int32_t CameraY() { return g_PlayScene ? TruncI32(g_PlayScene->m_ScrollY.m_dPos) : 0; }

}  // namespace

void cPictureObj::Setup(int32_t nPicture, double x, double y, int32_t nWidth, int32_t nHeight,
                        int32_t bScreenRelative, int32_t nLayer, int32_t nPercent,
                        int32_t nDispMode, int32_t nFrames, int32_t bCountWhenStill,
                        int32_t nCmdValue1, int32_t nCmdValue2) {
  m_nPicture = nPicture;
  m_dX = x;
  m_dY = y;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_bScreenRelative = bScreenRelative;
  m_nLayer = nLayer;
  m_bScaled = nPercent != 100;
  m_nDispMode = nDispMode;
  m_nFrames = nFrames;
  m_bCountWhenStill = bCountWhenStill;
  m_nCmdValue1 = nCmdValue1;
  m_nCmdValue2 = nCmdValue2;
  m_bAnchored = bScreenRelative ? 1 : 0;
  if (m_bAnchored) {
    m_nScreenX = TruncI32(x) - CameraX();
    m_nScreenY = TruncI32(y) - CameraY();
  }
}

int cPictureObj::Draw(DDSURFACEDATA* pTarget, DDSURFACEDATA* pPicture, int bStill) {
  if (m_nDispMode == PICTURE_TIMED && (m_bCountWhenStill || !bStill)) {
    // Counted down to below 0; a count already there stays there.
    if (m_nFrames <= 0) {
      m_nFrames = -1;
      return 1;
    }
    --m_nFrames;
  }
  if (!pPicture) return 0;
  const int x = m_bAnchored ? m_nScreenX : TruncI32(m_dX) - CameraX();
  const int y = m_bAnchored ? m_nScreenY : TruncI32(m_dY) - CameraY();
  if (m_bScaled)
    DDBltStretch(pTarget, x, y, m_nWidth, m_nHeight, pPicture, 0, 0, pPicture->nWidth,
                 pPicture->nHeight, 1);
  else
    DDBlt(pTarget, x, y, m_nWidth, m_nHeight, pPicture, 0, 0, 1);
  return 0;
}
