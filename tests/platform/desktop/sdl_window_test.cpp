// The desktop window and its event feed on SDL's dummy video driver: the
// window opens and shows frames, and SDL's events become key states and
// messages to the main window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop/sdl_event_feed.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/input/keyboard.h"
#include "platform/msg/window.h"
#include "platform/present/presenter.h"
#include "platform/present/presenter_window.h"

namespace plat::desktop {
namespace {

intptr_t Ignore(WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

std::vector<MSG> TakeAll() {
  std::vector<MSG> out;
  MSG msg;
  while (PeekMessage(msg, true)) out.push_back(msg);
  return out;
}

void Push(const SDL_Event& e) {
  SDL_Event copy = e;
  ASSERT_EQ(SDL_PushEvent(&copy), 1) << SDL_GetError();
}

// Why an open presenter's frames do not go into its window's own image (no
// window here, or a renderer that is not drawing on the processor), or ""
// when they do.
std::string WhyFramesMissTheImage(cSdlPresenter& presenter) {
  if (!presenter.HasWindow()) return "SDL's dummy video driver does not start here";
  DISPLAYFACTS facts;
  if (!presenter.DescribeDisplay(facts)) {
    ADD_FAILURE() << "an open window could not describe its display";
    return "no display facts";
  }
  if (facts.strRenderer != "software") return "frames go through " + facts.strRenderer;
  return "";
}

TEST(SdlPresenter, OpensAWindowThatShowsFramesAndTellsItsPlace) {
  cSdlPresenter presenter;
  ASSERT_TRUE(presenter.Open(640, 480));
  if (!presenter.HasWindow()) GTEST_SKIP() << "SDL's dummy video driver does not start here";
  presenter.SetTitle("brimvale");
  presenter.Show(false);
  std::vector<uint32_t> frame(320 * 240, 0x00FF8040u);
  PresentFrame(frame.data(), 320, 240, 320);
  presenter.Refresh(false);
  presenter.Refresh(true);
  presenter.Move(30, 40);
  int x = -1, y = -1;
  EXPECT_TRUE(presenter.GetPosition(x, y));
  int w = 0, h = 0;
  EXPECT_TRUE(presenter.GetCursorPosition(x, y));
  if (presenter.GetDesktopSize(w, h)) {
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
  }
  EXPECT_FALSE(presenter.IsMinimised());
  presenter.Close();
  EXPECT_FALSE(presenter.HasWindow());
  EXPECT_FALSE(presenter.GetPosition(x, y));
}

// A frame with no two pixels alike, so a pixel out of place shows.
std::vector<uint32_t> PatternFrame(int w, int h) {
  std::vector<uint32_t> frame(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      frame[size_t(y) * size_t(w) + size_t(x)] = 0xFF000000u | uint32_t(y << 12 | x);
  return frame;
}

// Where drawing happens on the processor the window's image gets the frame
// itself: each frame pixel a whole square of the window, the frame
// centred, black around it, and drawn again in a window made larger.
TEST(SdlPresenter, TheWindowShowsTheFrameScaledWholeAndCentred) {
  cSdlPresenter presenter;
  ASSERT_TRUE(presenter.Open(640, 480));
  if (const std::string strWhy = WhyFramesMissTheImage(presenter); !strWhy.empty())
    GTEST_SKIP() << strWhy;
  presenter.Show(false);
  struct CASE {
    int nWindowW, nWindowH, nFrameW, nFrameH;
    bool bResize;
  };
  const CASE cases[] = {
      {640, 480, 640, 480, false},  // as it stands
      {640, 480, 320, 240, false},  // twice, filling the window
      {640, 480, 300, 200, false},  // twice, with bars on all four sides
      {960, 720, 300, 200, true},   // three times, after the window grew
  };
  for (const CASE& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.nFrameW << "x" << c.nFrameH << " in " << c.nWindowW << "x" << c.nWindowH);
    const std::vector<uint32_t> frame = PatternFrame(c.nFrameW, c.nFrameH);
    PresentFrame(frame.data(), c.nFrameW, c.nFrameH, c.nFrameW);
    if (c.bResize) {
      presenter.Refresh(false);
      SDL_SetWindowSize(presenter.GetSdlWindow(), c.nWindowW, c.nWindowH);
      presenter.Refresh(true);  // as after the window's size-changed event
    } else {
      presenter.Refresh(false);
    }
    SDL_Surface* pSurface = SDL_GetWindowSurface(presenter.GetSdlWindow());
    ASSERT_NE(pSurface, nullptr);
    ASSERT_EQ(pSurface->w, c.nWindowW);
    ASSERT_EQ(pSurface->format->BytesPerPixel, 4);
    const int nScale = std::min(c.nWindowW / c.nFrameW, c.nWindowH / c.nFrameH);
    const int x0 = (c.nWindowW - c.nFrameW * nScale) / 2,
              y0 = (c.nWindowH - c.nFrameH * nScale) / 2;
    int nWrong = 0;
    for (int y = 0; y < pSurface->h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(pSurface->pixels) + size_t(y) * size_t(pSurface->pitch));
      for (int x = 0; x < pSurface->w; ++x) {
        const int fx = (x - x0) / nScale, fy = (y - y0) / nScale;
        const bool bIn = x >= x0 && y >= y0 && fx < c.nFrameW && fy < c.nFrameH;
        const uint32_t want = bIn ? frame[size_t(fy) * size_t(c.nFrameW) + size_t(fx)] : 0;
        uint8_t r, g, b;
        SDL_GetRGB(row[x], pSurface->format, &r, &g, &b);
        if ((uint32_t(r) << 16 | uint32_t(g) << 8 | b) != (want & 0xFFFFFFu) && nWrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y;
      }
    }
    EXPECT_EQ(nWrong, 0);
  }
  presenter.Close();
}

// Pixels of the window's image other than the frame centred in it, unscaled,
// with black around it.
int CountWrongPixels(SDL_Window* pWindow, const std::vector<uint32_t>& frame, int w, int h) {
  SDL_Surface* pSurface = SDL_GetWindowSurface(pWindow);
  if (!pSurface) return -1;
  const int x0 = (pSurface->w - w) / 2, y0 = (pSurface->h - h) / 2;
  int nWrong = 0;
  for (int y = 0; y < pSurface->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(pSurface->pixels) +
                                                        size_t(y) * size_t(pSurface->pitch));
    for (int x = 0; x < pSurface->w; ++x) {
      const bool bIn = x >= x0 && y >= y0 && x < x0 + w && y < y0 + h;
      const uint32_t want = bIn ? frame[size_t(y - y0) * size_t(w) + size_t(x - x0)] : 0;
      if ((row[x] & 0xFFFFFFu) != (want & 0xFFFFFFu)) ++nWrong;
    }
  }
  return nWrong;
}

// Frames the size of the window's image are written straight into it: the
// frame is still there for a screenshot, for the redraw after the window
// grew, and after the window is gone.
TEST(SdlPresenter, AFrameWrittenIntoTheWindowsImageIsKeptForScreenshotsAndRedraws) {
  ForgetFrames();
  cSdlPresenter presenter;
  ASSERT_TRUE(presenter.Open(640, 480));
  if (const std::string strWhy = WhyFramesMissTheImage(presenter); !strWhy.empty())
    GTEST_SKIP() << strWhy;
  presenter.Show(false);
  std::vector<uint32_t> frame = PatternFrame(640, 480);
  PresentFrame(frame.data(), 640, 480, 640);
  presenter.Refresh(false);  // from here on the image is lent
  for (uint32_t& px : frame) px ^= 0x00FFFFFFu;
  PresentFrame(frame.data(), 640, 480, 640);
  presenter.Refresh(false);
  EXPECT_EQ(CountWrongPixels(presenter.GetSdlWindow(), frame, 640, 480), 0);

  for (uint32_t& px : frame) px = (px + 0x010203u) | 0xFF000000u;
  PresentFrame(frame.data(), 640, 480, 640);
  std::vector<uint32_t> shot;
  int w = 0, h = 0;
  ASSERT_TRUE(TakeNewFrame(shot, w, h));
  EXPECT_TRUE(w == 640 && h == 480 && shot == frame);

  SDL_SetWindowSize(presenter.GetSdlWindow(), 800, 600);
  presenter.Refresh(true);  // as after the window's size-changed event
  EXPECT_EQ(CountWrongPixels(presenter.GetSdlWindow(), frame, 640, 480), 0);

  for (uint32_t& px : frame) px ^= 0x00F0F0F0u;
  PresentFrame(frame.data(), 640, 480, 640);
  presenter.Close();
  struct cSeen {
    std::vector<uint32_t> pixels;
  } seen;
  ASSERT_TRUE(ShowLastFrame(
      [](const uint32_t* p, int nW, int nH, void* ctx) {
        static_cast<cSeen*>(ctx)->pixels.assign(p, p + size_t(nW) * size_t(nH));
      },
      &seen));
  EXPECT_TRUE(seen.pixels == frame);
  ForgetFrames();
}

// A window image of its own whose showing can be held, the way a slow
// display server holds the window thread while it puts the image up.
class cHeldImage : public cFrameImageOwner {
 public:
  cHeldImage(int w, int h) : m_image(size_t(w) * size_t(h)), m_nW(w), m_nH(h) {}
  bool IsImageStale() override { return false; }
  FRAMEIMAGE PrepareImage(int, int) override {
    return FRAMEIMAGE{m_image.data(), m_nW, m_nH, m_nW};
  }
  void WriteFrame(const uint32_t* p, int w, int h) override {
    m_image.assign(p, p + size_t(w) * size_t(h));
  }
  void PutImage() override {
    std::unique_lock<std::mutex> lock(m_mtx);
    if (m_bHold) {
      m_bHeld = true;
      m_cv.notify_all();
      // Only a way out should the drawing side wait on the show: the test
      // then fails instead of hanging.
      m_bGaveUp = !m_cv.wait_for(lock, std::chrono::seconds(30), [&] { return m_bLetGo; });
      m_bHold = false;
    }
    m_shown = m_image;
  }
  void Hold() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_bHold = true;
  }
  void WaitHeld() {
    std::unique_lock<std::mutex> lock(m_mtx);
    m_cv.wait(lock, [&] { return m_bHeld; });
  }
  void LetGo() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_bLetGo = true;
    m_cv.notify_all();
  }
  // Whether the show waited in vain for the frame handed over.
  bool GaveUp() {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_bGaveUp;
  }
  std::vector<uint32_t> m_image, m_shown;

 private:
  std::mutex m_mtx;
  std::condition_variable m_cv;
  bool m_bHold = false, m_bHeld = false, m_bLetGo = false, m_bGaveUp = false;
  int m_nW, m_nH;
};

// The drawing side hands a frame over while the window thread is putting
// its image up: it does not wait for the screen, the image being shown is
// left alone, and the frame is a screenshot at once and on the screen at
// the window's next turn.
TEST(SdlPresenter, AFrameHandedOverWhileTheImageIsShownNeitherWaitsNorTouchesIt) {
  ForgetFrames();
  cHeldImage window(64, 48);
  std::vector<uint32_t> frame = PatternFrame(64, 48);
  PresentFrame(frame.data(), 64, 48, 64);
  ASSERT_TRUE(ShowFramesInImage(window, false));  // from here on the image is lent
  for (uint32_t& px : frame) px ^= 0x00FFFFFFu;
  PresentFrame(frame.data(), 64, 48, 64);
  ASSERT_TRUE(window.m_image == frame);  // written straight in
  const std::vector<uint32_t> held = frame;

  window.Hold();
  std::thread windowThread([&] { ShowFramesInImage(window, false); });
  window.WaitHeld();
  for (uint32_t& px : frame) px = (px + 0x010203u) | 0xFF000000u;
  PresentFrame(frame.data(), 64, 48, 64);
  std::vector<uint32_t> shot;
  int w = 0, h = 0;
  const bool bShot = CopyLastFrame(shot, w, h);
  window.LetGo();
  windowThread.join();
  EXPECT_FALSE(window.GaveUp());
  EXPECT_TRUE(bShot && w == 64 && h == 48 && shot == frame);
  EXPECT_TRUE(window.m_shown == held);

  EXPECT_TRUE(ShowFramesInImage(window, false));
  EXPECT_TRUE(window.m_shown == frame);
  ForgetFrames();
}

TEST(SdlEventFeed, KeysFocusAndTheCloseButtonBecomeMessages) {
  cSdlEventFeed feed;
  feed.Start();
  if (!feed.IsStarted()) GTEST_SKIP() << "SDL's events do not start here: " << SDL_GetError();
  WndHandle hWnd = CreateWnd(Ignore, nullptr);
  ReleaseAllKeys();

  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
  Push(key);
  SDL_Event unnamed = key;
  unnamed.key.keysym.scancode = SDL_SCANCODE_MUTE;  // no key the game can name
  Push(unnamed);
  feed.Pump(hWnd);
  EXPECT_TRUE(IsKeyDown(VK_ESCAPE));
  std::vector<MSG> got = TakeAll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, WM_KEYDOWN);
  EXPECT_EQ(got[0].wParam, static_cast<uintptr_t>(VK_ESCAPE));

  // Losing the focus lets every key go: none stays held while away.
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  Push(focus);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  feed.Pump(hWnd);
  EXPECT_FALSE(IsKeyDown(VK_ESCAPE));
  got = TakeAll();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_ACTIVATEAPP);
  EXPECT_EQ(got[0].wParam, 0u);
  EXPECT_EQ(got[1].message, WM_CLOSE);

  DestroyWnd(hWnd);
  feed.Stop();
}

}  // namespace
}  // namespace plat::desktop
