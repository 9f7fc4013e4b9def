// Results of the pixel engine's calls. Errors are values, never exceptions;
// the drawing library decides what each failure means.
#pragma once

namespace plat::gfx {

enum class eGfxResult {
  Ok,
  OutOfVideoMemory,  // a video-memory image could not be made; system memory may still work
  DeviceLost,        // the device is lost and cannot be reset yet
  DeviceNotReset,    // the device is lost and can be reset now
  SurfaceLost,       // the image's storage was taken away; Restore it
  SurfaceBusy,       // the image is already locked
  NotLocked,         // Unlock without a Lock
  InvalidCall,       // bad arguments (negative sizes, wrong format, not a render target, ...)
  Fail,              // any other failure (only ever from a fault hook)
};

inline bool Succeeded(eGfxResult r) { return r == eGfxResult::Ok; }
inline bool Failed(eGfxResult r) { return r != eGfxResult::Ok; }

// A stable number for log lines ("%x" of a failed call): 0 for Ok.
unsigned GetResultCode(eGfxResult r);
const char* GetResultName(eGfxResult r);

}  // namespace plat::gfx
