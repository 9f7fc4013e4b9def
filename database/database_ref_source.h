// Answers the reference checks of commands, shots and definitions from the
// loaded database: how long each list is and how long a sword swing lasts.
#pragma once

#include "records/database_refs.h"

class cDatabase;

class cDatabaseRefSource : public cDbRefSource {
 public:
  explicit cDatabaseRefSource(const cDatabase& db) : m_db(db) {}
  uint32_t GetListSize(eDbList eList) const override;
  int GetSwordFrameCount(int nSwordType) const override;
  int32_t GetSwordFrameTime(int nSwordType, int nFrame) const override;

 private:
  const cDatabase& m_db;
};
