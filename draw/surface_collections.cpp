// Loading built-in table entries and keeping surface collections.
#include "draw/surface_collections.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "base/logs.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"

namespace {

DDIMAGEDATA BlankImage(int bColorKey, int nMemory, int nMemoryType, int bShare) {
  DDIMAGEDATA d;
  d.bColorKey = bColorKey;
  d.nMemory = nMemory;
  d.nMemoryType = nMemoryType;
  d.bShare = bShare;
  return d;
}

bool LoadEntry(DDSURFACEDATA& sd, const DDIMAGEDATA& d) {
  DDReleaseSurface(&sd);
  if (std::string_view(d.szFileName) == "E") {
    if (DDCreateSurface(&sd, d.nBlankWidth, d.nBlankHeight, d.bColorKey, d.nMemory, d.nMemoryType,
                        d.bShare, 0))
      return true;
    if (d.bOptional) return true;
    OutOfMemoryClose();
    return false;
  }
  // A sharing entry has no texture of its own: only the share source's
  // being given counts here; the entry draws from the one start-up linked.
  DDSURFACEDATA* lpShare = d.bShare ? (sd.lpShareSD ? sd.lpShareSD : &sd) : nullptr;
  const int nCode =
      DDCreateSurfaceFromFile(&sd, d.szFileName, d.bColorKey, g_DD.nBpp, d.nMemory, d.nMemoryType,
                              lpShare, d.bPalIndex, d.nMirrorWidth, d.nMirrorHeight, 0);
  if (DDLogSurfaceError(nCode)) return true;
  // A picture that failed keeps no half-made surface: callers skip entries
  // without one.
  DDReleaseSurface(&sd);
  if (d.bOptional) return true;
  ErrorBoxF("%s の読み込みに失敗！", d.szFileName);
  return false;
}

}  // namespace

bool DDLoadSurfaces(DDSURFACEDATA* lpTable, const int* lpEntries, int nCount) {
  if (!lpTable || !lpEntries || !g_DD.lpImageTable) return false;
  for (int i = 0; i < nCount; ++i) {
    const int n = lpEntries[i];
    if (n < 0 || n >= g_DD.nSurfaceNum) {
      DebugLogF("DDLoadSurfaces Err %d", n);
      return false;
    }
    if (!LoadEntry(lpTable[n], g_DD.lpImageTable[n])) return false;
  }
  return true;
}

bool DDPushSurface(DDSURFACEVECTOR& Surfaces, DDIMAGEVECTOR& Images, int nWidth, int nHeight,
                   int bColorKey, int nMemory, int nMemoryType, int bShare) {
  DDSURFACEDATA& sd = Surfaces.emplace_back();
  Images.push_back(BlankImage(bColorKey, nMemory, nMemoryType, bShare));
  return DDCreateSurface(&sd, nWidth, nHeight, bColorKey, nMemory, nMemoryType, bShare, 0);
}

bool DDPushSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, int nWidth, int nHeight,
                       int bColorKey, int nMemory, int nMemoryType, int bShare) {
  DDSURFACEDATA& sd = Surfaces.emplace_back();
  Images.push_back(BlankImage(bColorKey, nMemory, nMemoryType, bShare));
  return DDCreateSurface(&sd, nWidth, nHeight, bColorKey, nMemory, nMemoryType, bShare, 0);
}

bool DDInsertSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, int nIndex, int nWidth,
                         int nHeight, int bColorKey, int nMemory, int nMemoryType, int bShare) {
  if (nIndex < 0) nIndex = 0;
  if (size_t(nIndex) >= Surfaces.size())
    return DDPushSurfaceList(Surfaces, Images, nWidth, nHeight, bColorKey, nMemory, nMemoryType,
                             bShare);
  DDSURFACEDATA& sd = *Surfaces.emplace(std::next(Surfaces.begin(), nIndex));
  const size_t nImageAt = std::min(size_t(nIndex), Images.size());
  Images.insert(std::next(Images.begin(), std::ptrdiff_t(nImageAt)),
                BlankImage(bColorKey, nMemory, nMemoryType, bShare));
  return DDCreateSurface(&sd, nWidth, nHeight, bColorKey, nMemory, nMemoryType, bShare, 0);
}

int DDEraseSurfaceList(DDSURFACELIST& Surfaces, DDIMAGELIST& Images, DDSURFACEDATA* lpSD) {
  size_t nAt = 0;
  for (auto it = Surfaces.begin(); it != Surfaces.end(); ++it, ++nAt) {
    if (&*it != lpSD) continue;
    DDReleaseSurface(lpSD);
    Surfaces.erase(it);
    if (nAt < Images.size()) Images.erase(std::next(Images.begin(), std::ptrdiff_t(nAt)));
    return 1;
  }
  return 0;
}

void DDReleaseSurfaceVector(DDSURFACEVECTOR& Surfaces) {
  for (DDSURFACEDATA& sd : Surfaces) DDReleaseSurface(&sd);
}

void DDReleaseSurfaceList(DDSURFACELIST& Surfaces) {
  for (DDSURFACEDATA& sd : Surfaces) DDReleaseSurface(&sd);
}
