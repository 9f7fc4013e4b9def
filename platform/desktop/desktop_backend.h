// The desktop back end: an SDL2 window that shows the frames, SDL2 keyboard,
// joystick and window events, an SDL2 sound device, GTK3 message boxes,
// dialogs and file choosers, and FluidSynth as the MIDI synthesiser.
// Installing it opens nothing: each service opens its part of the desktop
// when the program starts it.
#pragma once

namespace plat::desktop {

void InstallDesktopBackend();

}  // namespace plat::desktop
