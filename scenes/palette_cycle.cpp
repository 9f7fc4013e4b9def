#include "scenes/palette_cycle.h"

#include <cstdint>

#include "draw/draw_context.h"
#include "draw/fades.h"
#include "files/system_data.h"

PALETTECYCLE g_PaletteCycle;
DDBLTCOLOR g_CycleColorTable[kCycleColours];

namespace {

// The drawing library's stage operations the table hands on.
constexpr int kOpAdd = 7;
constexpr int kOpSubtract = 10;

// The 8-bit mode's shimmering block: eight groups of four entries from 208,
// turned one place every sixth call.
constexpr int kCycleFirst = 208;
constexpr int kCycleGroups = 8;
constexpr int kCycleGroupSize = 4;
constexpr int kCycleInterval = 6;

uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | uint32_t(r & 0xFF) << 16 | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF);
}

void StepDirect3D() {
  PALETTECYCLE& c = g_PaletteCycle;
  const int nStep = g_SystemData.m_nCycleStep;
  int bBottomTurn = 0;
  for (int i = 0; i < kCycleChannels; ++i) {
    // Each entry shows its channel as it was before this call's step.
    const int v = c.anValue[i];
    const int bTurned = PingPong(c.anValue[i], c.anDirection[i], nStep, 0, 255);
    DDBLTCOLOR& e = g_CycleColorTable[i + 1];
    e.nColorOp = kOpAdd;
    switch (i) {
      case 0:
        e.dwColor = Argb(v, v, v);
        break;
      case 1:
        e.dwColor = Argb(v, v, v);
        e.nColorOp = kOpSubtract;
        break;
      case 2:
        e.dwColor = Argb(v, 0, 0);
        break;
      case 3:
        e.dwColor = Argb(0, v, 0);
        break;
      case 4:
        e.dwColor = Argb(0, 0, v);
        break;
      case 5:
        e.dwColor = Argb(v, v, 0);
        break;
      case 6:
        e.dwColor = Argb(v, 0, v / 4);
        break;
      case 7:
        e.dwColor = Argb(v / 4, 0, v);
        break;
      default: {
        static constexpr int kRainbow[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
        const int* m = kRainbow[c.nRainbow & 3];
        e.dwColor = Argb(v * m[0], v * m[1], v * m[2]);
        bBottomTurn = bTurned;
        break;
      }
    }
  }
  if (bBottomTurn) c.nRainbow = (c.nRainbow + 1) % 4;
}

void StepPalette8() {
  PALETTECYCLE& c = g_PaletteCycle;
  if (++c.nCounter < kCycleInterval) return;
  c.nCounter = 0;
  DDPALETTE& work = g_DD.DisplayPalette;
  for (int g = 0; g < kCycleGroups; ++g) {
    const int nFirst = kCycleFirst + g * kCycleGroupSize;
    DDCyclePalette(work, nFirst, nFirst + kCycleGroupSize - 1, 1, 1, work);
  }
  if (g_DD.lpDDPalette)
    g_DD.lpDDPalette->SetEntries(kCycleFirst, kCycleGroups * kCycleGroupSize,
                                 work.data() + kCycleFirst);
}

}  // namespace

int PingPong(int& nValue, int& nDirection, int nStep, int nMin, int nMax) {
  // In 64 bits: a step from data cannot overflow the sum.
  if (nDirection == 0) {
    if (static_cast<int64_t>(nValue) + nStep >= nMax)
      nDirection = 1;
    else
      nValue += nStep;
    return 0;
  }
  if (static_cast<int64_t>(nValue) - nStep <= nMin) {
    nDirection = 0;
    return 1;
  }
  nValue -= nStep;
  return 0;
}

void CyclePalette() {
  if (DDIsDirect3D()) {
    StepDirect3D();
    return;
  }
  if (g_SystemData.m_bPaletteCycle && g_DD.nBpp == 8) StepPalette8();
}
