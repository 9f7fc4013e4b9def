// System.ini: its line and value rules, checked on small files.
#include "files/system_ini.h"

#include <gtest/gtest.h>

#include "files/system_data.h"
#include "support/temp_folder.h"

namespace {

struct IniCase {
  const char* szName;
  std::string strFile;
  int nResult;
  SYSTEMINIDATA expected;  // starting from the defaults
};

SYSTEMINIDATA Defaults() {
  cSystemData sd;
  SYSTEMINIDATA ini;
  ini.nEnglish = 5;  // English always starts at 0, whatever it held
  SetSystemIniDefaults(ini, sd.m_vIniKeys);
  return ini;
}

template <typename F>
SYSTEMINIDATA With(F change) {
  SYSTEMINIDATA ini = Defaults();
  change(ini);
  return ini;
}

void ExpectSame(const SYSTEMINIDATA& a, const SYSTEMINIDATA& b) {
  EXPECT_EQ(a.nDirect3D, b.nDirect3D);
  EXPECT_EQ(a.nWindowMode, b.nWindowMode);
  EXPECT_EQ(a.nBpp, b.nBpp);
  EXPECT_EQ(a.nVSync, b.nVSync);
  EXPECT_EQ(a.nD3DFontCache, b.nD3DFontCache);
  EXPECT_EQ(a.nDDFontCache, b.nDDFontCache);
  EXPECT_EQ(a.nDDVideoStretch, b.nDDVideoStretch);
  EXPECT_EQ(a.nShowFps, b.nShowFps);
  EXPECT_EQ(a.nEnglish, b.nEnglish);
  EXPECT_EQ(a.strFreeStage, b.strFreeStage);
}

TEST(SystemIni, DefaultsComeFromTheKeyTable) {
  SYSTEMINIDATA ini = Defaults();
  EXPECT_EQ(ini.nDirect3D, 2);
  EXPECT_EQ(ini.nWindowMode, 0);
  EXPECT_EQ(ini.nVSync, 2);
  EXPECT_EQ(ini.nDDFontCache, 1);
  EXPECT_EQ(ini.nShowFps, 1);
  EXPECT_EQ(ini.nEnglish, 0);
  EXPECT_EQ(ini.strFreeStage, "");

  cSystemData sd;
  sd.m_vIniKeys[0].m_nDefault = 0;
  sd.m_vIniKeys[8].m_strDefault = "s.stg4";
  sd.m_vIniKeys[9].m_nDefault = 1;
  SetSystemIniDefaults(ini, sd.m_vIniKeys);
  EXPECT_EQ(ini.nDirect3D, 0);
  EXPECT_EQ(ini.strFreeStage, "s.stg4");
  EXPECT_EQ(ini.nEnglish, 0);
}

TEST(SystemIni, FilesReadAsTheRulesSay) {
  const std::string strLong(260, 'x');
  const std::string strLongest(259, 'y');
  const IniCase cases[] = {
      {"empty file", "", 0, Defaults()},
      {"Exit first", "Exit\nDirect3D=0\n", 1, Defaults()},
      {"Exit without line feed", "Direct3D=0\nExit", 0, With([](auto& i) { i.nDirect3D = 0; })},
      {"no Exit", "Direct3D=1\n", 0, With([](auto& i) { i.nDirect3D = 1; })},
      {"zero byte ends", std::string("Bpp=16\n\0Direct3D=0\n", 19), 1,
       With([](auto& i) { i.nBpp = 16; })},
      {"CR LF lines", "WindowMode=1\r\nFreeStage=stage.stg4_783\r\nExit\r\n", 1, With([](auto& i) {
         i.nWindowMode = 1;
         i.strFreeStage = "stage.stg4_783";
       })},
      {"comments", "/ a comment = 5\nDirect3D=1/comment\nBpp=32 comment\nExit\n", 1,
       With([](auto& i) {
         i.nDirect3D = 1;
         i.nBpp = 32;
       })},
      {"spaces around =", "Direct3D = 1\nExit\n", 1, With([](auto& i) { i.nDirect3D = 0; })},
      {"later value wins", "VSync=0\nVSync=1\nExit\n", 1, With([](auto& i) { i.nVSync = 1; })},
      {"atoi rules", "Bpp=-16x\nVSync=+3\nShowFps=abc\nEnglish=1\nExit\n", 1, With([](auto& i) {
         i.nBpp = -16;
         i.nVSync = 3;
         i.nShowFps = 0;
         i.nEnglish = 1;
       })},
      {"huge number", "Bpp=99999999999\nExit\n", 1, With([](auto& i) { i.nBpp = 2147483647; })},
      {"case matters", "direct3d=0\nExit\n", 1, Defaults()},
      {"unknown keys", "Foo=1\nExit\n", 1, Defaults()},
      {"one-byte stage", "FreeStage=a\nExit\n", 1, Defaults()},
      {"too long stage", "FreeStage=" + strLong + "\nExit\n", 1, Defaults()},
      {"longest stage", "FreeStage=" + strLongest + "\nExit\n", 1,
       With([&](auto& i) { i.strFreeStage = strLongest; })},
      {"blank and odd lines", "\n\n  \t\nExit\n", 1, Defaults()},
      {"value to end of file", "Direct3D=0", 0, With([](auto& i) { i.nDirect3D = 0; })},
      {"Exit with blanks", " Ex it\r\n", 1, Defaults()},
  };
  cTempFolder dir;
  cSystemData sd;
  for (const IniCase& c : cases) {
    SCOPED_TRACE(c.szName);
    ASSERT_TRUE(WriteTestFile(dir / "System.ini", c.strFile));
    SYSTEMINIDATA ini = Defaults();
    EXPECT_EQ(ReadSystemIni(dir / "System.ini", ini, sd.m_vIniKeys), c.nResult);
    ExpectSame(ini, c.expected);
  }
  SYSTEMINIDATA ini = Defaults();
  EXPECT_EQ(ReadSystemIni(dir / "missing.ini", ini, sd.m_vIniKeys), 0);
}

TEST(SystemIni, StartUpFallsBackToTheDefaults) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  ASSERT_TRUE(WriteTestFile("System.ini", std::string("WindowMode=1\nExit\n")));
  LoadSystemIniAtStart();
  EXPECT_EQ(SYSTEMINI.nWindowMode, 1);
  EXPECT_EQ(SYSTEMINI.nDirect3D, 2);

  // Without the end line the read fails and every value is a default again.
  ASSERT_TRUE(WriteTestFile("System.ini", std::string("WindowMode=1\n")));
  LoadSystemIniAtStart();
  EXPECT_EQ(SYSTEMINI.nWindowMode, 0);
}

}  // namespace
