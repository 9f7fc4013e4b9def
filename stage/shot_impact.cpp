#include "stage/game_obj.h"
#include "stage/shot_obj.h"

void cGameObj::ImpactFromShot(const cShotObj& shot) {
  if (shot.m_nIsShot == 0)
    ApplyImpact(shot.m_Def.m_cImpact, shot.m_nFacing == 1 ? 1 : -1, 0);
  else
    ApplyImpact(shot.m_Def.m_cImpact, shot.m_dVX, shot.m_dVY);
}
