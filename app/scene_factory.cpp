// The program's scenes by id.
#include "app/scene_factory.h"

#include "scenes/map_menu_scene.h"
#include "scenes/option_scene.h"
#include "scenes/stage_select_scene.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_scene.h"
#include "stage/play_scene.h"

cScene* BuildGameScene(int nSceneId) {
  switch (nSceneId) {
    case SCENE_TITLE:
      return new cTitleScene;
    case SCENE_WORLDMAP:
      return new cWorldMapScene;
    case SCENE_MAPMENU:
      return new cMapMenuScene;
    case SCENE_STAGESELECT:
      return new cStageSelectScene;
    case SCENE_PLAY:
      return new cPlayScene;
    case SCENE_OPTION:
      return new cOptionScene;
    default:
      return nullptr;
  }
}
