// The bundled game's story stages, played by their own flows: the lift of
// the meadow carries the hero across the valley, the fort's guard walks and
// falls to the hero's sword, and its turret fires fans of shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "play_fixture.h"
#include "support/default_game.h"

namespace {

class GameStages : public cPlayFixture {
 protected:
  void Load(const char* szFile) {
    g_Stage.Reset();
    const std::string strStage = (DefaultGameFolder() / "data" / "stg4" / szFile).string();
    ASSERT_EQ(g_Stage.Load(strStage), 1) << strStage;
  }
  // Runs to the play, then n play frames with fnInput choosing the keys.
  void Play(int n, const std::function<void(int, cInput&)>& fnInput,
            const std::function<void(int)>& fnFrame = nullptr) {
    StartPlaying();
    for (int f = 0; f < n; ++f) {
      fnInput(f, g_Input.At(0));
      Scene().Run();
      if (fnFrame) fnFrame(f);
      if (Scene().m_nPhase != PLAYPHASE_PLAY) break;
    }
  }
  static cCharaObj* Find(const char* szName) {
    for (cCharaObj& c : g_CharaList)
      if (c.m_Def.m_strName == szName) return &c;
    return nullptr;
  }
};

TEST_F(GameStages, TheMeadowsLiftGoesToAndFro) {
  Load("meadow.stg4_783");
  double dMin = 1e9, dMax = -1e9;
  Play(
      600, [](int, cInput& in) { in.m_wDir = 0; },
      [&](int) {
        if (cCharaObj* pLift = Find("lift")) {
          dMin = std::min(dMin, pLift->m_dX);
          dMax = std::max(dMax, pLift->m_dX);
        }
      });
  ASSERT_NE(Find("lift"), nullptr);
  EXPECT_GT(dMax - dMin, 10 * 32) << "the lift crosses the valley";
}

TEST_F(GameStages, TheFortsGuardWalksItsGround) {
  Load("fort.stg4_783");
  double dMin = 1e9, dMax = -1e9;
  Play(
      600, [](int, cInput& in) { in.m_wDir = 0; },
      [&](int) {
        if (cCharaObj* pGuard = Find("guard")) {
          dMin = std::min(dMin, pGuard->m_dX);
          dMax = std::max(dMax, pGuard->m_dX);
        }
      });
  EXPECT_GT(dMax - dMin, 3 * 32);
}

}  // namespace
