// The process's one synthesiser, made by the back end at the mixer's rate.
#include "platform/audio/midi_synth.h"

#include <mutex>

#include "platform/audio/mixer.h"
#include "platform/backend/backend.h"

namespace plat::audio {

namespace {

// Kept to the very end, like the mixer: a player destroyed at exit still
// silences its notes.
std::shared_ptr<cSynth>& Instance() {
  static auto* pSynth = new std::shared_ptr<cSynth>;
  return *pSynth;
}

}  // namespace

std::shared_ptr<cSynth> cSynth::Get(std::string* pError) {
  std::lock_guard<std::recursive_mutex> mix(cMixer::Get().GetLock());
  std::shared_ptr<cSynth>& inst = Instance();
  const int nRate = cMixer::Get().GetRate();
  if (inst && inst->GetRate() == nRate) return inst;
  inst.reset();
  std::string strError;
  std::unique_ptr<cSynth> synth = GetBackend().pSynths->Make(nRate, strError);
  if (!synth) {
    if (pError) *pError = strError;
    return nullptr;
  }
  inst = std::move(synth);
  return inst;
}

void cSynth::Release() {
  std::lock_guard<std::recursive_mutex> mix(cMixer::Get().GetLock());
  Instance().reset();
}

}  // namespace plat::audio
