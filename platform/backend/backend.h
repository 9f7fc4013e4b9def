// The platform back end a program runs on: the window and its frames, the
// desktop's events, the sound device, message boxes, dialogs and file
// choosers, and the MIDI synthesiser, each a small service. A program
// installs one back end at start-up, before any thread touches the
// platform: the desktop one (SDL2, GTK3, FluidSynth) or the null one (no
// window, no device, scripted boxes and dialogs, a silent synthesiser). The core reaches every
// service through here and never names a back end.
#pragma once

namespace plat {

class cPresenterService;
class cEventService;
class cBoxService;
class cDialogService;
namespace audio {
class cAudioDevice;
class cSynthMaker;
}  // namespace audio

struct PLATFORMBACKEND {
  const char* szName = "";
  cPresenterService* pPresenter = nullptr;
  cEventService* pEvents = nullptr;
  audio::cAudioDevice* pAudio = nullptr;
  cBoxService* pBoxes = nullptr;
  cDialogService* pDialogs = nullptr;
  audio::cSynthMaker* pSynths = nullptr;
};

// Every service must be given; the services live as long as the process.
// A synthesiser made by the previous back end is let go.
void InstallBackend(const PLATFORMBACKEND& backend);

// The installed back end. Using the platform before one is installed is a
// fault of the program: it ends with a message saying so.
const PLATFORMBACKEND& GetBackend();

}  // namespace plat
