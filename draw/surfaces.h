// Creating, sharing, mirroring and releasing surface records.
#pragma once

#include "draw/surface_data.h"

// Blank surface; bRecordOnly makes a Direct3D record without a texture (for
// sharing), bRestore recreates the texture of an existing record.
bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, int bColorKey, int nMemory,
                     int nMemoryType, int bRecordOnly, int bRestore);
// Surface holding a bitmap file; result 0 or a result code.
int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* szFileName, int bColorKey, int nBpp,
                            int nMemory, int nMemoryType, DDSURFACEDATA* lpShareSD, int bPalIndex,
                            int nMirrorWidth, int nMirrorHeight, int bRestore);
void DDAdjustTextureSize(int* lpWidth, int* lpHeight);
bool DDCheckTextureSize(int nWidth, int nHeight);
void DDResolveSurface(DDSURFACEDATA** lplpSD);
bool DDMirrorFrames(DDSURFACEDATA* lpDstSD, DDSURFACEDATA* lpSrcSD, int nFrameWidth,
                    int nFrameHeight);
void DDReleaseSurface(DDSURFACEDATA* lpSD);
void DDFreeSurface(DDSURFACEDATA* lpSD);
bool DDLogSurfaceError(int nCode);
