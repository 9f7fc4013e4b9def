// The commands that change what the screen shows: a character's graphic,
// its basic animations and a one-off animation, effects (which may stop the
// play while they run), character and screen effects, pictures (which may
// stop the play while shown), the screen colour and the stage's
// backgrounds; and where such a thing is shown.
#include <algorithm>
#include <climits>
#include <iterator>

#include "base/logs.h"
#include "base/program_state.h"
#include "database/database.h"
#include "database/post_load_tables.h"
#include "draw/draw_context.h"
#include "draw/surface_collections.h"
#include "draw/surfaces.h"
#include "files/stage_data.h"
#include "files/system_ini.h"
#include "stage/command_bodies.h"
#include "stage/command_display.h"
#include "stage/command_param.h"
#include "stage/condition_lists.h"
#include "stage/flow_state.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/stage_objects.h"
#include "stage/stage_surfaces.h"

namespace {

// A database entry named by a command that is not there is reported in
// words and the command shows nothing.
bool CheckEntry(const char* szCommand, int32_t nIndex, size_t nCount) {
  if (nIndex >= 0 && static_cast<size_t>(nIndex) < nCount) return true;
  ReportF("%s: entry %d is not in the database's list of %zu; nothing is shown", szCommand,
          nIndex, nCount);
  return false;
}

int32_t Clamp32(int64_t n) { return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX)); }

// Display modes shared by messages and pictures.
enum : int32_t { SHOW_UNTIL_KEY = 0, SHOW_TIMED = 2 };

}  // namespace

void ShowPosition(double& x, double& y, int32_t w, int32_t h, const cGameObj& chara,
                  const cPlayScene& scene, int32_t nKind, int32_t nColumn, int32_t nRow,
                  int32_t nOffX, int32_t nOffY) {
  const double dCamX = scene.m_ScrollX.m_dPos;
  const double dCamY = scene.m_ScrollY.m_dPos;
  auto OnChara = [&](const cGameObj& c) {
    x = nOffX + c.m_nScrLeft + (c.m_nDrawW >> 1) + dCamX - (w >> 1);
    y = nOffY + c.m_nScrTop + (c.m_nDrawH >> 1) + dCamY - (h >> 1);
  };
  switch (nKind) {
    case SHOWPOS_CHARA:
      OnChara(chara);
      return;
    case SHOWPOS_PLAYER:
      OnChara(ThePlayer());
      return;
    case SHOWPOS_SCREEN_CELL:
      x = dCamX + static_cast<double>(nColumn) * 32 + nOffX;
      y = dCamY + static_cast<double>(nRow) * 32 + nOffY;
      return;
    case SHOWPOS_STAGE_CELL:
      x = scene.m_ScrollX.m_nBase + static_cast<double>(nColumn) * 32 + nOffX;
      y = scene.m_ScrollY.m_nBase + static_cast<double>(nRow) * 32 + nOffY;
      return;
    default:
      // The centre of the view; kinds the editor does not offer show there.
      x = nOffX + dCamX + 320 - (w >> 1);
      y = nOffY + dCamY + 240 - (h >> 1);
      return;
  }
}

int CmdGraphic(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  cGameObj& chara = ctx.m_Chara;
  const int8_t cKind = static_cast<int8_t>(CmdParam(cmd, 0));
  const int16_t sGraphic = static_cast<int16_t>(CmdParam(cmd, 1));
  chara.m_Def.m_cGraphicKind = static_cast<uint8_t>(cKind);
  chara.m_Def.m_sGraphic = sGraphic;
  chara.m_nKindValue = sGraphic;
  chara.m_Def.m_sGraphicCell = static_cast<int16_t>(CmdParam(cmd, 2));
  return 0;
}

int CmdAnimSet(const CMDCONTEXT& ctx) {
  const int16_t s = static_cast<int16_t>(CmdParam(ctx.m_Cmd, 0));
  if (!CheckEntry("基本アニメセットの変更", s, Database.m_vecAnimeSet.size())) return 0;
  ctx.m_Chara.SetAnimSet(s, 0);
  return 0;
}

int CmdAnim(const CMDCONTEXT& ctx) {
  const int32_t nAnime = CmdParam(ctx.m_Cmd, 0);
  if (!CheckEntry("アニメの実行", nAnime, g_AnimeFrameTable.size())) return 0;
  cGameObj& chara = ctx.m_Chara;
  cAnimPlay& play = chara.m_AnimList.emplace_front();
  play.m_nCue = 0;
  play.m_nRemain = 0;
  play.m_nCmdFrames = 0;
  play.m_nSerial = ctx.m_pRun ? ctx.m_pRun->m_nSerial : -1;
  play.m_nPaused = 0;
  play.m_Player.m_vecAnims.assign(1, g_AnimeFrameTable[static_cast<size_t>(nAnime)]);
  play.m_Player.Set(0, 1);
  return 0;
}

int CmdEffect(const CMDCONTEXT& ctx) {
  cPlayScene& scene = ctx.m_Scene;
  if (scene.m_bCloseRequest.load()) return 0;
  const cFlowCmd& cmd = ctx.m_Cmd;
  const int32_t nEffect = static_cast<int16_t>(CmdParam(cmd, 0));
  if (nEffect == 0) {
    scene.m_EffectList.clear();
    return 0;
  }
  if (!CheckEntry("エフェクトの実行", nEffect, Database.m_vecEffect.size())) return 0;
  const cEdEffect& entry = Database.m_vecEffect[static_cast<size_t>(nEffect)];
  const int32_t w = PercentOf(entry.m_nCellW, CmdParam(cmd, 6));
  const int32_t h = PercentOf(entry.m_nCellH, CmdParam(cmd, 6));
  double x = 0, y = 0;
  ShowPosition(x, y, w, h, ctx.m_Chara, scene, CmdParam(cmd, 1), CmdParam(cmd, 2), CmdParam(cmd, 3),
               CmdParam(cmd, 4), CmdParam(cmd, 5));
  const int32_t bWait = CmdParam(cmd, 7);
  scene.m_EffectList.emplace_back().Init(nEffect, x, y, w, h, bWait);
  if (!bWait) return 0;
  int64_t nFrames = 0;
  for (const cEdEffectFrame& f : entry.m_vecFrame) nFrames += static_cast<int64_t>(f.m_nTime) * 6;
  SetWaitData(scene.m_Wait, WAIT_EFFECT, 0, Clamp32(nFrames), 0);
  // The effect ends by itself when its animation does.
  scene.RunWait(0);
  return 0;
}

int CmdCharaEffect(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  ctx.m_Chara.m_CharaEffect.Start(CmdParam(cmd, 0), CmdParam(cmd, 1), CmdParam(cmd, 2));
  return 0;
}

int CmdScrEffect(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  cPlayScene& scene = ctx.m_Scene;
  scene.m_ScrEffect.Start(CmdParam(cmd, 0), CmdParam(cmd, 1), CmdParam(cmd, 2));
  if (scene.m_ScrEffect.m_nEffect == 0 && DDIsDirect3D() && g_DD.lpDTCon->bVirtualBackBuffer) DDSetVirtualBackBuffer(0);
  return 0;
}

int CmdPicture(const CMDCONTEXT& ctx) {
  cPlayScene& scene = ctx.m_Scene;
  if (scene.m_bCloseRequest.load()) return 0;
  const cFlowCmd& cmd = ctx.m_Cmd;
  const int32_t nPicture = static_cast<int16_t>(CmdParam(cmd, 0));
  const int32_t bIdMode = CmdParam(cmd, 12), nId = CmdParam(cmd, 13);
  if (nPicture == 0 && bIdMode == 0) {
    scene.ReleasePictures();
    return 0;
  }
  // Where the new picture goes: in place of the one with its ID, or last.
  size_t nAt = scene.m_PictureList.size();
  if (bIdMode) {
    size_t i = 0;
    for (auto it = scene.m_PictureList.begin(); it != scene.m_PictureList.end(); ++it, ++i) {
      if (!it->m_nCmdValue1 || it->m_nCmdValue2 != nId) continue;
      RemovePictureAt(scene, i);
      nAt = i;
      break;
    }
    if (nPicture == 0) return 0;
  }
  if (!CheckEntry("ピクチャーの表示", nPicture, Database.m_vecPicture.size())) return 0;
  const cEdPicture& entry = Database.m_vecPicture[static_cast<size_t>(nPicture)];
  const int32_t nPercent = CmdParam(cmd, 7);
  auto itSurface = g_PictureSurfaces.begin();
  std::advance(itSurface, std::min(nAt, g_PictureSurfaces.size()));
  DDSURFACEDATA& surface = *g_PictureSurfaces.emplace(itSurface);
  auto itImage = g_PictureImages.begin();
  std::advance(itImage, std::min(nAt, g_PictureImages.size()));
  DDIMAGEDATA& image = *g_PictureImages.emplace(itImage);
  DDSetSurfaceName(image.szFileName, entry.m_strFile.c_str());
  image.bColorKey = 1;
  image.nMemory = image.nMemoryType = DDIsDirect3D() && nPercent != 100 && SYSTEMINI.nDDVideoStretch == 0;
  // Without a drawing context (the play run headless) there is nothing to
  // load into: the picture keeps its place in the lists, unseen.
  if (g_DD.lpImageTable &&
      DDCreateSurfaceFromFile(&surface, image.szFileName, 1, g_DD.nBpp, image.nMemory,
                              image.nMemoryType, nullptr, 0, 0, 0, 0) != 0) {
    ErrorBoxF("%s 読み込み失敗！", entry.m_strFile.c_str());
    DebugLogF("%s 読み込み失敗！", entry.m_strFile.c_str());
    PostFatalClose();
    // The lists stay parallel: the records made for it go again.
    DDEraseSurfaceList(g_PictureSurfaces, g_PictureImages, &surface);
    return 0;
  }
  const int32_t w = PercentOf(surface.nWidth, nPercent);
  const int32_t h = PercentOf(surface.nHeight, nPercent);
  double x = 0, y = 0;
  ShowPosition(x, y, w, h, ctx.m_Chara, scene, CmdParam(cmd, 1), CmdParam(cmd, 2), CmdParam(cmd, 3),
               CmdParam(cmd, 4), CmdParam(cmd, 5));
  const int32_t nDisplay = CmdParam(cmd, 8);
  const int32_t bWait = CmdParam(cmd, 10);
  const int32_t nFrames = CmdParam(cmd, 14) ? 1 : Clamp32(static_cast<int64_t>(CmdParam(cmd, 9)) * 6);
  auto itPicture = scene.m_PictureList.begin();
  std::advance(itPicture, std::min(nAt, scene.m_PictureList.size()));
  cPictureObj& picture = *scene.m_PictureList.emplace(itPicture);
  picture.Setup(nPicture, x, y, w, h, CmdParam(cmd, 11), CmdParam(cmd, 6), nPercent, nDisplay, nFrames,
                bWait, bIdMode, nId);
  if (!bWait) return 0;
  if (nDisplay == SHOW_UNTIL_KEY)
    SetWaitData(scene.m_Wait, WAIT_PICTURE, 1, 0, 0);
  else if (nDisplay == SHOW_TIMED)
    SetWaitData(scene.m_Wait, WAIT_PICTURE, 0, nFrames, 0);
  scene.RunWait(0);
  // The picture goes with its wait, unless it ended by itself meanwhile.
  size_t i = 0;
  for (auto it = scene.m_PictureList.begin(); it != scene.m_PictureList.end(); ++it, ++i) {
    if (&*it != &picture) continue;
    RemovePictureAt(scene, i);
    break;
  }
  return 0;
}

void RemovePictureAt(cPlayScene& scene, size_t nAt) {
  if (nAt >= scene.m_PictureList.size()) return;
  scene.m_PictureList.erase(std::next(scene.m_PictureList.begin(), static_cast<ptrdiff_t>(nAt)));
  if (nAt < g_PictureSurfaces.size()) {
    auto it = std::next(g_PictureSurfaces.begin(), static_cast<ptrdiff_t>(nAt));
    DDReleaseSurface(&*it);
    g_PictureSurfaces.erase(it);
  }
  if (nAt < g_PictureImages.size())
    g_PictureImages.erase(std::next(g_PictureImages.begin(), static_cast<ptrdiff_t>(nAt)));
}

int CmdScreenColor(const CMDCONTEXT& ctx) {
  int32_t anValues[8];
  for (int i = 0; i < 8; ++i) anValues[i] = CmdParam(ctx.m_Cmd, i);
  ctx.m_Scene.m_ScreenColor.SetFromCommand(anValues);
  return 0;
}

int CmdBackground(const CMDCONTEXT& ctx) {
  const cFlowCmd& cmd = ctx.m_Cmd;
  const uint32_t nIndex = static_cast<uint32_t>(CmdParam(cmd, 0)) - 1u;
  if (nIndex >= g_Stage.m_vecBgs.size()) return 0;
  int32_t& bShown = g_Stage.m_vecBgs[nIndex].m_bShown;
  switch (CmdParam(cmd, 1)) {
    case 0:
      bShown = 1;
      break;
    case 1:
      bShown = 0;
      break;
    case 2:
      bShown = bShown ? 0 : 1;
      break;
    default:
      break;
  }
  return 0;
}
