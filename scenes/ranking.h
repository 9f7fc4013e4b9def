// Rankings: every stage keeps, per kind of play, five tables of twenty rows
// (stage score, remaining time, clear time, remaining HP, remaining SP) in a
// file of its own under the player's folder. The stage end asks where a
// result would enter, enters it under the player's name and saves; the world
// map, the stage select and the play's ranking display load and draw a table.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "draw/surface_data.h"
#include "records/record.h"

constexpr int kRankingTables = 5;
constexpr int kRankingRows = 20;
// The table of clear times: lower is better, and its values are times.
constexpr int kRankingTimeTable = 2;
// The longest name a new row takes, in characters (a Shift-JIS double-byte
// character counts as one), as long as the name box lets a name be.
constexpr int kRankNameChars = 3;

// One row: whether it holds an entry, the entrant's name and the value.
class cRankData : public cRecord {
 public:
  int32_t m_bValid = 0;
  std::string m_strName;
  int32_t m_nValue = 0;

  cRankData() = default;
  void RegisterFields(int32_t nVersion) override;
};

// One table: its rows, best first, and which way is better.
class cRankList : public cRecord {
 public:
  cSafeVector<cRankData> m_vRows;
  int32_t m_bHigherBetter = 0;  // 1: a higher value is better; 0: a lower one

  // Order flag 0 and twenty empty rows.
  cRankList();
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // The row a new value would take, or -1. A value equal to a row's does
  // not beat it; an empty row takes any value.
  int GetRankPos(int32_t nValue) const;
  // Enters a row before the one the value beats (the table keeps its length:
  // the last row drops out); a value that enters nowhere changes nothing.
  void Insert(const std::string& strName, int32_t nValue);
  // The row count and the rows, as the file holds them.
  void ReadRows(cDataReader& r);
  // Order flag 0; rows added empty or cut until exactly twenty remain (the
  // rows kept stay as they are).
  void InitRows();
};

// One ranking file: its tables.
class cRanking : public cRecord {
 public:
  cSafeVector<cRankList> m_vTables;

  // The default tables (as SetDefault leaves them).
  cRanking();
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
  // A ranking file holds a few kilobytes.
  size_t MaxFileBytes() const override { return kMaxPlayerFileBytes; }

  // Five tables of twenty empty rows; order flags 1, 1, 0, 1, 1.
  void SetDefault();
  // DrawRankList of table nTable (checked against the tables).
  void DrawList(DDSURFACEDATA* lpDstSD, int x, int y, int nTable, int nHighlight);
};

// The ranking of the stage last selected: loaded by the world map, the stage
// select and the play scene's set-up, entered into and saved by the stage
// end.
extern cRanking g_Ranking;

// The ranking file of a stage: the sub-mode's folder (story, challenge, free
// play), the stage base name without its folder (with a story stage's suffix
// before its final "."), and "rkg". 0 (and strOut empty) for a sub-mode with
// no rankings (a replay).
int MakeRankingPath(std::string& strOut, int nSubMode, const std::string& strStageBase,
                    int32_t bSuffix, int32_t nSuffix1, int32_t nSuffix2);
// 1 when the stage's file was read whole; otherwise the default tables and 0
// (a missing, damaged or too new file, or a replay).
int LoadRanking(cRanking& ranking, int nSubMode, const std::string& strStageBase, int32_t bSuffix,
                int32_t nSuffix1, int32_t nSuffix2);
// 1 when the file was written (atomically: a failed save keeps the old file
// and is reported); 0 when it was not, or the sub-mode keeps no rankings.
int SaveRanking(cRanking& ranking, int nSubMode, const std::string& strStageBase, int32_t bSuffix,
                int32_t nSuffix1, int32_t nSuffix2);

// One table in a framed box at (x, y): its caption, then each valid row's
// place, name and value; the mark beside row nHighlight unless it is -1.
void DrawRankList(cRankList& list, DDSURFACEDATA* lpDstSD, int x, int y, int nTable,
                  int nHighlight);

// How many entries of the list equal the value.
int CountIntValue(const cSafeVector<int32_t>& vecValues, int32_t nValue);
