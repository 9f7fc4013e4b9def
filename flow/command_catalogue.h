// The two command catalogues: the name and the parameter count of every
// command kind, in flow numbering (40 kinds) and in item numbering (25 kinds).
// A stored command is fitted to its row before it is used or saved.
#pragma once

#include <cstdint>

struct CMDINFO {
  const char* szName;
  int32_t nParamCount;
};

constexpr int CMD_KIND_COUNT = 40;
constexpr int ITEM_CMD_KIND_COUNT = 25;
// An item command of kind k runs the body of flow command kind k + 15.
constexpr int ITEM_CMD_KIND_OFFSET = 15;

extern const CMDINFO g_CmdCatalogue[CMD_KIND_COUNT];
extern const CMDINFO g_ItemCmdCatalogue[ITEM_CMD_KIND_COUNT];

// The row for a kind in the numbering given (0 flow, 1 item); null when the
// kind has no row (an unknown numbering or a kind past the catalogue).
const CMDINFO* GetCmdInfo(int nNumbering, int nKind);

// Command kinds of flow numbering that the checks single out.
enum : uint8_t {
  CMD_TURN = 9,
  CMD_SHOT = 11,
  CMD_SWORD = 12,
  CMD_SUMMON_BLOCK = 13,
  CMD_SUMMON_CHARA = 14,
  CMD_SUMMON_ITEM = 15,
  CMD_FLOW_OP = 16,
  CMD_STAGE_CLEAR = 17,
  CMD_MESSAGE = 19,
  CMD_WARP = 20,
  CMD_SET_TARGET = 21,
  CMD_STATUS_OP = 22,
  CMD_STATUS_OP2 = 23,
  CMD_GET_ITEM = 25,
  CMD_GRAPHIC = 26,
  CMD_ANIME_SET = 27,
  CMD_ANIME = 28,
  CMD_EFFECT = 29,
  CMD_CHARA_EFFECT = 30,
  CMD_SCREEN_EFFECT = 31,
  CMD_PICTURE = 32,
  CMD_SOUND = 35,
  CMD_BGM = 36,
  CMD_ARRANGE = 38,
};
