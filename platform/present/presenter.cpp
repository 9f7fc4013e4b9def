// Frames handed over by the drawing side, and the window that shows them.
#include "platform/present/presenter.h"

#include <SDL.h>

#include <cstdio>
#include <mutex>

#include "platform/present/png_writer.h"
#include "platform/present/presenter_window.h"

namespace plat {

namespace {

struct cFrameStore {
  std::mutex mtx;
  std::vector<uint32_t> pixels;
  int nWidth = 0;
  int nHeight = 0;
  bool bNew = false;
};

cFrameStore& Store() {
  static cFrameStore store;
  return store;
}

struct cSdlWindow {
  bool bHeadless = true;
  SDL_Window* pWindow = nullptr;
  SDL_Renderer* pRenderer = nullptr;
  SDL_Texture* pTexture = nullptr;
  int nTexWidth = 0;
  int nTexHeight = 0;
  std::vector<uint32_t> shown;
  int nShownWidth = 0;
  int nShownHeight = 0;
} g_Win;

void Draw() {
  if (!g_Win.pRenderer) return;
  SDL_SetRenderDrawColor(g_Win.pRenderer, 0, 0, 0, 255);
  SDL_RenderClear(g_Win.pRenderer);
  if (!g_Win.shown.empty()) {
    if (!g_Win.pTexture || g_Win.nTexWidth != g_Win.nShownWidth ||
        g_Win.nTexHeight != g_Win.nShownHeight) {
      if (g_Win.pTexture) SDL_DestroyTexture(g_Win.pTexture);
      g_Win.pTexture =
          SDL_CreateTexture(g_Win.pRenderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                            g_Win.nShownWidth, g_Win.nShownHeight);
      g_Win.nTexWidth = g_Win.nShownWidth;
      g_Win.nTexHeight = g_Win.nShownHeight;
    }
    if (g_Win.pTexture) {
      SDL_UpdateTexture(g_Win.pTexture, nullptr, g_Win.shown.data(),
                        g_Win.nShownWidth * static_cast<int>(sizeof(uint32_t)));
      int nOutW = 0, nOutH = 0;
      SDL_GetRendererOutputSize(g_Win.pRenderer, &nOutW, &nOutH);
      // Whole multiples only, so every source pixel stays a sharp square.
      int nScale = std::min(nOutW / g_Win.nShownWidth, nOutH / g_Win.nShownHeight);
      if (nScale < 1) nScale = 1;
      SDL_Rect dst{(nOutW - g_Win.nShownWidth * nScale) / 2,
                   (nOutH - g_Win.nShownHeight * nScale) / 2, g_Win.nShownWidth * nScale,
                   g_Win.nShownHeight * nScale};
      SDL_RenderCopy(g_Win.pRenderer, g_Win.pTexture, nullptr, &dst);
    }
  }
  SDL_RenderPresent(g_Win.pRenderer);
}

}  // namespace

void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  if (!pPixels || nWidth <= 0 || nHeight <= 0 || nPitchPixels < nWidth) return;
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  st.pixels.resize(static_cast<size_t>(nWidth) * nHeight);
  for (int y = 0; y < nHeight; ++y)
    std::copy(pPixels + static_cast<size_t>(y) * nPitchPixels,
              pPixels + static_cast<size_t>(y) * nPitchPixels + nWidth,
              st.pixels.begin() + static_cast<size_t>(y) * nWidth);
  st.nWidth = nWidth;
  st.nHeight = nHeight;
  st.bNew = true;
}

bool CopyLastFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight) {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (st.pixels.empty()) return false;
  pixels = st.pixels;
  nWidth = st.nWidth;
  nHeight = st.nHeight;
  return true;
}

bool SaveLastFramePng(const std::string& strPath) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!CopyLastFrame(pixels, w, h)) return false;
  std::vector<uint8_t> png = EncodePng(pixels.data(), w, h, w);
  std::FILE* fp = std::fopen(strPath.c_str(), "wb");
  if (!fp) return false;
  bool bOk = std::fwrite(png.data(), 1, png.size(), fp) == png.size();
  bOk = (std::fclose(fp) == 0) && bOk;
  return bOk;
}

bool OpenPresenterWindow(bool bHeadless, int nClientWidth, int nClientHeight) {
  g_Win.bHeadless = true;
  if (bHeadless) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "brimvale: no video device (%s); running without a window\n",
                 SDL_GetError());
    return true;
  }
  g_Win.pWindow = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, nClientWidth,
                                   nClientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!g_Win.pWindow) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SDL_SetWindowMinimumSize(g_Win.pWindow, nClientWidth, nClientHeight);
  g_Win.pRenderer = SDL_CreateRenderer(g_Win.pWindow, -1, 0);
  if (!g_Win.pRenderer)
    g_Win.pRenderer = SDL_CreateRenderer(g_Win.pWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!g_Win.pRenderer) {
    SDL_DestroyWindow(g_Win.pWindow);
    g_Win.pWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  g_Win.bHeadless = false;
  return true;
}

bool IsPresenterHeadless() { return g_Win.bHeadless; }

void ClosePresenterWindow() {
  if (g_Win.pTexture) SDL_DestroyTexture(g_Win.pTexture);
  if (g_Win.pRenderer) SDL_DestroyRenderer(g_Win.pRenderer);
  if (g_Win.pWindow) SDL_DestroyWindow(g_Win.pWindow);
  if (!g_Win.bHeadless) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_Win = cSdlWindow{};
}

void ShowPresenterWindow(bool bFullScreen) {
  if (!g_Win.pWindow) return;
  SDL_SetWindowFullscreen(g_Win.pWindow, bFullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  SDL_ShowWindow(g_Win.pWindow);
  Draw();
}

void SetPresenterTitle(const std::string& strTitleUtf8) {
  if (g_Win.pWindow) SDL_SetWindowTitle(g_Win.pWindow, strTitleUtf8.c_str());
}

void MovePresenterWindow(int x, int y) {
  if (g_Win.pWindow) SDL_SetWindowPosition(g_Win.pWindow, x, y);
}

bool GetPresenterWindowPosition(int& x, int& y) {
  if (!g_Win.pWindow) return false;
  SDL_GetWindowPosition(g_Win.pWindow, &x, &y);
  return true;
}

void GetDesktopSize(int& nWidth, int& nHeight) {
  nWidth = 640;
  nHeight = 480;
  if (!g_Win.pWindow) return;
  SDL_Rect rc;
  if (SDL_GetDisplayUsableBounds(0, &rc) == 0) {
    nWidth = rc.x + rc.w;
    nHeight = rc.y + rc.h;
  }
}

bool GetCursorPosition(int& x, int& y) {
  if (!g_Win.pWindow) return false;
  SDL_GetGlobalMouseState(&x, &y);
  return true;
}

void ServicePresenter(bool bForce) {
  if (!g_Win.pWindow) return;
  bool bNew = false;
  {
    cFrameStore& st = Store();
    std::lock_guard<std::mutex> lock(st.mtx);
    if (st.bNew) {
      g_Win.shown = st.pixels;
      g_Win.nShownWidth = st.nWidth;
      g_Win.nShownHeight = st.nHeight;
      st.bNew = false;
      bNew = true;
    }
  }
  if (bNew || bForce) Draw();
}

}  // namespace plat

namespace plat {

bool IsPresenterMinimised() {
  return g_Win.pWindow && (SDL_GetWindowFlags(g_Win.pWindow) & SDL_WINDOW_MINIMIZED) != 0;
}

bool IsPresenterMaximised() {
  return g_Win.pWindow && (SDL_GetWindowFlags(g_Win.pWindow) & SDL_WINDOW_MAXIMIZED) != 0;
}

void MaximisePresenterWindow() {
  if (g_Win.pWindow) SDL_MaximizeWindow(g_Win.pWindow);
}

}  // namespace plat
