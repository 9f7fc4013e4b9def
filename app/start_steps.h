// Steps of start-up that decide something on their own, for InitGame and
// for tests that run them alone.
#pragma once

// The start dialog, when System.ini's "Direct3D" asks for it and the boot
// record does not skip it; then "Direct3D" from the boot record. False when
// the player cancelled.
bool RunStartDialogStep();

// The screen mode from System.ini and the system data: sets bWindowed,
// nScreenBpp and System.ini's "Bpp" and "VSync". False after the error box
// for a combination no drawing mode has.
bool DecideStartScreenMode();

// The drawing library in the chosen mode; when Direct3D cannot start, once
// more without it. False when neither came up.
bool StartDrawing(int nVSync);

// The sound table: the system data's 17 built-in sounds, then database
// sound k as entry k + 16; every entry one buffer at the global volume.
void BuildSoundTable();
