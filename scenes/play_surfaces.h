// The surface collections the play screen draws from besides the built-in
// table: the database's dedicated character bitmaps, sword images and
// effect images (loaded once for a run of play scenes), and the pictures
// shown during a run, each with its parallel descriptors. They are the
// program's own collections, kept here so that the scene manager restores
// them with the others after lost surfaces.
#pragma once

#include "draw/surface_collections.h"

// Dedicated character bitmaps: four forms per bitmap-set entry from entry 1
// (the sheet, the sheet mirrored frame by frame, and both again in system
// memory); entry e at (e - 1) x 4.
extern DDSURFACEVECTOR g_CharaBmpSurfaces;
extern DDIMAGEVECTOR g_CharaBmpImages;
// Sword images: four forms per sword type from entry 0 (image A, image B,
// and both in system memory); entry e at e x 4.
extern DDSURFACEVECTOR g_SwordSurfaces;
extern DDIMAGEVECTOR g_SwordImages;
// Effect images: two forms per effect from entry 1 (the image, and again in
// system memory); effect n at 2n - 2 and 2n - 1.
extern DDSURFACEVECTOR g_EffectSurfaces;
extern DDIMAGEVECTOR g_EffectImages;
// The pictures of the run, parallel to the play scene's picture list.
extern DDSURFACELIST g_PictureSurfaces;
extern DDIMAGELIST g_PictureImages;
