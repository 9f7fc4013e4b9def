// Images: the one kind of pixel store behind every surface, texture, render
// target and back buffer of both engine faces. Plain memory, so any thread
// may draw into an image (never two threads into the same one at once).
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gfx/gfx_result.h"
#include "platform/gfx/pixel_format.h"

namespace plat::gfx {

// Right and bottom are exclusive, as in the window system's rectangles.
struct GFXRECT {
  int nLeft = 0;
  int nTop = 0;
  int nRight = 0;
  int nBottom = 0;
};
inline GFXRECT MakeRect(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

struct GFXPALENTRY {
  uint8_t byRed = 0;
  uint8_t byGreen = 0;
  uint8_t byBlue = 0;
  uint8_t byFlags = 0;
};

// The 256-entry palette object of 8-bit screens. Changes show at the next
// present of an image that uses it.
class cPalette {
 public:
  cPalette();
  void SetEntries(int nStart, int nCount, const GFXPALENTRY* pEntries);  // clipped to 0..255
  void GetEntries(int nStart, int nCount, GFXPALENTRY* pEntries) const;
  const GFXPALENTRY& GetEntry(int i) const { return m_Entries[size_t(i & 255)]; }
  const std::array<GFXPALENTRY, 256>& GetAll() const { return m_Entries; }
  uint32_t GetArgb(int i) const;  // opaque ARGB of entry i

 private:
  std::array<GFXPALENTRY, 256> m_Entries;
};

// Where an image lives. DirectDraw-shaped surfaces use Video and System;
// Direct3D-shaped resources use Default (lost with the device), Managed
// (kept across a reset) and System.
enum class ePool : uint8_t { Video, System, Default, Managed };

struct GFXLOCK {
  uint8_t* pBits = nullptr;  // first byte of the top row
  int nPitch = 0;            // bytes from one row to the next
};

class cImage {
 public:
  // Contents start zeroed. Rows are padded to 4 bytes.
  cImage(int nWidth, int nHeight, ePixelFormat format, ePool pool, bool bRenderTarget);
  cImage(const cImage&) = delete;
  cImage& operator=(const cImage&) = delete;

  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetPitch() const { return m_nPitch; }
  ePixelFormat GetFormat() const { return m_Format; }
  int GetBytesPerPixel() const { return m_nBytesPerPixel; }
  ePool GetPool() const { return m_Pool; }
  bool IsRenderTarget() const { return m_bRenderTarget; }

  // Direct access for the engine and for tests; the drawing library goes
  // through Lock so that lock failures and lost images behave as they should.
  uint8_t* GetBits() { return Touch(); }
  const uint8_t* GetBits() const { return Touch(); }
  uint8_t* GetRow(int y) { return Touch() + size_t(y) * size_t(m_nPitch); }
  const uint8_t* GetRow(int y) const { return Touch() + size_t(y) * size_t(m_nPitch); }
  // Whether the pixels were ever looked at or written since the image was
  // made (a fill of the whole image does not count): until then the image
  // holds no memory of its own.
  bool IsUntouched() const { return m_bUntouched; }
  // Raw pixel value (index, 16-bit or 32-bit value); no bounds check beyond an assert.
  uint32_t ReadPixel(int x, int y) const;
  void WritePixel(int x, int y, uint32_t v);
  // The pixel as ARGB (P8 through the attached palette, black without one).
  uint32_t ReadArgb(int x, int y) const;

  // Locking. A second lock of a locked image fails with SurfaceBusy; a lost
  // image fails with SurfaceLost; the fault hooks LockSurface and
  // UnlockSurface can make either call fail.
  eGfxResult Lock(GFXLOCK& lock);
  eGfxResult Unlock();
  bool IsLocked() const { return m_bLocked; }

  // Lost images keep their memory but their contents are gone: drawing into
  // or from them fails (DirectDraw face) or does nothing (Direct3D face).
  bool IsLost() const { return m_bLost; }
  void SetLost(bool bLost);  // losing zeroes the pixels
  // Set once a Direct3D-shaped resource outlived the device it was made for:
  // it stays lost for good.
  bool IsOrphaned() const { return m_bOrphaned; }
  void SetOrphaned() {
    m_bOrphaned = true;
    m_bLost = true;
  }

  // Source colour key: an exact match of the key against the pixel's colour
  // bits (GetKeyMask) leaves the pixel out of keyed blits.
  void SetColorKey(uint32_t dwKey) {
    m_bHasKey = true;
    m_dwKey = dwKey;
  }
  void ClearColorKey() { m_bHasKey = false; }
  bool HasColorKey() const { return m_bHasKey; }
  uint32_t GetColorKey() const { return m_dwKey; }

  // The palette of a P8 image (shared with the screen's palette object).
  void SetPalette(std::shared_ptr<cPalette> pPalette) { m_pPalette = std::move(pPalette); }
  const std::shared_ptr<cPalette>& GetPalette() const { return m_pPalette; }

  // Fill the whole image with one raw value (engine-internal helper).
  void FillRaw(uint32_t v);
  // Exchange pixel storage with an image of the same size and format (flip).
  void SwapBits(cImage& other);

 private:
  int m_nWidth;
  int m_nHeight;
  int m_nPitch;
  int m_nBytesPerPixel;
  ePixelFormat m_Format;
  ePool m_Pool;
  bool m_bRenderTarget;
  bool m_bLocked = false;
  bool m_bLost = false;
  bool m_bOrphaned = false;
  bool m_bHasKey = false;
  uint32_t m_dwKey = 0;
  std::shared_ptr<cPalette> m_pPalette;
  // The pixels come zeroed from calloc, whose large blocks are pages the
  // system maps in only when they are first written: an image costs memory
  // and time only where it is drawn. Until the first touch, a fill of the
  // whole image is only noted, and written when the pixels are first used.
  struct cFreeBits {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, cFreeBits> m_pBits;
  size_t m_nBytes = 0;
  mutable bool m_bUntouched = true;
  mutable uint32_t m_dwUntouchedFill = 0;
  uint8_t* Touch() const {
    if (m_bUntouched) WriteUntouchedFill();
    return m_pBits.get();
  }
  void WriteUntouchedFill() const;
  void FillRows(uint32_t v) const;
};

using cImagePtr = std::shared_ptr<cImage>;

// The largest image the devices make: 2^27 pixels (512 MiB at 32 bits), no
// side over 65536. Anything larger is refused before memory is asked for.
constexpr int64_t kMaxImagePixels = int64_t(1) << 27;
inline bool IsImageSizeAllowed(int nWidth, int nHeight) {
  return nWidth > 0 && nHeight > 0 && nWidth <= 65536 && nHeight <= 65536 &&
         int64_t(nWidth) * nHeight <= kMaxImagePixels;
}

// The finished frame goes to the presenter as 32-bit pixels: direct-colour
// formats widened with ExpandChannel, P8 through its palette.
void PresentImage(const cImage& image);

}  // namespace plat::gfx
