// The set-up and the body of every command kind, as the list of kinds names
// them (flow/command_kinds.def): declared from that list, so a new row needs
// only its body defined. Bodies take the context they act in
// (stage/command_context.h) and give what stage/command_table.h says.
#pragma once

#include "stage/command_context.h"

#define COMMAND_KIND(n, e, name, params, setup, body, cue) \
  void setup(const CMDCONTEXT& ctx);                       \
  int body(const CMDCONTEXT& ctx);
#define ITEM_COMMAND_KIND(n, e, name, params, body) int body(const CMDCONTEXT& ctx);
#include "flow/command_kinds.def"
