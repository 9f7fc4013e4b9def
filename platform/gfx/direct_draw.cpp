// The DirectDraw-shaped face: display mode, flip chain, off-screen images,
// keyed and stretched blits, colour fills, loss and restore.
#include "platform/gfx/direct_draw.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/blit_kernels.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {

cDirectDraw::~cDirectDraw() = default;

eGfxResult cDirectDraw::SetCooperativeLevel(bool) {
  if (auto f = TakeFault(eFaultPoint::SetCooperativeLevel)) return *f;
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::SetDisplayMode(int nWidth, int nHeight, int nBpp, int) {
  if (auto f = TakeFault(eFaultPoint::SetDisplayMode)) return *f;
  if (!IsImageSizeAllowed(nWidth, nHeight) || (nBpp != 8 && nBpp != 16 && nBpp != 24 && nBpp != 32))
    return eGfxResult::InvalidCall;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_nBpp = nBpp;
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::RestoreDisplayMode() { return eGfxResult::Ok; }

ePixelFormat cDirectDraw::GetScreenFormat() const {
  switch (m_nBpp) {
    case 8:
      return ePixelFormat::P8;
    case 16:
      return m_SixteenBit;
    default:
      return ePixelFormat::X8R8G8B8;  // 24-bit screens are kept as 32-bit pixels
  }
}

void cDirectDraw::Track(const cImagePtr& p) {
  std::erase_if(m_Made, [](const std::weak_ptr<cImage>& w) { return w.expired(); });
  m_Made.push_back(p);
}

eGfxResult cDirectDraw::CreatePrimary(int nBackBuffers, cImagePtr& pPrimary) {
  pPrimary.reset();
  if (auto f = TakeFault(eFaultPoint::CreatePrimary)) return *f;
  const ePixelFormat fmt = GetScreenFormat();
  m_pPrimary = std::make_shared<cImage>(m_nWidth, m_nHeight, fmt, ePool::Video, false);
  m_Backs.clear();
  for (int i = 0; i < std::clamp(nBackBuffers, 0, 2); ++i)
    m_Backs.push_back(std::make_shared<cImage>(m_nWidth, m_nHeight, fmt, ePool::Video, false));
  Track(m_pPrimary);
  for (const cImagePtr& p : m_Backs) Track(p);
  pPrimary = m_pPrimary;
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::GetAttachedBackBuffer(cImagePtr& pBack) {
  pBack.reset();
  if (auto f = TakeFault(eFaultPoint::GetAttachedSurface)) return *f;
  if (m_Backs.empty()) return eGfxResult::InvalidCall;
  pBack = m_Backs.front();
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::CreateOffscreen(int nWidth, int nHeight, bool bSystemMemory,
                                        cImagePtr& pImage) {
  pImage.reset();
  if (!IsImageSizeAllowed(nWidth, nHeight)) return eGfxResult::InvalidCall;
  if (auto f =
          TakeFault(bSystemMemory ? eFaultPoint::CreateSystemImage : eFaultPoint::CreateVideoImage))
    return *f;
  pImage = std::make_shared<cImage>(nWidth, nHeight, GetScreenFormat(),
                                    bSystemMemory ? ePool::System : ePool::Video, false);
  if (m_pPrimary && m_pPrimary->GetPalette()) pImage->SetPalette(m_pPrimary->GetPalette());
  Track(pImage);
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::CreatePalette(const GFXPALENTRY* pEntries256,
                                      std::shared_ptr<cPalette>& pPalette) {
  pPalette.reset();
  if (auto f = TakeFault(eFaultPoint::CreatePalette)) return *f;
  pPalette = std::make_shared<cPalette>();
  if (pEntries256) pPalette->SetEntries(0, 256, pEntries256);
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::SetPalette(cImage& primary, const std::shared_ptr<cPalette>& pPalette) {
  if (auto f = TakeFault(eFaultPoint::SetPalette)) return *f;
  primary.SetPalette(pPalette);
  // The palette belongs to the screen: every image of the chain shows through it.
  if (&primary == m_pPrimary.get())
    for (const cImagePtr& p : m_Backs) p->SetPalette(pPalette);
  for (const auto& w : m_Made)
    if (auto p = w.lock(); p && p->GetFormat() == ePixelFormat::P8 && !p->GetPalette())
      p->SetPalette(pPalette);
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::SetColorKey(cImage& image, uint32_t dwKey) {
  if (auto f = TakeFault(eFaultPoint::SetColorKey)) return *f;
  image.SetColorKey(dwKey);
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::CheckPair(cImage& dst, cImage& src) const {
  if (dst.IsLost() || src.IsLost()) return eGfxResult::SurfaceLost;
  if (dst.IsLocked() || src.IsLocked()) return eGfxResult::SurfaceBusy;
  if (dst.GetFormat() != src.GetFormat()) return eGfxResult::InvalidCall;
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::Blt(const cImageView& dst, const cImageView& src, bool bSrcKey) {
  if (auto f = TakeFault(eFaultPoint::Blt)) return *f;
  if (!dst.GetImage() || !src.GetImage()) return eGfxResult::InvalidCall;
  cImage& dstImage = *dst.GetImage();
  cImage& srcImage = *src.GetImage();
  if (eGfxResult r = CheckPair(dstImage, srcImage); Failed(r)) return r;
  if (!src.IsInsideImage() || !dst.IsInsideImage()) return eGfxResult::InvalidCall;
  const bool bKey = bSrcKey && srcImage.HasColorKey();
  if (dst.GetWidth() == src.GetWidth() && dst.GetHeight() == src.GetHeight())
    CopyRect(dst, src, bKey, srcImage.GetColorKey());
  else
    StretchRect(dst, src, bKey, srcImage.GetColorKey());
  if (&dstImage == m_pPrimary.get()) ShowPrimary();
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::Blt(cImage& dst, const GFXRECT& dstRect, cImage& src,
                            const GFXRECT& srcRect, bool bSrcKey) {
  return Blt(cImageView(&dst, dstRect), cImageView(&src, srcRect), bSrcKey);
}

eGfxResult cDirectDraw::BltFast(cImage& dst, int x, int y, cImage& src, const GFXRECT& srcRect,
                                bool bSrcKey) {
  const cImageView source(&src, srcRect);
  return Blt(cImageView(dst).Sub(x, y, source.GetWidth(), source.GetHeight()), source, bSrcKey);
}

eGfxResult cDirectDraw::ColorFill(cImage& dst, const GFXRECT* pRect, uint32_t dwValue) {
  if (auto f = TakeFault(eFaultPoint::Blt)) return *f;
  if (dst.IsLost()) return eGfxResult::SurfaceLost;
  if (dst.IsLocked()) return eGfxResult::SurfaceBusy;
  const cImageView area = pRect ? cImageView(&dst, *pRect).ClipToImage() : cImageView(dst);
  if (area.IsInsideImage()) FillRectRaw(area, dwValue);
  if (&dst == m_pPrimary.get()) ShowPrimary();
  return eGfxResult::Ok;
}

eGfxResult cDirectDraw::Flip() {
  if (auto f = TakeFault(eFaultPoint::Flip)) return *f;
  if (!m_pPrimary || m_Backs.empty()) return eGfxResult::InvalidCall;
  if (m_pPrimary->IsLost()) return eGfxResult::SurfaceLost;
  for (const cImagePtr& p : m_Backs)
    if (p->IsLost()) return eGfxResult::SurfaceLost;
  // front <- back 1 <- back 2 <- front: the drawing target stays the first back buffer.
  m_pPrimary->SwapBits(*m_Backs[0]);
  if (m_Backs.size() > 1) m_Backs[0]->SwapBits(*m_Backs[1]);
  ShowPrimary();
  return eGfxResult::Ok;
}

void cDirectDraw::ShowPrimary() {
  if (m_pPrimary && !m_pPrimary->IsLost()) PresentImage(*m_pPrimary);
}

eGfxResult cDirectDraw::Restore(cImage& image) {
  if (image.IsOrphaned()) return eGfxResult::SurfaceLost;
  image.SetLost(false);
  return eGfxResult::Ok;
}

void cDirectDraw::LoseSurfaces() {
  for (const auto& w : m_Made)
    if (auto p = w.lock(); p && p->GetPool() == ePool::Video) p->SetLost(true);
}

int cDirectDraw::CountLiveImages() const {
  int n = 0;
  for (const auto& w : m_Made) {
    cImagePtr p = w.lock();
    if (!p) continue;
    long nOwn = 2;  // the local copy and the object's own chain reference
    if (p != m_pPrimary && std::find(m_Backs.begin(), m_Backs.end(), p) == m_Backs.end()) nOwn = 1;
    if (p.use_count() > nOwn) ++n;
  }
  return n;
}

}  // namespace plat::gfx
