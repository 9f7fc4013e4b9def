// Facts about the machine's display that the drawing library asks for and
// that tests inject: driver interface level, refresh rate, desktop depth.
#pragma once

namespace plat::gfx {

struct GFXDISPLAYCONFIG {
  int nDriverLevel = 9;            // the driver interface level a device reports
  int nRefreshRate = 60;           // what the desktop runs at; switching it is only recorded
  int nDesktopBpp = 32;            // bits per pixel of the desktop
  bool bCanSetRefreshRate = true;  // whether asking for 60 Hz succeeds
};

void SetDisplayConfig(const GFXDISPLAYCONFIG& config);
GFXDISPLAYCONFIG GetDisplayConfig();

}  // namespace plat::gfx
