// Keys from a file for runs without a keyboard.
#include "base/key_script.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/program_state.h"
#include "platform/input/keyboard.h"

namespace {

struct KEYNAME {
  const char* szName;
  int nVirtualKey;
};

constexpr KEYNAME kKeyNames[] = {
    {"Left", plat::VK_LEFT},     {"Right", plat::VK_RIGHT},   {"Up", plat::VK_UP},
    {"Down", plat::VK_DOWN},     {"Z", 'Z'},                  {"X", 'X'},
    {"C", 'C'},                  {"V", 'V'},                  {"A", 'A'},
    {"S", 'S'},                  {"D", 'D'},                  {"F", 'F'},
    {"Space", plat::VK_SPACE},   {"Escape", plat::VK_ESCAPE}, {"Return", plat::VK_RETURN},
    {"F1", plat::VK_F1},         {"F2", plat::VK_F1 + 1},
};

bool SameNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == 0;
}

std::vector<KEYSCRIPTEVENT> g_vScript;
size_t g_nNext = 0;

}  // namespace

int KeyScriptVirtualKey(const std::string& strName) {
  for (const KEYNAME& k : kKeyNames)
    if (SameNoCase(strName, k.szName)) return k.nVirtualKey;
  return 0;
}

bool ParseKeyScript(const std::string& strText, std::vector<KEYSCRIPTEVENT>& out,
                    std::string& strError) {
  std::vector<KEYSCRIPTEVENT> events;
  std::istringstream in(strText);
  std::string strLine;
  int nLine = 0;
  int nLastFrame = 0;
  while (std::getline(in, strLine)) {
    ++nLine;
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    std::istringstream words(strLine);
    std::string strFrame, strKey, strRest;
    if (!(words >> strFrame) || strFrame[0] == '#') continue;
    const std::string strWhere = "line " + std::to_string(nLine) + ": ";
    words >> strKey;
    if (strKey.size() < 2 || (strKey[0] != '+' && strKey[0] != '-') || (words >> strRest)) {
      strError = strWhere + "\"" + strLine + "\" is not \"FRAME +KEY\" or \"FRAME -KEY\"";
      return false;
    }
    char* pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(strFrame.c_str(), &pEnd, 10);
    if (*pEnd != 0 || errno != 0 || n < 0 || n > INT_MAX) {
      strError = strWhere + "\"" + strFrame + "\" is not a frame number";
      return false;
    }
    if (n < nLastFrame) {
      strError = strWhere + "frame " + strFrame + " comes before frame " +
                 std::to_string(nLastFrame) + " of the line above";
      return false;
    }
    const int nVk = KeyScriptVirtualKey(strKey.substr(1));
    if (nVk == 0) {
      strError = strWhere + "unknown key \"" + strKey.substr(1) +
                 "\" (keys: Left Right Up Down Z X C V A S D F Space Escape Return F1 F2)";
      return false;
    }
    nLastFrame = static_cast<int>(n);
    events.push_back(KEYSCRIPTEVENT{nLastFrame, nVk, strKey[0] == '+'});
  }
  out = std::move(events);
  return true;
}

bool LoadKeyScript(const std::string& strPath, std::string& strError) {
  std::ifstream in(strPath, std::ios::binary);
  if (!in) {
    strError = "cannot read the key file " + strPath;
    return false;
  }
  const std::string strText{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<KEYSCRIPTEVENT> events;
  if (!ParseKeyScript(strText, events, strError)) {
    strError = "key file " + strPath + ", " + strError;
    return false;
  }
  SetKeyScript(std::move(events));
  return true;
}

void SetKeyScript(std::vector<KEYSCRIPTEVENT> events) {
  g_vScript = std::move(events);
  g_nNext = 0;
}

void ApplyKeyScript(int nFrame) {
  while (g_nNext < g_vScript.size() && g_vScript[g_nNext].nFrame <= nFrame) {
    const KEYSCRIPTEVENT& e = g_vScript[g_nNext++];
    plat::SetKeyDown(e.nVirtualKey, e.bDown);
    if (plat::WndHandle hWnd = g_hMainWnd.load())
      plat::PostMessage(hWnd, e.bDown ? plat::WM_KEYDOWN : plat::WM_KEYUP,
                        static_cast<uintptr_t>(e.nVirtualKey), 0);
  }
}
