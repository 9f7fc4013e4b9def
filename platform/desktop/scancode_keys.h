// The one table from SDL scancodes to the Windows virtual-key codes the game
// names its keys by.
#pragma once

namespace plat::desktop {

// The virtual-key code of an SDL scancode; 0 for keys the game cannot name.
int VirtualKeyFromScancode(int nScancode);

}  // namespace plat::desktop
