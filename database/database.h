// The database: the project's shared catalogue of animations, bitmap sets,
// sword types, effects, character and screen effects, pictures, sounds and
// music, read once at start-up from ten list files and only read afterwards.
// Every record names an entry by its index, and entry 0 of every list is the
// none entry, so an index of 0 means none.
#pragma once

#include <string>

#include "base/safe_vector.h"
#include "database/anime_set.h"
#include "database/effect_defs.h"
#include "database/media_entries.h"
#include "database/sword_effect.h"
#include "records/record.h"

// The ten list files in the order they are read.
enum eDatabaseFile {
  DBFILE_ANIMESET,
  DBFILE_ANIME,
  DBFILE_BMPCHARAEXC,
  DBFILE_SWORDTYPE,
  DBFILE_EFFECT,
  DBFILE_CHARAEFFECT,
  DBFILE_SCREFFECT,
  DBFILE_PICTURE,
  DBFILE_SOUND,
  DBFILE_BGM,
  DBFILE_COUNT
};

class cDatabase : public cRecord {
 public:
  cSafeVector<cEdAnimeSet> m_vecAnimeSet;
  cSafeVector<cEdAnime> m_vecAnime;
  cSafeVector<cEdBmpCharaExc> m_vecBmpCharaExc;
  cSafeVector<cEdSwordType> m_vecSwordType;
  cSafeVector<cEdEffect> m_vecEffect;
  cSafeVector<cEdCharaEffect> m_vecCharaEffect;
  cSafeVector<cEdScrEffect> m_vecScrEffect;
  cSafeVector<cEdPicture> m_vecPicture;
  cSafeVector<cEdSound> m_vecSound;
  cSafeVector<cEdBgm> m_vecBgm;
  // Copies of the two effect lists that the reversed run tables exchange
  // values in, so the loaded lists stay as read.
  cSafeVector<cEdCharaEffect> m_vecCharaEffectAlt;
  cSafeVector<cEdScrEffect> m_vecScrEffectAlt;

  cDatabase();

  // The database as a whole is never a file: nothing is registered.
  void RegisterFields(int32_t nVersion) override;

  // Default contents: 1, 2, 2, 1, 2, 2, 2, 2, 2, 2 entries in list order,
  // the animations named "なし" and "アクションA"; the copies empty.
  void SetDefault();

  // Reads the ten files of the project's data folder in list order. 1 when
  // all were read; 0 at the first one that could not be, after its error
  // box (the lists before it hold the files, the rest their defaults).
  int LoadAll();
  // The same from the given files, in eDatabaseFile order.
  int LoadAll(const std::string (&astrPath)[DBFILE_COUNT]);

  // Reads list nFile (eDatabaseFile) from a list file opened at its body;
  // false when the body is damaged (the reader has failed).
  bool ReadList(int nFile, cDataReader& r);

  // Entry 0 of both effect lists is the none effect, whatever a file held.
  void ResetNoneEntries();

  // Makes the two copies equal to the loaded effect lists.
  void MakeAltLists();
};

extern cDatabase Database;

// The list file's path ("data\database\..."), for n in eDatabaseFile order;
// "" for any other n.
std::string GetDatabaseFilePath(int nFile);

// Error box and log line for a list file that could not be read; a file
// refused as too new gets the sentence saying so.
void ShowDataLoadError(const std::string& strPath);

// Loaders of single list files: 1 when the whole file was read, 0 when it
// could not be opened, was refused or is damaged.
int LoadScrEffectFile(cSafeVector<cEdScrEffect>& vec, const std::string& strPath);
int LoadPictureFile(cSafeVector<cEdPicture>& vec, const std::string& strPath);
int LoadSoundFile(cSafeVector<cEdSound>& vec, const std::string& strPath);
int LoadBgmFile(cSafeVector<cEdBgm>& vec, const std::string& strPath);
