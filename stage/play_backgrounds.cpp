// The stage behind and in front of the objects: the backgrounds with their
// parallax and auto-scroll, the blocks of the visible part of the grid,
// and the pictures of the run.
#include <algorithm>
#include <cmath>

#include "base/trunc_int.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/scene_batch.h"
#include "draw/surfaces.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"
#include "stage/play_screen_layout.h"
#include "stage/sprite_source.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kMaxTiles = 1000;  // per row, and rows

// The layer a picture is drawn in.
int PictureLayer(const cPictureObj& picture) { return picture.m_nLayer; }

// n mod m made non-negative; 0 for an empty picture.
int WrapInto(int32_t n, int32_t m) {
  if (m <= 0) return 0;
  const int32_t r = n % m;
  return r < 0 ? r + m : r;
}

DDSURFACEDATA* BackgroundImage(size_t i) {
  return i < kStageBackgrounds ? &g_SurfaceTable[SURF_BACKGROUND + i] : nullptr;
}

}  // namespace

void BackgroundSourceOffset(const cStageBg& bg, double dScrollX, double dScrollY, int32_t& x,
                            int32_t& y) {
  x = bg.m_bAutoX ? TruncI32(dScrollX + bg.m_dOffsetX - 320)
                  : TruncI32((std::floor(dScrollX + 0.5) - 320) * bg.m_dFactorX);
  y = bg.m_bAutoY ? TruncI32(dScrollY + bg.m_dOffsetY - 320)
                  : TruncI32((std::floor(dScrollY) - 320) * bg.m_dFactorY);
}

namespace {

// One axis of a background that scrolls by itself: its offset moves by its
// factor and is wrapped once into the picture's size.
void RunOffset(double& dOffset, double dFactor, double dSize) {
  dOffset -= dFactor;
  if (dOffset < 0)
    dOffset += dSize;
  else if (dOffset >= dSize)
    dOffset -= dSize;
}

}  // namespace

void cPlayScene::ScrollBackgrounds() {
  if (m_nPhase == PLAYPHASE_PAUSE) return;
  for (size_t i = 0; i < g_Stage.m_vecBgs.size(); ++i) {
    cStageBg& bg = g_Stage.m_vecBgs[i];
    const DDSURFACEDATA* pImage = BackgroundImage(i);
    if (bg.m_bAutoX) RunOffset(bg.m_dOffsetX, bg.m_dFactorX, pImage ? pImage->nWidth : 0);
    if (bg.m_bAutoY) RunOffset(bg.m_dOffsetY, bg.m_dFactorY, pImage ? pImage->nHeight : 0);
  }
}

void cPlayScene::DrawBackgrounds(DDSURFACEDATA* pTarget, int nLayer) {
  const STAGEBG_VECTOR& bgs = g_Stage.m_vecBgs;
  const bool bAny =
      std::any_of(bgs.begin(), bgs.end(), [](const cStageBg& b) { return b.m_bShown; });
  if (nLayer == 0 && !bAny) {
    DDFillRect(pTarget, 0, 0, kScreenW, kScreenH, 16);
    return;
  }
  int nDrawn = 0;
  for (size_t i = 0; i < bgs.size(); ++i) {
    const cStageBg& bg = bgs[i];
    if (!bg.m_bShown || bg.m_nPass != nLayer) continue;
    if (bg.m_bFill) {
      DDFillRect(pTarget, 0, 0, kScreenW, kScreenH, static_cast<uint32_t>(bg.m_nColour));
      ++nDrawn;
      continue;
    }
    DDSURFACEDATA* pImage = BackgroundImage(i);
    if (!pImage || pImage->nWidth <= 0 || pImage->nHeight <= 0) continue;
    const int w = pImage->nWidth, h = pImage->nHeight;
    int32_t x = 0, y = 0;
    BackgroundSourceOffset(bg, m_ScrollX.m_dPos, m_ScrollY.m_dPos, x, y);
    // The picture behind everything covers the screen whole; the ones over
    // it let it show through their key colour.
    const int nFlags = (nLayer == 0 && nDrawn == 0) ? 0 : 1;
    int nSrcY = WrapInto(y, h);
    for (int dy = 0, nRows = 0; dy < kScreenH && nRows < kMaxTiles; ++nRows) {
      const int nTileH = std::min(h - nSrcY, kScreenH - dy);
      int nSrcX = WrapInto(x, w);
      for (int dx = 0, nCols = 0; dx < kScreenW && nCols < kMaxTiles; ++nCols) {
        const int nTileW = std::min(w - nSrcX, kScreenW - dx);
        DDBlt(pTarget, dx, dy, nTileW, nTileH, pImage, nSrcX, nSrcY, nFlags);
        dx += nTileW;
        nSrcX = 0;
      }
      dy += nTileH;
      nSrcY = 0;
    }
    ++nDrawn;
  }
  if (nLayer == 0 && nDrawn == 0) DDFillRect(pTarget, 0, 0, kScreenW, kScreenH, 16);
}

void cPlayScene::DrawBlocks(DDSURFACEDATA* pTarget, int nLayer) {
  const int32_t nScrX = TruncI32(std::floor(m_ScrollX.m_dPos));
  const int32_t nScrY = TruncI32(std::floor(m_ScrollY.m_dPos));
  const int64_t nCol0 = nScrX / 32, nRow0 = nScrY / 32;
  const int32_t nOffX = nScrX % 32, nOffY = nScrY % 32;
  cBlockGrid& grid = g_BlockPalette;
  DDBatchBegin(0);
  DDBatchRegister(&g_SurfaceTable[SURF_MARK]);
  for (int r = 0; r < 16; ++r) {
    for (int c = 0; c < 21; ++c) {
      const int64_t nCell = (nCol0 + c) + ((nRow0 + r) << grid.Shift());
      if (nCol0 + c < 0 || nRow0 + r < 0 || nCell < 0 || nCell >= grid.Size()) continue;
      const int32_t nIndex = static_cast<int32_t>(nCell);
      const BLOCKCELL& cell = grid.Cell(nIndex);
      if (cell.nDef == 0) continue;
      const cEdBlock& def = grid.Def(cell);
      if (def.m_cLayer != nLayer || !CheckBlockCondition(nIndex) || def.m_cHidden) continue;
      DrawBlockIcon(pTarget, def, c * 32 - nOffX, r * 32 - nOffY);
    }
  }
  DDBatchEnd();
}

void cPlayScene::DrawPictures(DDSURFACEDATA* pTarget, int nLayer, int bStill) {
  auto itSurface = g_PictureSurfaces.begin();
  auto itImage = g_PictureImages.begin();
  for (auto it = m_PictureList.begin(); it != m_PictureList.end();) {
    const bool bHasSurface = itSurface != g_PictureSurfaces.end();
    DDSURFACEDATA* pSurface = bHasSurface ? &*itSurface : nullptr;
    if (PictureLayer(*it) != nLayer || !it->Draw(pTarget, pSurface, bStill)) {
      ++it;
      if (bHasSurface) ++itSurface;
      if (itImage != g_PictureImages.end()) ++itImage;
      continue;
    }
    it = m_PictureList.erase(it);
    if (bHasSurface) {
      DDReleaseSurface(&*itSurface);
      itSurface = g_PictureSurfaces.erase(itSurface);
    }
    if (itImage != g_PictureImages.end()) itImage = g_PictureImages.erase(itImage);
  }
}
