// Loading, defaults and the byte layout of the key configuration.
#include "input/key_config.h"

#include <algorithm>
#include <cstdio>

#include "platform/fs/file_system.h"

KEYCONFIGDATA g_KeyConfig;

namespace {

int32_t GetI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}
uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutI32(std::vector<uint8_t>& out, int32_t n) {
  uint32_t u = static_cast<uint32_t>(n);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t w) {
  out.push_back(static_cast<uint8_t>(w));
  out.push_back(static_cast<uint8_t>(w >> 8));
}

}  // namespace

int ClampedSlotCount(const KEYCONFIGDATA& kc) {
  return std::clamp<int32_t>(kc.nSlots, 4, KEYCONFIG_SLOTS);
}

int ClampedJoystickCount(const KEYCONFIGDATA& kc) {
  return std::clamp<int32_t>(kc.nJoysticks, 0, KEYCONFIG_MAX_JOYSTICKS);
}

std::vector<uint8_t> EncodeKeyConfig(const KEYCONFIGDATA& kc) {
  std::vector<uint8_t> out;
  out.reserve(KEYCONFIG_FILE_SIZE);
  for (const KEYSLOT& slot : kc.Slot) {
    PutI32(out, slot.nDevice);
    PutU16(out, slot.wCode);
    PutU16(out, slot.wUnused);
  }
  PutI32(out, kc.nSlots);
  PutI32(out, kc.nJoysticks);
  PutI32(out, kc.bUseConfig);
  return out;
}

bool DecodeKeyConfig(const uint8_t* pData, size_t nSize, KEYCONFIGDATA& kc) {
  if (!pData || nSize < static_cast<size_t>(KEYCONFIG_FILE_SIZE)) return false;
  for (int k = 0; k < KEYCONFIG_SLOTS; ++k) {
    const uint8_t* p = pData + 8 * k;
    kc.Slot[k].nDevice = GetI32(p);
    kc.Slot[k].wCode = GetU16(p + 4);
    kc.Slot[k].wUnused = GetU16(p + 6);
  }
  kc.nSlots = GetI32(pData + 96);
  kc.nJoysticks = GetI32(pData + 100);
  kc.bUseConfig = GetI32(pData + 104);
  return true;
}

int LoadKeyConfig(const std::string& strPath, KEYCONFIGDATA& kc) {
  std::FILE* fp = plat::fs::Open(strPath, "rb");
  if (!fp) return 0;
  uint8_t buf[KEYCONFIG_FILE_SIZE];
  size_t nRead = std::fread(buf, 1, sizeof buf, fp);
  std::fclose(fp);
  // A short file would leave the record half old, half new: keep the old one.
  KEYCONFIGDATA temp;
  if (!DecodeKeyConfig(buf, nRead, temp)) return 0;
  temp.nSlots = ClampedSlotCount(temp);
  temp.nJoysticks = ClampedJoystickCount(temp);
  kc = temp;
  return 1;
}

void SetDefaultKeyConfig(KEYCONFIGDATA& kc) {
  // Arrow keys, then Z X C V A S D F for buttons 1 to 8.
  static const uint16_t kCodes[KEYCONFIG_SLOTS] = {37, 39, 38, 40, 90, 88, 67, 86, 65, 83, 68, 70};
  for (int k = 0; k < KEYCONFIG_SLOTS; ++k) {
    kc.Slot[k].nDevice = KEYCONFIG_KEYBOARD;
    kc.Slot[k].wCode = kCodes[k];
    kc.Slot[k].wUnused = 0;
  }
  kc.nSlots = KEYCONFIG_SLOTS;
  kc.nJoysticks = 1;
  kc.bUseConfig = 0;
}
