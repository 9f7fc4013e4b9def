#include "database_test_support.h"

#include <filesystem>

#include "base/logs.h"

cDatabase MakeSampleDatabase() {
  cDatabase db;
  for (int i = 0; i < 3; ++i) {
    cEdAnimeSet set;
    set.m_strName = "set" + std::to_string(i);
    set.m_nInvincibleCellOffset = 0x0A0B0C00 + i;
    set.m_nBlockCellOffset = -7 - i;
    set.m_nFlyCellOffset = 0x11 * (i + 1);
    set.m_vecAnime.push_back(cEdAnime());
    set.m_vecAnime.back().m_strName = "extra";
    db.m_vecAnimeSet.push_back(set);
  }
  cEdAnime anime;
  anime.m_strName = "swing";
  anime.m_wSetting1 = 0x1234;
  anime.m_bySetting = 0xA5;
  anime.m_wSetting2 = -2;
  anime.m_vecFrame.clear();
  for (int k = 0; k < 3; ++k) {
    cEdAnimeFrame f;
    f.m_nCell = 40 + k;
    f.m_nTime = 3 + k;
    f.m_nLock = k == 1;
    anime.m_vecFrame.push_back(f);
  }
  db.m_vecAnime.push_back(anime);
  cEdAnime noFrames;
  noFrames.m_vecFrame.clear();
  db.m_vecAnime.push_back(noFrames);

  db.m_vecBmpCharaExc.At(1).m_strName = "wide";
  db.m_vecBmpCharaExc.At(1).m_strFile = "bmp\\chara_sp\\wide.bmp";
  db.m_vecBmpCharaExc.At(1).m_nExtra = 0x0102;
  db.m_vecBmpCharaExc.At(1).m_bWideFrame = 1;
  db.m_vecBmpCharaExc.At(1).m_nFrameUnits = 3;

  cEdSwordType sword;
  sword.m_strName = "blade";
  sword.m_nExtra = 9;
  sword.m_strFileRight = "bmp\\sword\\r.bmp";
  sword.m_strFileLeft = "bmp\\sword\\l.bmp";
  cEdSwordFrame sf;
  sf.m_nOffsetX = -3;
  sf.m_nOffsetY = 5;
  sf.m_bFlipX = 0;
  sf.m_bFlipY = 1;
  sf.m_nPlace = 2;
  sf.m_nSrcX = 64;
  sf.m_nSrcY = 96;
  sf.m_nWidth = 48;
  sf.m_nHeight = 24;
  sf.m_nTime = 2;
  sword.m_vecFrame.push_back(sf);
  db.m_vecSwordType.push_back(sword);
  cEdSwordType bare;
  bare.m_vecFrame.clear();
  db.m_vecSwordType.push_back(bare);

  cEdEffect effect;
  effect.m_strName = "spark";
  effect.m_strFile = "bmp\\effect\\spark.bmp";
  effect.m_nExtra = 4;
  effect.m_nCellW = 16;
  effect.m_nCellH = 24;
  effect.m_bScale = 1;
  effect.m_vecFrame.push_back(cEdEffectFrame());
  effect.m_vecFrame.back().m_nCell = 7;
  effect.m_vecFrame.back().m_nTime = 9;
  db.m_vecEffect.push_back(effect);

  db.m_vecCharaEffect.At(0).m_nKind = 0;
  db.m_vecCharaEffect.At(1).m_nKind = 4;
  db.m_vecCharaEffect.At(1).m_strName = "wave";
  for (int p = 0; p < kEffectParamCount; ++p) db.m_vecCharaEffect.At(1).m_anParam[p] = 100 + p;
  db.m_vecScrEffect.At(0).m_nKind = 0;
  db.m_vecScrEffect.At(1).m_nKind = 12;
  for (int p = 0; p < kEffectParamCount; ++p) db.m_vecScrEffect.At(1).m_anParam[p] = -200 - p;

  db.m_vecPicture.At(1).m_strName = "title";
  db.m_vecPicture.At(1).m_strFile = "bmp\\picture\\title.bmp";
  db.m_vecPicture.At(1).m_nExtra = 0x7777;
  db.m_vecSound.At(1).m_strName = "jump";
  db.m_vecSound.At(1).m_strFile = "wave\\jump.wav";
  db.m_vecSound.At(1).m_nExtra = 0x5555;
  db.m_vecBgm.At(1).m_strName = "stage";
  db.m_vecBgm.At(1).m_strFile = "bgm\\stage.ogg";
  db.m_vecBgm.At(1).m_nExtra = 0x3333;
  return db;
}

std::vector<Bytes> WriteDatabaseFiles(cDatabase& db) {
  return {WriteListFile(db.m_vecAnimeSet),    WriteListFile(db.m_vecAnime),
          WriteListFile(db.m_vecBmpCharaExc), WriteListFile(db.m_vecSwordType),
          WriteListFile(db.m_vecEffect),      WriteListFile(db.m_vecCharaEffect),
          WriteListFile(db.m_vecScrEffect),   WriteListFile(db.m_vecPicture),
          WriteListFile(db.m_vecSound),       WriteListFile(db.m_vecBgm)};
}

cDatabaseFolder::cDatabaseFolder() {
  std::filesystem::create_directories(m_tmp.Path() + "/data/database");
  for (int i = 0; i < DBFILE_COUNT; ++i) m_astrFiles[i] = Path(i);
}

std::string cDatabaseFolder::Path(int nFile) const {
  std::string strRel = GetDatabaseFilePath(nFile);
  for (char& c : strRel)
    if (c == '\\') c = '/';
  return m_tmp.Path() + "/" + strRel;
}

void cDatabaseFolder::Write(int nFile, const Bytes& bytes) const {
  WriteTestFile(Path(nFile), bytes);
}

void cDatabaseFolder::WriteAll(const std::vector<Bytes>& files) const {
  for (int i = 0; i < DBFILE_COUNT; ++i) Write(i, files[i]);
}

void cDatabaseFolder::Remove(int nFile) const { std::filesystem::remove(Path(nFile)); }

cReportCapture::cReportCapture() { ReportInit((m_tmp / "Report_Game.txt").c_str()); }

std::string cReportCapture::Text() const {
  Bytes v = ReadTestFile(m_tmp / "Report_Game.txt");
  return std::string(v.begin(), v.end());
}

std::vector<std::string> cReportCapture::Lines() const {
  std::vector<std::string> lines;
  std::string strText = Text();
  size_t nStart = 0;
  while (nStart < strText.size()) {
    size_t nEnd = strText.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = strText.size();
    lines.push_back(strText.substr(nStart, nEnd - nStart));
    nStart = nEnd + 1;
  }
  return lines;
}
