#include "records/database/database.h"

#include <memory>

#include "app/logs.h"

cDatabase Database;

namespace {

// Where the project keeps its lists; the factory copies under default\ reach
// data\ only through the copy of the factory data at start-up.
const std::string kDatabaseFilePaths[DBFILE_COUNT] = {
    "data\\database\\AnimeSet.dat",     "data\\database\\Anime.dat",
    "data\\database\\Bmp_CharaExc.dat", "data\\database\\SwordType.dat",
    "data\\database\\Effect.dat",       "data\\database\\CharaEffect.dat",
    "data\\database\\ScrEffect.dat",    "data\\database\\Picture.dat",
    "data\\database\\Sound.dat",        "data\\database\\Bgm.dat",
};

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

const std::string& GetDatabaseFilePath(int nFile) {
  static const std::string strNone;
  if (nFile < 0 || nFile >= DBFILE_COUNT) return strNone;
  return kDatabaseFilePaths[nFile];
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

int cDatabase::LoadAll() { return LoadAll(kDatabaseFilePaths); }

int cDatabase::LoadAll(const std::string (&astrPath)[DBFILE_COUNT]) {
  // One step per list, in file order; the first failure ends the load.
  auto Step = [&](auto& vec, int nFile) {
    if (LoadListFile(vec, astrPath[nFile])) return true;
    ShowDataLoadError(astrPath[nFile]);
    return false;
  };
  if (!Step(m_vecAnimeSet, DBFILE_ANIMESET)) return 0;
  if (!Step(m_vecAnime, DBFILE_ANIME)) return 0;
  if (!Step(m_vecBmpCharaExc, DBFILE_BMPCHARAEXC)) return 0;
  if (!Step(m_vecSwordType, DBFILE_SWORDTYPE)) return 0;
  if (!Step(m_vecEffect, DBFILE_EFFECT)) return 0;
  if (!Step(m_vecCharaEffect, DBFILE_CHARAEFFECT)) return 0;
  if (!Step(m_vecScrEffect, DBFILE_SCREFFECT)) return 0;
  if (!Step(m_vecPicture, DBFILE_PICTURE)) return 0;
  if (!Step(m_vecSound, DBFILE_SOUND)) return 0;
  if (!Step(m_vecBgm, DBFILE_BGM)) return 0;
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
