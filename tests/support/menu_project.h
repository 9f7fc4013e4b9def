// A small game of the tests' own for the menu screens: the bundled game's
// database and stage, with its own palette, menu pictures, system data,
// world map and stage files, so that pictures of the menus depend on
// nothing the bundled game may change.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/play_data.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "platform/fs/file_system.h"
#include "support/default_game.h"
#include "support/temp_folder.h"
#include "tools/indexed_bmp.h"

namespace menutest {

// Entry i of the palette; 0 is the colour key, 16 the menus' background,
// 240 the frame lines.
inline std::vector<uint32_t> PaletteTable() {
  std::vector<uint32_t> t(256);
  for (uint32_t i = 0; i < 256; ++i)
    t[i] = ((i * 37u) & 255u) << 16 | ((i * 91u + 40u) & 255u) << 8 | ((i * 53u + 90u) & 255u);
  t[0] = 0xFF00FF;
  t[16] = 0x102040;
  t[17] = 0x3060A0;
  t[18] = 0x284880;
  t[240] = 0xF0F0F0;
  t[255] = 0xFFFFFF;
  return t;
}

class cPicture {
 public:
  cPicture(int w, int h, uint8_t byFill = 0) : m_nW(w), m_nH(h), m_px(size_t(w) * size_t(h), byFill) {}
  void Fill(int x, int y, int w, int h, uint8_t by) {
    for (int j = y; j < y + h && j < m_nH; ++j)
      for (int i = x; i < x + w && i < m_nW; ++i) m_px[size_t(j) * size_t(m_nW) + size_t(i)] = by;
  }
  // A box with a border of another colour.
  void Tile(int x, int y, int w, int h, uint8_t byInside, uint8_t byBorder) {
    Fill(x, y, w, h, byBorder);
    Fill(x + 3, y + 3, w - 6, h - 6, byInside);
  }
  void Save(const std::filesystem::path& path) const {
    const std::vector<uint8_t> bytes = tools::EncodeIndexedBmp(m_nW, m_nH, m_px.data(), PaletteTable());
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
  }

 private:
  int m_nW, m_nH;
  std::vector<uint8_t> m_px;
};

inline void WritePictures(const std::filesystem::path& bmp) {
  cPicture(16, 16, 1).Save(bmp / "plt" / "Palette.bmp");
  cPicture title(640, 480);
  for (int y = 0; y < 480; ++y) title.Fill(0, y, 640, 1, uint8_t(100 + y / 24));
  title.Tile(200, 40, 240, 120, 140, 141);
  title.Save(bmp / "Title.bmp");
  cPicture modes(160, 224);
  for (int n = 0; n < 7; ++n) modes.Tile(0, 32 * n, 160, 32, uint8_t(150 + n), 160);
  modes.Save(bmp / "GameMode.bmp");
  cPicture acc(128, 128);
  acc.Tile(4, 4, 24, 24, 200, 201);     // the 32-pixel menu cursor
  acc.Tile(64, 0, 16, 16, 202, 203);    // the 16-pixel cursor
  acc.Tile(80, 0, 16, 16, 204, 205);    // the chosen-row cursor
  acc.Tile(96, 0, 32, 32, 206, 207);    // the cleared mark
  acc.Tile(0, 48, 16, 16, 208, 209);    // the life icon
  for (int f = 0; f < 8; ++f)          // the player icon, facings by frames
    acc.Tile(32 * (f % 4), 64 + 32 * (f / 4), 32, 32, uint8_t(210 + f), 220);
  acc.Save(bmp / "Accessory.bmp");
  cPicture window(640, 480, 17);
  for (int y = 0; y < 480; y += 8) window.Fill(0, y, 640, 2, 18);
  window.Save(bmp / "Window.bmp");
  cPicture(256, 64, 19).Save(bmp / "Symbol.bmp");
  cPicture chips(160, 64);
  for (int n = 0; n < 10; ++n) chips.Tile(32 * (n % 5), 32 * (n / 5), 32, 32, uint8_t(40 + n), uint8_t(60 + n));
  chips.Save(bmp / "WorldMapChip.bmp");
  cPicture events(64, 128);
  for (int r = 0; r < 4; ++r) {
    events.Tile(6, 32 * r + 6, 20, 20, uint8_t(80 + r), 70);
    events.Tile(38, 32 * r + 6, 20, 20, uint8_t(90 + r), 71);
  }
  events.Save(bmp / "WorldEvent.bmp");
}

inline cWorldStage MakeEntry(int nKind, int nStageNo, int bPass, const std::string& strTitle,
                             const std::string& strFile, int nIconRow = 0) {
  cWorldStage e;
  e.m_nKind = nKind;
  e.m_nStageNo = nStageNo;
  e.m_bPass = bPass;
  e.m_nIconRow = nIconRow;
  e.m_strTitle = strTitle;
  e.m_strStageFile = strFile;
  return e;
}

inline void AddPoint(cWorldMap& map, int x, int y, const cWorldStage& entry) {
  cWorldPoint p;
  p.m_nX = x;
  p.m_nY = y;
  p.m_vecStages.clear();
  p.m_vecStages.push_back(entry);
  map.m_vecPoints.push_back(p);
}

// 30 x 20 cells of open ground (kind 5) in a ring of blocked ones (kind 0),
// a road (kind 6) along row 5, and from the start (5, 5): stage A two
// cells right (walked over), stage B four right (must be played, open once
// A is cleared), a wall below the start, and stage C above it, whose file
// is missing.
inline cWorldMap MakeMap() {
  cWorldMap map;
  map.SetSize(30, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool bEdge = x == 0 || y == 0 || x == 29 || y == 19;
      map.m_vCells[size_t(x + (y << map.m_nShift))] = bEdge ? 0 : (y == 5 ? 6 : 5);
    }
  map.m_nStartX = 5;
  map.m_nStartY = 5;
  map.m_nBackColour = 16;
  AddPoint(map, 7, 5, MakeEntry(WORLDSTAGE_STAGE, 1, 1, "Stage A", "data\\stg4\\w1.stg4", 0));
  cWorldStage b = MakeEntry(WORLDSTAGE_STAGE, 2, 0, "Stage B", "data\\stg4\\w2.stg4", 1);
  b.m_nRequired = 1;
  AddPoint(map, 9, 5, b);
  AddPoint(map, 5, 7, MakeEntry(WORLDSTAGE_WALL, 0, 0, "", "", 2));
  AddPoint(map, 5, 3, MakeEntry(WORLDSTAGE_STAGE, 3, 1, "Lost", "data\\stg4\\missing.stg4", 3));
  return map;
}

inline void WriteSystemIni(const std::filesystem::path& dir, bool bDirect3D) {
  std::ofstream(dir / "System.ini")
      << "Direct3D=" << (bDirect3D ? 1 : 0)
      << "\nWindowMode=1\nBpp=0\nVSync=0\nD3D_FontCache=0\nDD_FontCache=1\nDD_VideoStretch=0\n"
         "ShowFps=0\nEnglish=0\nExit\n";
}

// The whole project in strDir. Slot 2 holds a story saved on 2009-03-07
// at 08:05.
inline void WriteMenuProject(const std::string& strDir, bool bDirect3D) {
  CopyDefaultGame(strDir);
  const std::filesystem::path dir(strDir);
  WritePictures(dir / "bmp");
  WriteSystemIni(dir, bDirect3D);
  for (const char* szStage : {"w1", "w2", "c01-1", "c02-1", "c03-1"})
    std::filesystem::copy_file(dir / "data" / "stg4" / "demo.stg4_783",
                               dir / "data" / "stg4" / (std::string(szStage) + ".stg4_783"),
                               std::filesystem::copy_options::overwrite_existing);
  cCurrentFolder in(strDir);
  cSystemData sys;
  sys.m_nChallengeStages = 3;
  sys.m_bChallengeAllOpen = 1;
  sys.m_bMapShowLives = 1;
  sys.m_bTitleMenuImage = 0;  // labels in the title's menu box
  sys.Save("data\\System.dat");
  cWorldMap map = MakeMap();
  map.Save("data\\WorldMap.dat");
  plat::fs::MakeDirectory("user_data");
  plat::fs::MakeDirectory("user_data\\story");
  cPlayData slot;
  slot.Reset();
  slot.m_nMapX = 7;
  slot.m_nMapY = 5;
  slot.m_nLives = 4;
  slot.m_nLastSlot = 1;
  slot.m_SaveTime.wYear = 2009;
  slot.m_SaveTime.wMonth = 3;
  slot.m_SaveTime.wDay = 7;
  slot.m_SaveTime.wHour = 8;
  slot.m_SaveTime.wMinute = 5;
  slot.Save("user_data\\story\\Story02.dat");
}

}  // namespace menutest
