#include "draw/built_in_tables.h"

#include <cstdio>

#include "base/global_order.h"

GLOBAL_OBJECT(GLOBAL_SURFACE_TABLE) DDSURFACEDATA g_SurfaceTable[kBuiltInSurfaceCount];
GLOBAL_OBJECT(GLOBAL_BITMAP_TABLE) DDIMAGEDATA g_ImageTable[kBuiltInSurfaceCount];

namespace {

void Row(int n, const char* szFile, int bColorKey, int nMemory, int bOptional = 0,
         int nMirrorWidth = 0, int bShare = 0) {
  DDIMAGEDATA& d = g_ImageTable[n];
  DDSetSurfaceName(d.szFileName, szFile);
  d.bColorKey = bColorKey;
  d.nMemory = nMemory;
  d.bOptional = bOptional;
  d.nMirrorWidth = nMirrorWidth;
  d.bShare = bShare;
}

void Blank(int n, int nWidth, int nHeight, int bColorKey, int nMemory, int nMemoryType = 0,
           int bShare = 0) {
  Row(n, "E", bColorKey, nMemory, 0, 0, bShare);
  g_ImageTable[n].nMemoryType = nMemoryType;
  g_ImageTable[n].nBlankWidth = nWidth;
  g_ImageTable[n].nBlankHeight = nHeight;
}

// The program's fixed pictures and work surfaces. Entries that share
// another entry's texture in Direct3D (the links below) are surfaces of
// their own in DirectDraw: a mirrored sheet, or a system-memory copy that
// pixel effects read quickly.
struct cImageTableInit {
  cImageTableInit() {
    Row(0, "bmp\\plt\\Palette.bmp", 0, 1);
    Row(1, "bmp\\Debug.bmp", 1, 0);
    Row(2, "bmp\\Block.bmp", 1, 0);
    Row(3, "bmp\\Block.bmp", 1, 1, 0, 0, 1);
    char szFile[32];
    for (int k = 1; k <= 8; ++k) {
      std::snprintf(szFile, sizeof szFile, "bmp\\Character%d.bmp", k);
      const int bOptional = k > 1;
      Row(2 + 2 * k, szFile, 1, 0, bOptional);
      Row(3 + 2 * k, szFile, 1, 0, bOptional, 32, 1);
      Row(20 + 2 * k, szFile, 1, 1, bOptional, 0, 1);
      Row(21 + 2 * k, szFile, 1, 1, bOptional, 32, 1);
    }
    Row(20, "bmp\\Shot.bmp", 1, 0);
    Row(21, "bmp\\Shot.bmp", 1, 0, 0, 16, 1);
    Row(38, "bmp\\Shot.bmp", 1, 1, 0, 0, 1);
    Row(39, "bmp\\Shot.bmp", 1, 1, 0, 16, 1);
    Row(40, "bmp\\Item.bmp", 1, 0);
    Row(41, "bmp\\Item.bmp", 1, 1, 0, 0, 1);
    Row(42, "bmp\\Item_Mini.bmp", 1, 0);
    Row(43, "bmp\\Mark.bmp", 1, 0);
    Row(44, "bmp\\Mark.bmp", 1, 1, 0, 0, 1);
    Row(45, "bmp\\Window.bmp", 0, 0);
    Row(46, "bmp\\StatusWindow.bmp", 1, 0);
    Row(47, "bmp\\Title.bmp", 0, 0);
    Row(48, "bmp\\GameMode.bmp", 1, 0, 1);
    Row(49, "bmp\\Accessory.bmp", 1, 0);
    Row(50, "bmp\\Symbol.bmp", 1, 0);
    Row(51, "bmp\\Word.bmp", 1, 0);
    Row(52, "bmp\\WorldMapChip.bmp", 1, 0);
    Row(53, "bmp\\WorldEvent.bmp", 1, 1);
    Row(54, "bmp\\WorldBack.bmp", 0, 1, 1);
    // The stage's backgrounds take these places when a stage is set up.
    for (int k = 1; k <= 8; ++k) {
      std::snprintf(szFile, sizeof szFile, "背景その%d.bmp", k);
      Row(54 + k, szFile, 1, 0, 1);
    }
    Blank(63, 256, 960, 1, 1);
    Blank(64, 256, 960, 1, 1);
    Blank(65, 640, 480, 1, 1);
    Blank(66, 640, 480, 0, 1);
    Blank(67, 640, 480, 1, 0);
    Blank(68, 640, 480, 1, 1, 0, 1);
    Blank(69, 1024, 1024, 1, 0, DTMEMORYTYPE_VIDEO_NORT);
    Blank(70, 1024, 1024, 1, 1, DTMEMORYTYPE_SYSTEM);
  }
} g_ImageTableInit;

void Link(int nEntry, int nSource) { g_SurfaceTable[nEntry].lpShareSD = &g_SurfaceTable[nSource]; }

}  // namespace

void LinkSharedSurfaces() {
  // Each odd entry 3..21 draws from the even one before it.
  for (int n = 3; n <= 21; n += 2) Link(n, n - 1);
  // 22..39 draw in pairs from the even entries 4..20.
  for (int n = 22; n <= 39; ++n) Link(n, 4 + 2 * ((n - 22) / 2));
  Link(41, 40);
  Link(44, 43);
  Link(68, 67);
}
