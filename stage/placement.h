// How placements and summons become objects of the stage: the characters and
// items placed in the stage (at set-up) and those a summon command creates
// during play, where they stand, which serial numbers they get, when one
// outside the stage is dropped; and how a summoned block enters the block
// grid without trapping the player or a character.
#pragma once

#include <cstdint>

#include "stage/list_walk.h"

class cEdBlock;
class cEdChara;
class cEdItem;
class cGameObj;
class cItemObj;

// What a summon command asks beyond its definition (read from the command's
// shot part by the command).
struct SUMMONRULES {
  int32_t nBlockMode = 0;  // 0 place, 1 erase, 2 place or erase, once per cell
  int32_t bNotOverPlayer = 0;
  int32_t bNotOverChara = 0;
  int32_t bLifetime = 0;
  int32_t nLifeTenths = 0;  // lifetime in tenths of a second
  int32_t bClearScore = 0;  // the summoned character is worth no score
  int32_t nCredit = 0;      // its hits count for its summoner
  int8_t cKey = 0;          // the flow key passed with that credit
};

// Copies 0..copy count of a placed character on its cell (nColumn, nRow,
// the margin not counted), carrying pItem (or none). A copy outside the
// stage is dropped and takes no serial.
void PlaceChara(CHARALIST& list, int32_t nColumn, int32_t nRow, int32_t& nSerial,
                const cEdChara& placement, const cItemObj* pItem);
void PlaceItem(ITEMLIST& list, int32_t nColumn, int32_t nRow, int32_t& nSerial,
               const cEdItem& placement);

// Summons at the stage pixel (x, y) (a 32 x 32 box's top left). A summoned
// character whose place is blocked leaves again at once.
void SummonChara(CHARALIST& list, double x, double y, int32_t nFacing, int32_t nGroup,
                 const SUMMONRULES& rules, const cEdChara& def, int32_t& nSerial,
                 cGameObj* pParent);
void SummonItem(ITEMLIST& list, double x, double y, const SUMMONRULES& rules, const cEdItem& def,
                int32_t& nSerial);
// nDefKey names the palette block (list and index), kept once by the grid.
int SummonBlock(double x, double y, const SUMMONRULES& rules, const cEdBlock& def, int64_t nDefKey);
// 1 when a block in cell nCell (grid column and row) must not be placed;
// everyone under it is spared being squeezed for two update steps.
int CheckSummonCrush(int32_t nCell, int32_t nColumn, int32_t nRow, const SUMMONRULES& rules);
