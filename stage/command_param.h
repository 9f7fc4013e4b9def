// A command's numbered setting, read safely.
#pragma once

#include <cstddef>
#include <cstdint>

#include "flow/flow_cmd.h"

// Setting i of the command; one its record does not hold reads as 0.
inline int32_t CmdParam(const cFlowCmd& cmd, int i) {
  return static_cast<size_t>(i) < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0;
}
