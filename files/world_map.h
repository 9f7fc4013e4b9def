// The world map (data\WorldMap.dat): the board of the story mode. A grid of
// terrain cells the player's cursor walks over, and points that hold stage
// entries; each entry applies while its conditions on the play progress
// hold. Read once at start-up into g_WorldMap.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "records/record.h"

class cPlayData;
class cStageResult;

// One kind of terrain: its tile in the terrain picture and whether the
// cursor may enter it.
class cWorldTerrain : public cRecord {
 public:
  cWorldTerrain() { Clear(); }
  void RegisterFields(int32_t nVersion) override;

  int32_t m_nKept = 0;  // carried for the editor
  int32_t m_bBlocked = 0;
  int32_t m_nTile = 0;  // 5 tiles of 32 x 32 per row of the picture
  std::string m_strKept;
  std::string m_strName;
};

// Entry kinds.
enum : int32_t { WORLDSTAGE_STAGE = 0, WORLDSTAGE_ROAD = 1, WORLDSTAGE_WALL = 2 };
// After clearing an entry's stage.
enum : int32_t { WORLDAFTER_NOTHING = 0, WORLDAFTER_NEXT_ROUND = 1, WORLDAFTER_TITLE = 2 };

// One entry of a point: a stage, a road or a wall, with the conditions under
// which it applies.
class cWorldStage : public cRecord {
 public:
  cWorldStage() {
    Clear();
    m_nSuffix1 = 1;
  }
  void RegisterFields(int32_t nVersion) override;

  // Whether the required cleared stage, the variable condition and the
  // required score all hold for the play.
  bool Applies(const cPlayData& play) const;

  int32_t m_nKind = 0;      // WORLDSTAGE_*
  int32_t m_nIconRow = 0;   // in the point-icon picture
  int32_t m_nStageNo = 0;   // the cleared-stage flag this entry's stage sets
  int32_t m_bPass = 0;      // the cursor may walk over it while not cleared
  int32_t m_bReplay = 0;    // may be entered again once cleared
  int32_t m_nAfter = 0;     // WORLDAFTER_*
  int32_t m_nRequired = 0;  // a cleared stage it needs (above 0)
  int32_t m_nVariable = 0;  // common variable of the condition, 0 none
  int32_t m_nCompareValue = 0;
  int32_t m_nCompare = 0;   // see CompareMapValue
  int32_t m_nMinScore = 0;  // best-score total it needs
  int32_t m_bSuffix = 0;    // the stage key gets a suffix of the two numbers
  int32_t m_nSuffix1 = 1;
  int32_t m_nSuffix2 = 0;
  std::string m_strTitle;
  std::string m_strStageFile;  // requested in its newest numbered version
};

using WORLDSTAGE_VECTOR = cSafeVector<cWorldStage>;

// A point of the map: where it is, and its entries in order.
class cWorldPoint : public cRecord {
 public:
  cWorldPoint() { Reset(); }
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
  // Cleared, holding one default entry.
  void Reset();
  // The first entry that applies to the play, or null.
  const cWorldStage* FindCurrentEntry(const cPlayData& play) const;

  int32_t m_nX = 0;
  int32_t m_nY = 0;
  std::string m_strName;
  WORLDSTAGE_VECTOR m_vecStages;
};

using WORLDPOINT_VECTOR = cSafeVector<cWorldPoint>;

class cWorldMap : public cRecord {
 public:
  cWorldMap();
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // The map of a new project: 20 x 15 cells, ten terrain kinds (five
  // blocked, five open), no points, one template point.
  void SetDefault();
  // Start cell inside the grid, points outside it removed, the cells laid
  // out for the width.
  void Validate();
  // A new grid of w x h cells keeping the old cells where both grids have
  // them. 0 when either side is not positive.
  int SetSize(int32_t w, int32_t h);

  // The terrain kind under a cell (-1 outside the grid).
  int32_t GetCell(int32_t x, int32_t y) const;
  // The first point at the cell, or null.
  cWorldPoint* FindPointXY(int32_t x, int32_t y);
  // The same for a map cursor: any record with a column and a row.
  template <class CURSOR>
  cWorldPoint* FindPoint(const CURSOR& cursor) {
    return FindPointXY(cursor.nColumn, cursor.nRow);
  }
  // The cell list's index of a cell: the column clamped into the map, a
  // row above the map taken as row 0 and one below it as the last row.
  int32_t GetCellIndex(int32_t x, int32_t y) const;
  // 1 when some stage entry of the map belongs to the result's stage with
  // the given suffix (flag, numbers).
  int HasStageEntry(const cStageResult& result, int32_t bSuffix, int32_t nSuffix1,
                    int32_t nSuffix2) const;

  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_nPitch = 0;  // the power of two at or above the width
  int32_t m_nShift = 0;  // its logarithm: cell (x, y) is x + (y << shift)
  int32_t m_nStartX = 0;
  int32_t m_nStartY = 0;
  int32_t m_nBackColour = 16;  // palette number the screen is filled with
  int32_t m_bPicture = 0;      // the map picture under the cells
  std::string m_strName;
  std::string m_strPicture;
  cSafeVector<cWorldTerrain> m_vecTerrain;
  cSafeVector<int32_t> m_vCells;
  WORLDPOINT_VECTOR m_vecPoints;
  WORLDPOINT_VECTOR m_vecTemplates;  // carried for the editor
};

extern cWorldMap g_WorldMap;

// The map's comparisons of common variable v against the value c: 0 equal,
// 1 different, 2 at least, 3 at most, 4 greater, 5 less, 6 c is 0 or |v| a
// multiple of c, 7 c not 0 and |v| not a multiple; any other kind is false.
bool CompareMapValue(int32_t nKind, int32_t v, int32_t c);

// The stage name the results and entries are matched by: the extension
// removed, then cut at the last "-1" and ended with "." there, or "."
// appended (data\stg4\c01-1.stg4 gives data\stg4\c01.).
std::string MapEntryBaseName(const std::string& strStageFile);

// Start-up: data\WorldMap.dat into g_WorldMap; a failure is reported
// ("%s のロードに失敗！") and ends start-up (false).
bool LoadWorldMapAtStartUp();
