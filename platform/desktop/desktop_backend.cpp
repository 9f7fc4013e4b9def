// The desktop back end's services, installed.
#include "platform/desktop/desktop_backend.h"

#include "platform/backend/backend.h"
#include "platform/desktop/fluid_synth.h"
#include "platform/desktop/gtk_boxes.h"
#include "platform/desktop/gtk_dialogs.h"
#include "platform/desktop/sdl_audio_device.h"
#include "platform/desktop/sdl_event_feed.h"
#include "platform/desktop/sdl_presenter.h"

namespace plat::desktop {

void InstallDesktopBackend() {
  // Never destroyed: services may still be called while the process ends.
  static auto* pPresenter = new cSdlPresenter;
  static auto* pEvents = new cSdlEventFeed(pPresenter);
  static auto* pAudio = new cSdlAudioDevice;
  static auto* pBoxes = new cGtkBoxes;
  static auto* pDialogs = new cGtkDialogs(pPresenter);
  static auto* pSynths = new cFluidSynthMaker;
  PLATFORMBACKEND backend;
  backend.szName = "desktop";
  backend.pPresenter = pPresenter;
  backend.pEvents = pEvents;
  backend.pAudio = pAudio;
  backend.pBoxes = pBoxes;
  backend.pDialogs = pDialogs;
  backend.pSynths = pSynths;
  InstallBackend(backend);
}

}  // namespace plat::desktop
