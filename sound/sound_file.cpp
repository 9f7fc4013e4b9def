// Whole-file reads through the path resolver.
#include "sound/sound_file.h"

#include <cstdio>

#include "platform/fs/file_system.h"

bool ReadSoundFile(const std::string& strPath, std::vector<uint8_t>& vOut, size_t nMaxBytes) {
  vOut.clear();
  if (strPath.empty()) return false;
  std::FILE* fp = plat::fs::Open(strPath, "rb");
  if (!fp) return false;
  bool bOk = std::fseek(fp, 0, SEEK_END) == 0;
  const long nSize = bOk ? std::ftell(fp) : -1;
  bOk = bOk && nSize >= 0 && static_cast<unsigned long>(nSize) <= nMaxBytes &&
        std::fseek(fp, 0, SEEK_SET) == 0;
  if (bOk) {
    vOut.resize(static_cast<size_t>(nSize));
    bOk = vOut.empty() || std::fread(vOut.data(), 1, vOut.size(), fp) == vOut.size();
  }
  std::fclose(fp);
  if (!bOk) vOut.clear();
  return bOk;
}
