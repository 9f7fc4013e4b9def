// One fuzz input for the project database: the first byte chooses the file
// (one of the ten lists, or the common palette) and the rest is that file.
// A list is read into the database over its defaults and the post-load
// tables are built from it, as start-up does; a list or palette that loads
// must write back bytes that load again to the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "database/database.h"
#include "database/post_load_tables.h"
#include "palette/common_palette.h"
#include "records/record.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

// Writes list nFile of the database as a list file.
inline std::vector<uint8_t> WriteDatabaseList(cDatabase& db, int nFile) {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  switch (nFile) {
    case DBFILE_ANIMESET:
      WriteRecordVector(db.m_vecAnimeSet, *w);
      break;
    case DBFILE_ANIME:
      WriteRecordVector(db.m_vecAnime, *w);
      break;
    case DBFILE_BMPCHARAEXC:
      WriteRecordVector(db.m_vecBmpCharaExc, *w);
      break;
    case DBFILE_SWORDTYPE:
      WriteRecordVector(db.m_vecSwordType, *w);
      break;
    case DBFILE_EFFECT:
      WriteRecordVector(db.m_vecEffect, *w);
      break;
    case DBFILE_CHARAEFFECT:
      WriteRecordVector(db.m_vecCharaEffect, *w);
      break;
    case DBFILE_SCREFFECT:
      WriteRecordVector(db.m_vecScrEffect, *w);
      break;
    case DBFILE_PICTURE:
      WriteRecordVector(db.m_vecPicture, *w);
      break;
    case DBFILE_SOUND:
      WriteRecordVector(db.m_vecSound, *w);
      break;
    default:
      WriteRecordVector(db.m_vecBgm, *w);
      break;
  }
  return w->Data();
}

// Reads a list file into a database at its defaults; false when refused.
inline bool ReadDatabaseList(cDatabase& db, int nFile, const uint8_t* pData, size_t nSize) {
  db.SetDefault();
  std::unique_ptr<cDataReader> r = DataFileOpenBytes(pData, nSize);
  return r && db.ReadList(nFile, *r);
}

// True when the file was read.
inline bool FuzzDatabase(const uint8_t* pData, size_t nSize) {
  if (nSize < 1) return false;
  const int nFile = pData[0] % (DBFILE_COUNT + 1);
  ++pData;
  --nSize;
  if (nFile == DBFILE_COUNT) {
    cCommonPalette palette;
    if (!palette.LoadFromBytes(pData, nSize)) return false;
    Check(palette.m_vecBlock.size() >= 2 && palette.m_vecChara.size() >= 2 &&
              palette.m_vecItem.size() >= 2,
          "a loaded palette has its none entry and one more in every list");
    const std::vector<uint8_t> first = palette.SaveToBytes();
    cCommonPalette again;
    Check(again.LoadFromBytes(first.data(), first.size()) == 1, "a written palette loads again");
    Check(again.SaveToBytes() == first, "and writes back the same bytes");
    return true;
  }
  if (!ReadDatabaseList(Database, nFile, pData, nSize)) return false;
  const std::vector<uint8_t> first = WriteDatabaseList(Database, nFile);
  // Start-up's steps after the lists.
  Database.ResetNoneEntries();
  Database.MakeAltLists();
  cSafeVector<ANIMESEQUENCE> anime, effect;
  cSafeVector<cCharaEffectRun> charaRun, charaRunAlt;
  cSafeVector<cScrEffectRun> scrRun, scrRunAlt;
  BuildAnimeFrameTable(anime);
  BuildEffectFrameTable(effect);
  BuildCharaEffectTables(charaRun, charaRunAlt);
  BuildScrEffectTables(scrRun, scrRunAlt);
  Check(anime.size() == Database.m_vecAnime.size(), "one frame table per animation");
  Check(effect.size() == Database.m_vecEffect.size(), "one frame table per effect");

  static cDatabase again;
  Check(ReadDatabaseList(again, nFile, first.data(), first.size()), "a written list loads again");
  Check(WriteDatabaseList(again, nFile) == first, "and writes back the same bytes");
  return true;
}

}  // namespace fuzz
