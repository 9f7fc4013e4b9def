// Whole-file reads through the path resolver.
#include "sound/sound_file.h"

#include "platform/fs/file_system.h"

bool ReadSoundFile(const std::string& strPath, std::vector<uint8_t>& vOut, size_t nMaxBytes) {
  vOut.clear();
  if (strPath.empty()) return false;
  return plat::fs::ReadWholeFile(strPath, vOut, nMaxBytes);
}
