// The surface record every drawing operation draws from or into, with its
// Direct3D and DirectDraw parts, and the list of records that own a texture.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/image.h"

// Where a Direct3D texture lives.
enum DTMEMORYTYPE : int {
  DTMEMORYTYPE_VIDEO_RT = 0,    // render target (blank) or managed (file)
  DTMEMORYTYPE_SYSTEM = 1,      // system memory, drawn by software
  DTMEMORYTYPE_VIDEO_NORT = 2,  // accepted and treated as 0
};

// The four vertices of one quad, written for every immediate blit from the
// record that owns them.
struct DDVERTEXBUFFER {
  std::array<plat::gfx::GFXVERTEX, 4> Vertices{};
};

// What a texture's level 0 is: format, pool and real size.
struct DTSURFACEDESC {
  plat::gfx::ePixelFormat Format = plat::gfx::ePixelFormat::Unknown;
  plat::gfx::ePool Pool = plat::gfx::ePool::Default;
  int nWidth = 0;
  int nHeight = 0;
};

// The Direct3D part of a record.
struct DTDATA {
  int nSerial = 0;
  plat::gfx::cImagePtr lpSurface;        // level 0 (BackBuffer: the device's back buffer)
  plat::gfx::cImagePtr lpSystemSurface;  // render targets: the copy that locks go through
  std::unique_ptr<DDVERTEXBUFFER> lpVB;
  plat::gfx::cImagePtr lpTexture;
  DTSURFACEDESC Desc;
  int nMemoryType = DTMEMORYTYPE_VIDEO_RT;
  int bColorKey = 0;
  int bRenderTarget = 0;
  std::vector<uint8_t> lpPalIndex;  // palette-index map; empty means none
};

// The DirectDraw part of a record.
struct DDSURFACEDD {
  plat::gfx::cImagePtr lpDDSurface;
  std::vector<uint8_t> lpPalIndex;
};

constexpr int kSurfaceNameBytes = 260;

// A surface record. Records are never copied or moved while alive: the
// texture list, sharing links and fonts point at them. A record that goes
// away releases what it holds and leaves every list.
struct DDSURFACEDATA {
  DDSURFACEDATA() = default;
  DDSURFACEDATA(const DDSURFACEDATA&) = delete;
  DDSURFACEDATA& operator=(const DDSURFACEDATA&) = delete;
  ~DDSURFACEDATA();

  std::unique_ptr<DTDATA> lpDT;
  std::unique_ptr<DDSURFACEDD> lpDDS;
  char szName[kSurfaceNameBytes] = {};
  int nWidth = 0;
  int nHeight = 0;
  int nTexWidth = 0;
  int nTexHeight = 0;
  char szFileName[kSurfaceNameBytes] = {};
  int nMemory = 0;
  int nMirrorWidth = 0;
  int nMirrorHeight = 0;
  DDSURFACEDATA* lpShareSD = nullptr;
  int bLost = 0;
};

// Clears a record to its zero state (parts released first).
void DDZeroSurface(DDSURFACEDATA* lpSD);

// Bounded copy into a name field.
void DDSetSurfaceName(char (&szField)[kSurfaceNameBytes], const char* szText);

// One row of a built-in bitmap table.
struct DDIMAGEDATA {
  char szFileName[kSurfaceNameBytes] = {};
  int bColorKey = 0;
  int nMemory = 0;
  int nMemoryType = 0;
  int bShare = 0;
  int bPalIndex = 0;
  int bOptional = 0;
  int nMirrorWidth = 0;
  int nMirrorHeight = 0;
  int nBlankWidth = 0;
  int nBlankHeight = 0;
};

// Every record that received a Direct3D texture of its own, in creation
// order. Never destroyed, so records that outlive it at exit stay safe.
extern std::vector<DDSURFACEDATA*>& TextureList;
