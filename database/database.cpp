#include "database/database.h"

#include <memory>

#include "base/global_order.h"
#include "base/logs.h"
#include "base/paths.h"

GLOBAL_OBJECT(GLOBAL_DATABASE) cDatabase Database;

namespace {

// A list body: the 32-bit count, then each entry read over the entry already
// at its place. Entries the list lacks are appended as def (the same as the
// default contents), surplus ones are dropped, so every entry keeps the
// defaults of the fields an old file does not hold.
template <typename V, typename T = typename V::value_type>
void ReadDatabaseList(V& vec, cDataReader& r, const T& def = T()) {
  uint32_t nCount = r.Count(kMinRecordBodyBytes);
  if (r.Failed()) return;
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  vec.resize(nCount, def);
  for (auto& e : vec) {
    e.Read(r);
    if (r.Failed()) return;
  }
}

template <typename V>
int LoadListFile(V& vec, const std::string& strPath) {
  // An open that fails leaves the flag alone; a missing file must not be
  // reported with the refusal of a file read before it.
  bFileTooNew = 0;
  std::unique_ptr<cDataReader> r = DataFileOpenRead(strPath);
  if (!r) return 0;
  ReadDatabaseList(vec, *r);
  // Strings lose their carriage returns as they are read (bStripCR).
  bool bOk = !r->Failed();
  DataFileClose(r);
  return bOk ? 1 : 0;
}

template <typename T>
void MakeDefaultList(cSafeVector<T>& vec, size_t nCount) {
  vec.clear();
  vec.resize(nCount, T());
}

}  // namespace

std::string GetDatabaseFilePath(int nFile) {
  if (nFile < 0 || nFile >= DBFILE_COUNT) return std::string();
  // Each list's path is followed in the path table by its factory twin.
  return g_Paths[PATH_DB_ANIME_SET + 2 * nFile];
}

void ShowDataLoadError(const std::string& strPath) {
  if (bFileTooNew)
    ReportFError(
        "%s の読み込みに失敗しました！\nソフトより上位のバージョンのファイルは使用できません。",
        strPath.c_str());
  else
    ReportFError("%s の読み込みに失敗しました！", strPath.c_str());
}

int LoadScrEffectFile(cSafeVector<cEdScrEffect>& vec, const std::string& strPath) {
  return LoadListFile(vec, strPath);
}
int LoadPictureFile(cSafeVector<cEdPicture>& vec, const std::string& strPath) {
  return LoadListFile(vec, strPath);
}
int LoadSoundFile(cSafeVector<cEdSound>& vec, const std::string& strPath) {
  return LoadListFile(vec, strPath);
}
int LoadBgmFile(cSafeVector<cEdBgm>& vec, const std::string& strPath) {
  return LoadListFile(vec, strPath);
}

cDatabase::cDatabase() { SetDefault(); }

void cDatabase::RegisterFields(int32_t) { ClearFields(); }

void cDatabase::SetDefault() {
  Clear();
  MakeDefaultList(m_vecAnimeSet, 1);
  MakeDefaultList(m_vecAnime, 2);
  m_vecAnime.At(0).m_strName = "なし";
  m_vecAnime.At(1).m_strName = "アクションA";
  MakeDefaultList(m_vecBmpCharaExc, 2);
  MakeDefaultList(m_vecSwordType, 1);
  MakeDefaultList(m_vecEffect, 2);
  MakeDefaultList(m_vecCharaEffect, 2);
  MakeDefaultList(m_vecScrEffect, 2);
  MakeDefaultList(m_vecPicture, 2);
  MakeDefaultList(m_vecSound, 2);
  MakeDefaultList(m_vecBgm, 2);
  m_vecCharaEffectAlt.clear();
  m_vecScrEffectAlt.clear();
}

int cDatabase::LoadAll() {
  std::string astrPath[DBFILE_COUNT];
  for (int i = 0; i < DBFILE_COUNT; ++i) astrPath[i] = GetDatabaseFilePath(i);
  return LoadAll(astrPath);
}

bool cDatabase::ReadList(int nFile, cDataReader& r) {
  switch (nFile) {
    case DBFILE_ANIMESET:
      ReadDatabaseList(m_vecAnimeSet, r);
      break;
    case DBFILE_ANIME:
      ReadDatabaseList(m_vecAnime, r);
      break;
    case DBFILE_BMPCHARAEXC:
      ReadDatabaseList(m_vecBmpCharaExc, r);
      break;
    case DBFILE_SWORDTYPE:
      ReadDatabaseList(m_vecSwordType, r);
      break;
    case DBFILE_EFFECT:
      ReadDatabaseList(m_vecEffect, r);
      break;
    case DBFILE_CHARAEFFECT:
      ReadDatabaseList(m_vecCharaEffect, r);
      break;
    case DBFILE_SCREFFECT:
      ReadDatabaseList(m_vecScrEffect, r);
      break;
    case DBFILE_PICTURE:
      ReadDatabaseList(m_vecPicture, r);
      break;
    case DBFILE_SOUND:
      ReadDatabaseList(m_vecSound, r);
      break;
    case DBFILE_BGM:
      ReadDatabaseList(m_vecBgm, r);
      break;
    default:
      r.Fail();
      break;
  }
  return !r.Failed();
}

int cDatabase::LoadAll(const std::string (&astrPath)[DBFILE_COUNT]) {
  // The lists in file order; the first that cannot be read ends the load.
  for (int nFile = 0; nFile < DBFILE_COUNT; ++nFile) {
    const std::string& strPath = astrPath[nFile];
    // An open that fails leaves the flag alone; a missing file must not be
    // reported with the refusal of a file read before it.
    bFileTooNew = 0;
    std::unique_ptr<cDataReader> r = DataFileOpenRead(strPath);
    // Strings lose their carriage returns as they are read (bStripCR).
    bool bOk = r && ReadList(nFile, *r);
    DataFileClose(r);
    if (!bOk) {
      ShowDataLoadError(strPath);
      return 0;
    }
  }
  ResetNoneEntries();
  return 1;
}

void cDatabase::ResetNoneEntries() {
  // An empty list reports the bad index and writes into a spare element.
  m_vecCharaEffect.At(0).m_nKind = 0;
  m_vecScrEffect.At(0).m_nKind = 0;
}

void cDatabase::MakeAltLists() {
  CopyVector(m_vecCharaEffectAlt, m_vecCharaEffect);
  CopyVector(m_vecScrEffectAlt, m_vecScrEffect);
}
