// The database: default contents, the stored form of every entry, the ten
// list files read in order with their error messages, and damaged files.
#include "database/database.h"

#include <gtest/gtest.h>

#include "database/database_startup.h"
#include "database/post_load_tables.h"
#include "database_test_support.h"
#include "records/database_refs.h"

namespace {

void AddDefaultAnime(cByteBuilder& b, const std::string& strName) {
  b.Count(3).I16(0).U8(1).I16(0).Count(1).Str(strName);
  b.Count(1).Count(3).I32(0).I32(1).I32(0).Count(0);
}

// Default entries as the files store them, built by hand from the layouts.
TEST(Database, DefaultEntriesHaveTheirStoredForm) {
  cByteBuilder anime = cByteBuilder::File(783);
  AddDefaultAnime(anime, "");
  cByteBuilder set = cByteBuilder::File(783);
  set.Count(3).I32(4).I32(8).I32(0).Count(1).Str("").Count(4);
  for (const char* sz : {"立ち", "立ち移動", "飛行", "飛行移動"}) AddDefaultAnime(set, sz);
  cByteBuilder sword = cByteBuilder::File(783);
  sword.Count(1).I32(0).Count(3).Str("").Str("").Str("").Count(1);
  sword.Count(10).I32(0).I32(0).I32(1).I32(0).I32(0).I32(0).I32(0).I32(0).I32(0).I32(1).Count(0);
  cByteBuilder effect = cByteBuilder::File(783);
  effect.Count(4).I32(0).I32(32).I32(32).I32(0).Count(2).Str("").Str("");
  effect.Count(1).Count(2).I32(0).I32(1).Count(0);
  Bytes def = cByteBuilder::File(783).Count(2).I32(1).Zeros(20).Count(1).Str("");
  Bytes media = cByteBuilder::File(783).Count(1).I32(0).Count(2).Str("").Str("");
  Bytes bmpset = cByteBuilder::File(783).Count(3).I32(0).I32(0).I32(2).Count(2).Str("").Str("");

  EXPECT_EQ(cEdAnime().SaveToBytes(), anime.Bytes());
  EXPECT_EQ(cEdAnimeSet().SaveToBytes(), set.Bytes());
  EXPECT_EQ(cEdSwordType().SaveToBytes(), sword.Bytes());
  EXPECT_EQ(cEdEffect().SaveToBytes(), effect.Bytes());
  EXPECT_EQ(cEdCharaEffect().SaveToBytes(), def);
  EXPECT_EQ(cEdScrEffect().SaveToBytes(), def);
  EXPECT_EQ(cEdPicture().SaveToBytes(), media);
  EXPECT_EQ(cEdBgm().SaveToBytes(), media);
  EXPECT_EQ(cEdSound().SaveToBytes(), media);
  EXPECT_EQ(cEdBmpCharaExc().SaveToBytes(), bmpset);
}

TEST(Database, DefaultContents) {
  cDatabase db;
  EXPECT_EQ(db.m_vecAnimeSet.size(), 1u);
  EXPECT_EQ(db.m_vecAnime.size(), 2u);
  EXPECT_EQ(db.m_vecBmpCharaExc.size(), 2u);
  EXPECT_EQ(db.m_vecSwordType.size(), 1u);
  EXPECT_EQ(db.m_vecEffect.size(), 2u);
  EXPECT_EQ(db.m_vecCharaEffect.size(), 2u);
  EXPECT_EQ(db.m_vecScrEffect.size(), 2u);
  EXPECT_EQ(db.m_vecPicture.size(), 2u);
  EXPECT_EQ(db.m_vecSound.size(), 2u);
  EXPECT_EQ(db.m_vecBgm.size(), 2u);
  EXPECT_TRUE(db.m_vecCharaEffectAlt.empty());
  EXPECT_TRUE(db.m_vecScrEffectAlt.empty());
  EXPECT_EQ(db.m_vecAnime[0].m_strName, "なし");
  EXPECT_EQ(db.m_vecAnime[1].m_strName, "アクションA");
  EXPECT_EQ(db.m_vecAnimeSet[0].m_vecAnime.size(), 4u);
  EXPECT_EQ(db.m_vecCharaEffect[1].m_nKind, 1);
  EXPECT_EQ(db.m_vecBmpCharaExc[1].m_nFrameUnits, 2);
}

// Every list file read and written again gives the same bytes.
TEST(Database, AllTenFilesReadAndWriteByteForByte) {
  cDatabase sample = MakeSampleDatabase();
  std::vector<Bytes> files = WriteDatabaseFiles(sample);
  cDatabaseFolder folder;
  folder.WriteAll(files);
  cReportCapture report;

  cDatabase db;
  ASSERT_EQ(db.LoadAll(folder.Files()), 1);
  EXPECT_EQ(WriteDatabaseFiles(db), files);
  EXPECT_EQ(db.m_vecAnimeSet.size(), 4u);
  EXPECT_EQ(db.m_vecAnimeSet[3].m_vecAnime.size(), 5u);
  EXPECT_EQ(db.m_vecSwordType[2].m_vecFrame.size(), 0u);
  EXPECT_EQ(db.m_vecAnime[3].m_vecFrame.size(), 0u);
  EXPECT_EQ(report.Text(), "");
}

TEST(Database, FailingFileStopsTheLoadWithItsMessage) {
  cDatabase sample = MakeSampleDatabase();
  std::vector<Bytes> files = WriteDatabaseFiles(sample);
  for (int nFailing = 0; nFailing < DBFILE_COUNT; ++nFailing) {
    for (bool bTooNew : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << "file " << nFailing << (bTooNew ? " too new" : " missing"));
      cDatabaseFolder folder;
      folder.WriteAll(files);
      if (bTooNew) {
        Bytes newer = files[nFailing];
        newer[0] = 0x10;  // 784
        newer[1] = 0x03;
        folder.Write(nFailing, newer);
      } else {
        folder.Remove(nFailing);
      }
      cReportCapture report;
      cDatabase db;
      EXPECT_EQ(db.LoadAll(folder.Files()), 0);
      std::string strExpected = folder.Path(nFailing) + " の読み込みに失敗しました！";
      if (bTooNew) strExpected += "\nソフトより上位のバージョンのファイルは使用できません。";
      EXPECT_EQ(report.Text(), strExpected + "\n");
      // The lists before the failing one hold the files, the rest their
      // defaults.
      cDatabase def;
      std::vector<Bytes> got = WriteDatabaseFiles(db);
      std::vector<Bytes> defaults = WriteDatabaseFiles(def);
      for (int i = 0; i < DBFILE_COUNT; ++i)
        EXPECT_EQ(got[i], i < nFailing ? files[i] : defaults[i]) << "list " << i;
    }
  }
}

TEST(Database, SingleListLoaders) {
  cDatabase sample = MakeSampleDatabase();
  cDatabaseFolder folder;
  folder.WriteAll(WriteDatabaseFiles(sample));
  cDatabase db;
  EXPECT_EQ(LoadScrEffectFile(db.m_vecScrEffect, folder.Path(DBFILE_SCREFFECT)), 1);
  EXPECT_EQ(LoadPictureFile(db.m_vecPicture, folder.Path(DBFILE_PICTURE)), 1);
  EXPECT_EQ(LoadSoundFile(db.m_vecSound, folder.Path(DBFILE_SOUND)), 1);
  EXPECT_EQ(LoadBgmFile(db.m_vecBgm, folder.Path(DBFILE_BGM)), 1);
  std::vector<Bytes> got = WriteDatabaseFiles(db), want = WriteDatabaseFiles(sample);
  for (int i = DBFILE_SCREFFECT; i <= DBFILE_BGM; ++i) EXPECT_EQ(got[i], want[i]) << "list " << i;
  // Bgm.dat and Picture.dat of the same bytes read the same values.
  EXPECT_EQ(LoadPictureFile(db.m_vecPicture, folder.Path(DBFILE_BGM)), 1);
  EXPECT_EQ(WriteListFile(db.m_vecPicture), WriteListFile(sample.m_vecBgm));
  EXPECT_EQ(LoadSoundFile(db.m_vecSound, folder.Root() + "/missing.dat"), 0);
}

TEST(Database, StartUpStepReportsTheDatabaseFailure) {
  cTempFolder tmp;
  cCurrentFolder cwd(tmp.Path());
  cReportCapture report;
  bFileTooNew = 1;  // left over from a refused file elsewhere
  EXPECT_FALSE(LoadDatabaseAtStartUp());
  EXPECT_EQ(report.Text(),
            "data\\database\\AnimeSet.dat の読み込みに失敗しました！\n"
            "データベースの読み込みに失敗…\n");
}

TEST(Database, StartUpStepLoadsAndBuildsTheTables) {
  cDatabase sample = MakeSampleDatabase();
  cDatabaseFolder folder;
  folder.WriteAll(WriteDatabaseFiles(sample));
  cCurrentFolder cwd(folder.Root());
  cReportCapture report;
  ASSERT_TRUE(LoadDatabaseAtStartUp());
  EXPECT_EQ(report.Text(), "");
  EXPECT_EQ(WriteDatabaseFiles(Database), WriteDatabaseFiles(sample));
  EXPECT_EQ(g_AnimeFrameTable.size(), sample.m_vecAnime.size());
  EXPECT_EQ(g_EffectFrameTable.size(), sample.m_vecEffect.size());
  EXPECT_EQ(g_CharaEffectRunTableAlt.size(), sample.m_vecCharaEffect.size());
  EXPECT_EQ(g_ScrEffectRunTableAlt.size(), sample.m_vecScrEffect.size());
  EXPECT_EQ(Database.m_vecCharaEffectAlt.size(), sample.m_vecCharaEffect.size());
  // Reference checks now measure against the loaded lists.
  EXPECT_EQ(GetDbListSize(DBLIST_ANIMESET), sample.m_vecAnimeSet.size());
  EXPECT_EQ(GetDbListSize(DBLIST_BMPSET), sample.m_vecBmpCharaExc.size());
  EXPECT_EQ(GetDbListSize(DBLIST_SOUND), sample.m_vecSound.size());
  EXPECT_EQ(GetSwordTypeTime(1), 3);  // a default frame of 1 tenth, then one of 2

  SetDbRefSource(nullptr);
  Database.SetDefault();
}

TEST(Database, NoneEntriesAndListSizesFollowTheFiles) {
  cDatabase sample = MakeSampleDatabase();
  for (int i = 0; i < 5; ++i) {
    sample.m_vecCharaEffect.push_back(cEdCharaEffect());
    sample.m_vecCharaEffect.back().m_nKind = 5;
  }
  sample.m_vecCharaEffect[0].m_nKind = 5;
  sample.m_vecCharaEffect[0].m_anParam[2] = 0x0A0B;
  sample.m_vecCharaEffect[0].m_strName = "zero";
  sample.m_vecScrEffect[0].m_nKind = 9;
  sample.m_vecPicture[1].m_strName = "a\r\nb";
  std::vector<Bytes> files = WriteDatabaseFiles(sample);
  cDatabaseFolder folder;
  folder.WriteAll(files);
  cReportCapture report;

  cDatabase db;
  ASSERT_EQ(db.LoadAll(folder.Files()), 1);
  ASSERT_EQ(db.m_vecCharaEffect.size(), 7u);
  EXPECT_EQ(db.m_vecCharaEffect[0].m_nKind, 0);
  EXPECT_EQ(db.m_vecCharaEffect[0].m_anParam[2], 0x0A0B);
  EXPECT_EQ(db.m_vecCharaEffect[0].m_strName, "zero");
  for (int i = 2; i < 7; ++i) EXPECT_EQ(db.m_vecCharaEffect[i].m_nKind, 5);
  EXPECT_EQ(db.m_vecScrEffect[0].m_nKind, 0);
  EXPECT_EQ(db.m_vecPicture[1].m_strName, "a\nb");

  db.MakeAltLists();
  ASSERT_EQ(db.m_vecCharaEffectAlt.size(), 7u);
  ASSERT_EQ(db.m_vecScrEffectAlt.size(), 2u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(db.m_vecCharaEffectAlt[i].SaveToBytes(), db.m_vecCharaEffect[i].SaveToBytes());
  }
  EXPECT_EQ(db.m_vecScrEffectAlt[1].SaveToBytes(), db.m_vecScrEffect[1].SaveToBytes());
}

TEST(Database, EmptyEffectListsNeverReadPastTheirEnd) {
  cDatabase sample = MakeSampleDatabase();
  sample.m_vecCharaEffect.clear();
  sample.m_vecScrEffect.clear();
  cDatabaseFolder folder;
  folder.WriteAll(WriteDatabaseFiles(sample));
  cReportCapture report;

  cDatabase db;
  EXPECT_EQ(db.LoadAll(folder.Files()), 1);
  EXPECT_TRUE(db.m_vecCharaEffect.empty());
  EXPECT_TRUE(db.m_vecScrEffect.empty());
  EXPECT_NE(report.Text().find("err V[0] ( 0 ,"), std::string::npos);
  db.MakeAltLists();
  EXPECT_TRUE(db.m_vecCharaEffectAlt.empty());
}

// Reads one list file held in memory into a default database.
int ReadListBytes(int nFile, const Bytes& file) {
  std::unique_ptr<cDataReader> r = DataFileOpenBytes(file.data(), file.size());
  cDatabase db;
  return r && db.ReadList(nFile, *r) ? 1 : 0;
}

// Every prefix of every list file is refused; the whole file is read.
TEST(Database, TruncatedFilesFailTheLoad) {
  cDatabase sample = MakeSampleDatabase();
  std::vector<Bytes> files = WriteDatabaseFiles(sample);
  for (int nFile = 0; nFile < DBFILE_COUNT; ++nFile) {
    for (size_t nLen = 0; nLen < files[nFile].size(); ++nLen) {
      Bytes cut(files[nFile].begin(), files[nFile].begin() + nLen);
      ASSERT_EQ(ReadListBytes(nFile, cut), 0) << "file " << nFile << " cut at " << nLen;
    }
    EXPECT_EQ(ReadListBytes(nFile, files[nFile]), 1) << "file " << nFile;
  }
}

// Any 4 bytes of any list file replaced by a huge or a negative count: the
// load never allocates what the file cannot hold and never crashes; a list
// count so replaced fails it.
TEST(Database, HostileCountsAreRefused) {
  cDatabase sample = MakeSampleDatabase();
  std::vector<Bytes> files = WriteDatabaseFiles(sample);
  cReportCapture report;
  for (int nFile = 0; nFile < DBFILE_COUNT; ++nFile) {
    for (uint32_t nValue : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x00010000u}) {
      for (size_t nPos = 4; nPos + 4 <= files[nFile].size(); ++nPos) {
        Bytes bad = files[nFile];
        for (int k = 0; k < 4; ++k) bad[nPos + k] = static_cast<uint8_t>(nValue >> (8 * k));
        int nResult = ReadListBytes(nFile, bad);
        if (nPos == 4) {
          EXPECT_EQ(nResult, 0) << "file " << nFile << " list count " << nValue;
        }
      }
    }
  }
}

}  // namespace
