// The bundled default game (the repository's game/ folder), copied into a
// test's folder so the program has a project to start on.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/test_paths.h"

inline std::filesystem::path DefaultGameFolder() {
  return std::filesystem::path(TestDataDir()).parent_path().parent_path() / "game";
}

// Copies the game's files into strTo (made when missing); strSub names a
// sub-folder of the copy to put them in instead ("" for strTo itself).
inline void CopyDefaultGame(const std::string& strTo, const std::string& strSub = "") {
  const std::filesystem::path to = std::filesystem::path(strTo) / strSub;
  std::filesystem::create_directories(to);
  std::filesystem::copy(
      DefaultGameFolder(), to,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  // What a run of the game left behind is not part of it.
  std::error_code ec;
  for (const char* szLeft : {"Report_Game.txt", "EC_Game.txt", ".gitignore"})
    std::filesystem::remove(to / szLeft, ec);
  std::filesystem::remove_all(to / "user_data", ec);
}

// The pictures a play scene cannot start without, where the game has none
// of its own: each a copy of the game's debug picture.
inline void FillMissingPlayBitmaps(const std::string& strProject) {
  const std::filesystem::path bmp = std::filesystem::path(strProject) / "bmp";
  for (const char* szName :
       {"Block.bmp", "Character1.bmp", "Shot.bmp", "Item.bmp", "Item_Mini.bmp", "Mark.bmp",
        "Window.bmp", "StatusWindow.bmp", "Title.bmp", "Accessory.bmp", "Symbol.bmp", "Word.bmp"}) {
    std::error_code ec;
    if (!std::filesystem::exists(bmp / szName))
      std::filesystem::copy_file(bmp / "Debug.bmp", bmp / szName, ec);
  }
}

// The copy's System.ini set to draw in Direct3D or in DirectDraw, without
// the frame-rate box, for pictures that stay the same from run to run.
inline void SetDrawingMode(const std::string& strProject, bool bDirect3D) {
  const std::filesystem::path ini = std::filesystem::path(strProject) / "System.ini";
  std::string strIni;
  {
    std::ifstream in(ini, std::ios::binary);
    strIni.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string strOut;
  size_t nPos = 0;
  while (nPos < strIni.size()) {
    size_t nEnd = strIni.find('\n', nPos);
    if (nEnd == std::string::npos) nEnd = strIni.size();
    std::string strLine = strIni.substr(nPos, nEnd - nPos);
    if (strLine.rfind("Direct3D=", 0) == 0) strLine = bDirect3D ? "Direct3D=1" : "Direct3D=0";
    if (strLine.rfind("ShowFps=", 0) == 0) strLine = "ShowFps=0";
    strOut += strLine + "\n";
    nPos = nEnd + 1;
  }
  std::ofstream(ini, std::ios::binary) << strOut;
}
