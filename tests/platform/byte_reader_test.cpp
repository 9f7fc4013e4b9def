// The bounded byte reader: values in both byte orders, what a read past the
// end does to it and to every read after it, chunks, and counts that must
// fit before anything is allocated for them.
#include "platform/io/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace plat::io {
namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x80, 0xFF};

TEST(ByteReader, ValuesInBothByteOrders) {
  struct ROW {
    const char* szRead;
    std::function<uint64_t(cByteReader&)> read;
    size_t nWidth;
    uint64_t nValue;  // read at the start of kBytes
  };
  const ROW rows[] = {
      {"U8", [](cByteReader& r) { return r.U8(); }, 1, 0x01},
      {"U16", [](cByteReader& r) { return r.U16(); }, 2, 0x0201},
      {"U24", [](cByteReader& r) { return r.U24(); }, 3, 0x030201},
      {"U32", [](cByteReader& r) { return r.U32(); }, 4, 0x04030201},
      {"U64", [](cByteReader& r) { return r.U64(); }, 8, 0x0807060504030201},
      {"U16Be", [](cByteReader& r) { return r.U16Be(); }, 2, 0x0102},
      {"U24Be", [](cByteReader& r) { return r.U24Be(); }, 3, 0x010203},
      {"U32Be", [](cByteReader& r) { return r.U32Be(); }, 4, 0x01020304},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(row.szRead);
    cByteReader r(kBytes.data(), kBytes.size());
    EXPECT_EQ(row.read(r), row.nValue);
    EXPECT_EQ(r.Position(), row.nWidth);
    EXPECT_EQ(r.Left(), kBytes.size() - row.nWidth);
    EXPECT_FALSE(r.Failed());
    // One byte short of the value: the read fails, yields 0 and does not move.
    cByteReader shortOne(kBytes.data(), row.nWidth - 1);
    EXPECT_EQ(row.read(shortOne), 0u);
    EXPECT_TRUE(shortOne.Failed());
    EXPECT_EQ(shortOne.Position(), 0u);
  }
  // Signed reads and doubles keep every bit.
  const std::vector<uint8_t> neg = {0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  cByteReader r(neg.data(), neg.size());
  EXPECT_EQ(r.I32(), -2);
  r.Seek(0);
  EXPECT_EQ(r.I16(), -2);
  EXPECT_EQ(r.I8(), -1);
  r.Seek(4);
  EXPECT_EQ(r.F64(), 1.0);
}

TEST(ByteReader, OneFailedReadFailsEveryLaterOne) {
  // After a read past the end, reads that would fit on their own fail too
  // and yield zero; copies leave their targets alone.
  const std::vector<std::function<bool(cByteReader&)>> laterReads = {
      [](cByteReader& r) { return r.U8() == 0; },
      [](cByteReader& r) { return r.U32Be() == 0; },
      [](cByteReader& r) { return r.PeekU8() == 0; },
      [](cByteReader& r) {
        uint8_t by = 0x5A;
        return !r.ReadBytes(&by, 1) && by == 0x5A;
      },
      [](cByteReader& r) { return r.Bytes(1).empty(); },
      [](cByteReader& r) { return !r.Skip(0); },
      [](cByteReader& r) { return !r.Seek(0); },
      [](cByteReader& r) { return !r.Match("\x01", 1); },
      [](cByteReader& r) { return !r.Fits(0, 1); },
      [](cByteReader& r) {
        cByteReader sub = r.Sub(0);
        return sub.Failed() && sub.Size() == 0;
      },
      [](cByteReader& r) { return r.SubAtMost(1).Failed(); },
      [](cByteReader& r) { return r.Left() == 0 && r.AtEnd(); },
  };
  for (size_t i = 0; i < laterReads.size(); ++i) {
    cByteReader r(kBytes.data(), kBytes.size());
    r.Skip(8);
    EXPECT_EQ(r.U32(), 0u);  // 2 bytes left
    ASSERT_TRUE(r.Failed());
    EXPECT_TRUE(laterReads[i](r)) << "read " << i;
    EXPECT_TRUE(r.Failed());
  }
  // Fail() marks a reader bad by hand, in the same way.
  cByteReader r(kBytes.data(), kBytes.size());
  r.Fail();
  EXPECT_EQ(r.U8(), 0u);
}

TEST(ByteReader, SpansSkipsAndSeeks) {
  struct ROW {
    const char* szCase;
    std::function<bool(cByteReader&)> step;
    bool bOk;
    size_t nPosition;  // after the step (unchanged when it fails)
  };
  const ROW rows[] = {
      {"bytes in place", [](cByteReader& r) { return r.Bytes(3).data() == kBytes.data() + 2; },
       true, 5},
      {"every byte left", [](cByteReader& r) { return r.Bytes(8).size() == 8; }, true, 10},
      {"one byte more than left", [](cByteReader& r) { return !r.Bytes(9).empty(); }, false, 2},
      {"skip to the end", [](cByteReader& r) { return r.Skip(8); }, true, 10},
      {"skip past the end", [](cByteReader& r) { return r.Skip(9); }, false, 2},
      {"skip the largest size", [](cByteReader& r) { return r.Skip(SIZE_MAX); }, false, 2},
      {"seek back", [](cByteReader& r) { return r.Seek(1) && r.U8() == 0x02; }, true, 2},
      {"seek to the end", [](cByteReader& r) { return r.Seek(10) && r.AtEnd(); }, true, 10},
      {"seek past the end", [](cByteReader& r) { return r.Seek(11); }, false, 2},
      {"matching tag", [](cByteReader& r) { return r.Match("\x03\x04", 2); }, true, 4},
      // A tag that does not match moves nothing and fails nothing.
      {"other tag", [](cByteReader& r) { return !r.Match("\x03\x05", 2) && !r.Failed(); }, true, 2},
      {"peek", [](cByteReader& r) { return r.PeekU8() == 0x03 && !r.Failed(); }, true, 2},
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(row.szCase);
    cByteReader r(kBytes.data(), kBytes.size());
    r.Skip(2);
    const bool bStep = row.step(r);
    EXPECT_TRUE(row.bOk ? bStep && !r.Failed() : !bStep || r.Failed());
    EXPECT_EQ(r.Failed(), !row.bOk);
    if (row.bOk) {
      EXPECT_EQ(r.Position(), row.nPosition);
    }
  }
}

TEST(ByteReader, ChunksNeverReadPastThemselves) {
  cByteReader r(kBytes.data(), kBytes.size());
  r.Skip(2);
  cByteReader chunk = r.Sub(4);  // 03 04 05 06
  EXPECT_EQ(r.Position(), 6u);
  EXPECT_EQ(chunk.Size(), 4u);
  EXPECT_EQ(chunk.U16Be(), 0x0304u);
  EXPECT_EQ(chunk.U32(), 0u);  // the chunk ends, though the file goes on
  EXPECT_TRUE(chunk.Failed());
  EXPECT_FALSE(r.Failed());  // a chunk's failure stays in the chunk
  EXPECT_EQ(r.U8(), 0x07u);

  // A stored length that lies: Sub refuses it, SubAtMost takes what is there.
  cByteReader a(kBytes.data(), kBytes.size());
  a.Skip(8);
  EXPECT_EQ(a.Sub(3).Size(), 0u);
  EXPECT_TRUE(a.Failed());
  cByteReader b(kBytes.data(), kBytes.size());
  b.Skip(8);
  cByteReader rest = b.SubAtMost(0xFFFFFFFFu);
  EXPECT_FALSE(b.Failed());
  EXPECT_TRUE(b.AtEnd());
  EXPECT_EQ(rest.Size(), 2u);
  EXPECT_EQ(rest.U16(), 0xFF80u);

  // Chunks inside chunks, down to nothing.
  cByteReader outer(kBytes.data(), kBytes.size());
  cByteReader inner = outer.Sub(6).Sub(2);
  EXPECT_EQ(inner.U16Be(), 0x0102u);
  EXPECT_EQ(inner.Sub(0).Size(), 0u);
  EXPECT_FALSE(inner.Failed());
}

TEST(ByteReader, CountsMustFitTheBytesLeftWithoutOverflow) {
  constexpr uint64_t kHuge = std::numeric_limits<uint64_t>::max();
  struct ROW {
    uint64_t nCount;
    size_t nElementBytes;
    bool bFits;  // with 10 bytes left
  };
  const ROW rows[] = {
      {0, 4, true},
      {2, 4, true},
      {2, 5, true},
      {3, 4, false},
      {11, 1, false},
      {10, 1, true},
      // Products that wrap around in 64 bits to something small.
      {0x4000000000000001ull, 4, false},
      {kHuge, 2, false},
      {2, SIZE_MAX, false},
      {kHuge, SIZE_MAX, false},
      {kHuge, 0, true},  // no bytes each: any count fits
  };
  for (const ROW& row : rows) {
    SCOPED_TRACE(testing::Message() << row.nCount << " x " << row.nElementBytes);
    cByteReader r(kBytes.data(), kBytes.size());
    EXPECT_EQ(r.Fits(row.nCount, row.nElementBytes), row.bFits);
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.CheckCount(row.nCount, row.nElementBytes), row.bFits);
    EXPECT_EQ(r.Failed(), !row.bFits);
    EXPECT_EQ(r.Position(), 0u);  // a check reads nothing
  }
}

TEST(ByteReader, EmptyAndNullViews) {
  const std::vector<uint8_t> none;
  for (cByteReader r : {cByteReader(), cByteReader(nullptr, 100), cByteReader(none.data(), 0)}) {
    EXPECT_EQ(r.Size(), 0u);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(r.Skip(0));
    EXPECT_TRUE(r.Match("", 0));
    EXPECT_TRUE(r.Bytes(0).empty());
    EXPECT_EQ(r.Sub(0).Size(), 0u);
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.U8(), 0u);
    EXPECT_TRUE(r.Failed());
  }
}

}  // namespace
}  // namespace plat::io
