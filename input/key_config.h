// The key configuration: which keyboard key or joystick input makes each of
// the pad's four directions and eight buttons, kept in
// "user_data\KeyConfig.dat" as 108 raw little-endian bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int KEYCONFIG_SLOTS = 12;       // left, right, up, down, buttons 1..8
constexpr int KEYCONFIG_FILE_SIZE = 108;  // 12 slots of 8 bytes, three int32
constexpr int KEYCONFIG_KEYBOARD = 8;     // device number of the keyboard
constexpr int KEYCONFIG_MAX_JOYSTICKS = 16;

// Joystick codes of the four stick directions; any other code is a mask of
// joystick button bits.
constexpr uint16_t JOYCODE_LEFT = 256;
constexpr uint16_t JOYCODE_RIGHT = 512;
constexpr uint16_t JOYCODE_UP = 1024;
constexpr uint16_t JOYCODE_DOWN = 2048;

struct KEYSLOT {
  int32_t nDevice = 0;  // 8 the keyboard, otherwise a joystick number
  uint16_t wCode = 0;   // virtual-key code, or a joystick axis code / button mask
  uint16_t wUnused = 0;
};

struct KEYCONFIGDATA {
  KEYSLOT Slot[KEYCONFIG_SLOTS];
  int32_t nSlots = 0;      // 4 directions plus the button slots
  int32_t nJoysticks = 0;  // joysticks 0 .. count-1 are read each frame
  int32_t bUseConfig = 0;  // 0: the fixed map is polled
};

extern KEYCONFIGDATA g_KeyConfig;

// Reads the file into a temporary and takes it only when all 108 bytes were
// there; the counts are then brought into the range the poll can serve.
// 1 loaded, 0 (record untouched) otherwise.
int LoadKeyConfig(const std::string& strPath, KEYCONFIGDATA& kc);
void SetDefaultKeyConfig(KEYCONFIGDATA& kc);
// Writes the record through the atomic writer; false (old file kept) on failure.
bool SaveKeyConfig(const std::string& strPath, const KEYCONFIGDATA& kc);

// The file's bytes for a record, and a record from the file's bytes (false
// when fewer than 108 bytes are given).
std::vector<uint8_t> EncodeKeyConfig(const KEYCONFIGDATA& kc);
bool DecodeKeyConfig(const uint8_t* pData, size_t nSize, KEYCONFIGDATA& kc);

// Slot count brought to 4..12, joystick count to 0..16: a file can hold
// anything, the record holds twelve slots and readings exist for sixteen pads.
int ClampedSlotCount(const KEYCONFIGDATA& kc);
int ClampedJoystickCount(const KEYCONFIGDATA& kc);
