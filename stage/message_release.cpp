// The message surfaces of a run go with the run: every text forgets its
// surface first, so none can release a record that is no longer its own.
#include "draw/surface_collections.h"
#include "scenes/message_surfaces.h"
#include "stage/play_scene.h"

void cPlayScene::ReleaseMessageSurfaces() {
  for (cTextObj& text : m_TextList) text.DropSurface();
  DDReleaseSurfaceList(Off_Msg);
  Off_Msg.clear();
  g_MsgImages.clear();
}
