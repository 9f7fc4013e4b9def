// What a back end's presenter does: the window of the main window thread
// that shows the newest frame handed over, windowed or in desktop full
// screen. The null presenter has no window; frames stay in the core's frame
// store either way, so a screenshot works on both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// What the desktop says about the display the game is shown on.
struct DISPLAYFACTS {
  std::string strVideoDriver;  // the desktop's video system ("x11", "wayland")
  std::string strDisplayName;
  std::string strRenderer;  // what shows the frames
  bool bAccelerated = false;
  int nLibraryMajor = 0;  // the windowing library's version
  int nLibraryMinor = 0;
  int nLibraryPatch = 0;
  int nDisplays = 0;
  int nWidth = 0;  // the desktop's mode
  int nHeight = 0;
  int nRefreshRate = 0;
  int nBpp = 0;
  int nMaxTextureWidth = 0;  // of the renderer; 0 when it has no limit
  int nMaxTextureHeight = 0;
};

class cPresenterService {
 public:
  virtual ~cPresenterService() = default;

  // Opens the (hidden) window of nClientWidth × nClientHeight pixels. False
  // when a window was wanted and could not be made, no display included;
  // GetOpenError then says why in English.
  virtual bool Open(int nClientWidth, int nClientHeight) = 0;
  virtual std::string GetOpenError() const { return std::string(); }
  virtual void Close() = 0;

  // Window thread: shows frames on the display's vertical blank, or as soon
  // as they come. True when frames now wait for the vertical blank; a
  // presenter without a window, or whose window cannot wait, says false.
  virtual bool SetVSync(bool bOn) {
    (void)bOn;
    return false;
  }

  virtual void Show(bool bFullScreen) = 0;
  virtual void SetTitle(const std::string& strTitleUtf8) = 0;
  // A window's place is the top-left corner of its frame, the window
  // manager's decorations included, as a saved place is restored.
  virtual void Move(int x, int y) = 0;
  // False without a window.
  virtual bool GetPosition(int& x, int& y) = 0;
  // The usable desktop's right and bottom edges; false without a display.
  virtual bool GetDesktopSize(int& nWidth, int& nHeight) = 0;
  // The mouse on the desktop; false without a window.
  virtual bool GetCursorPosition(int& x, int& y) = 0;

  // Window thread: shows a frame handed over since the last call (see
  // TakeNewFrame), or with bForce the shown one again, after an expose.
  virtual void Refresh(bool bForce) = 0;

  // The window's state for its saved placement: false without a window.
  virtual bool IsMinimised() = 0;
  virtual bool IsMaximised() = 0;
  virtual void Maximise() = 0;

  // False without a display.
  virtual bool DescribeDisplay(DISPLAYFACTS&) { return false; }
};

// For presenters: the newest frame, when one was handed over since the last
// take (X8R8G8B8, pitch = width).
bool TakeNewFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight);
// The same without a copy: fnShow reads the newest frame where the store
// keeps it, under its lock (so it must not hand a frame over itself).
using FrameShowFn = void (*)(const uint32_t* pPixels, int nWidth, int nHeight, void* pContext);
bool ShowNewFrame(FrameShowFn fnShow, void* pContext);
// The newest frame handed over, new or already shown (a window that lost
// its picture draws it again); false when none was handed over.
bool ShowLastFrame(FrameShowFn fnShow, void* pContext);

// A window's own image, lent to the frame store so that frames of its size
// are written straight into it: the frame's top-left pixel, pitch in
// pixels. No pixels: frames stay in the store's memory.
struct FRAMEIMAGE {
  uint32_t* pPixels = nullptr;
  int nWidth = 0;
  int nHeight = 0;
  int nPitch = 0;
  bool operator==(const FRAMEIMAGE&) const = default;
};
// What the window thread does with its image: each step but PutImage under
// the frame store's lock, so the drawing side never writes into an image
// that is being changed or let go; while PutImage runs, outside the lock,
// the drawing side writes into the store's memory instead and never waits
// for the screen.
class cFrameImageOwner {
 public:
  virtual ~cFrameImageOwner() = default;
  // Whether the image will be made anew (its memory let go) when next
  // prepared: a frame that lives only there is taken back first.
  virtual bool IsImageStale() = 0;
  // Makes sure of the image and says where a frame of nWidth x nHeight goes
  // in it (0 x 0: none handed over yet); none when frames cannot go straight
  // there.
  virtual FRAMEIMAGE PrepareImage(int nWidth, int nHeight) = 0;
  // Writes a frame kept in the store's memory into the image.
  virtual void WriteFrame(const uint32_t* pPixels, int nWidth, int nHeight) = 0;
  // Puts the image on the screen.
  virtual void PutImage() = 0;
};
// Window thread: the frame handed over since the last show (with bForce the
// newest one, new or not, and the image put on the screen even without
// one) goes into the owner's image and on the screen. True when a frame
// was shown.
bool ShowFramesInImage(cFrameImageOwner& owner, bool bForce);
// Window thread, before anything that may let go of the lent image (a
// change of full screen, closing the window): the store takes its frame
// back and lends no more until the next ShowFramesInImage.
void TakeBackFrameImage();

// After the presenter's turn: every frame taken so far is on the screen.
// Frames that wait for the vertical blank are let go here.
void NoteFramesShown();

}  // namespace plat
