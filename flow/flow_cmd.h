// One command of a flow (or one pickup command of an item): its kind in the
// flow or item numbering, its parameters and text, its timing settings, and
// the three parts it may own: a movement, a shot and a condition list. Every
// copy is deep; no two commands ever share a part.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/safe_vector.h"
#include "flow/cond_list.h"
#include "flow/ed_move.h"
#include "flow/ed_shot.h"
#include "flow/flow.h"
#include "records/record.h"

class cFlowCmd : public cRecord {
 public:
  cFlowCmd();
  cFlowCmd(const cFlowCmd& src);
  cFlowCmd(cFlowCmd&& src) noexcept;
  cFlowCmd& operator=(const cFlowCmd& src);
  cFlowCmd& operator=(cFlowCmd&& src) noexcept;
  ~cFlowCmd() override;

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Clears the fields and drops the three parts; setting 5 back to 1. The
  // parameters and nested flows stay.
  void Reset();
  // Fits the command to its catalogue row and the database lists, and its
  // nested flows the same way.
  void Validate();
  // Fits the palette references of summons, shots, swords and item gifts.
  void ValidateRefs();
  // Brings a command stored by an older format to today's numbering.
  void Renumber(int32_t nFileVersion);

  // The flow kind this command runs: item kinds stand 15 below theirs.
  int GetFlowKind() const;

  uint8_t m_cCmdSet = 0;  // 0 flow numbering, 1 item numbering
  uint8_t m_cKind = 0;
  cSafeVector<int32_t> m_vecParams;
  std::string m_strText;  // messages and code
  std::unique_ptr<cEdMove> m_pMove;
  std::unique_ptr<cEdShot> m_pShot;
  int16_t m_sTime = 0;           // setting 1: duration in tenths of a second
  int16_t m_sTimeInc = 0;        // setting 2: added per copy number
  uint8_t m_cParallel = 0;       // setting 3: 1 = the next command starts at once
  int16_t m_sSound = 0;          // setting 4: sound effect, 0 none
  uint8_t m_cSoundOnScreen = 1;  // setting 5: that sound only while on screen
  int16_t m_sAnime = 0;          // setting 6: lead-in animation, 0 none
  std::unique_ptr<cCondList> m_pCondList;
  FLOW_VECTOR m_vecFlows;
};

// Make a fresh part with its defaults, replacing any part the pointer held.
int NewEdMove(std::unique_ptr<cEdMove>& p);
int NewEdShot(std::unique_ptr<cEdShot>& p);
int NewCondList(std::unique_ptr<cCondList>& p);

void ReadCmdVector(CMD_VECTOR& v, cDataReader& r);
