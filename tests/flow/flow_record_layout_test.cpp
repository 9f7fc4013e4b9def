// Stored layouts of the flow records at every format gate, and the bodies a
// current write gives.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "flow/flow.h"
#include "support/byte_builder.h"

namespace {

struct LAYOUTROW {
  const char* szClass;
  int32_t nVersion;
  size_t nFields;
  int nBytes;
  size_t nStrings;
};

FIELDTABLE TableOf(const char* szClass, int32_t v) {
  const std::string s = szClass;
  std::unique_ptr<cRecord> p;
  if (s == "cCond") p = std::make_unique<cCond>();
  if (s == "cKeyCond") p = std::make_unique<cKeyCond>();
  if (s == "cCondList") p = std::make_unique<cCondList>();
  if (s == "cFlow") p = std::make_unique<cFlow>();
  if (s == "cFlowCmd") p = std::make_unique<cFlowCmd>();
  if (s == "cEdMove") p = std::make_unique<cEdMove>();
  if (s == "cEdShot") p = std::make_unique<cEdShot>();
  return p->GetFieldTable(v);
}

TEST(FlowRecordLayout, FieldsAndBytesAtEveryGate) {
  const LAYOUTROW rows[] = {
      {"cCond", 42, 6, 11, 0},     {"cCond", 43, 7, 12, 0},     {"cCond", 109, 7, 12, 0},
      {"cCond", 110, 17, 28, 0},   {"cCond", 783, 17, 28, 0},   {"cKeyCond", 1, 5, 7, 0},
      {"cKeyCond", 783, 5, 7, 0},  {"cCondList", 783, 2, 2, 0}, {"cFlow", 675, 8, 8, 0},
      {"cFlow", 676, 8, 8, 1},     {"cFlow", 761, 8, 8, 1},     {"cFlow", 762, 9, 9, 1},
      {"cFlow", 766, 9, 9, 1},     {"cFlow", 767, 10, 10, 1},   {"cFlowCmd", 1, 8, 12, 1},
      {"cFlowCmd", 783, 8, 12, 1}, {"cEdMove", 157, 28, 48, 0}, {"cEdMove", 158, 29, 49, 0},
      {"cEdMove", 159, 30, 50, 0}, {"cEdMove", 161, 30, 50, 0}, {"cEdMove", 162, 32, 52, 0},
      {"cEdMove", 766, 32, 52, 0}, {"cEdMove", 767, 33, 53, 0}, {"cEdShot", 157, 52, 83, 0},
      {"cEdShot", 158, 53, 84, 0}, {"cEdShot", 196, 53, 84, 0}, {"cEdShot", 197, 54, 85, 0},
      {"cEdShot", 210, 54, 85, 0}, {"cEdShot", 211, 55, 86, 0}, {"cEdShot", 212, 55, 86, 0},
      {"cEdShot", 213, 58, 91, 0}, {"cEdShot", 635, 58, 91, 0}, {"cEdShot", 636, 59, 92, 0},
      {"cEdShot", 670, 59, 92, 0}, {"cEdShot", 671, 60, 93, 0}, {"cEdShot", 761, 60, 93, 0},
      {"cEdShot", 762, 62, 95, 0}, {"cEdShot", 766, 62, 95, 0}, {"cEdShot", 767, 64, 97, 0},
  };
  for (const LAYOUTROW& row : rows) {
    FIELDTABLE t = TableOf(row.szClass, row.nVersion);
    EXPECT_EQ(t.vFields.size(), row.nFields) << row.szClass << " " << row.nVersion;
    EXPECT_EQ(t.NumericBytes(), row.nBytes) << row.szClass << " " << row.nVersion;
    EXPECT_EQ(t.vStrings.size(), row.nStrings) << row.szClass << " " << row.nVersion;
  }
}

std::vector<uint8_t> BodyOf(cRecord& rec) {
  cDataWriter w;
  rec.Write(w);
  return w.Data();
}

TEST(FlowRecordLayout, NewMovementPartWritesItsDefaultsInFileOrder) {
  cEdMove move;
  const std::vector<uint8_t> expected = cByteBuilder()
                                            .Count(33)
                                            .U8(0)
                                            .U8(0)
                                            .I16(0)
                                            .I16(0)
                                            .U8(1)
                                            .U8(1)
                                            .U8(1)  // M1..M7
                                            .I16(0)
                                            .I16(0)
                                            .I16(0)
                                            .I16(0)  // M8..M11
                                            .U8(0)
                                            .U8(1)
                                            .U8(0)
                                            .U8(0)
                                            .U8(1)
                                            .U8(0)
                                            .U8(1)
                                            .U8(0)
                                            .U8(0)  // M12..M20
                                            .U8(0)
                                            .I16(10)
                                            .I16(0)
                                            .I16(0)
                                            .I16(0)
                                            .U8(0)  // M21..M26
                                            .I16(0)
                                            .I16(0)
                                            .U8(0)
                                            .I16(0)
                                            .F64(1.0)
                                            .U8(0)
                                            .U8(0)  // M27..M33
                                            .Count(0)
                                            .Bytes();
  EXPECT_EQ(BodyOf(move), expected);
  EXPECT_EQ(expected.size(), 61u);
}

TEST(FlowRecordLayout, ShotPartRegistersInFileOrderNotMemberOrder) {
  cEdShot shot;
  shot.m_sRange = 0x1111;        // S37, stored before S38
  shot.m_cRangeOn = 0x22;        // S38
  shot.m_cOption56 = 0x33;       // S56, stored after S55
  shot.m_cSummonPalette = 0x44;  // S58
  const std::vector<uint8_t> body = BodyOf(shot);
  ASSERT_EQ(body.size(), 105u);
  // Offsets within the numeric block (after the 4-byte count).
  const size_t nRange = 4 + 58, nOption56 = 4 + 87;
  EXPECT_EQ(body[nRange], 0x11);
  EXPECT_EQ(body[nRange + 1], 0x11);
  EXPECT_EQ(body[nRange + 2], 0x22);
  EXPECT_EQ(body[nOption56], 0x33);
  EXPECT_EQ(body[nOption56 + 2], 0x44);  // S57 lies between
}

TEST(FlowRecordLayout, NewRecordsHaveTheirDefaults) {
  cFlow flow;
  EXPECT_EQ(flow.m_cKeyGap, 3);
  cFlowCmd cmd;
  EXPECT_EQ(cmd.m_cSoundOnScreen, 1);
  EXPECT_FALSE(cmd.m_pMove || cmd.m_pShot || cmd.m_pCondList);
  cKeyCond key;
  EXPECT_EQ(key.m_vecKeys.size(), 19u);
  key.m_vecKeys.assign(25, 7);
  key.Reset();
  EXPECT_EQ(key.m_vecKeys, cSafeVector<uint8_t>(19, 7));
  cEdShot shot;
  EXPECT_EQ(shot.m_cMirrorAngle, 1);
  EXPECT_EQ(shot.m_cScale, 1);
  EXPECT_EQ(shot.m_cFactionFromShooter, 1);
  EXPECT_EQ(shot.m_cMirrorOffsetX, 1);
}

}  // namespace
