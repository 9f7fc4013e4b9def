// An item lying in the stage, or the item a character carries: a stage
// object with its own copy of its item definition.
#pragma once

#include <cstdint>

#include "palette/ed_item.h"
#include "stage/obj_root.h"

struct DDSURFACEDATA;

class cItemObj : public cObjRoot {
 public:
  cItemObj();

  void OnSizeChange(int32_t nNew, int32_t nOld) override;

  // Set-up from a definition; a held item (carried, or built for a moment
  // to be given) is active at once and keeps scale 1.
  void SetUp(int32_t nId, const cEdItem& def, int bHeld);
  // On a grid cell (the margin not counted); the vertical clamp's result.
  int SetCell(int32_t nColumn, int32_t nRow);
  void Draw(DDSURFACEDATA* pTarget, int bStill);

  int32_t GetScale() const { return static_cast<int8_t>(m_Def.m_cGiant); }

  cEdItem m_Def;
  int32_t m_bHeld = 0;
};
