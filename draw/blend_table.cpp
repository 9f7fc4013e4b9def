// Loading the 8-bit blend table.
#include "draw/blend_table.h"

#include <vector>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "platform/fs/file_system.h"

DDBLENDTABLE g_BlendTable{};

bool DDLoadBlendTable(DDBLENDTABLE& Table, const char* szFileName) {
  if (g_DD.lpDTCon) return true;
  if (!szFileName) return false;
  // A table of any other size would leave entries of another palette (or
  // nothing) in place: it is refused whole.
  std::vector<uint8_t> bytes;
  switch (plat::fs::ReadFileBounded(szFileName, bytes, kBlendTableBytes)) {
    case plat::fs::eReadResult::Read:
      break;
    case plat::fs::eReadResult::TooLarge:
      DebugLogF("%s : ブレンドテーブルは%dバイトでなければなりません", szFileName,
                kBlendTableBytes);
      return false;
    default:
      return false;
  }
  if (bytes.size() != size_t(kBlendTableBytes)) {
    DebugLogF("%s : ブレンドテーブルは%dバイトでなければなりません", szFileName, kBlendTableBytes);
    return false;
  }
  std::copy(bytes.begin(), bytes.end(), Table.begin());
  return true;
}
