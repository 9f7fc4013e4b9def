#include "flow/command_catalogue.h"

#include <cstddef>

namespace {

constexpr int kRowNumbers[] = {
#define COMMAND_KIND(n, e, name, params, setup, body, cue) n,
#define ITEM_COMMAND_KIND(n, e, name, params, body)
#include "flow/command_kinds.def"
};
constexpr int kItemRowNumbers[] = {
#define COMMAND_KIND(n, e, name, params, setup, body, cue)
#define ITEM_COMMAND_KIND(n, e, name, params, body) n,
#include "flow/command_kinds.def"
};

// A kind's number is its place in the list: the tables are indexed by it.
template <std::size_t N>
constexpr bool InNumberOrder(const int (&anNumbers)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (anNumbers[i] != static_cast<int>(i)) return false;
  return true;
}
static_assert(InNumberOrder(kRowNumbers), "the command kinds stand in number order");
static_assert(InNumberOrder(kItemRowNumbers), "the item kinds stand in number order");
static_assert(ITEM_CMD_SHARED_FIRST + ITEM_CMD_KIND_OFFSET < CMD_KIND_COUNT);

}  // namespace

constexpr std::array<CMDINFO, CMD_KIND_COUNT> g_CmdCatalogue = {{
#define COMMAND_KIND(n, e, name, params, setup, body, cue) {name, params},
#define ITEM_COMMAND_KIND(n, e, name, params, body)
#include "flow/command_kinds.def"
}};

namespace {

constexpr std::array<CMDINFO, ITEM_CMD_KIND_COUNT> BuildItemCatalogue() {
  std::array<CMDINFO, ITEM_CMD_KIND_COUNT> rows{};
#define COMMAND_KIND(n, e, name, params, setup, body, cue)
#define ITEM_COMMAND_KIND(n, e, name, params, body) rows[n] = {name, params};
#include "flow/command_kinds.def"
  for (int k = ITEM_CMD_SHARED_FIRST; k < ITEM_CMD_KIND_COUNT; ++k)
    rows[k] = g_CmdCatalogue[k + ITEM_CMD_KIND_OFFSET];
  return rows;
}

}  // namespace

// The shared rows are the flow rows themselves: the same commands.
constexpr std::array<CMDINFO, ITEM_CMD_KIND_COUNT> g_ItemCmdCatalogue = BuildItemCatalogue();

const CMDINFO* GetCmdInfo(int nNumbering, int nKind) {
  if (nNumbering == 0 && nKind >= 0 && nKind < CMD_KIND_COUNT) return &g_CmdCatalogue[nKind];
  if (nNumbering == 1 && nKind >= 0 && nKind < ITEM_CMD_KIND_COUNT)
    return &g_ItemCmdCatalogue[nKind];
  return nullptr;
}
