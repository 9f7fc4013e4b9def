// The SDL window that shows the frames.
#include "platform/desktop/sdl_presenter.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gfx/display_config.h"

namespace plat::desktop {

void cSdlPresenter::Upload(const uint32_t* pPixels, int nWidth, int nHeight) {
  if (!m_pRenderer) return;
  if (!m_pTexture || m_nTexWidth != nWidth || m_nTexHeight != nHeight) {
    if (m_pTexture) SDL_DestroyTexture(m_pTexture);
    m_pTexture = SDL_CreateTexture(m_pRenderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   nWidth, nHeight);
    m_nTexWidth = nWidth;
    m_nTexHeight = nHeight;
  }
  if (!m_pTexture) return;
  SDL_UpdateTexture(m_pTexture, nullptr, pPixels, nWidth * static_cast<int>(sizeof(uint32_t)));
  m_nShownWidth = nWidth;
  m_nShownHeight = nHeight;
}

void cSdlPresenter::Draw() {
  if (!m_pRenderer) return;
  SDL_SetRenderDrawColor(m_pRenderer, 0, 0, 0, 255);
  SDL_RenderClear(m_pRenderer);
  // The texture keeps the frame shown last, for a redraw after an expose.
  if (m_pTexture && m_nShownWidth > 0 && m_nShownHeight > 0) {
    int nOutW = 0, nOutH = 0;
    SDL_GetRendererOutputSize(m_pRenderer, &nOutW, &nOutH);
    // Whole multiples only, so every source pixel stays a sharp square.
    int nScale = std::min(nOutW / m_nShownWidth, nOutH / m_nShownHeight);
    if (nScale < 1) nScale = 1;
    SDL_Rect dst{(nOutW - m_nShownWidth * nScale) / 2, (nOutH - m_nShownHeight * nScale) / 2,
                 m_nShownWidth * nScale, m_nShownHeight * nScale};
    SDL_RenderCopy(m_pRenderer, m_pTexture, nullptr, &dst);
  }
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
  if (!m_pRenderer) m_pRenderer = SDL_CreateRenderer(m_pWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!m_pRenderer) {
    m_strOpenError = std::string("cannot draw into the window (SDL: ") + SDL_GetError() + ")";
    SDL_DestroyWindow(m_pWindow);
    m_pWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  m_bVideo = true;
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
  if (!m_pRenderer) return false;
  if (SDL_RenderSetVSync(m_pRenderer, bOn ? 1 : 0) != 0) return false;
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(m_pRenderer, &info) != 0) return false;
  return bOn && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
}

void cSdlPresenter::Close() {
  if (m_pTexture) SDL_DestroyTexture(m_pTexture);
  if (m_pRenderer) SDL_DestroyRenderer(m_pRenderer);
  if (m_pWindow) SDL_DestroyWindow(m_pWindow);
  if (m_bVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  *this = cSdlPresenter{};
}

void cSdlPresenter::Show(bool bFullScreen) {
  if (!m_pWindow) return;
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

void cSdlPresenter::Refresh(bool bForce) {
  if (!m_pWindow) return;
  // The newest frame goes from the frame store straight into the texture.
  const bool bNew = ShowNewFrame(
      [](const uint32_t* pPixels, int nWidth, int nHeight, void* pContext) {
        static_cast<cSdlPresenter*>(pContext)->Upload(pPixels, nWidth, nHeight);
      },
      this);
  if (bNew || bForce) Draw();
}

bool cSdlPresenter::IsMinimised() {
  return m_pWindow && (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

bool cSdlPresenter::IsMaximised() {
  return m_pWindow && (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_MAXIMIZED) != 0;
}

void cSdlPresenter::Maximise() {
  if (m_pWindow) SDL_MaximizeWindow(m_pWindow);
}

void cSdlPresenter::SetDialogMode(bool bOn) {
  if (bOn) {
    if (m_nDialogs++ > 0 || !m_pWindow) return;
    m_bFullScreenUnderDialogs =
        (SDL_GetWindowFlags(m_pWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    if (m_bFullScreenUnderDialogs) SDL_SetWindowFullscreen(m_pWindow, 0);
    return;
  }
  if (m_nDialogs == 0 || --m_nDialogs > 0) return;
  if (m_pWindow && m_bFullScreenUnderDialogs)
    SDL_SetWindowFullscreen(m_pWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
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
