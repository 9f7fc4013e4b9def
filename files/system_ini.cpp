#include "files/system_ini.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "base/logs.h"
#include "files/system_data.h"
#include "platform/fs/file_system.h"

SYSTEMINIDATA SYSTEMINI;

namespace {

constexpr int kMaxLines = 10000;

int32_t* IntSetting(SYSTEMINIDATA& ini, int nKey) {
  switch (nKey) {
    case 0:
      return &ini.nDirect3D;
    case 1:
      return &ini.nWindowMode;
    case 2:
      return &ini.nBpp;
    case 3:
      return &ini.nVSync;
    case 4:
      return &ini.nD3DFontCache;
    case 5:
      return &ini.nDDFontCache;
    case 6:
      return &ini.nDDVideoStretch;
    case 7:
      return &ini.nShowFps;
    case 9:
      return &ini.nEnglish;
    default:
      return nullptr;
  }
}

// The C library's atoi on the value: leading white space, a sign, digits;
// anything else ends it. Out-of-range values saturate instead of being
// undefined.
int32_t ValueToInt(const std::string& str) {
  size_t i = 0;
  while (i < str.size() && (str[i] == ' ' || (str[i] >= '\t' && str[i] <= '\r'))) ++i;
  bool bNegative = false;
  if (i < str.size() && (str[i] == '+' || str[i] == '-')) bNegative = str[i++] == '-';
  int64_t n = 0;
  for (; i < str.size() && str[i] >= '0' && str[i] <= '9'; ++i) {
    n = n * 10 + (str[i] - '0');
    if (n > static_cast<int64_t>(INT32_MAX) + 1) n = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (bNegative) n = -n;
  if (n > INT32_MAX) n = INT32_MAX;
  return static_cast<int32_t>(n);
}

void ApplySetting(SYSTEMINIDATA& ini, cSafeVector<cIniKey>& vKeys, const std::string& strKey,
                  const std::string& strValue) {
  for (int n = 0; n < static_cast<int>(vKeys.size()); ++n) {
    if (vKeys[n].m_strName != strKey) continue;
    if (n == 8) {
      if (strValue.size() >= 2 && strValue.size() <= kFreeStageMax) ini.strFreeStage = strValue;
    } else if (int32_t* pSetting = IntSetting(ini, n)) {
      *pSetting = ValueToInt(strValue);
    }
    return;
  }
}

}  // namespace

void SetSystemIniDefaults(SYSTEMINIDATA& ini, cSafeVector<cIniKey>& vKeys) {
  for (int n = 0; n < 8; ++n) *IntSetting(ini, n) = vKeys.At(n).m_nDefault;
  ini.strFreeStage = vKeys.At(8).m_strDefault;
  ini.nEnglish = 0;
}

int ReadSystemIni(const std::string& strFileName, SYSTEMINIDATA& ini, cSafeVector<cIniKey>& vKeys) {
  std::vector<uint8_t> vBytes;
  if (!plat::fs::ReadWholeFile(strFileName, vBytes, kMaxSystemIniBytes)) return 0;
  return ParseSystemIni(vBytes.data(), vBytes.size(), ini, vKeys);
}

int ParseSystemIni(const uint8_t* pData, size_t nSize, SYSTEMINIDATA& ini,
                   cSafeVector<cIniKey>& vKeys) {
  size_t nPos = 0;
  auto Next = [&]() -> int { return nPos < nSize ? pData[nPos++] : EOF; };
  int ch;

  for (int nLine = 0; nLine < kMaxLines; ++nLine) {
    std::string strKey;
    bool bHasValue = false;
    for (;;) {
      ch = Next();
      if (ch == EOF) return 0;
      if (ch == 0) return 1;
      if (ch == '=') {
        bHasValue = true;
        break;
      }
      if (ch == '\n') {
        if (strKey == "Exit") return 1;
        break;
      }
      if (ch == '\r' || ch == ' ' || ch == '\t') continue;
      strKey += static_cast<char>(ch);
    }
    if (!bHasValue) continue;
    // The value ends at the first blank, '/', line end or 0 byte, which is
    // consumed; the rest of the line is read as the next key.
    std::string strValue;
    for (;;) {
      ch = Next();
      if (ch == EOF || ch == ' ' || ch == '\t' || ch == '\r' || ch == '/' || ch == '\n' || ch == 0)
        break;
      strValue += static_cast<char>(ch);
    }
    ApplySetting(ini, vKeys, strKey, strValue);
  }
  return 1;
}

void LoadSystemIniAtStart() {
  SetSystemIniDefaults(SYSTEMINI, g_SystemData.m_vIniKeys);
  if (ReadSystemIni("System.ini", SYSTEMINI, g_SystemData.m_vIniKeys)) return;
  ReportFError("System.ini の読み込みに失敗しました！");
  SetSystemIniDefaults(SYSTEMINI, g_SystemData.m_vIniKeys);
}
