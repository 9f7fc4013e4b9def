// The Direct3D-shaped device: resources, scene bracket, render targets,
// clears, present, loss and reset. The quad rasteriser is quad_raster.cpp.
#include "platform/gfx/d3d_device.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "platform/gfx/blit_kernels.h"
#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {

namespace {
std::mutex g_CapsMutex;
GFXCAPS g_DefaultCaps;

bool IsTextureFormat(ePixelFormat f) {
  return f == ePixelFormat::A8R8G8B8 || f == ePixelFormat::A1R5G5B5 ||
         f == ePixelFormat::X8R8G8B8 || f == ePixelFormat::R5G6B5 || f == ePixelFormat::X1R5G5B5;
}
}  // namespace

void SetDefaultCaps(const GFXCAPS& caps) {
  std::lock_guard<std::mutex> lock(g_CapsMutex);
  g_DefaultCaps = caps;
}

GFXCAPS GetDefaultCaps() {
  std::lock_guard<std::mutex> lock(g_CapsMutex);
  return g_DefaultCaps;
}

eGfxResult cD3DDevice::Create(const GFXPRESENTPARAMS& params, bool bSoftwareVertexProcessing,
                              std::unique_ptr<cD3DDevice>& pDevice) {
  pDevice.reset();
  if (auto f = TakeFault(bSoftwareVertexProcessing ? eFaultPoint::CreateDeviceSoftware
                                                   : eFaultPoint::CreateDeviceHardware))
    return *f;
  if (!IsImageSizeAllowed(params.nWidth, params.nHeight) ||
      (params.BackBufferFormat != ePixelFormat::X8R8G8B8 &&
       params.BackBufferFormat != ePixelFormat::R5G6B5 &&
       params.BackBufferFormat != ePixelFormat::A1R5G5B5))
    return eGfxResult::InvalidCall;
  pDevice = std::make_unique<cD3DDevice>(params);
  return eGfxResult::Ok;
}

cD3DDevice::cD3DDevice(const GFXPRESENTPARAMS& params)
    : m_Params(params), m_Caps(GetDefaultCaps()) {
  m_pBackBuffer = std::make_shared<cImage>(params.nWidth, params.nHeight, params.BackBufferFormat,
                                           ePool::Default, true);
  m_pTarget = m_pBackBuffer.get();
}

cD3DDevice::~cD3DDevice() = default;

eGfxResult cD3DDevice::MakeImage(int nWidth, int nHeight, ePixelFormat format, ePool pool,
                                 bool bRenderTarget, cImagePtr& pImage) {
  pImage.reset();
  if (!IsImageSizeAllowed(nWidth, nHeight) || !IsTextureFormat(format))
    return eGfxResult::InvalidCall;
  if (bRenderTarget && pool != ePool::Default) return eGfxResult::InvalidCall;
  if (pool == ePool::Video) pool = ePool::Default;
  const bool bVideo = pool == ePool::Default || pool == ePool::Managed;
  if (auto f = TakeFault(bVideo ? eFaultPoint::CreateVideoImage : eFaultPoint::CreateSystemImage))
    return *f;
  if (pool == ePool::Default && m_bLost) return eGfxResult::DeviceLost;
  pImage = std::make_shared<cImage>(nWidth, nHeight, format, pool, bRenderTarget);
  if (pool == ePool::Default) {
    std::erase_if(m_DefaultPool, [](const std::weak_ptr<cImage>& w) { return w.expired(); });
    m_DefaultPool.push_back(pImage);
  }
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::CreateTexture(int nWidth, int nHeight, ePixelFormat format, ePool pool,
                                     bool bRenderTarget, cImagePtr& pTexture) {
  return MakeImage(nWidth, nHeight, format, pool, bRenderTarget, pTexture);
}

eGfxResult cD3DDevice::CreateOffscreenPlain(int nWidth, int nHeight, ePixelFormat format,
                                            cImagePtr& pImage) {
  return MakeImage(nWidth, nHeight, format, ePool::System, false, pImage);
}

eGfxResult cD3DDevice::CreateTextureFromBitmap(const cBitmap& bitmap, int nTexWidth, int nTexHeight,
                                               ePixelFormat format, ePool pool, uint32_t dwKeyArgb,
                                               cImagePtr& pTexture) {
  if (bitmap.GetWidth() <= 0 || bitmap.GetHeight() <= 0) return eGfxResult::InvalidCall;
  if (eGfxResult r = MakeImage(nTexWidth, nTexHeight, format, pool, false, pTexture); Failed(r))
    return r;
  cImage& t = *pTexture;
  const bool bKey = (dwKeyArgb >> 24) == 0xFF;
  const uint32_t dwKeyRgb = dwKeyArgb & 0xFFFFFF;
  const int w = std::min(bitmap.GetWidth(), nTexWidth);
  const int h = std::min(bitmap.GetHeight(), nTexHeight);
  auto TexelOf = [&](uint32_t argb) {
    const uint32_t rgb = argb & 0xFFFFFF;
    return (bKey && rgb == dwKeyRgb) ? 0u : ArgbToTexel(0xFF000000u | rgb, format);
  };
  // Indexed bitmaps convert each of their colours once. A texel is stored
  // as its bytes, whatever the format's width.
  std::array<uint32_t, 256> lut{};
  if (bitmap.IsIndexed())
    for (int i = 0; i < 256; ++i) {
      const auto& table = bitmap.GetColorTable();
      lut[size_t(i)] = TexelOf(size_t(i) < table.size()
                                   ? MakeArgb(255, table[size_t(i)].byRed, table[size_t(i)].byGreen,
                                              table[size_t(i)].byBlue)
                                   : 0xFF000000u);
    }
  auto ConvertRows = [&](auto texel) {
    using TEXEL = decltype(texel);
    for (int y = 0; y < h; ++y) {
      uint8_t* pOut = t.GetRow(y);
      for (int x = 0; x < w; ++x) {
        const TEXEL v = static_cast<TEXEL>(bitmap.IsIndexed() ? lut[bitmap.GetIndexRow(y)[x]]
                                                              : TexelOf(bitmap.GetColorRow(y)[x]));
        std::memcpy(pOut + size_t(x) * sizeof(TEXEL), &v, sizeof(TEXEL));
      }
    }
  };
  if (t.GetBytesPerPixel() == 2)
    ConvertRows(uint16_t{});
  else
    ConvertRows(uint32_t{});
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::GetRenderTargetData(const cImage& renderTarget, cImage& systemImage) {
  if (auto f = TakeFault(eFaultPoint::GetRenderTargetData)) return *f;
  if (m_bLost) return eGfxResult::DeviceLost;
  if (renderTarget.IsLost()) return eGfxResult::InvalidCall;
  if (renderTarget.GetWidth() != systemImage.GetWidth() ||
      renderTarget.GetHeight() != systemImage.GetHeight() ||
      renderTarget.GetFormat() != systemImage.GetFormat() || systemImage.GetPool() != ePool::System)
    return eGfxResult::InvalidCall;
  CopyRect(cImageView(systemImage), cConstImageView(renderTarget), false, 0);
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::UpdateSurface(const cImage& systemImage, cImage& target) {
  if (auto f = TakeFault(eFaultPoint::UpdateSurface)) return *f;
  if (m_bLost) return eGfxResult::DeviceLost;
  if (target.IsLost()) return eGfxResult::InvalidCall;
  if (systemImage.GetWidth() != target.GetWidth() ||
      systemImage.GetHeight() != target.GetHeight() ||
      systemImage.GetFormat() != target.GetFormat() || systemImage.GetPool() != ePool::System)
    return eGfxResult::InvalidCall;
  CopyRect(cImageView(target), cConstImageView(systemImage), false, 0);
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::BeginScene() {
  if (auto f = TakeFault(eFaultPoint::BeginScene)) return *f;
  if (m_bInScene) return eGfxResult::InvalidCall;
  m_bInScene = true;
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::EndScene() {
  if (!m_bInScene) return eGfxResult::InvalidCall;
  m_bInScene = false;
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::SetRenderTarget(cImage* pTarget) {
  if (auto f = TakeFault(eFaultPoint::SetRenderTarget)) return *f;
  if (!pTarget || !pTarget->IsRenderTarget() || pTarget->IsOrphaned())
    return eGfxResult::InvalidCall;
  m_pTarget = pTarget;
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::Clear(const GFXRECT* pRects, int nRects, uint32_t dwArgb) {
  if (m_bLost) return eGfxResult::Ok;  // a lost device accepts and drops drawing
  if (!m_pTarget || m_pTarget->IsLost()) return eGfxResult::InvalidCall;
  cImage& t = *m_pTarget;
  const uint32_t v = ArgbToPixel(dwArgb, t.GetFormat());
  if (!pRects) {
    // A whole clear of pixels nobody has used yet is only noted.
    t.FillRaw(v);
    return eGfxResult::Ok;
  }
  for (int i = 0; i < nRects; ++i) {
    const cImageView area = cImageView(&t, pRects[i]).ClipToImage();
    if (area.IsInsideImage()) FillRectRaw(area, v);
  }
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::Present() {
  if (auto f = TakeFault(eFaultPoint::Present)) {
    if (*f == eGfxResult::DeviceLost) LoseDevice(false);
    return *f;
  }
  if (m_bLost) return eGfxResult::DeviceLost;
  PresentImage(*m_pBackBuffer);
  return eGfxResult::Ok;
}

eGfxResult cD3DDevice::TestCooperativeLevel() const {
  if (!m_bLost) return eGfxResult::Ok;
  return m_bResettable ? eGfxResult::DeviceNotReset : eGfxResult::DeviceLost;
}

eGfxResult cD3DDevice::Reset(const GFXPRESENTPARAMS& params) {
  if (m_bLost && !m_bResettable) return eGfxResult::DeviceLost;
  if (auto f = TakeFault(eFaultPoint::Reset)) return *f;
  if (!IsImageSizeAllowed(params.nWidth, params.nHeight)) return eGfxResult::InvalidCall;
  // Everything of the old default pool is gone for good; its owners make new ones.
  for (const auto& w : m_DefaultPool)
    if (auto p = w.lock()) p->SetOrphaned();
  m_DefaultPool.clear();
  if (m_pBackBuffer) m_pBackBuffer->SetOrphaned();
  m_Params = params;
  m_pBackBuffer = std::make_shared<cImage>(params.nWidth, params.nHeight, params.BackBufferFormat,
                                           ePool::Default, true);
  m_pTarget = m_pBackBuffer.get();
  m_pTexture = nullptr;
  m_Stage = {};
  m_dwTFactor = 0xFFFFFFFF;
  m_bBlend = false;
  m_bInScene = false;
  m_bLost = false;
  m_bResettable = false;
  return eGfxResult::Ok;
}

void cD3DDevice::LoseDevice(bool bResettable) {
  m_bLost = true;
  m_bResettable = bResettable;
  m_bInScene = false;
  for (const auto& w : m_DefaultPool)
    if (auto p = w.lock()) p->SetLost(true);
  if (m_pBackBuffer) m_pBackBuffer->SetLost(true);
}

eGfxResult cD3DDevice::SetDialogBoxMode(bool bOn) {
  if (auto f = TakeFault(eFaultPoint::SetDialogBoxMode)) return *f;
  m_bDialogMode = bOn;
  return eGfxResult::Ok;
}

}  // namespace plat::gfx
