// The numeric statuses of characters and of the game as the conditions, the
// status operation and the code lines reach them: a character's status by
// selector (its variables, HP, SP, their maxima, ID, Z, mark, sight, body
// attack, defence, impact resistance, stopping, defeat score), the system
// values by selector (time, the two auto-scroll speeds, score, lives), the
// widths they are kept in and the arithmetic in those widths.
#pragma once

#include <cstdint>

class cGameObj;
class cPlayScene;

constexpr int32_t kStatusMax = 999999;

// Character selectors.
enum : int {
  STATUS_VAR = 0,
  STATUS_HP = 1,
  STATUS_SP = 2,
  STATUS_MAX_HP = 3,
  STATUS_MAX_SP = 4,
  STATUS_ID = 5,
  STATUS_Z = 6,
  STATUS_MARK = 7,
  STATUS_SIGHT = 8,
  STATUS_BODY_POWER = 9,
  STATUS_BODY_IMPACT = 10,
  STATUS_DEFENCE = 11,
  STATUS_IMPACT_RESIST = 12,
  STATUS_STOP = 13,
  STATUS_SCORE = 14,
  STATUS_CHARA_COUNT = 15,
};

// System selectors.
enum : int {
  SYSVAL_TIME = 0,
  SYSVAL_SCROLL_X = 1,
  SYSVAL_SCROLL_Y = 2,
  SYSVAL_SCORE = 3,
  SYSVAL_LIVES = 4,
  SYSVAL_COUNT = 5,
};

// Where a status is kept and in how many bits (8, 16 or 32, signed).
struct STATUSREF {
  void* p = nullptr;
  uint8_t cBits = 32;

  explicit operator bool() const { return p != nullptr; }
  int32_t Get() const;
  // Stores v cut to the width.
  void Set(int32_t v) const;
};

// The status of a selector; empty for a selector past the catalogue. The
// variable index goes through the checked access.
STATUSREF CharaStatus(cGameObj& chara, int nSelector, int32_t nVarIndex);
// The range the status operation keeps a character's status in.
void CharaStatusRange(int nSelector, int32_t& nLow, int32_t& nHigh);
// The system value of a selector; null past the catalogue.
int32_t* SystemValue(cPlayScene& scene, int nSelector);
// After an auto-scroll speed changed: its axis scrolls at the new speed.
void ReapplyAutoScroll(cPlayScene& scene, int nSelector);
// After a sight range changed: the sight in pixels follows, and the
// player's limited-sight surfaces are built again.
void ApplySightChange(cPlayScene& scene, cGameObj& chara);
// The per-step stopping deceleration from the "止まりやすさ" status.
void RefreshStopDecay(cGameObj& chara);

// The character in target slot 1..4, null when empty.
cGameObj* TargetSlot(const cGameObj& chara, int nSlot);

// Two's-complement cut to a width.
int32_t CutToWidth(int64_t n, int nBits);
// The status operation nOp on t with operand x, the operand cut to the
// width and the arithmetic done in it, then clamped to [nLow, nHigh].
int32_t ApplyStatusOpWidth(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh,
                           int nBits);
int32_t ApplyStatusOp(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh);
int32_t ApplyStatusOpShort(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh);
int32_t ApplyStatusOpByte(int32_t t, int32_t x, int32_t nOp, int32_t nLow, int32_t nHigh);
// PercentOf with its first factor cut to 8 or 16 bits, the result too.
int32_t PercentOfByte(int32_t a, int32_t b);
int32_t PercentOfShort(int32_t a, int32_t b);
