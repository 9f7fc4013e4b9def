// The "#" escapes of message texts and the size a message takes. An escape
// names a common variable (1 to 1000) or a stage variable (1 to 999); any
// other escape is left in the text as it was written, so a typing mistake
// shows on screen instead of vanishing.
#include <cstdint>
#include <string>

#include "base/text_helpers.h"
#include "draw/font_tables.h"
#include "files/play_data.h"
#include "stage/play_scene.h"
#include "stage/text_obj.h"

namespace {

constexpr int32_t kLastCommonVar = 1000;
constexpr int32_t kLastStageVar = 999;
// Variable numbers stop growing here: anything this large is out of range
// anyway, and the sum cannot overflow.
constexpr int32_t kNumberCap = 100000000;

struct TEXTESCAPE {
  int32_t nNumber = 0;
  bool bCommon = false;
  bool bStage = false;
  int nWidth = 0;
  bool bPlus = false;
  bool bZeros = false;
  size_t nEnd = 0;  // first byte after the escape
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the escape whose "#" stands at nAt.
TEXTESCAPE ReadEscape(const std::string& strText, size_t nAt) {
  TEXTESCAPE e;
  bool bFormat = false;
  size_t i = nAt + 1;
  for (; i < strText.size(); ++i) {
    const char c = strText[i];
    if (!bFormat) {
      if (IsDigit(c)) {
        if (e.nNumber < kNumberCap) e.nNumber = e.nNumber * 10 + (c - '0');
        continue;
      }
      if (c == 'C' || c == 'c') {
        e.bCommon = true;
        continue;
      }
      if (c == 'S' || c == 's') {
        e.bStage = true;
        continue;
      }
      if (c == '_') {
        bFormat = true;
        continue;
      }
    } else {
      if (IsDigit(c)) {
        e.nWidth = c - '0';
        continue;
      }
      if (c == 'P' || c == 'p') {
        e.bPlus = true;
        continue;
      }
      if (c == 'Z' || c == 'z') {
        e.bZeros = true;
        continue;
      }
    }
    // A full stop that ends the escape goes with it.
    if (c == '.') ++i;
    break;
  }
  e.nEnd = i;
  return e;
}

// The value an escape names; false when it names none.
bool EscapeValue(const TEXTESCAPE& e, int32_t& nValue) {
  if (e.bCommon && e.nNumber >= 1 && e.nNumber <= kLastCommonVar) {
    const auto& vars = g_PlayData.m_vVars;
    if (static_cast<size_t>(e.nNumber) >= vars.size()) return false;
    nValue = vars[static_cast<size_t>(e.nNumber)];
    return true;
  }
  if (e.bStage && e.nNumber >= 1 && e.nNumber <= kLastStageVar) {
    if (!g_PlayScene) return false;
    const auto& vars = g_PlayScene->m_StageVar;
    if (static_cast<size_t>(e.nNumber) >= vars.size()) return false;
    nValue = vars[static_cast<size_t>(e.nNumber)];
    return true;
  }
  return false;
}

std::string FormatEscape(const TEXTESCAPE& e, int32_t nValue) {
  const int64_t nAbs = nValue < 0 ? -static_cast<int64_t>(nValue) : nValue;
  std::string strDigits = std::to_string(nAbs);
  if (static_cast<int>(strDigits.size()) < e.nWidth)
    strDigits.insert(0, static_cast<size_t>(e.nWidth) - strDigits.size(), '0');
  if (!e.bZeros) {
    for (size_t i = 0; i + 1 < strDigits.size() && strDigits[i] == '0'; ++i) strDigits[i] = ' ';
  }
  if (nValue < 0) return "-" + strDigits;
  if (e.bPlus) return "+" + strDigits;
  return strDigits;
}

}  // namespace

void ExpandTextVars(std::string& strText) {
  size_t i = 0;
  while (i < strText.size()) {
    if (IsDBCSPair(strText.c_str() + i)) {
      i += 2;
      continue;
    }
    if (strText[i] != '#') {
      ++i;
      continue;
    }
    const TEXTESCAPE e = ReadEscape(strText, i);
    int32_t nValue = 0;
    if (!EscapeValue(e, nValue)) {
      i = e.nEnd;
      continue;
    }
    const std::string strValue = FormatEscape(e, nValue);
    strText.replace(i, e.nEnd - i, strValue);
    i += strValue.size();
  }
}

void MeasureText(const std::string& strText, int32_t* pnWidth, int32_t* pnHeight) {
  int w = 0, h = 0;
  g_Font[1].MeasureText(strText.c_str(), &w, &h);
  if (pnWidth) *pnWidth = w + 2;
  if (pnHeight) *pnHeight = h + 2;
}
