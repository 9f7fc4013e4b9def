// What the display commands share with the rest of the play: where a thing
// of a size is shown, by the position kinds the commands offer, and the
// removal of one picture with its surface.
#pragma once

#include <cstddef>
#include <cstdint>

class cGameObj;
class cPlayScene;

// Position kinds: the centre of the view, the centre of the character's or
// the player's drawing, a cell of the screen, a cell of the stage.
enum : int32_t {
  SHOWPOS_VIEW_CENTRE = 0,
  SHOWPOS_CHARA = 1,
  SHOWPOS_PLAYER = 2,
  SHOWPOS_SCREEN_CELL = 3,
  SHOWPOS_STAGE_CELL = 4,
};

// The stage position of the top-left corner of a thing of w x h shown by
// position kind nKind, moved by the offsets. Other kinds show at the
// centre of the view.
void ShowPosition(double& x, double& y, int32_t w, int32_t h, const cGameObj& chara,
                  const cPlayScene& scene, int32_t nKind, int32_t nColumn, int32_t nRow,
                  int32_t nOffX, int32_t nOffY);

// The picture at position nAt of the scene's list goes, with its surface
// and its record (the three lists stay parallel); nothing past the end.
void RemovePictureAt(cPlayScene& scene, size_t nAt);
