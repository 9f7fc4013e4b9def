// Images, the palette object, and handing a finished image to the presenter.
#include "platform/gfx/image.h"

#include <cassert>
#include <cstring>
#include <new>
#include <utility>

#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"
#include "platform/present/presenter.h"

namespace plat::gfx {

cPalette::cPalette() { m_Entries.fill({}); }

void cPalette::SetEntries(int nStart, int nCount, const GFXPALENTRY* pEntries) {
  for (int i = 0; i < nCount; ++i) {
    const int n = nStart + i;
    if (n >= 0 && n < 256) m_Entries[size_t(n)] = pEntries[i];
  }
}

void cPalette::GetEntries(int nStart, int nCount, GFXPALENTRY* pEntries) const {
  for (int i = 0; i < nCount; ++i) {
    const int n = nStart + i;
    pEntries[i] = (n >= 0 && n < 256) ? m_Entries[size_t(n)] : GFXPALENTRY{};
  }
}

uint32_t cPalette::GetArgb(int i) const {
  const GFXPALENTRY& e = GetEntry(i);
  return MakeArgb(255, e.byRed, e.byGreen, e.byBlue);
}

cImage::cImage(int nWidth, int nHeight, ePixelFormat format, ePool pool, bool bRenderTarget)
    : m_nWidth(nWidth > 0 ? nWidth : 0),
      m_nHeight(nHeight > 0 ? nHeight : 0),
      m_nPitch(0),
      m_nBytesPerPixel(plat::gfx::GetBytesPerPixel(format)),
      m_Format(format),
      m_Pool(pool),
      m_bRenderTarget(bRenderTarget) {
  m_nPitch = (m_nWidth * m_nBytesPerPixel + 3) & ~3;
  m_nBytes = size_t(m_nPitch) * size_t(m_nHeight);
  // Asked for whole now, so running out of memory shows where the image is
  // made; the pages come when they are written.
  m_pBits.reset(static_cast<uint8_t*>(std::calloc(m_nBytes > 0 ? m_nBytes : 1, 1)));
  if (!m_pBits) throw std::bad_alloc();
}

void cImage::WriteUntouchedFill() const {
  m_bUntouched = false;
  if (m_dwUntouchedFill != 0) FillRows(m_dwUntouchedFill);
}

void cImage::SwapBits(cImage& other) {
  m_pBits.swap(other.m_pBits);
  std::swap(m_bUntouched, other.m_bUntouched);
  std::swap(m_dwUntouchedFill, other.m_dwUntouchedFill);
}

uint32_t cImage::ReadPixel(int x, int y) const {
  assert(x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight);
  const uint8_t* p = GetRow(y) + size_t(x) * size_t(m_nBytesPerPixel);
  switch (m_nBytesPerPixel) {
    case 1:
      return *p;
    case 2: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    case 4: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    default:
      return 0;
  }
}

void cImage::WritePixel(int x, int y, uint32_t v) {
  assert(x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight);
  uint8_t* p = GetRow(y) + size_t(x) * size_t(m_nBytesPerPixel);
  switch (m_nBytesPerPixel) {
    case 1:
      *p = uint8_t(v);
      break;
    case 2: {
      const uint16_t w = uint16_t(v);
      std::memcpy(p, &w, 2);
      break;
    }
    case 4:
      std::memcpy(p, &v, 4);
      break;
    default:
      break;
  }
}

uint32_t cImage::ReadArgb(int x, int y) const {
  const uint32_t v = ReadPixel(x, y);
  if (m_Format == ePixelFormat::P8) return m_pPalette ? m_pPalette->GetArgb(int(v)) : 0xFF000000u;
  return PixelToArgb(v, m_Format);
}

eGfxResult cImage::Lock(GFXLOCK& lock) {
  lock = {};
  if (auto f = TakeFault(eFaultPoint::LockSurface)) return *f;
  if (m_bLost) return eGfxResult::SurfaceLost;
  if (m_bLocked) return eGfxResult::SurfaceBusy;
  m_bLocked = true;
  lock.pBits = Touch();
  lock.nPitch = m_nPitch;
  return eGfxResult::Ok;
}

eGfxResult cImage::Unlock() {
  if (auto f = TakeFault(eFaultPoint::UnlockSurface)) return *f;
  if (!m_bLocked) return eGfxResult::NotLocked;
  m_bLocked = false;
  return eGfxResult::Ok;
}

void cImage::SetLost(bool bLost) {
  if (bLost && !m_bLost) {
    if (m_bUntouched)
      m_dwUntouchedFill = 0;
    else
      std::memset(m_pBits.get(), 0, m_nBytes);
  }
  m_bLost = bLost || m_bOrphaned;
}

void cImage::FillRaw(uint32_t v) {
  if (m_bUntouched) {
    m_dwUntouchedFill = v;
    return;
  }
  FillRows(v);
}

void cImage::FillRows(uint32_t v) const {
  for (int y = 0; y < m_nHeight; ++y) {
    uint8_t* row = m_pBits.get() + size_t(y) * size_t(m_nPitch);
    switch (m_nBytesPerPixel) {
      case 1:
        std::memset(row, int(v & 0xFF), size_t(m_nWidth));
        break;
      case 2: {
        const uint16_t w = uint16_t(v);
        auto* p = reinterpret_cast<uint16_t*>(row);
        for (int x = 0; x < m_nWidth; ++x) p[x] = w;
        break;
      }
      case 4: {
        auto* p = reinterpret_cast<uint32_t*>(row);
        for (int x = 0; x < m_nWidth; ++x) p[x] = v;
        break;
      }
      default:
        break;
    }
  }
}

void PresentImage(const cImage& image) {
  const int w = image.GetWidth();
  const int h = image.GetHeight();
  if (w <= 0 || h <= 0) return;
  struct cSource {
    const cImage* pImage;
    uint32_t lut[256];
  } src;
  src.pImage = &image;
  if (image.GetFormat() == ePixelFormat::P8) {
    for (int i = 0; i < 256; ++i)
      src.lut[i] = image.GetPalette() ? image.GetPalette()->GetArgb(i) : 0xFF000000u;
  }
  // Converted straight into the frame store: one pass, nothing allocated.
  plat::PresentFrameWith(
      w, h,
      [](uint32_t* pFrame, int nWidth, int nHeight, int nPitch, const void* pContext) {
        const cSource& s = *static_cast<const cSource*>(pContext);
        const ePixelFormat f = s.pImage->GetFormat();
        for (int y = 0; y < nHeight; ++y) {
          const uint8_t* row = s.pImage->GetRow(y);
          uint32_t* out = pFrame + size_t(y) * size_t(nPitch);
          switch (f) {
            case ePixelFormat::P8:
              for (int x = 0; x < nWidth; ++x) out[x] = s.lut[row[x]];
              break;
            case ePixelFormat::X8R8G8B8:
            case ePixelFormat::A8R8G8B8: {
              // Four pixels at a time: the rows of a frame are copied 60
              // times a second.
              using V4 = uint32_t __attribute__((vector_size(16)));
              const auto* p = reinterpret_cast<const uint32_t*>(row);
              int x = 0;
              for (; x + 4 <= nWidth; x += 4) {
                V4 v;
                std::memcpy(&v, p + x, sizeof v);
                v |= 0xFF000000u;
                std::memcpy(out + x, &v, sizeof v);
              }
              for (; x < nWidth; ++x) out[x] = p[x] | 0xFF000000u;
              break;
            }
            default: {
              const auto* p = reinterpret_cast<const uint16_t*>(row);
              for (int x = 0; x < nWidth; ++x) out[x] = PixelToArgb(p[x], f) | 0xFF000000u;
              break;
            }
          }
        }
      },
      &src);
}

}  // namespace plat::gfx
