// The installed back end.
#include "platform/backend/backend.h"

#include <cstdio>
#include <cstdlib>

#include "platform/audio/midi_synth.h"

namespace plat {

namespace {

PLATFORMBACKEND g_Backend;
bool g_bInstalled = false;

bool IsComplete(const PLATFORMBACKEND& b) {
  return b.pPresenter && b.pEvents && b.pAudio && b.pBoxes && b.pDialogs && b.pSynths;
}

[[noreturn]] void Fail(const char* szWhy) {
  std::fprintf(stderr, "brimvale: %s\n", szWhy);
  std::fflush(nullptr);
  std::abort();
}

}  // namespace

void InstallBackend(const PLATFORMBACKEND& backend) {
  if (!IsComplete(backend)) Fail("a platform back end lacks a service");
  audio::cSynth::Release();
  g_Backend = backend;
  g_bInstalled = true;
}

const PLATFORMBACKEND& GetBackend() {
  if (!g_bInstalled) Fail("the platform was used before a back end was installed");
  return g_Backend;
}

}  // namespace plat
