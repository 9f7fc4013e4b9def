// The desktop window and its event feed on SDL's dummy video driver: the
// window opens and shows frames, and SDL's events become key states and
// messages to the main window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop/sdl_event_feed.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/input/keyboard.h"
#include "platform/msg/window.h"
#include "platform/present/presenter.h"

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
