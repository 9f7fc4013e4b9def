// A flow: the behaviour a character carries. It starts on its trigger when
// its conditions hold and its key steps match, then runs its commands in
// order. Commands may carry nested flows of their own.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "flow/cond.h"
#include "flow/key_cond.h"
#include "records/record.h"

class cFlowCmd;
class cFlow;

using FLOW_VECTOR = cSafeVector<cFlow>;
using CMD_VECTOR = cSafeVector<cFlowCmd>;

class cFlow : public cRecord {
 public:
  cFlow();
  cFlow(const cFlow& src);
  cFlow(cFlow&& src) noexcept;
  cFlow& operator=(const cFlow& src);
  cFlow& operator=(cFlow&& src) noexcept;
  ~cFlow() override;

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Fits every command to the catalogue and the database.
  void Validate();
  // Fits every command's palette references to the palettes.
  void ValidateRefs();
  // Brings a trigger stored by an older format to today's numbering.
  void RenumberTrigger(int32_t nFileVersion);
  // A flow that does nothing and is never addressed: no ID, group or
  // trigger, and no conditions, key steps or commands.
  bool IsEmpty() const;

  std::string m_strMemo;    // the author's note; emptied when read
  uint8_t m_cId = 0;        // 0 none; events and the flow command address flows by it
  uint8_t m_cGroup = 0;     // trigger-0 flows of one group do not overlap
  uint8_t m_cDisabled = 0;  // kept in files, dropped when read outside a test play
  COND_VECTOR m_vecConds;
  uint8_t m_cCondRule = 0;  // 0 all must hold, 1 one is enough
  uint8_t m_cLatch = 0;     // once held, not tested again in that run
  uint8_t m_cTrigger = 0;   // event kind 0..22
  uint8_t m_cStorePartner = 0;
  uint8_t m_cPartnerSlot = 0;
  uint8_t m_cKeyGap = 3;     // history entries allowed between two key steps
  uint8_t m_cKeyRepeat = 0;  // the key sequence counts on every matching frame
  KEYCOND_VECTOR m_vecKeys;
  CMD_VECTOR m_vecCmds;
};

void ReadFlowVector(FLOW_VECTOR& v, cDataReader& r);
// Erases the flows whose disabled flag is set; the others keep their order.
void RemoveDisabledFlows(FLOW_VECTOR& v);

// Disabled flows stay in a test play and when the project's system data asks
// for it; elsewhere they are dropped as they are read. The system data is read
// above this floor: its setting is handed over once System.dat is loaded.
bool KeepDisabledFlows();
void SetSystemKeepsDisabledFlows(int bKeep);

// Flows hold commands and commands hold flows: including either header gives
// both classes complete.
#include "flow/flow_cmd.h"
