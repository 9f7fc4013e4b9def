// The fixed-function Direct3D-shaped face of the pixel engine: a device with
// injectable capabilities, textures in pools, render targets, clears, a quad
// rasteriser (point sampling, wrap addressing) with the stage-0 colour and
// alpha operations, SRCALPHA/INVSRCALPHA blending, present, device loss and
// reset. Numeric values that callers pass through (the vertex format, the
// stage operation numbers) are fixed numbers, not enumerators: the drawing
// library keeps them as plain ints in its tint state and resets to them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/gfx_result.h"
#include "platform/gfx/image.h"

namespace plat::gfx {

class cBitmap;

// Vertex of the quads: position with reciprocal w, diffuse ARGB, one texture
// coordinate pair; 28 bytes. kVertexFormat is its format word
// (XYZRHW 0x004 | DIFFUSE 0x040 | TEX1 0x100).
struct GFXVERTEX {
  float x = 0, y = 0, z = 0, rhw = 1;
  uint32_t dwDiffuse = 0xFFFFFFFF;
  float u = 0, v = 0;
};
static_assert(sizeof(GFXVERTEX) == 28);
constexpr uint32_t kVertexFormat = 0x144;

// An axis-aligned quad given by integers, as every blit of the drawing
// library is: the destination rectangle x, y, nWidth, nHeight (sizes above
// 0) and the texels it spans from nSrcX, nSrcY (sizes of either sign: a
// negative one reads backwards, a mirror). It draws what DrawQuad draws for
// the strip whose corners sit at x - 0.5 .. x + nWidth - 0.5 (likewise y)
// with texture coordinates nSrcX / texture width .. (nSrcX + nSrcWidth) /
// texture width (likewise v), without going through floats: each pixel's
// texel comes from exact integer arithmetic, once per blit.
struct GFXBLITRECT {
  int x = 0, y = 0, nWidth = 0, nHeight = 0;
  int nSrcX = 0, nSrcY = 0, nSrcWidth = 0, nSrcHeight = 0;
  uint32_t dwDiffuse = 0xFFFFFFFF;
};

// Stage-0 operations, by their numbers.
enum eTextureOp : int {
  TOP_DISABLE = 1,
  TOP_SELECTARG1 = 2,
  TOP_SELECTARG2 = 3,
  TOP_MODULATE = 4,
  TOP_ADD = 7,
  TOP_SUBTRACT = 10,
  TOP_BLENDFACTORALPHA = 14,
};
// Stage-0 arguments, by their numbers.
enum eTextureArg : int {
  TA_DIFFUSE = 0,
  TA_CURRENT = 1,  // at stage 0: the diffuse colour
  TA_TEXTURE = 2,
  TA_TFACTOR = 3,
};

// Stage 0 as a whole. Rules where the fixed-function pipeline leaves room:
// colour op DISABLE gives the diffuse colour; alpha op DISABLE (while colour
// is enabled) gives the diffuse alpha; no texture bound samples opaque white;
// an operation number the engine does not know acts as SELECTARG1.
struct GFXTEXTURESTAGE {
  int nColorOp = TOP_MODULATE;
  int nColorArg1 = TA_TEXTURE;
  int nColorArg2 = TA_CURRENT;
  int nAlphaOp = TOP_SELECTARG1;
  int nAlphaArg1 = TA_TEXTURE;
  int nAlphaArg2 = TA_CURRENT;
};

// Device capabilities; tests inject their own with SetDefaultCaps before the
// device is made (or SetCaps on a device).
struct GFXCAPS {
  bool bPow2Only = false;
  bool bSquareOnly = false;
  bool bDynamicTextures = true;
  bool bAlphaFullscreenFlipOrDiscard = true;
  int nMaxTextureWidth = 4096;
  int nMaxTextureHeight = 4096;
};
void SetDefaultCaps(const GFXCAPS& caps);
GFXCAPS GetDefaultCaps();

struct GFXPRESENTPARAMS {
  int nWidth = 640;
  int nHeight = 480;
  ePixelFormat BackBufferFormat = ePixelFormat::X8R8G8B8;  // X8R8G8B8, R5G6B5 or A1R5G5B5
  bool bWindowed = true;
  bool bVSync = false;  // recorded; pacing is the caller's
};

class cD3DDevice {
 public:
  // Checks the CreateDeviceHardware fault hook (or CreateDeviceSoftware when
  // bSoftwareVertexProcessing); a failure leaves pDevice empty.
  static eGfxResult Create(const GFXPRESENTPARAMS& params, bool bSoftwareVertexProcessing,
                           std::unique_ptr<cD3DDevice>& pDevice);
  explicit cD3DDevice(const GFXPRESENTPARAMS& params);
  ~cD3DDevice();
  cD3DDevice(const cD3DDevice&) = delete;
  cD3DDevice& operator=(const cD3DDevice&) = delete;

  const GFXCAPS& GetCaps() const { return m_Caps; }
  void SetCaps(const GFXCAPS& caps) { m_Caps = caps; }
  const GFXPRESENTPARAMS& GetPresentParams() const { return m_Params; }

  // ---- Resources ----
  // A texture of exactly the given size (the caller applies the size rules).
  // Default pool may fail with OutOfVideoMemory (hook CreateVideoImage), as
  // may Managed; System only by hook CreateSystemImage. Render targets must
  // be in the Default pool. Formats: A8R8G8B8, A1R5G5B5, X8R8G8B8, R5G6B5.
  eGfxResult CreateTexture(int nWidth, int nHeight, ePixelFormat format, ePool pool,
                           bool bRenderTarget, cImagePtr& pTexture);
  // A system-memory image to read a render target back into.
  eGfxResult CreateOffscreenPlain(int nWidth, int nHeight, ePixelFormat format, cImagePtr& pImage);
  // A texture of nTexWidth x nTexHeight holding the bitmap at its top-left,
  // the padding transparent black. Pixels whose RGB equals dwKeyArgb's RGB
  // (dwKeyArgb's alpha must be 0xFF, 0: no key) become transparent black 0;
  // every other pixel is opaque; channels narrow with TruncateChannel.
  eGfxResult CreateTextureFromBitmap(const cBitmap& bitmap, int nTexWidth, int nTexHeight,
                                     ePixelFormat format, ePool pool, uint32_t dwKeyArgb,
                                     cImagePtr& pTexture);
  // Copies a render target into a system-memory image of its size and format.
  eGfxResult GetRenderTargetData(const cImage& renderTarget, cImage& systemImage);
  // Copies a system-memory image into a Default-pool image of its size and format.
  eGfxResult UpdateSurface(const cImage& systemImage, cImage& target);
  // The back buffer (lockable). After a reset it is a new image.
  const cImagePtr& GetBackBuffer() const { return m_pBackBuffer; }

  // ---- Drawing ----
  eGfxResult BeginScene();  // hook BeginScene; a second Begin without End is InvalidCall
  eGfxResult EndScene();
  bool IsInScene() const { return m_bInScene; }
  // The image must be a render target (or the back buffer) and not lost.
  eGfxResult SetRenderTarget(cImage* pTarget);
  cImage* GetRenderTarget() const { return m_pTarget; }
  // Writes the colour (converted with ArgbToPixel) into the rectangles of
  // the target (nullptr: the whole target), clipped; no blending.
  eGfxResult Clear(const GFXRECT* pRects, int nRects, uint32_t dwArgb);
  void SetTexture(const cImage* pTexture) { m_pTexture = pTexture; }
  void SetTextureStage(const GFXTEXTURESTAGE& stage) { m_Stage = stage; }
  const GFXTEXTURESTAGE& GetTextureStage() const { return m_Stage; }
  void SetTextureFactor(uint32_t dwArgb) { m_dwTFactor = dwArgb; }
  // SRCALPHA / INVSRCALPHA on colour and alpha when enabled (off by default,
  // as on a fresh device).
  void SetAlphaBlend(bool bEnable) { m_bBlend = bEnable; }
  // A triangle strip of two triangles, vertices top-left, bottom-left,
  // top-right, bottom-right (any quad: rotated ones too). Pixel centres at
  // integers; top-left fill rule; texture coordinates interpolated linearly
  // and point-sampled at floor(u * width), wrapped. Drawn into the render
  // target; does nothing while the device is lost or with a lost texture.
  eGfxResult DrawQuad(const GFXVERTEX* pStrip4);
  // Clear (one rectangle) followed by DrawQuad, with the same pixels and
  // results; when the quad covers exactly the rectangle the two are done in
  // one pass over the target.
  eGfxResult ClearAndDrawQuad(const GFXRECT& rect, uint32_t dwArgb, const GFXVERTEX* pStrip4);
  // DrawQuad and ClearAndDrawQuad of the strip a GFXBLITRECT stands for,
  // with the same pixels and results.
  eGfxResult DrawBlitRect(const GFXBLITRECT& q);
  // DrawBlitRect of each quad in turn, the stage worked out once for all.
  eGfxResult DrawBlitRects(const GFXBLITRECT* pQuads, int nQuads);
  eGfxResult ClearAndDrawBlitRect(const GFXRECT& rect, uint32_t dwArgb, const GFXBLITRECT& q);

  // ---- Frames and loss ----
  // Hands the back buffer to the presenter; DeviceLost while lost.
  eGfxResult Present();
  // Ok, DeviceLost (not resettable yet) or DeviceNotReset (reset now).
  eGfxResult TestCooperativeLevel() const;
  // Rebuilds the back buffer (a new image) and the default states. Default-
  // pool images made before stay lost for good. Fails with DeviceLost while
  // the device cannot be reset, or by the Reset hook.
  eGfxResult Reset(const GFXPRESENTPARAMS& params);
  // Test hook: the device becomes lost; bResettable says whether a reset can
  // succeed yet (MakeResettable can say so later).
  void LoseDevice(bool bResettable);
  void MakeResettable() {
    if (m_bLost) m_bResettable = true;
  }
  bool IsLost() const { return m_bLost; }

  // Dialog mode over a full-screen device: recorded only (hook SetDialogBoxMode).
  eGfxResult SetDialogBoxMode(bool bOn);

 private:
  eGfxResult MakeImage(int nWidth, int nHeight, ePixelFormat format, ePool pool, bool bRenderTarget,
                       cImagePtr& pImage);

  GFXPRESENTPARAMS m_Params;
  GFXCAPS m_Caps;
  cImagePtr m_pBackBuffer;
  cImage* m_pTarget = nullptr;
  const cImage* m_pTexture = nullptr;
  GFXTEXTURESTAGE m_Stage;
  uint32_t m_dwTFactor = 0xFFFFFFFF;
  bool m_bBlend = false;
  bool m_bInScene = false;
  bool m_bLost = false;
  bool m_bResettable = false;
  bool m_bDialogMode = false;
  std::vector<std::weak_ptr<cImage>> m_DefaultPool;
};

}  // namespace plat::gfx
