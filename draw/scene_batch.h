// The Direct3D scene bracket, the render-target switch, and the sprite and
// fill batches that collect draws and submit them in runs.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "draw/surface_data.h"

// One queued blit, clipped, with the tint state of the moment.
struct DDBLTQUAD {
  int nKey = 0;
  DDSURFACEDATA* lpDstSD = nullptr;
  DDSURFACEDATA* lpSrcSD = nullptr;
  int x = 0, y = 0, nWidth = 0, nHeight = 0;
  int nSrcX = 0, nSrcY = 0, nSrcWidth = 0, nSrcHeight = 0;
  int nFlags = 0;
  uint32_t dwDiffuse = 0;
  int nColorOp = 0;
  int nAlphaOp = 0;
  int nReserved = 0;
};

struct DDSPRITEBATCH {
  int bActive = 0;
  std::vector<DDBLTQUAD> Queue;
  int nCounter = 0;
  int bSort = 0;
  std::vector<std::pair<DDSURFACEDATA*, int>> Registrations;
};

// One queued fill.
struct DDFILLQUAD {
  DDSURFACEDATA* lpSD = nullptr;
  int x = 0, y = 0, nWidth = 0, nHeight = 0;
  uint32_t dwColor = 0;
};

struct DDFILLBATCH {
  int bActive = 0;
  std::vector<DDFILLQUAD> Queue;
  std::vector<plat::gfx::GFXVERTEX> Vertices;
};

extern DDSPRITEBATCH SpriteBatch;
extern DDFILLBATCH FillBatch;

int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int nUnused, DDSURFACEDATA* lpSD);
void DDBatchBegin(int bSort);
void DDBatchRegister(DDSURFACEDATA* lpSD);
void DDBatchEnd();
void DDFillBatchBegin();
void DDFillBatchEnd();

// Queues a clipped blit into the open sprite batch with the current tint.
void DDBatchQueue(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight,
                  DDSURFACEDATA* lpSrcSD, int nSrcX, int nSrcY, int nSrcWidth, int nSrcHeight,
                  int nFlags);
