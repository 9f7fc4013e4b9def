// Reading flow records stored by older formats: the fields each layout holds
// and the renumbering of old triggers, commands, conditions and movements.
#include <gtest/gtest.h>

#include "base/program_state.h"
#include "flow/flow.h"
#include "support/byte_builder.h"

namespace {

template <typename T>
int LoadInto(T& rec, const cByteBuilder& b) {
  return rec.LoadFromBytes(b.Bytes().data(), b.Size());
}

// A flow body of the given version: the numeric fields it holds, its memo
// when the version has one, and no conditions, key steps or commands.
cByteBuilder FlowFile(int32_t v, uint8_t cTrigger, uint8_t cGroup) {
  cByteBuilder b = cByteBuilder::File(v);
  const int nFields = 8 + (v >= 762) + (v >= 767);
  b.Count(nFields).U8(0x21).U8(cGroup).U8(0).U8(1).U8(1).U8(cTrigger);
  if (v >= 762) b.U8(1);
  if (v >= 767) b.U8(2);
  b.U8(5).U8(1);
  if (v >= 676)
    b.Count(1).Str("note");
  else
    b.Count(0);
  return b.Count(0).Count(0).Count(0);
}

TEST(FlowUpgrade, FlowLayoutsAtMemoAndPartnerGates) {
  struct {
    int32_t nVersion;
    uint8_t cStorePartner, cPartnerSlot;
  } const rows[] = {{675, 9, 9}, {676, 9, 9}, {761, 9, 9}, {762, 1, 9}, {766, 1, 9}, {767, 1, 2}};
  for (const auto& row : rows) {
    cFlow flow;
    flow.m_cStorePartner = 9;  // fields the file lacks keep what they held
    flow.m_cPartnerSlot = 9;
    ASSERT_EQ(LoadInto(flow, FlowFile(row.nVersion, 1, 0)), 1) << row.nVersion;
    EXPECT_EQ(flow.m_cId, 0x21);
    EXPECT_EQ(flow.m_cStorePartner, row.cStorePartner) << row.nVersion;
    EXPECT_EQ(flow.m_cPartnerSlot, row.cPartnerSlot) << row.nVersion;
    EXPECT_EQ(flow.m_cKeyGap, 5);
    EXPECT_EQ(flow.m_cKeyRepeat, 1);
    EXPECT_EQ(flow.m_strMemo, "");  // never kept, whatever the file holds
  }
}

TEST(FlowUpgrade, TriggerRenumbering) {
  struct {
    int32_t nVersion;
    uint8_t cTrigger, cGroup, cTriggerOut, cGroupOut;
  } const rows[] = {
      {761, 18, 4, 21, 4},  // the three attack triggers moved up at 762
      {761, 17, 4, 17, 4}, {762, 18, 4, 18, 4}, {131, 11, 4, 14, 0},  // 12 at 132, 14 at 164
      {131, 10, 4, 12, 0}, {162, 0, 4, 0, 4},   {162, 3, 4, 3, 0},
      {163, 5, 4, 7, 4},   {164, 5, 4, 5, 4},   {783, 22, 4, 22, 4},
  };
  for (const auto& row : rows) {
    cFlow flow;
    ASSERT_EQ(LoadInto(flow, FlowFile(row.nVersion, row.cTrigger, row.cGroup)), 1);
    EXPECT_EQ(flow.m_cTrigger, row.cTriggerOut) << row.nVersion << " " << int(row.cTrigger);
    EXPECT_EQ(flow.m_cGroup, row.cGroupOut) << row.nVersion << " " << int(row.cTrigger);
  }
}

TEST(FlowUpgrade, ConditionLayoutsBelow43And110) {
  // Version 109: kind, value, two dropped 16-bit values, comparison,
  // percent, shape; 42 has no percent.
  cCond cond;
  cond.m_nRandLow = 77;
  cond.m_sRightVarNum = 66;
  ASSERT_EQ(LoadInto(cond, cByteBuilder::File(109)
                               .Count(7)
                               .U8(2)
                               .I32(0x0A0B0C0D)
                               .I16(0x1111)
                               .I16(0x2222)
                               .U8(4)
                               .U8(1)
                               .U8(6)
                               .Count(0)),
            1);
  EXPECT_EQ(cond.m_cKind, 2);
  EXPECT_EQ(cond.m_nConstant, 0x0A0B0C0D);
  EXPECT_EQ(cond.m_cCompare, 4);
  EXPECT_EQ(cond.m_cPercent, 1);
  EXPECT_EQ(cond.m_cShape, 6);
  EXPECT_EQ(cond.m_nRandLow, 77);
  EXPECT_EQ(cond.m_sRightVarNum, 66);

  cCond old;
  old.m_cPercent = 9;
  ASSERT_EQ(
      LoadInto(old,
               cByteBuilder::File(42).Count(6).U8(3).I32(-5).I16(0).I16(0).U8(2).U8(1).Count(0)),
      1);
  EXPECT_EQ(old.m_nConstant, -5);
  EXPECT_EQ(old.m_cCompare, 2);
  EXPECT_EQ(old.m_cShape, 1);
  EXPECT_EQ(old.m_cPercent, 9);

  // One field more than version 109 knows is not this record.
  cCond bad;
  EXPECT_EQ(LoadInto(bad, cByteBuilder::File(109).Count(8).Zeros(13).Count(0)), 0);
}

TEST(FlowUpgrade, ConditionRenumbering) {
  struct ROW {
    int32_t nVersion;
    uint8_t cKind, cObject, cStatus, cLeft, cRightSrc, cRightObj, cRightStatus, cCompare;
    uint8_t eKind, eObject, eStatus, eLeft, eRightSrc, eRightObj, eRightStatus, eCompare;
  };
  const ROW rows[] = {
      // kinds from 5 moved up two places at 160
      {159, 5, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 1, 1, 0, 0},  // and then as a distance one
      // "on screen" was negated before 161
      {160, 6, 0, 2, 0, 0, 0, 0, 1, 6, 0, 2, 0, 0, 0, 0, 0},
      {161, 6, 0, 2, 0, 0, 0, 0, 1, 6, 0, 2, 0, 0, 0, 0, 1},
      // statuses inserted at 10 (168) and at 5 (203), on both sides
      {167, 4, 1, 10, 0, 2, 1, 10, 0, 4, 1, 12, 0, 2, 1, 12, 0},
      {202, 4, 1, 5, 0, 2, 1, 4, 0, 4, 1, 6, 0, 2, 1, 4, 0},
      {202, 4, 2, 9, 0, 2, 2, 9, 0, 4, 5, 9, 0, 2, 5, 9, 0},
      {209, 5, 0, 6, 0, 0, 0, 0, 0, 5, 0, 7, 0, 0, 0, 0, 0},
      // distance conditions: subject, left side and right side fixed
      {656, 7, 3, 0, 1, 0, 4, 0, 0, 7, 0, 0, 0, 1, 1, 0, 0},
      {745, 7, 3, 0, 1, 0, 4, 0, 0, 7, 3, 0, 1, 1, 1, 0, 0},
      {746, 7, 3, 0, 1, 0, 4, 0, 0, 7, 3, 0, 1, 0, 4, 0, 0},
      // three target slots inserted before the old subjects from 2 up
      {766, 4, 2, 1, 0, 2, 1, 1, 0, 4, 5, 1, 0, 2, 1, 1, 0},
      {767, 4, 2, 1, 0, 2, 2, 1, 0, 4, 2, 1, 0, 2, 2, 1, 0},
  };
  for (const ROW& row : rows) {
    cCond c;
    c.m_cKind = row.cKind;
    c.m_cObject = row.cObject;
    c.m_cStatus = row.cStatus;
    c.m_cLeftKind = row.cLeft;
    c.m_cRightSource = row.cRightSrc;
    c.m_cRightObject = row.cRightObj;
    c.m_cRightStatus = row.cRightStatus;
    c.m_cCompare = row.cCompare;
    c.Renumber(row.nVersion);
    const uint8_t got[] = {c.m_cKind,        c.m_cObject,      c.m_cStatus,      c.m_cLeftKind,
                           c.m_cRightSource, c.m_cRightObject, c.m_cRightStatus, c.m_cCompare};
    const uint8_t want[] = {row.eKind,     row.eObject,   row.eStatus,      row.eLeft,
                            row.eRightSrc, row.eRightObj, row.eRightStatus, row.eCompare};
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(got[i], want[i]) << "version " << row.nVersion << " kind " << int(row.cKind)
                                 << " field " << i;
  }
}

TEST(FlowUpgrade, MovementRepairs) {
  cEdMove move;
  // Version 157: no mirror angle, keep facing, distance unit, own animation
  // or target slot; each is off for such a file, whatever it held.
  move.m_cKeepFacing = move.m_cOwnAnime = move.m_cDistUnit = 1;
  move.m_cTargetSlot = 3;
  cByteBuilder b = cByteBuilder::File(157).Count(28);
  b.U8(1).U8(7).I16(45).I16(0).U8(1).U8(1).I16(0).I16(0).I16(0).I16(0);
  b.U8(0).U8(1).U8(0).U8(0).U8(1).U8(0).U8(1).U8(0).U8(0).I16(25).I16(0).I16(0).I16(0);
  b.I16(0).I16(0).U8(0).I16(0).F64(0.5).Count(0);
  ASSERT_EQ(LoadInto(move, b), 1);
  EXPECT_EQ(move.m_cDirection, 7);
  EXPECT_EQ(move.m_sAngle, 45);
  EXPECT_EQ(move.m_sSpeed, 25);
  EXPECT_EQ(move.m_dReversal, 0.5);
  EXPECT_EQ(move.m_cMirrorAngle, 0);
  EXPECT_EQ(move.m_cDistUnit, 0);
  EXPECT_EQ(move.m_cKeepFacing, 0);
  EXPECT_EQ(move.m_cOwnAnime, 0);
  EXPECT_EQ(move.m_cTargetSlot, 3);  // no repair: keeps its value
}

TEST(FlowUpgrade, ShotRepairsInOrder) {
  struct {
    int32_t nVersion;
    int8_t cMoveType;
    int8_t eMirror, eScrollSync, eOption57, ePierceBlock;
  } const rows[] = {
      {157, 5, 0, 1, 6, 8}, {158, 3, 1, 0, 6, 8}, {197, 4, 1, 1, 7, 8},
      {211, 1, 1, 0, 7, 8}, {212, 1, 1, 9, 7, 8}, {636, 1, 1, 9, 7, 9},
  };
  for (const auto& row : rows) {
    cEdShot write;
    write.m_cMoveType = row.cMoveType;
    write.m_cMirrorAngle = 1;
    write.m_cScrollSync = 9;
    write.m_cOption56 = 6;
    write.m_cOption57 = 7;
    write.m_cPierceChara = 8;
    write.m_cPierceBlockChara = 9;
    write.m_cAccelOn = 1;
    write.m_sAccel = 5;
    write.m_cRefObject = 2;
    // The same member values laid out as the old version stores them.
    cByteBuilder b = cByteBuilder::File(row.nVersion);
    FIELDTABLE t = write.GetFieldTable(row.nVersion);
    b.Count(static_cast<uint32_t>(t.vFields.size()));
    for (const FIELDDATA& f : t.vFields) b.Raw(f.data, static_cast<size_t>(f.count) * f.size);
    b.Count(0);
    cEdShot read;
    ASSERT_EQ(LoadInto(read, b), 1) << row.nVersion;
    EXPECT_EQ(read.m_cMirrorAngle, row.eMirror) << row.nVersion;
    EXPECT_EQ(read.m_cScrollSync, row.eScrollSync) << row.nVersion;
    EXPECT_EQ(read.m_cOption57, row.eOption57) << row.nVersion;
    EXPECT_EQ(read.m_cPierceBlockChara, row.ePierceBlock) << row.nVersion;
    EXPECT_EQ(read.m_cAccelOn, row.nVersion < 213 ? 0 : 1);
    EXPECT_EQ(read.m_sAccel, row.nVersion < 213 ? 0 : 5);
    EXPECT_EQ(read.m_cRefObject, 0);  // every row is below 671
  }
}

TEST(FlowUpgrade, ShotValidationAndOffsets) {
  cEdShot shot;
  for (int8_t cScale : {0, -5}) {
    shot.m_cScale = cScale;
    shot.Validate();
    EXPECT_EQ(shot.m_cScale, 1);
  }
  shot.m_sOffsetX = 8;
  shot.m_sOffsetXInc = 4;
  shot.m_cMirrorOffsetX = 1;
  EXPECT_EQ(shot.GetPosX(3, 1), -20.0);
  EXPECT_EQ(shot.GetPosX(3, 0), 20.0);
  shot.m_cMirrorOffsetX = 0;
  EXPECT_EQ(shot.GetPosX(3, 1), 20.0);
  shot.m_sOffsetY = -2;
  shot.m_sOffsetYInc = 1;
  shot.m_cMirrorOffsetY = 1;
  EXPECT_EQ(shot.GetPosY(2, 1), 0.0);
  EXPECT_EQ(shot.GetPosY(5, 1), -3.0);
}

// A command body of the given version, flow numbering 0 unless told.
cByteBuilder CmdFile(int32_t v, uint8_t cSet, uint8_t cKind,
                     std::initializer_list<int32_t> params) {
  cByteBuilder b = cByteBuilder::File(v);
  b.Count(8).U8(cSet).U8(cKind).I16(3).I16(0).U8(0).I16(0).U8(1).I16(0).Count(1).Str("");
  b.U32(0).U32(0);         // no movement, no shot part
  if (v >= 764) b.U32(0);  // no condition list
  b.Count(0);              // no sub-flows
  b.Count(static_cast<uint32_t>(params.size()));
  for (int32_t n : params) b.I32(n);
  return b;
}

TEST(FlowUpgrade, OldMessageCommandGainsItsLaterParameters) {
  cFlowCmd cmd;
  ASSERT_EQ(LoadInto(cmd, CmdFile(544, 0, 19, {7, 1, 2, 3, 4, 5, 6, 7, 8, 9})), 1);
  const cSafeVector<int32_t> expected = {7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 0, 0, 0, 1, 0, 1, 0};
  EXPECT_EQ(cmd.m_vecParams, expected);
}

TEST(FlowUpgrade, ConditionListFlagFrom764AndConditionsFrom766) {
  cFlowCmd flowOp;
  ASSERT_EQ(LoadInto(flowOp, CmdFile(763, 0, 16, {1, 2, 3, 4})), 1);
  ASSERT_TRUE(flowOp.m_pCondList);
  EXPECT_EQ(flowOp.m_pCondList->m_cEnabled, 0);

  // 765: the flag and a list without conditions.
  cByteBuilder b = cByteBuilder::File(765);
  b.Count(8).U8(0).U8(16).I16(0).I16(0).U8(0).I16(0).U8(1).I16(0).Count(1).Str("");
  b.U32(0).U32(0).U32(1).Count(2).U8(1).U8(1).Count(0);
  b.Count(0).Count(4).I32(0).I32(0).I32(0).I32(0);
  cFlowCmd cmd;
  ASSERT_EQ(LoadInto(cmd, b), 1);
  ASSERT_TRUE(cmd.m_pCondList);
  EXPECT_EQ(cmd.m_pCondList->m_cEnabled, 1);
  EXPECT_EQ(cmd.m_pCondList->m_cRule, 1);
  EXPECT_TRUE(cmd.m_pCondList->m_vecConds.empty());
}

TEST(FlowUpgrade, CommandRenumbering) {
  struct ROW {
    int32_t nVersion;
    uint8_t cSet, cKind;
    std::vector<int32_t> params;
    uint8_t eKind;
    std::vector<int32_t> expected;
  };
  const ROW rows[] = {
      {144, 0, 17, {1, 2}, 17, {1, 2, 0, 0, 0, 0, 0, 0, 0}},
      {165, 0, 35, {4, 5, 6}, 36, {4, 1}},  // BGM, which moved to 36 at 734
      {167,
       0,
       22,
       {0, 0, 0, 1, 10, 0, 2, 0, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0},
       22,
       {0, 0, 0, 1, 12, 0, 2, 0, 0, 0, 0, 0, 1, 12, 0, 0, 0, 0}},
      {188, 0, 21, {1, 2, 3}, 21, {0, 1, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
      {193, 0, 31, {5, 6, 7, 8, 9, 10, 11}, 32, {5, 6, 7, 8, 9, 10, 1, 11, 0, 0, 0, 0, 0, 0, 0}},
      {194, 0, 29, {9, 8}, 30, {9, 0, 8}},  // old 29 is today's 30
      {202, 0, 23, {0, 6, 1}, 23, {0, 7, 1}},
      {209, 0, 23, {2, 6, 1}, 23, {5, 6, 1}},   // 2 -> 5 at 767 as well
      {218, 0, 25, {3, 119}, 26, {3, 119, 0}},  // old 25 is today's 26
      {218, 0, 25, {3, 40}, 26, {3, 41, 0}},
      {721, 0, 17, {2, 0, 0, 0, 0, 0, 0, 0, 0}, 17, {3, 0, 0, 0, 0, 0, 0, 0, 0}},
      {725, 0, 37, {}, 38, {11, 0, 0, 0, 0}},
      {726, 0, 37, {11, 13, 0, 0, 0}, 38, {11, 20, 0, 0, 0}},
      {733, 0, 37, {24, 0, 0, 0, 0}, 38, {25, 0, 0, 0, 0}},  // the kind it names moved too
      {733, 0, 38, {24, 0}, 39, {24, 0}},
      {733, 1, 9, {3}, 10, {3, 0}},  // item kind 9 became 10
      {733, 1, 8, {0, 6, 0}, 8, {0, 6, 0}},
      {759, 0, 16, {1, 2, 3, 4}, 16, {1, 2, 3, 0}},
      {766, 0, 9, {4}, 9, {10}},
      {766, 0, 9, {3}, 9, {3}},
      {766, 1, 6, {1, 2}, 6, {0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {202, 0, 14, {5, 5}, 14, {}},
  };
  for (const ROW& row : rows) {
    cFlowCmd cmd;
    cmd.m_cCmdSet = row.cSet;
    cmd.m_cKind = row.cKind;
    cmd.m_vecParams.assign(row.params.begin(), row.params.end());
    cmd.Renumber(row.nVersion);
    cmd.Validate();
    EXPECT_EQ(cmd.m_cKind, row.eKind) << row.nVersion << " kind " << int(row.cKind);
    EXPECT_EQ(std::vector<int32_t>(cmd.m_vecParams.begin(), cmd.m_vecParams.end()), row.expected)
        << row.nVersion << " kind " << int(row.cKind);
  }
}

TEST(FlowUpgrade, CommandPartRenumbering) {
  cFlowCmd shot;
  shot.m_cKind = 11;
  NewEdShot(shot.m_pShot);
  shot.m_pShot->m_sGraphic = 119;
  shot.Renumber(219);
  EXPECT_EQ(shot.m_pShot->m_sGraphic, 119);
  shot.m_pShot->m_sGraphic = 40;
  shot.Renumber(219);
  EXPECT_EQ(shot.m_pShot->m_sGraphic, 41);
  shot.Renumber(220);
  EXPECT_EQ(shot.m_pShot->m_sGraphic, 41);

  cFlowCmd charge;
  charge.m_cKind = 5;
  NewEdMove(charge.m_pMove);
  charge.m_pMove->m_sAngle = 30;
  charge.m_pMove->m_sAngleInc = 2;
  charge.m_pMove->m_cMirrorAngle = 0;
  charge.Renumber(513);
  EXPECT_EQ(charge.m_pMove->m_sAngle, 0);
  EXPECT_EQ(charge.m_pMove->m_sAngleInc, 0);
  EXPECT_EQ(charge.m_pMove->m_cMirrorAngle, 1);

  cFlowCmd warp;
  warp.m_cCmdSet = 1;
  warp.m_cKind = 5;
  NewEdMove(warp.m_pMove);
  warp.m_pMove->m_cMode = 2;
  warp.Renumber(766);
  EXPECT_EQ(warp.m_pMove->m_cMode, 5);
  warp.m_pMove->m_cMode = 1;
  warp.Renumber(766);
  EXPECT_EQ(warp.m_pMove->m_cMode, 1);
}

}  // namespace
