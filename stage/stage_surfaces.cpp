#include "stage/stage_surfaces.h"

#include "base/global_order.h"

GLOBAL_OBJECT(GLOBAL_CHARA_BMP) DDSURFACEVECTOR g_CharaBmpSurfaces;
GLOBAL_OBJECT(GLOBAL_CHARA_BMP) DDIMAGEVECTOR g_CharaBmpImages;
GLOBAL_OBJECT(GLOBAL_SWORD_BMP) DDSURFACEVECTOR g_SwordSurfaces;
GLOBAL_OBJECT(GLOBAL_SWORD_BMP) DDIMAGEVECTOR g_SwordImages;
GLOBAL_OBJECT(GLOBAL_EFFECT_BMP) DDSURFACEVECTOR g_EffectSurfaces;
GLOBAL_OBJECT(GLOBAL_EFFECT_BMP) DDIMAGEVECTOR g_EffectImages;
GLOBAL_OBJECT(GLOBAL_PICTURES) DDSURFACELIST g_PictureSurfaces;
GLOBAL_OBJECT(GLOBAL_PICTURES) DDIMAGELIST g_PictureImages;

DDSURFACEDATA* GroupSurface(DDSURFACEVECTOR* pGroup, int n) {
  if (!pGroup || n < 0 || n >= static_cast<int>(pGroup->size())) return nullptr;
  return &(*pGroup)[static_cast<size_t>(n)];
}
