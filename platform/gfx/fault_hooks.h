// Fault hooks: make a named engine call fail on purpose, so every failure row
// of the drawing library can be reached in a test. Process-wide; tests clear
// them in their fixtures. With no fault armed every check costs one relaxed
// atomic load.
#pragma once

#include <optional>

#include "platform/gfx/gfx_result.h"

namespace plat::gfx {

enum class eFaultPoint {
  // DirectDraw-shaped set-up
  CreateDirectDraw,
  SetCooperativeLevel,
  SetDisplayMode,
  CreatePrimary,
  GetAttachedSurface,
  CreatePalette,
  SetPalette,
  CreateClipper,   // checked by the caller: the engine has no clipper object
  SetClipperHwnd,  // checked by the caller
  SetClipper,      // checked by the caller
  SetColorKey,
  // Direct3D-shaped set-up
  CreateD3D,
  GetDeviceCaps,
  CreateDeviceHardware,  // device creation with hardware vertex processing
  CreateDeviceSoftware,  // the retry with software vertex processing
  // Images: the pool decides which creation point is checked
  CreateVideoImage,   // DirectDraw video memory, Direct3D Default and Managed pools
  CreateSystemImage,  // system memory (also CreateOffscreenPlain)
  GetSurfaceLevel,    // checked by the caller: a texture is its own level 0
  LockSurface,
  UnlockSurface,
  GetRenderTargetData,
  UpdateSurface,
  // Buffers the drawing library keeps for its quads (it checks these itself)
  CreateVertexBuffer,
  LockVertexBuffer,
  CreateIndexBuffer,
  LockIndexBuffer,
  // Drawing and frames
  BeginScene,
  SetRenderTarget,
  Blt,
  Flip,     // a SurfaceLost result also loses the video-memory images
  Present,  // a DeviceLost result also loses the device (not resettable yet)
  Reset,
  SetDialogBoxMode,
  FlipToGdiSurface,
  Count
};

// Arm: the next nTimes checks of the point fail with the result (nTimes < 0:
// every check until cleared).
void FailNext(eFaultPoint point, eGfxResult result, int nTimes = 1);
void ClearFault(eFaultPoint point);
void ClearAllFaults();
// Check (and consume one shot of) an armed fault. The engine calls this at
// each point; the drawing library calls it for the points it emulates.
std::optional<eGfxResult> TakeFault(eFaultPoint point);

}  // namespace plat::gfx
