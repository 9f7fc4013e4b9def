// The DirectDraw-shaped face of the pixel engine: a display mode, a primary
// image with its flip chain, off-screen images in video or system memory,
// the 8-bit palette object, exact colour keys, colour fills, plain and
// stretched blits, locks and lost surfaces. Showing a frame: Flip (full
// screen), or any blit into the primary (windowed), hands the primary to the
// presenter.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/gfx_result.h"
#include "platform/gfx/image.h"
#include "platform/gfx/image_view.h"

namespace plat::gfx {

class cDirectDraw {
 public:
  cDirectDraw() = default;
  ~cDirectDraw();
  cDirectDraw(const cDirectDraw&) = delete;
  cDirectDraw& operator=(const cDirectDraw&) = delete;

  eGfxResult SetCooperativeLevel(bool bExclusive);
  // Records the mode; 8, 16, 24 and 32 bits. Images made later take its format.
  eGfxResult SetDisplayMode(int nWidth, int nHeight, int nBpp, int nRefreshRate);
  eGfxResult RestoreDisplayMode();
  // The 16-bit screen layout (R5G6B5 unless a test asks for X1R5G5B5).
  void SetSixteenBitFormat(ePixelFormat format) { m_SixteenBit = format; }
  // Format of the screen at the current mode (P8, R5G6B5/X1R5G5B5, X8R8G8B8).
  ePixelFormat GetScreenFormat() const;
  int GetDisplayBpp() const { return m_nBpp; }
  int GetDisplayWidth() const { return m_nWidth; }
  int GetDisplayHeight() const { return m_nHeight; }

  // Full screen: the primary with nBackBuffers (1 or 2) attached back
  // buffers; windowed (nBackBuffers 0): a primary of the display size.
  eGfxResult CreatePrimary(int nBackBuffers, cImagePtr& pPrimary);
  // The first back buffer of the flip chain.
  eGfxResult GetAttachedBackBuffer(cImagePtr& pBack);
  // An off-screen image at the screen format. Video memory may fail with
  // OutOfVideoMemory (fault hook CreateVideoImage); system memory fails only
  // by the CreateSystemImage hook.
  eGfxResult CreateOffscreen(int nWidth, int nHeight, bool bSystemMemory, cImagePtr& pImage);

  eGfxResult CreatePalette(const GFXPALENTRY* pEntries256, std::shared_ptr<cPalette>& pPalette);
  eGfxResult SetPalette(cImage& primary, const std::shared_ptr<cPalette>& pPalette);
  // Gives the image a source colour key (fault hook SetColorKey).
  eGfxResult SetColorKey(cImage& image, uint32_t dwKey);

  // Copies src into dst: at the same size a plain copy, otherwise stretched
  // (destination column k reads StretchColumn(k, source width, destination
  // width), rows likewise). With bSrcKey, source pixels equal to the source
  // image's key (GetKeyMask bits) are left out. Both views must lie inside
  // their images (InvalidCall otherwise: clipping is the caller's, and
  // backwards or empty views are refused). Formats must match.
  eGfxResult Blt(const cImageView& dst, const cImageView& src, bool bSrcKey);
  // The same with the destination and source given as rectangles; BltFast
  // copies the source rectangle at its own size to x, y.
  eGfxResult Blt(cImage& dst, const GFXRECT& dstRect, cImage& src, const GFXRECT& srcRect,
                 bool bSrcKey);
  eGfxResult BltFast(cImage& dst, int x, int y, cImage& src, const GFXRECT& srcRect, bool bSrcKey);
  // Fills the rectangle (nullptr: the whole image) with a raw pixel value,
  // clipped to the image.
  eGfxResult ColorFill(cImage& dst, const GFXRECT* pRect, uint32_t dwValue);

  // Swaps the primary's storage with the first back buffer's (with two back
  // buffers the chain rotates) and shows the new front.
  eGfxResult Flip();
  // Windowed: hand the primary to the presenter (blits into the primary do
  // this themselves).
  void ShowPrimary();

  // Restores a lost image's storage (contents zeroed; the owner redraws).
  eGfxResult Restore(cImage& image);
  // Test hook: every video-memory image made by this object becomes lost.
  void LoseSurfaces();

  // Images made by this object and still alive: what a final release would
  // report as its remaining reference count.
  int CountLiveImages() const;

 private:
  eGfxResult CheckPair(cImage& dst, cImage& src) const;
  void Track(const cImagePtr& p);

  int m_nWidth = 640;
  int m_nHeight = 480;
  int m_nBpp = 32;
  ePixelFormat m_SixteenBit = ePixelFormat::R5G6B5;
  cImagePtr m_pPrimary;
  std::vector<cImagePtr> m_Backs;
  std::vector<std::weak_ptr<cImage>> m_Made;
};

}  // namespace plat::gfx
