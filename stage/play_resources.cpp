// The play scene's surfaces: the built-in play bitmaps, the stage's
// backgrounds, the database's character, sword and effect images, the shot
// sheets, and the pictures of a run.
#include <iterator>
#include <string>

#include "base/logs.h"
#include "database/database.h"
#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/surface_lock.h"
#include "draw/surfaces.h"
#include "files/stage_data.h"
#include "stage/play_scene.h"
#include "stage/stage_surfaces.h"

namespace {

// One load form of a database image.
struct LOADFORM {
  const std::string* pFile;
  int nMemory;       // 0 video, 1 system
  int nMirrorWidth;  // 0 unchanged
  int nShareForm;    // the form it draws through in Direct3D; -1 none
};

DDIMAGEDATA Describe(const LOADFORM& form) {
  DDIMAGEDATA d;
  DDSetSurfaceName(d.szFileName, form.pFile->c_str());
  d.bColorKey = 1;
  d.nMemory = form.nMemory;
  d.nMemoryType = form.nMemory;
  d.nMirrorWidth = form.nMirrorWidth;
  d.bShare = DDIsDirect3D() && form.nShareForm >= 0;
  return d;
}

// Appends one entry's forms to a group and loads them, the last form first;
// a form that cannot be loaded is logged and stays empty. Sharing links
// are a Direct3D matter: in DirectDraw every form is a picture of its own.
void LoadEntryForms(DDSURFACEVECTOR& surfaces, DDIMAGEVECTOR& images, const LOADFORM* forms,
                    int nForms, const char* szFailure) {
  const size_t nFirst = surfaces.size();
  for (int i = 0; i < nForms; ++i) {
    surfaces.emplace_back();
    images.push_back(Describe(forms[i]));
  }
  for (int i = nForms - 1; i >= 0; --i) {
    DDSURFACEDATA& sd = surfaces[nFirst + i];
    const DDIMAGEDATA& d = images[nFirst + i];
    const int nCode = DDCreateSurfaceFromFile(&sd, d.szFileName, d.bColorKey, g_DD.nBpp, d.nMemory,
                                              d.nMemoryType, d.bShare ? &sd : nullptr, d.bPalIndex,
                                              d.nMirrorWidth, d.nMirrorHeight, 0);
    if (nCode != 0) {
      DebugLogF(szFailure, d.szFileName);
      DDReleaseSurface(&sd);
    }
  }
  for (int i = 0; i < nForms; ++i) {
    DDSURFACEDATA& sd = surfaces[nFirst + i];
    sd.lpShareSD = images[nFirst + i].bShare ? &surfaces[nFirst + forms[i].nShareForm] : nullptr;
  }
}

void ClearGroup(DDSURFACEVECTOR& surfaces, DDIMAGEVECTOR& images) {
  DDReleaseSurfaceVector(surfaces);
  surfaces.clear();
  images.clear();
}

// Entries 55..62 of the built-in table from the stage's backgrounds: the
// image of each image background, nothing for a colour fill or a missing
// one. An oversized picture is kept in system memory when DirectDraw draws.
void SetBackgroundEntries() {
  for (int i = 0; i < kStageBackgrounds; ++i) {
    DDIMAGEDATA& d = g_ImageTable[SURF_BACKGROUND + i];
    const bool bImage =
        i < static_cast<int>(g_Stage.m_vecBgs.size()) && !g_Stage.m_vecBgs[i].m_bFill;
    DDSetSurfaceName(d.szFileName, bImage ? g_Stage.m_vecBgs[i].m_strImage.c_str() : "");
    d.nMemory = 0;
    if (bImage && !DDIsDirect3D()) DDIsBitmapLarger(&d.nMemory, d.szFileName, 640, 480);
  }
}

// Loads the background entries that name a picture; the others are left
// empty (an entry without a name has nothing to load).
bool LoadBackgroundEntries() {
  for (int i = 0; i < kStageBackgrounds; ++i) {
    const int n = SURF_BACKGROUND + i;
    if (g_ImageTable[n].szFileName[0] == '\0') {
      DDReleaseSurface(&g_SurfaceTable[n]);
      continue;
    }
    if (!DDLoadSurfaces(g_SurfaceTable, &n, 1)) return false;
  }
  return true;
}

// Without a drawing context (the play tested on its own) there is nothing
// to load into, and nothing fails.
bool HasDrawing() { return g_DD.lpImageTable != nullptr; }

}  // namespace

int cPlayScene::LoadPlayBitmaps() {
  if (!HasDrawing()) return 1;
  SetBackgroundEntries();
  static const int kEntries[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
                                 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46,
                                 47, 49, 50, 51, 63, 64, 65, 66, 67, 68, 69, 70};
  if (!DDLoadSurfaces(g_SurfaceTable, kEntries, static_cast<int>(std::size(kEntries)))) return 0;
  return LoadBackgroundEntries() ? 1 : 0;
}

int cPlayScene::LoadBackgroundBitmaps() {
  if (!HasDrawing()) return 1;
  SetBackgroundEntries();
  return LoadBackgroundEntries() ? 1 : 0;
}

void cPlayScene::LoadCharaBitmaps() {
  if (!HasDrawing()) return;
  ClearGroup(g_CharaBmpSurfaces, g_CharaBmpImages);
  const int nCount = static_cast<int>(Database.m_vecBmpCharaExc.size());
  for (int e = 1; e < nCount; ++e) {
    const cEdBmpCharaExc& entry = Database.m_vecBmpCharaExc[e];
    const int nFrame = entry.m_bWideFrame ? entry.m_nFrameUnits * 32 : 32;
    const LOADFORM forms[4] = {{&entry.m_strFile, 0, 0, -1},
                               {&entry.m_strFile, 0, nFrame, 0},
                               {&entry.m_strFile, 1, 0, 0},
                               {&entry.m_strFile, 1, nFrame, 0}};
    LoadEntryForms(g_CharaBmpSurfaces, g_CharaBmpImages, forms, 4, "専用bmp %s 読み込み失敗！");
  }
}

void cPlayScene::LoadSwordImages() {
  if (!HasDrawing()) return;
  ClearGroup(g_SwordSurfaces, g_SwordImages);
  for (const cEdSwordType& entry : Database.m_vecSwordType) {
    const LOADFORM forms[4] = {{&entry.m_strFileRight, 0, 0, -1},
                               {&entry.m_strFileLeft, 0, 0, -1},
                               {&entry.m_strFileRight, 1, 0, 0},
                               {&entry.m_strFileLeft, 1, 0, 1}};
    LoadEntryForms(g_SwordSurfaces, g_SwordImages, forms, 4, "ソード %s 読み込み失敗！");
  }
}

void cPlayScene::LoadEffectImages() {
  if (!HasDrawing()) return;
  ClearGroup(g_EffectSurfaces, g_EffectImages);
  const int nCount = static_cast<int>(Database.m_vecEffect.size());
  for (int e = 1; e < nCount; ++e) {
    const cEdEffect& entry = Database.m_vecEffect[e];
    const LOADFORM forms[2] = {{&entry.m_strFile, 0, 0, -1}, {&entry.m_strFile, 1, 0, 0}};
    LoadEntryForms(g_EffectSurfaces, g_EffectImages, forms, 2, "エフェクト %s 読み込み失敗！");
  }
}

void cPlayScene::BuildShotSheets() {
  if (!HasDrawing()) return;
  const int kSheets[2][2] = {{SURF_SHOT_SHEET, SURF_SHOT},
                             {SURF_SHOT_SHEET_MIRRORED, SURF_SHOT_MIRRORED}};
  for (const auto& pair : kSheets) {
    DDSURFACEDATA* pSheet = &g_SurfaceTable[pair[0]];
    DDSURFACEDATA* pShots = &g_SurfaceTable[pair[1]];
    DDFillSurface(pSheet, 0);
    // Each 16 x 16 shot picture sits in the middle of a 32 x 32 cell.
    for (int r = 0; r < 30; ++r) {
      for (int c = 0; c < 4; ++c) {
        DDBlt(pSheet, 8 + 64 * c, 8 + 32 * r, 16, 16, pShots, 32 * c, 16 * r, 1);
        DDBlt(pSheet, 40 + 64 * c, 8 + 32 * r, 16, 16, pShots, 16 + 32 * c, 16 * r, 1);
      }
    }
  }
}

void cPlayScene::ReleasePictures() {
  DDReleaseSurfaceList(g_PictureSurfaces);
  g_PictureSurfaces.clear();
  g_PictureImages.clear();
  m_PictureList.clear();
}
