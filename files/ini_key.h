// The System.ini key table kept in the project's system data (names, kinds
// and defaults of the ten settings), and the fixed table of font face names
// the system data's font choice indexes.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.h"

class cIniKey : public cRecord {
 public:
  int32_t m_nKind = 0;  // 0 integer key, 1 text key
  std::string m_strName;
  int32_t m_nDefault = 0;
  std::string m_strDefault;

  cIniKey() { Clear(); }
  void RegisterFields(int32_t nVersion) override;

  void SetInt(const std::string& strName, int32_t nValue);
  void SetString(const std::string& strName, const std::string& strText);
};

// Number of keys System.ini knows; the n-th key feeds the n-th setting.
constexpr int kIniKeyCount = 10;

// 122 face names and an empty end entry.
constexpr int kFontFaceNameCount = 123;
constexpr int kDefaultFontFace = 60;
extern const char* const g_FontFaceNames[kFontFaceNameCount];

// The face name of a font choice; a choice outside the table gives the
// default face.
const char* GetFontFaceName(int nFace);
