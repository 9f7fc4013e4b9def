// Names and numbers of the engine's results for log lines.
#include "platform/gfx/gfx_result.h"

namespace plat::gfx {

unsigned GetResultCode(eGfxResult r) {
  // Distinct, recognisable failure words (top bit set), so "%x" in a log
  // line tells failures apart.
  switch (r) {
    case eGfxResult::Ok:
      return 0;
    case eGfxResult::OutOfVideoMemory:
      return 0x8876017Cu;
    case eGfxResult::DeviceLost:
      return 0x88760868u;
    case eGfxResult::DeviceNotReset:
      return 0x88760869u;
    case eGfxResult::SurfaceLost:
      return 0x887601C2u;
    case eGfxResult::SurfaceBusy:
      return 0x887601AEu;
    case eGfxResult::NotLocked:
      return 0x887601E6u;
    case eGfxResult::InvalidCall:
      return 0x8876086Cu;
    case eGfxResult::Fail:
      return 0x80004005u;
  }
  return 0x80004005u;
}

const char* GetResultName(eGfxResult r) {
  switch (r) {
    case eGfxResult::Ok:
      return "Ok";
    case eGfxResult::OutOfVideoMemory:
      return "OutOfVideoMemory";
    case eGfxResult::DeviceLost:
      return "DeviceLost";
    case eGfxResult::DeviceNotReset:
      return "DeviceNotReset";
    case eGfxResult::SurfaceLost:
      return "SurfaceLost";
    case eGfxResult::SurfaceBusy:
      return "SurfaceBusy";
    case eGfxResult::NotLocked:
      return "NotLocked";
    case eGfxResult::InvalidCall:
      return "InvalidCall";
    case eGfxResult::Fail:
      return "Fail";
  }
  return "Fail";
}

}  // namespace plat::gfx
