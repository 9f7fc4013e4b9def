// Saving the key configuration through the one atomic writer.
#include <vector>

#include "base/logs.h"
#include "input/key_config.h"
#include "platform/fs/file_system.h"

bool SaveKeyConfig(const std::string& strPath, const KEYCONFIGDATA& kc) {
  std::vector<uint8_t> bytes = EncodeKeyConfig(kc);
  if (plat::fs::WriteFileAtomic(strPath, bytes.data(), bytes.size())) return true;
  ReportF("%s の書き込みに失敗！", strPath.c_str());
  return false;
}
