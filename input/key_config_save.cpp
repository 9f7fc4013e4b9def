// Saving the key configuration through the one atomic writer.
#include <vector>

#include "base/save_file.h"
#include "input/key_config.h"

bool SaveKeyConfig(const std::string& strPath, const KEYCONFIGDATA& kc) {
  std::vector<uint8_t> bytes = EncodeKeyConfig(kc);
  return SaveFile(strPath, bytes.data(), bytes.size(), "%s の書き込みに失敗！");
}
