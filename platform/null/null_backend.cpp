// The null back end's services, installed.
#include "platform/null/null_backend.h"

#include "platform/backend/backend.h"
#include "platform/null/null_audio_device.h"
#include "platform/null/null_boxes.h"
#include "platform/null/null_dialogs.h"
#include "platform/null/null_event_feed.h"
#include "platform/null/null_presenter.h"
#include "platform/null/null_synth.h"

namespace plat::null {

void InstallNullBackend() {
  // Never destroyed: services may still be called while the process ends.
  static auto* pPresenter = new cNullPresenter;
  static auto* pEvents = new cNullEventFeed;
  static auto* pAudio = new cNullAudioDevice;
  static auto* pBoxes = new cNullBoxes;
  static auto* pDialogs = new cNullDialogs;
  static auto* pSynths = new cNullSynthMaker;
  PLATFORMBACKEND backend;
  backend.szName = "null";
  backend.pPresenter = pPresenter;
  backend.pEvents = pEvents;
  backend.pAudio = pAudio;
  backend.pBoxes = pBoxes;
  backend.pDialogs = pDialogs;
  backend.pSynths = pSynths;
  InstallBackend(backend);
}

}  // namespace plat::null
