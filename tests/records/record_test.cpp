// The record framework: file framing, versioned declarations, strings, copies
// and the handling of hostile files.
#include "records/record.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One 4-byte integer and one string.
class cPairRecord : public cRecord {
 public:
  int32_t m_nValue = 0;
  std::string m_strText;
  void RegisterFields(int32_t) override {
    ClearFields();
    AddDword(&m_nValue, 1);
    AddString(&m_strText, 1);
  }
};

// A record with a history: a dword dropped at 100, a word added at 100, a
// fixed byte array, a double, a string added at 200, and a tail of a vector
// of sub-records and an embedded record.
class cHistoryRecord : public cRecord {
 public:
  int32_t m_nFirst = 0;
  int16_t m_wAdded = 0;
  uint8_t m_abyArray[3] = {};
  double m_dRate = 0;
  std::string m_strName;
  std::string m_strMemo;
  std::vector<cPairRecord> m_vPairs;
  cPairRecord m_Inner;

  cHistoryRecord() {
    Clear();
    m_wAdded = 77;
    m_strMemo = "memo";
  }
  void RegisterFields(int32_t nVersion) override {
    ClearFields();
    AddDword(&m_nFirst, 1);
    if (nVersion < 100) AddDword(&nDiscardField, 1);
    if (nVersion >= 100) AddWord(&m_wAdded, 1);
    AddByte(m_abyArray, 3);
    AddQword(&m_dRate, 1);
    AddString(&m_strName, 1);
    if (nVersion >= 200) AddString(&m_strMemo, 1);
  }
  void Read(cDataReader& r) override {
    cRecord::Read(r);
    ReadRecordVector(m_vPairs, r);
    ReadSubRecord(m_Inner, r);
  }
  void Write(cDataWriter& w) override {
    cRecord::Write(w);
    WriteRecordVector(m_vPairs, w);
    m_Inner.Write(w);
  }
};

// Records nest without a fixed depth: the reader's depth limit must hold.
class cTreeRecord : public cRecord {
 public:
  std::vector<cTreeRecord> m_vChildren;
  void Read(cDataReader& r) override {
    cRecord::Read(r);
    ReadRecordVector(m_vChildren, r);
  }
  void Write(cDataWriter& w) override {
    cRecord::Write(w);
    WriteRecordVector(m_vChildren, w);
  }
};

cHistoryRecord FilledHistory() {
  cHistoryRecord rec;
  rec.m_nFirst = 0x0A0B0C0D;
  rec.m_wAdded = 0x1234;
  rec.m_abyArray[0] = 0xA1;
  rec.m_abyArray[1] = 0xB2;
  rec.m_abyArray[2] = 0xC3;
  rec.m_dRate = 2.5;
  rec.m_strName = "name";
  rec.m_strMemo = "";
  rec.m_vPairs.resize(2);
  rec.m_vPairs[0].m_nValue = 5;
  rec.m_vPairs[1].m_strText = "second";
  rec.m_Inner.m_nValue = -9;
  rec.m_Inner.m_strText = "inner";
  return rec;
}

TEST(RecordFraming, WritesTheDocumentedBytes) {
  cPairRecord rec;
  rec.m_nValue = 1;
  rec.m_strText = "abc";
  Bytes expected = cByteBuilder::File(783)
                       .Raw(
                           "\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x04\x00\x00\x00"
                           "abc\x00",
                           20)
                       .Bytes();
  EXPECT_EQ(rec.SaveToBytes(), expected);

  cRecord bare;
  EXPECT_EQ(bare.SaveToBytes(), cByteBuilder::File(783).I32(0).I32(0).Bytes());

  rec.m_strText = "";
  EXPECT_EQ(rec.SaveToBytes(), cByteBuilder::File(783).I32(1).I32(1).I32(1).U32(1).Bytes());
}

TEST(RecordFraming, WriteReadWriteIsIdentity) {
  cHistoryRecord rec = FilledHistory();
  Bytes first = rec.SaveToBytes();
  cHistoryRecord back;
  ASSERT_EQ(back.LoadFromBytes(first.data(), first.size()), 1);
  EXPECT_EQ(back.m_nFirst, 0x0A0B0C0D);
  EXPECT_EQ(back.m_dRate, 2.5);
  ASSERT_EQ(back.m_vPairs.size(), 2u);
  EXPECT_EQ(back.m_vPairs[1].m_strText, "second");
  EXPECT_EQ(back.m_Inner.m_strText, "inner");
  EXPECT_EQ(back.SaveToBytes(), first);
}

TEST(RecordFraming, SaveAndLoadThroughFiles) {
  cTempFolder dir;
  cHistoryRecord rec = FilledHistory();
  ASSERT_EQ(rec.Save(dir / "h.dat"), 1);
  EXPECT_EQ(ReadTestFile(dir / "h.dat"), rec.SaveToBytes());
  cHistoryRecord back;
  ASSERT_EQ(back.Load(dir / "h.dat"), 1);
  EXPECT_EQ(back.SaveToBytes(), rec.SaveToBytes());

  // A save that cannot be made reports it; a missing file does not load.
  EXPECT_EQ(rec.Save(dir / "no-such-folder/h.dat"), 0);
  EXPECT_EQ(back.Load(dir / "missing.dat"), 0);
}

TEST(RecordFraming, EmptyNameOpensErr) {
  cTempFolder dir;
  cCurrentFolder here(dir.Path());
  cPairRecord rec;
  rec.m_nValue = 42;
  ASSERT_TRUE(WriteTestFile("err", rec.SaveToBytes()));
  cPairRecord back;
  EXPECT_EQ(back.Load(""), 1);
  EXPECT_EQ(back.m_nValue, 42);
}

// Each version gate read from hand-built bytes: the old layout is consumed
// exactly, and members the file does not hold keep their earlier values.
TEST(RecordVersions, OldLayoutsReadAndUpgrade) {
  struct Case {
    uint32_t nVersion;
    size_t nFields;
    int nNumericBytes;
    size_t nStrings;
  };
  const Case cases[] = {{99, 4, 19, 1}, {100, 4, 17, 1}, {199, 4, 17, 1}, {200, 4, 17, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nVersion);
    cHistoryRecord probe;
    FIELDTABLE t = probe.GetFieldTable(static_cast<int32_t>(c.nVersion));
    EXPECT_EQ(t.vFields.size(), c.nFields);
    EXPECT_EQ(t.NumericBytes(), c.nNumericBytes);
    EXPECT_EQ(t.vStrings.size(), c.nStrings);

    cByteBuilder b = cByteBuilder::File(c.nVersion);
    b.Count(static_cast<uint32_t>(c.nFields)).I32(0x11223344);
    if (c.nVersion < 100)
      b.I32(0x55667788);
    else
      b.I16(0x2468);
    b.U8(0xA1).U8(0xB2).U8(0xC3).F64(-0.75);
    b.Count(static_cast<uint32_t>(c.nStrings)).Str("old");
    if (c.nVersion >= 200) b.Str("new memo");
    b.Count(1).Count(1).I32(0x0BADF00D).Count(1).Str("p");  // one pair
    b.Count(1).I32(3).Count(0);                             // embedded

    cHistoryRecord rec;
    ASSERT_EQ(rec.LoadFromBytes(b.Bytes().data(), b.Size()), 1);
    EXPECT_EQ(rec.m_nFirst, 0x11223344);
    EXPECT_EQ(rec.m_wAdded, c.nVersion < 100 ? 77 : 0x2468);
    EXPECT_EQ(rec.m_abyArray[2], 0xC3);
    EXPECT_EQ(rec.m_dRate, -0.75);
    EXPECT_EQ(rec.m_strName, "old");
    EXPECT_EQ(rec.m_strMemo, c.nVersion >= 200 ? "new memo" : "memo");
    ASSERT_EQ(rec.m_vPairs.size(), 1u);
    EXPECT_EQ(rec.m_vPairs[0].m_nValue, 0x0BADF00D);
    EXPECT_EQ(rec.m_Inner.m_nValue, 3);
    // Written back, it has the current layout.
    EXPECT_EQ(rec.GetFieldTable(nDataVersion).vFields.size(), 4u);
  }
}

TEST(RecordVersions, NewerFilesAreRefused) {
  cTempFolder dir;
  for (uint32_t nVersion : {784u, 0xFFFFFFFFu, 0x80000000u}) {
    SCOPED_TRACE(nVersion);
    Bytes file = cByteBuilder::File(nVersion).I32(1).I32(99).I32(1).Str("x").Bytes();
    ASSERT_TRUE(WriteTestFile(dir / "new.dat", file));
    cPairRecord rec;
    rec.m_nValue = 7;
    EXPECT_EQ(rec.Load(dir / "new.dat"), 0);
    EXPECT_EQ(bFileTooNew, 1);
    EXPECT_EQ(rec.m_nValue, 7);

    ASSERT_TRUE(WriteTestFile(dir / "ok.dat", cByteBuilder::File(783).I32(0).I32(0).Bytes()));
    EXPECT_EQ(rec.Load(dir / "ok.dat"), 1);
    EXPECT_EQ(bFileTooNew, 0);
    EXPECT_EQ(nFileVersion, 783);
  }
}

TEST(RecordStrings, StoredTextsReadBack) {
  struct Case {
    Bytes stored;  // the string's stored form (length and bytes)
    int32_t nStrip;
    std::string expected;
  };
  const Case cases[] = {
      {cByteBuilder().Str("a\r\nb"), 1, "a\nb"},
      {cByteBuilder().Str("a\r\nb"), 0, "a\r\nb"},
      {cByteBuilder().U32(5).Raw("ab\0cd", 5), 1, "ab"},  // a 0 inside the text
      {cByteBuilder().U32(3).Raw("xyz", 3), 1, "xyz"},    // no 0 at all
      {cByteBuilder().U32(0), 1, ""},                     // length 0
      {cByteBuilder().U32(1), 1, ""},
  };
  int32_t nOldStrip = bStripCR;
  for (const Case& c : cases) {
    bStripCR = c.nStrip;
    Bytes file = cByteBuilder::File(783).I32(1).I32(8).I32(1).Append(c.stored).Bytes();
    cPairRecord rec;
    rec.m_strText = "before";
    EXPECT_EQ(rec.LoadFromBytes(file.data(), file.size()), 1);
    EXPECT_EQ(rec.m_strText, c.expected);
  }
  bStripCR = nOldStrip;

  // A text holding a 0 is saved up to it, and the member is cut the same way.
  cPairRecord rec;
  rec.m_strText = std::string("ab\0cd", 5);
  EXPECT_EQ(rec.SaveToBytes(), cByteBuilder::File(783).I32(1).I32(0).I32(1).Str("ab").Bytes());
  EXPECT_EQ(rec.m_strText, "ab");
}

TEST(RecordCopies, ClearCopyAssignAndVectors) {
  cHistoryRecord a = FilledHistory();
  cHistoryRecord b;
  b = a;
  a.m_nFirst = 1;
  a.m_vPairs[0].m_nValue = 99;
  a.m_Inner.m_strText = "changed";
  EXPECT_EQ(b.m_nFirst, 0x0A0B0C0D);
  EXPECT_EQ(b.m_vPairs[0].m_nValue, 5);
  EXPECT_EQ(b.m_Inner.m_strText, "inner");

  // Copy takes the registered members only; Clear empties them only.
  cHistoryRecord c;
  c.Copy(b);
  EXPECT_EQ(c.m_nFirst, 0x0A0B0C0D);
  EXPECT_EQ(c.m_strName, "name");
  EXPECT_TRUE(c.m_vPairs.empty());
  b.Clear();
  EXPECT_EQ(b.m_nFirst, 0);
  EXPECT_EQ(b.m_dRate, 0.0);
  EXPECT_EQ(b.m_strName, "");
  EXPECT_EQ(b.m_vPairs.size(), 2u);

  std::vector<cPairRecord> three(3), five(5), none;
  three[2].m_nValue = 3;
  CopyVector(five, three);
  CopyVector(none, three);
  EXPECT_EQ(five.size(), 3u);
  EXPECT_EQ(none.size(), 3u);
  EXPECT_EQ(none[2].m_nValue, 3);

  cPairRecord s;
  s.m_strText = "x\r\ny\r";
  s.StripCR();
  EXPECT_EQ(s.m_strText, "x\ny");
}

// Hostile and damaged files: every one fails the load, nothing crashes, and
// nothing is allocated beyond what the file could hold.
TEST(RecordHostile, CorruptBodiesFail) {
  const std::pair<const char*, Bytes> cases[] = {
      {"3-byte file", Bytes{0x0F, 0x03, 0x00}},
      {"empty file", Bytes{}},
      {"N = 0x7FFFFFFF", cByteBuilder::File(783).U32(0x7FFFFFFF)},
      {"N = 0xFFFFFFFF", cByteBuilder::File(783).U32(0xFFFFFFFF).U32(0)},
      {"more fields than registered", cByteBuilder::File(783).I32(2).I32(1).I32(2).I32(0)},
      {"M = 0x7FFFFFFF", cByteBuilder::File(783).I32(1).I32(1).U32(0x7FFFFFFF)},
      {"more strings than registered", cByteBuilder::File(783).I32(1).I32(1).I32(2).U32(1).U32(1)},
      {"string past the end", cByteBuilder::File(783).I32(1).I32(1).I32(1).U32(5).Raw("ab", 2)},
      {"string length 0xFFFFFFFF", cByteBuilder::File(783).I32(1).I32(1).I32(1).U32(0xFFFFFFFF)},
      {"field cut short", cByteBuilder::File(783).I32(1).U16(1)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    cPairRecord rec;
    EXPECT_EQ(rec.LoadFromBytes(bytes.data(), bytes.size()), 0);
  }
  // Fewer fields than registered is how older files look: not an error.
  Bytes fewer = cByteBuilder::File(783).I32(0).I32(0);
  cPairRecord rec;
  EXPECT_EQ(rec.LoadFromBytes(fewer.data(), fewer.size()), 1);
}

TEST(RecordHostile, HostileVectorCountsFail) {
  for (uint32_t nCount : {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 1000u}) {
    SCOPED_TRACE(nCount);
    Bytes file = cByteBuilder::File(783).I32(0).I32(0).U32(nCount).I32(0).I32(0).Bytes();
    cTreeRecord rec;
    EXPECT_EQ(rec.LoadFromBytes(file.data(), file.size()), 0);
    EXPECT_TRUE(rec.m_vChildren.empty());
  }
}

TEST(RecordHostile, TruncatedAtEveryLength) {
  Bytes full = FilledHistory().SaveToBytes();
  for (size_t n = 0; n < full.size(); ++n) {
    cHistoryRecord rec;
    EXPECT_EQ(rec.LoadFromBytes(full.data(), n), 0) << "length " << n;
  }
  cHistoryRecord rec;
  EXPECT_EQ(rec.LoadFromBytes(full.data(), full.size()), 1);
}

TEST(RecordHostile, NestingDepthIsBounded) {
  auto Nested = [](int nDepth) {
    cByteBuilder b = cByteBuilder::File(783);
    for (int i = 0; i < nDepth; ++i) b.I32(0).I32(0).Count(1);
    b.I32(0).I32(0).Count(0);
    return b.Bytes();
  };
  Bytes ok = Nested(cDataReader::kMaxDepth - 1);
  Bytes deep = Nested(cDataReader::kMaxDepth);
  Bytes hostile = Nested(10000);
  cTreeRecord rec;
  EXPECT_EQ(rec.LoadFromBytes(ok.data(), ok.size()), 1);
  EXPECT_EQ(rec.LoadFromBytes(deep.data(), deep.size()), 0);
  EXPECT_EQ(rec.LoadFromBytes(hostile.data(), hostile.size()), 0);
}

TEST(RecordHostile, LoadWholeKeepsTheRecordOnFailure) {
  cTempFolder dir;
  cHistoryRecord good = FilledHistory();
  Bytes full = good.SaveToBytes();
  full.resize(full.size() - 3);
  ASSERT_TRUE(WriteTestFile(dir / "cut.dat", full));
  cHistoryRecord rec;
  rec.m_nFirst = 12345;
  EXPECT_EQ(LoadWhole(rec, dir / "cut.dat"), 0);
  EXPECT_EQ(rec.m_nFirst, 12345);
  EXPECT_TRUE(rec.m_vPairs.empty());
}

}  // namespace
