// Music requests: which track plays which file, and when the music stops.
#include "app/music_request.h"

#include <gtest/gtest.h>

#include <string>

#include "base/program_state.h"
#include "platform/msg/window.h"

namespace {

intptr_t IgnoreAll(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

TEST(MusicRequestTest, TracksTakeTheirSceneMusicOrTheStagesMusic) {
  cSafeVector<int32_t> vSceneBgm{3, 0, 1, 2, 9};
  cSafeVector<uint8_t> vSceneLoop{1, 0, 0, 1, 1};
  cSafeVector<std::string> vFiles{"", "bgm\\a.ogg", "bgm\\b.mid", "bgm\\c.ogg"};
  MUSICTABLES tables{&vSceneBgm, &vSceneLoop, [&](int i) { return vFiles.At(i); }};
  struct {
    int k, m, bStageLoop;
    int eAction;
    bool bSetTrack;
    int nTrack;
    const char* szFile;
    int bLoop;
  } const cases[] = {
      {0, 0, 0, MUSICORDER::PLAY, true, 0, "bgm\\c.ogg", 1},
      {1, 0, 0, MUSICORDER::STOP, false, -1, "", 0},  // scene music 0 stops
      {3, 7, 1, MUSICORDER::PLAY, true, 3, "bgm\\b.mid", 1},
      {4, 2, 1, MUSICORDER::PLAY, true, 4, "bgm\\b.mid", 1},
      {4, 2, 0, MUSICORDER::PLAY, true, 4, "bgm\\b.mid", 0},
      {4, 0, 1, MUSICORDER::STOP, true, 4, "", 1},  // the track is still given its name
      {5, 1, 0, MUSICORDER::NOTHING, false, -1, "", 0},
      {-1, 1, 0, MUSICORDER::NOTHING, false, -1, "", 0},
  };
  for (const auto& c : cases) {
    MUSICORDER o = DecideMusic(c.k, c.m, tables, c.bStageLoop);
    EXPECT_EQ(o.eAction, c.eAction) << c.k << "," << c.m;
    EXPECT_EQ(o.bSetTrack, c.bSetTrack) << c.k << "," << c.m;
    EXPECT_EQ(o.nTrack, c.nTrack) << c.k << "," << c.m;
    EXPECT_EQ(o.strFile, c.szFile) << c.k << "," << c.m;
    if (o.eAction == MUSICORDER::PLAY) {
      EXPECT_EQ(o.bLoop, c.bLoop) << c.k << "," << c.m;
    }
  }
}

TEST(MusicRequestTest, BadMusicNumberReportsAndTakesEntryZero) {
  plat::WndHandle hWnd = plat::CreateWnd(IgnoreAll, nullptr);
  g_hMainWnd = hWnd;
  cSafeVector<int32_t> vSceneBgm{7};
  cSafeVector<uint8_t> vSceneLoop{0};
  cSafeVector<std::string> vFiles{"bgm\\none.ogg", "bgm\\a.ogg"};
  MUSICTABLES tables{&vSceneBgm, &vSceneLoop, [&](int i) { return vFiles.At(i); }};
  EXPECT_EQ(DecideMusic(0, 0, tables, 0).strFile, "bgm\\none.ogg");
  EXPECT_EQ(DecideMusic(4, -3, tables, 0).strFile, "bgm\\none.ogg");
  EXPECT_EQ(DecideMusic(2, 0, tables, 0).eAction,
            MUSICORDER::PLAY);  // a missing track slot: entry 0
  int nCloses = 0;
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) nCloses += msg.message == plat::WM_CLOSE;
  EXPECT_EQ(nCloses, 5);  // one per bad access
  g_hMainWnd = nullptr;
  plat::DestroyWnd(hWnd);
}

}  // namespace
