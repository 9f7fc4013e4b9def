// The start-up steps that decide on their own: the drawing library's single
// fall-back from Direct3D and the sound table built from the system data
// and the database.
#include "app/start_steps.h"

#include <gtest/gtest.h>

#include <string>

#include "base/logs.h"
#include "base/program_state.h"
#include "database/database.h"
#include "draw/draw_context.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/gfx/display_config.h"
#include "platform/gfx/fault_hooks.h"
#include "sound/sound_effects.h"
#include "support/temp_folder.h"

namespace {

class StartStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportInit((m_Dir / "Report_Game.txt").c_str()), 1);
    g_SystemData = cSystemData();
    SetSystemIniDefaults(SYSTEMINI, g_SystemData.m_vIniKeys);
  }
  void TearDown() override {
    DDReleaseAll();
    plat::gfx::ClearAllFaults();
    plat::gfx::SetDisplayConfig(plat::gfx::GFXDISPLAYCONFIG{});
    g_SystemData = cSystemData();
    Database.SetDefault();
    g_SoundList.clear();
    g_SoundInfoList.clear();
  }
  std::string Report() const { return m_Dir.Read("Report_Game.txt"); }

  cTempFolder m_Dir;
};

}  // namespace

TEST_F(StartStepsTest, Direct3DThatCannotStartFallsBackOnceToTheSameScreen) {
  struct Case {
    int nWindowMode;
    int nBpp;
  };
  for (const Case& c : {Case{1, 0}, Case{0, 16}, Case{0, 32}}) {
    plat::gfx::GFXDISPLAYCONFIG display;
    display.nDriverLevel = 8;  // no Direct3D device of the needed level
    plat::gfx::SetDisplayConfig(display);
    SYSTEMINI.nDirect3D = 1;
    SYSTEMINI.nWindowMode = c.nWindowMode;
    SYSTEMINI.nBpp = c.nBpp;
    ASSERT_TRUE(DecideStartScreenMode()) << c.nWindowMode << " " << c.nBpp;
    const int nBpp = nScreenBpp;
    EXPECT_TRUE(StartDrawing(1));
    EXPECT_FALSE(DDIsDirect3D());
    EXPECT_TRUE(g_DD.lpDD != nullptr);
    EXPECT_EQ(SYSTEMINI.nDirect3D, 0);
    EXPECT_EQ(g_DD.nBpp, nBpp);
    EXPECT_EQ(g_DD.bWindow, c.nWindowMode != 0 ? 1 : 0);
    EXPECT_NE(Report().find("ビデオカードのドライバがDirectX9をサポートしていません！ 8"),
              std::string::npos);
    DDReleaseAll();
  }
}

TEST_F(StartStepsTest, DrawingThatFailsInBothModesEndsStartUp) {
  plat::gfx::GFXDISPLAYCONFIG display;
  display.nDriverLevel = 8;
  plat::gfx::SetDisplayConfig(display);
  plat::gfx::FailNext(plat::gfx::eFaultPoint::CreateDirectDraw, plat::gfx::eGfxResult::Fail, 1);
  SYSTEMINI.nDirect3D = 1;
  SYSTEMINI.nWindowMode = 1;
  SYSTEMINI.nBpp = 0;
  ASSERT_TRUE(DecideStartScreenMode());
  EXPECT_FALSE(StartDrawing(0));
  EXPECT_EQ(SYSTEMINI.nDirect3D, 0);
  EXPECT_FALSE(DDIsDirect3D());
}

TEST_F(StartStepsTest, SoundTableHoldsTheBuiltInSoundsThenTheDatabasesFromEntry17) {
  for (int i = 0; i < cSystemData::kSoundFileCount; ++i)
    g_SystemData.m_vSoundFiles.At(i) = "wave\\sys" + std::to_string(i) + ".wav";
  Database.m_vecSound.resize(3);
  Database.m_vecSound.At(0).m_strFile = "wave\\never.wav";
  Database.m_vecSound.At(1).m_strFile = "wave\\one.wav";
  Database.m_vecSound.At(2).m_strFile = "wave\\two.wav";
  g_SoundInfoList.resize(40);  // a longer table from before is cut
  g_SoundInfoList.At(39).nVolume = -500;

  BuildSoundTable();
  ASSERT_EQ(g_SoundList.size(), 19u);
  ASSERT_EQ(g_SoundInfoList.size(), 19u);
  for (int i = 0; i < 17; ++i)
    EXPECT_EQ(g_SoundInfoList.At(i).strFileName, "wave\\sys" + std::to_string(i) + ".wav");
  EXPECT_EQ(g_SoundInfoList.At(17).strFileName, "wave\\one.wav");
  EXPECT_EQ(g_SoundInfoList.At(18).strFileName, "wave\\two.wav");
  for (const DSSOUNDINFO& info : g_SoundInfoList) {
    EXPECT_EQ(info.nBufferCount, 1);
    EXPECT_EQ(info.nVolume, 0);
    EXPECT_EQ(info.nFlag, 1);
  }
  EXPECT_EQ(Report().find("err "), std::string::npos);
}

TEST_F(StartStepsTest, EmptyDatabaseSoundListLeavesTheTableOneShortAndIsReported) {
  Database.m_vecSound.clear();
  BuildSoundTable();
  EXPECT_EQ(g_SoundInfoList.size(), 16u);
  EXPECT_NE(Report().find("err V[16]"), std::string::npos) << Report();
}
