// Character effects (CharaEffect.dat) and screen effects (ScrEffect.dat): a
// kind and five parameters whose meaning depends on the kind; the first is
// always the running time in tenths of a second, and for most kinds the
// second and third are the start and end of the value the effect changes.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.h"

constexpr int kEffectParamCount = 5;

// The layout both lists share.
class cEdEffectDef : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nKind = 1;  // 0 = none
  int32_t m_anParam[kEffectParamCount] = {};

  void RegisterFields(int32_t nVersion) override;

 protected:
  cEdEffectDef();
};

class cEdCharaEffect : public cEdEffectDef {
 public:
  void Read(cDataReader& r) override;
};

class cEdScrEffect : public cEdEffectDef {
 public:
  void Read(cDataReader& r) override;
};
