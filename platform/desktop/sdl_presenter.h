// The desktop presenter: an SDL window that shows the newest frame
// integer-scaled and letterboxed, windowed or in desktop full screen,
// through one streaming texture of a GPU renderer, or written straight
// into the window's image where drawing happens on the processor anyway.
// Without a video device it runs without a window.
#pragma once

#include <SDL_rect.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/present/presenter_service.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;

namespace plat::desktop {

class cSdlPresenter : public cPresenterService, private cFrameImageOwner {
 public:
  bool Open(int nClientWidth, int nClientHeight) override;
  std::string GetOpenError() const override { return m_strOpenError; }
  void Close() override;
  bool SetVSync(bool bOn) override;
  void Show(bool bFullScreen) override;
  void SetTitle(const std::string& strTitleUtf8) override;
  void Move(int x, int y) override;
  bool GetPosition(int& x, int& y) override;
  bool GetDesktopSize(int& nWidth, int& nHeight) override;
  bool GetCursorPosition(int& x, int& y) override;
  void Refresh(bool bForce) override;
  bool IsMinimised() override;
  bool IsMaximised() override;
  void Maximise() override;
  bool DescribeDisplay(DISPLAYFACTS& facts) override;

  bool HasWindow() const { return m_pWindow != nullptr; }
  SDL_Window* GetSdlWindow() const { return m_pWindow; }
  // While a dialog is up over the game a full-screen window steps out of
  // full screen, and back when the last dialog is gone.
  void SetDialogMode(bool bOn);
  // The X11 window the game is shown in, 0 when it is not on X11: dialogs
  // are kept above it.
  unsigned long GetX11Window() const;
  // The descriptor of the X11 connection the window's events come on, -1
  // without a window on X11.
  int GetDisplayConnection() const { return m_nDisplayFd; }

 private:
  void Draw();
  // The window's image, where frames are written straight into it.
  bool IsImageStale() override;
  FRAMEIMAGE PrepareImage(int nWidth, int nHeight) override;
  void WriteFrame(const uint32_t* pPixels, int nWidth, int nHeight) override;
  void PutImage() override;
  // The frame's top and left widths; false (and 0) while the window has no
  // frame or the window manager does not say.
  bool GetFrameBorders(int& nTop, int& nLeft) const;
  // The frame into the texture, made again when its size changes.
  void Upload(const uint32_t* pPixels, int nWidth, int nHeight);
  void WriteToSurface(const uint32_t* pPixels, int nWidth, int nHeight);
  void BlackenBarsOnChange(SDL_Surface* pSurface, const SDL_Rect& dst);
  static SDL_Rect FramePlace(int nOutW, int nOutH, int nWidth, int nHeight);
  // Vertical sync without a renderer: waits until the next show is due.
  void WaitSimulatedBlank();

  std::string m_strOpenError;
  bool m_bVideo = false;  // SDL's video part is running for this window
  SDL_Window* m_pWindow = nullptr;
  SDL_Renderer* m_pRenderer = nullptr;
  SDL_Texture* m_pTexture = nullptr;
  uint32_t m_nTexFormat = 0;  // SDL's pixel format of the texture
  int m_nTexWidth = 0;
  int m_nTexHeight = 0;
  int m_nDialogs = 0;
  bool m_bFullScreenUnderDialogs = false;
  int m_nShownWidth = 0;
  int m_nShownHeight = 0;
  int m_nDisplayFd = -1;
  // The frame is written straight into the window's image (no renderer):
  // the surface it was last written into, and where the frame went in it.
  bool m_bDirect = false;
  SDL_Surface* m_pSurface = nullptr;
  int m_nSurfaceWidth = 0;
  int m_nSurfaceHeight = 0;
  SDL_Rect m_ShownPlace{};
  std::vector<uint32_t> m_Row;  // a scaled row
  uint32_t m_dwBlankIntervalMs = 0;
  uint32_t m_dwLastShow = 0;
};

}  // namespace plat::desktop
