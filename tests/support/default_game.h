// The bundled default game (the repository's game/ folder), copied into a
// test's folder so the program has a project to start on.
#pragma once

#include <filesystem>
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
