// The SDL window that shows the frames.
#include "platform/desktop/sdl_presenter.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gfx/display_config.h"

namespace plat::desktop {

namespace {

// A frame's pixels (0x00RRGGBB or 0xFFRRGGBB) as the bytes red, green, blue,
// 255, four pixels at a time.
void ToRgbaBytes(uint32_t* pDst, const uint32_t* pSrc, int nCount) {
  using V4 = uint32_t __attribute__((vector_size(16)));
  const size_t n = nCount > 0 ? size_t(nCount) : 0;
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    V4 v;
    std::memcpy(&v, pSrc + i, sizeof v);
    v = (v & 0xFF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16) | 0xFF000000u;
    std::memcpy(pDst + i, &v, sizeof v);
  }
  for (; i < n; ++i) {
    const uint32_t c = pSrc[i];
    pDst[i] = (c & 0xFF00u) | ((c >> 16) & 0xFFu) | ((c & 0xFFu) << 16) | 0xFF000000u;
  }
}

// A GL renderer keeps its textures as bytes red, green, blue, alpha: handed
// the frame in that order, the driver copies its rows as they stand instead
// of reordering every pixel one at a time on this thread. Other renderers
// take the frame's own order.
uint32_t TextureFormatFor(SDL_Renderer* pRenderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(pRenderer, &info) == 0 && info.name &&
      std::strncmp(info.name, "opengl", 6) == 0) {
    for (Uint32 i = 0; i < info.num_texture_formats; ++i)
      if (info.texture_formats[i] == SDL_PIXELFORMAT_ABGR8888) return SDL_PIXELFORMAT_ABGR8888;
  }
  return SDL_PIXELFORMAT_RGB888;
}

bool IsSoftwareRenderer(SDL_Renderer* pRenderer) {
  SDL_RendererInfo info{};
  return SDL_GetRendererInfo(pRenderer, &info) == 0 && info.name &&
         std::strcmp(info.name, "software") == 0;
}

// A GL renderer whose driver draws on the processor (Mesa's llvmpipe,
// softpipe or swrast: no graphics card, a virtual machine, a remote desktop).
bool DrawsOnTheProcessor(SDL_Renderer* pRenderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(pRenderer, &info) != 0 || !info.name ||
      std::strncmp(info.name, "opengl", 6) != 0)
    return false;
  // The renderer's context is current on this thread once it is made.
  using GetStringFn = const unsigned char* (*)(unsigned int);
  auto pfnGetString = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
  constexpr unsigned int kGlRenderer = 0x1F01;
  const unsigned char* szName = pfnGetString ? pfnGetString(kGlRenderer) : nullptr;
  if (!szName) return false;
  const std::string strName(reinterpret_cast<const char*>(szName));
  for (const char* szSoft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
    if (strName.find(szSoft) != std::string::npos) return true;
  return false;
}

}  // namespace

// Where a frame of nWidth x nHeight goes in an output of nOutW x nOutH:
// whole multiples only, so every source pixel stays a sharp square, and
// centred.
SDL_Rect cSdlPresenter::FramePlace(int nOutW, int nOutH, int nWidth, int nHeight) {
  int nScale = std::min(nOutW / nWidth, nOutH / nHeight);
  if (nScale < 1) nScale = 1;
  return SDL_Rect{(nOutW - nWidth * nScale) / 2, (nOutH - nHeight * nScale) / 2, nWidth * nScale,
                  nHeight * nScale};
}

// The bars stay black until the surface or the frame's place changes: the
// image is blackened whole only then.
void cSdlPresenter::BlackenBarsOnChange(SDL_Surface* pSurface, const SDL_Rect& dst) {
  if (pSurface == m_pSurface && pSurface->w == m_nSurfaceWidth && pSurface->h == m_nSurfaceHeight &&
      std::memcmp(&dst, &m_ShownPlace, sizeof dst) == 0)
    return;
  SDL_FillRect(pSurface, nullptr, SDL_MapRGB(pSurface->format, 0, 0, 0));
  m_pSurface = pSurface;
  m_nSurfaceWidth = pSurface->w;
  m_nSurfaceHeight = pSurface->h;
  m_ShownPlace = dst;
}

void cSdlPresenter::WriteToSurface(const uint32_t* pPixels, int nWidth, int nHeight) {
  SDL_Surface* pSurface = SDL_GetWindowSurface(m_pWindow);
  if (!pSurface || pSurface->w <= 0 || pSurface->h <= 0) return;
  const SDL_Rect dst = FramePlace(pSurface->w, pSurface->h, nWidth, nHeight);
  const bool bLock = SDL_MUSTLOCK(pSurface);
  if (bLock && SDL_LockSurface(pSurface) != 0) return;
  BlackenBarsOnChange(pSurface, dst);
  // A window smaller than the frame (at scale 1 only) shows its middle.
  const int nScale = dst.w / nWidth;
  const int nSkipX = std::max(0, -dst.x), nSkipY = std::max(0, -dst.y);
  const int nCols = std::min(nWidth - nSkipX, (pSurface->w - std::max(0, dst.x)) / nScale);
  const int nRows = std::min(nHeight - nSkipY, (pSurface->h - std::max(0, dst.y)) / nScale);
  if (nCols <= 0 || nRows <= 0) {
    if (bLock) SDL_UnlockSurface(pSurface);
    return;
  }
  pPixels += size_t(nSkipY) * size_t(nWidth) + size_t(nSkipX);
  const uint32_t nFormat = pSurface->format->format;
  const int nBpp = pSurface->format->BytesPerPixel;
  auto* pOut = static_cast<uint8_t*>(pSurface->pixels) +
               size_t(std::max(0, dst.y)) * size_t(pSurface->pitch) +
               size_t(std::max(0, dst.x)) * size_t(nBpp);
  if (nScale == 1) {
    SDL_ConvertPixels(nCols, nRows, SDL_PIXELFORMAT_RGB888, pPixels, nWidth * 4, nFormat, pOut,
                      pSurface->pitch);
  } else {
    m_Row.resize(size_t(nCols) * size_t(nScale));
    for (int y = 0; y < nRows; ++y) {
      const uint32_t* pIn = pPixels + size_t(y) * size_t(nWidth);
      for (int x = 0; x < nCols; ++x)
        std::fill_n(m_Row.begin() + ptrdiff_t(x) * nScale, nScale, pIn[x]);
      uint8_t* pFirst = pOut + size_t(y) * size_t(nScale) * size_t(pSurface->pitch);
      SDL_ConvertPixels(nCols * nScale, 1, SDL_PIXELFORMAT_RGB888, m_Row.data(), nCols * nScale * 4,
                        nFormat, pFirst, pSurface->pitch);
      for (int k = 1; k < nScale; ++k)
        std::memcpy(pFirst + size_t(k) * size_t(pSurface->pitch), pFirst,
                    size_t(nCols) * size_t(nScale) * size_t(nBpp));
    }
  }
  if (bLock) SDL_UnlockSurface(pSurface);
}

// The window's image is made anew only when the window's size changed, or
// in full screen, where showing the window again remakes it whatever its
// size: frames are not lent it there.
bool cSdlPresenter::IsImageStale() {
  if (!m_pSurface || (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_FULLSCREEN) != 0) return true;
  int w = 0, h = 0;
  SDL_GetWindowSize(m_pWindow, &w, &h);
  return w != m_nSurfaceWidth || h != m_nSurfaceHeight;
}

FRAMEIMAGE cSdlPresenter::PrepareImage(int nWidth, int nHeight) {
  SDL_Surface* pSurface = SDL_GetWindowSurface(m_pWindow);
  if (!pSurface || pSurface->w <= 0 || pSurface->h <= 0) return FRAMEIMAGE{};
  const bool bFrame = nWidth > 0 && nHeight > 0;
  const SDL_Rect dst = bFrame ? FramePlace(pSurface->w, pSurface->h, nWidth, nHeight) : SDL_Rect{};
  BlackenBarsOnChange(pSurface, dst);
  // Frames go straight in only as they stand: unscaled, whole, in their own
  // pixel format (the top byte unused), in an image that needs no lock.
  if (!bFrame || dst.w != nWidth || dst.x < 0 || dst.y < 0 || SDL_MUSTLOCK(pSurface) ||
      pSurface->format->format != SDL_PIXELFORMAT_RGB888 || pSurface->pitch % 4 != 0 ||
      (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_FULLSCREEN) != 0)
    return FRAMEIMAGE{};
  auto* pTopLeft = static_cast<uint8_t*>(pSurface->pixels) + size_t(dst.y) * size_t(pSurface->pitch) +
                   size_t(dst.x) * 4;
  return FRAMEIMAGE{reinterpret_cast<uint32_t*>(pTopLeft), nWidth, nHeight, pSurface->pitch / 4};
}

void cSdlPresenter::WriteFrame(const uint32_t* pPixels, int nWidth, int nHeight) {
  WriteToSurface(pPixels, nWidth, nHeight);
  m_nShownWidth = nWidth;
  m_nShownHeight = nHeight;
}

void cSdlPresenter::PutImage() { SDL_UpdateWindowSurface(m_pWindow); }

void cSdlPresenter::Upload(const uint32_t* pPixels, int nWidth, int nHeight) {
  if (!m_pRenderer) return;
  if (!m_pTexture || m_nTexWidth != nWidth || m_nTexHeight != nHeight) {
    if (m_pTexture) SDL_DestroyTexture(m_pTexture);
    m_pTexture =
        SDL_CreateTexture(m_pRenderer, m_nTexFormat, SDL_TEXTUREACCESS_STREAMING, nWidth, nHeight);
    m_nTexWidth = nWidth;
    m_nTexHeight = nHeight;
  }
  if (!m_pTexture) return;
  if (m_nTexFormat == SDL_PIXELFORMAT_ABGR8888) {
    void* pOut = nullptr;
    int nPitch = 0;
    if (SDL_LockTexture(m_pTexture, nullptr, &pOut, &nPitch) != 0) return;
    for (int y = 0; y < nHeight; ++y)
      ToRgbaBytes(reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pOut) + size_t(y) * nPitch),
                  pPixels + size_t(y) * nWidth, nWidth);
    SDL_UnlockTexture(m_pTexture);
  } else {
    SDL_UpdateTexture(m_pTexture, nullptr, pPixels, nWidth * static_cast<int>(sizeof(uint32_t)));
  }
  m_nShownWidth = nWidth;
  m_nShownHeight = nHeight;
}

void cSdlPresenter::Draw() {
  if (m_bDirect) {
    SDL_Surface* pSurface = SDL_GetWindowSurface(m_pWindow);
    if (!pSurface) return;
    if (pSurface != m_pSurface || pSurface->w != m_nSurfaceWidth ||
        pSurface->h != m_nSurfaceHeight) {
      // A surface made anew (the window's size changed) and no frame yet.
      SDL_FillRect(pSurface, nullptr, SDL_MapRGB(pSurface->format, 0, 0, 0));
      m_pSurface = pSurface;
      m_nSurfaceWidth = pSurface->w;
      m_nSurfaceHeight = pSurface->h;
      m_ShownPlace = SDL_Rect{};
    }
    SDL_UpdateWindowSurface(m_pWindow);
    WaitSimulatedBlank();
    return;
  }
  if (!m_pRenderer) return;
  // The texture keeps the frame shown last, for a redraw after an expose.
  const bool bFrame = m_pTexture && m_nShownWidth > 0 && m_nShownHeight > 0;
  int nOutW = 0, nOutH = 0;
  SDL_GetRendererOutputSize(m_pRenderer, &nOutW, &nOutH);
  SDL_Rect dst{0, 0, nOutW, nOutH};
  if (bFrame) dst = FramePlace(nOutW, nOutH, m_nShownWidth, m_nShownHeight);
  // Black bars only where the frame leaves some: a frame that fills the
  // window is not drawn over a cleared one.
  if (!bFrame || dst.x > 0 || dst.y > 0 || dst.w < nOutW || dst.h < nOutH) {
    SDL_SetRenderDrawColor(m_pRenderer, 0, 0, 0, 255);
    SDL_RenderClear(m_pRenderer);
  }
  if (bFrame) SDL_RenderCopy(m_pRenderer, m_pTexture, nullptr, &dst);
  SDL_RenderPresent(m_pRenderer);
}

namespace {

// SDL falls back to drivers that show nothing when it finds no display:
// they are taken only when asked for by name (SDL_VIDEODRIVER), as tests do.
bool IsInvisibleDriver(const char* szDriver) {
  return szDriver &&
         (SDL_strcasecmp(szDriver, "offscreen") == 0 || SDL_strcasecmp(szDriver, "dummy") == 0);
}

bool WasAskedFor(const char* szDriver) {
  const char* szAsked = std::getenv("SDL_VIDEODRIVER");
  return szAsked && szDriver && SDL_strcasecmp(szAsked, szDriver) == 0;
}

std::string NoDisplayReason(const std::string& strDetail) {
  const bool bNamed = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  return std::string(bNamed ? "cannot open a window on the display (" + strDetail + ")"
                            : "no display (DISPLAY and WAYLAND_DISPLAY are not set)") +
         "; run with --headless to play without a window";
}

int DisplayConnectionOf(SDL_Window* pWindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(pWindow, &info)) return -1;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11 && info.info.x11.display)
    return ConnectionNumber(info.info.x11.display);
#endif
  return -1;
}

// Displays sold as 60 Hz often run at 59.94, which SDL may round either way.
int RefreshRateOf(int nHz) { return nHz >= 59 && nHz <= 61 ? 60 : nHz; }

}  // namespace

bool cSdlPresenter::Open(int nClientWidth, int nClientHeight) {
  m_strOpenError.clear();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    m_strOpenError = NoDisplayReason(std::string("SDL: ") + SDL_GetError());
    return false;
  }
  const char* szDriver = SDL_GetCurrentVideoDriver();
  if (IsInvisibleDriver(szDriver) && !WasAskedFor(szDriver)) {
    m_strOpenError = NoDisplayReason(std::string("SDL found only its \"") + szDriver +
                                     "\" video driver, which shows nothing");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  m_pWindow = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, nClientWidth,
                               nClientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!m_pWindow) {
    m_strOpenError = std::string("cannot make the window (SDL: ") + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SDL_SetWindowMinimumSize(m_pWindow, nClientWidth, nClientHeight);
  m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, 0);
  if (!std::getenv("SDL_RENDER_DRIVER") &&
      (!m_pRenderer || IsSoftwareRenderer(m_pRenderer) || DrawsOnTheProcessor(m_pRenderer))) {
    // A driver that draws on the processor wakes a thread per core to draw
    // one picture a frame, and turns every pixel handed to it around on the
    // way; SDL's own software renderer copies each frame twice on this
    // thread, into its texture and from there into the window's image. The
    // frame goes straight into the window's image instead, the display's
    // own (not a GL texture, unless the environment asks), for a fraction
    // of the processor time. A renderer the environment names is kept.
    if (m_pRenderer) SDL_DestroyRenderer(m_pRenderer);
    m_pRenderer = nullptr;
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    m_bDirect = SDL_GetWindowSurface(m_pWindow) != nullptr;
    if (!m_bDirect) m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, 0);
  }
  if (!m_pRenderer && !m_bDirect)
    m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!m_pRenderer && !m_bDirect) {
    m_strOpenError = std::string("cannot draw into the window (SDL: ") + SDL_GetError() + ")";
    SDL_DestroyWindow(m_pWindow);
    m_pWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  if (m_pRenderer) m_nTexFormat = TextureFormatFor(m_pRenderer);
  m_bVideo = true;
  m_nDisplayFd = DisplayConnectionOf(m_pWindow);
  // The drawing side keeps vertical sync only for a display that runs at
  // the game's 60 frames a second: it needs the real rate (0: unknown).
  SDL_DisplayMode mode{};
  const int nDisplay = std::max(0, SDL_GetWindowDisplayIndex(m_pWindow));
  if (SDL_GetCurrentDisplayMode(nDisplay, &mode) == 0) {
    gfx::GFXDISPLAYCONFIG config = gfx::GetDisplayConfig();
    config.nRefreshRate = RefreshRateOf(mode.refresh_rate);
    gfx::SetDisplayConfig(config);
  }
  return true;
}

bool cSdlPresenter::SetVSync(bool bOn) {
  if (m_bDirect) {
    // The window's image has no vertical blank to wait for: it is kept to
    // the display's rate by the clock, as SDL's renderer keeps it then.
    SDL_DisplayMode mode{};
    const int nHz = SDL_GetWindowDisplayMode(m_pWindow, &mode) == 0 && mode.refresh_rate > 0
                        ? mode.refresh_rate
                        : 60;
    m_dwBlankIntervalMs = bOn ? uint32_t(1000 / nHz) : 0;
    return bOn;
  }
  if (!m_pRenderer) return false;
  if (SDL_RenderSetVSync(m_pRenderer, bOn ? 1 : 0) != 0) return false;
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(m_pRenderer, &info) != 0) return false;
  return bOn && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
}

void cSdlPresenter::Close() {
  if (m_bDirect) TakeBackFrameImage();
  if (m_pTexture) SDL_DestroyTexture(m_pTexture);
  if (m_pRenderer) SDL_DestroyRenderer(m_pRenderer);
  if (m_pWindow) SDL_DestroyWindow(m_pWindow);
  if (m_bVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  *this = cSdlPresenter{};
}

void cSdlPresenter::Show(bool bFullScreen) {
  if (!m_pWindow) return;
  if (m_bDirect) TakeBackFrameImage();
  SDL_SetWindowFullscreen(m_pWindow, bFullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  SDL_ShowWindow(m_pWindow);
  Draw();
}

void cSdlPresenter::SetTitle(const std::string& strTitleUtf8) {
  if (m_pWindow) SDL_SetWindowTitle(m_pWindow, strTitleUtf8.c_str());
}

bool cSdlPresenter::GetFrameBorders(int& nTop, int& nLeft) const {
  int nBottom = 0, nRight = 0;
  nTop = nLeft = 0;
  if (SDL_GetWindowBordersSize(m_pWindow, &nTop, &nLeft, &nBottom, &nRight) == 0) return true;
  nTop = nLeft = 0;
  return false;
}

// SDL places and reports the inner area of a window the window manager has
// framed. A window not yet shown has no frame: a place asked for then is
// where the manager puts the frame's corner when it shows the window.
void cSdlPresenter::Move(int x, int y) {
  if (!m_pWindow) return;
  int nTop = 0, nLeft = 0;
  if ((SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_SHOWN) != 0) GetFrameBorders(nTop, nLeft);
  SDL_SetWindowPosition(m_pWindow, x + nLeft, y + nTop);
}

bool cSdlPresenter::GetPosition(int& x, int& y) {
  if (!m_pWindow) return false;
  SDL_GetWindowPosition(m_pWindow, &x, &y);
  int nTop = 0, nLeft = 0;
  GetFrameBorders(nTop, nLeft);
  x -= nLeft;
  y -= nTop;
  return true;
}

bool cSdlPresenter::GetDesktopSize(int& nWidth, int& nHeight) {
  if (!m_pWindow) return false;
  SDL_Rect rc;
  if (SDL_GetDisplayUsableBounds(0, &rc) != 0) return false;
  nWidth = rc.x + rc.w;
  nHeight = rc.y + rc.h;
  return true;
}

bool cSdlPresenter::GetCursorPosition(int& x, int& y) {
  if (!m_pWindow) return false;
  SDL_GetGlobalMouseState(&x, &y);
  return true;
}

// Shows are spaced a blank's interval apart on a timeline that moves on by
// whole intervals, started again after a second without a show.
void cSdlPresenter::WaitSimulatedBlank() {
  const uint32_t dwInterval = m_dwBlankIntervalMs;
  if (dwInterval == 0) return;
  uint32_t dwNow = SDL_GetTicks();
  if (dwNow - m_dwLastShow < dwInterval) {
    SDL_Delay(dwInterval - (dwNow - m_dwLastShow));
    dwNow = SDL_GetTicks();
  }
  const uint32_t dwElapsed = dwNow - m_dwLastShow;
  if (m_dwLastShow == 0 || dwElapsed > 1000)
    m_dwLastShow = dwNow;
  else
    m_dwLastShow += dwElapsed / dwInterval * dwInterval;
}

void cSdlPresenter::Refresh(bool bForce) {
  if (!m_pWindow) return;
  if (m_bDirect) {
    // The window's image is lent to the frame store, which the drawing side
    // writes the frames straight into; it is lost with a change of the
    // window's size, so a forced show draws the newest frame into it again.
    if (bForce) m_pSurface = nullptr;  // bars drawn again as well
    if (ShowFramesInImage(*this, bForce) || bForce) WaitSimulatedBlank();
    return;
  }
  // The newest frame goes from the frame store straight into the texture.
  const FrameShowFn fnShow = [](const uint32_t* pPixels, int nWidth, int nHeight, void* pContext) {
    static_cast<cSdlPresenter*>(pContext)->Upload(pPixels, nWidth, nHeight);
  };
  const bool bNew = ShowNewFrame(fnShow, this);
  if (bNew || bForce) Draw();
}

bool cSdlPresenter::IsMinimised() {
  return m_pWindow && (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

bool cSdlPresenter::IsMaximised() {
  return m_pWindow && (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_MAXIMIZED) != 0;
}

void cSdlPresenter::Maximise() {
  if (m_pWindow && m_bDirect) TakeBackFrameImage();
  if (m_pWindow) SDL_MaximizeWindow(m_pWindow);
}

void cSdlPresenter::SetDialogMode(bool bOn) {
  if (bOn) {
    if (m_nDialogs++ > 0 || !m_pWindow) return;
    m_bFullScreenUnderDialogs =
        (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (m_bFullScreenUnderDialogs) {
      if (m_bDirect) TakeBackFrameImage();
      SDL_SetWindowFullscreen(m_pWindow, 0);
    }
    return;
  }
  if (m_nDialogs == 0 || --m_nDialogs > 0) return;
  if (m_pWindow && m_bFullScreenUnderDialogs) {
    if (m_bDirect) TakeBackFrameImage();
    SDL_SetWindowFullscreen(m_pWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  m_bFullScreenUnderDialogs = false;
}

bool cSdlPresenter::DescribeDisplay(DISPLAYFACTS& facts) {
  if (!m_bVideo) return false;
  facts = DISPLAYFACTS{};
  const char* szDriver = SDL_GetCurrentVideoDriver();
  facts.strVideoDriver = szDriver ? szDriver : "";
  const int nDisplay = m_pWindow ? std::max(0, SDL_GetWindowDisplayIndex(m_pWindow)) : 0;
  const char* szName = SDL_GetDisplayName(nDisplay);
  facts.strDisplayName = szName ? szName : "";
  facts.nDisplays = std::max(0, SDL_GetNumVideoDisplays());
  SDL_version linked;
  SDL_GetVersion(&linked);
  facts.nLibraryMajor = linked.major;
  facts.nLibraryMinor = linked.minor;
  facts.nLibraryPatch = linked.patch;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(nDisplay, &mode) == 0) {
    facts.nWidth = mode.w;
    facts.nHeight = mode.h;
    facts.nRefreshRate = mode.refresh_rate;
    // A 24-bit desktop keeps its pixels in 32 bits.
    facts.nBpp = SDL_BITSPERPIXEL(mode.format) == 24 ? 32 : SDL_BITSPERPIXEL(mode.format);
  }
  SDL_RendererInfo info;
  if (m_bDirect) facts.strRenderer = "software";
  if (m_pRenderer && SDL_GetRendererInfo(m_pRenderer, &info) == 0) {
    facts.strRenderer = info.name ? info.name : "";
    facts.bAccelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    facts.nMaxTextureWidth = info.max_texture_width;
    facts.nMaxTextureHeight = info.max_texture_height;
  }
  return true;
}

unsigned long cSdlPresenter::GetX11Window() const {
  if (!m_pWindow) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(m_pWindow, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) return static_cast<unsigned long>(info.info.x11.window);
#endif
  return 0;
}

}  // namespace plat::desktop
