#include "stage/code_eval.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "base/logs.h"
#include "base/safe_vector.h"
#include "files/play_data.h"
#include "files/system_data.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/stage_objects.h"
#include "stage/status_refs.h"

namespace {

// Token kinds.
enum : int32_t { TOKEN_NUMBER = 0, TOKEN_VARIABLE = 1, TOKEN_STATUS = 2, TOKEN_SYSTEM = 3, TOKEN_OPERATOR = 4 };

// Operators by index, and the round in which each is applied.
constexpr char kOperators[] = {'=', '+', '-', '*', '/', '%'};
constexpr int kOperatorRound[] = {2, 1, 1, 0, 0, 0};

// Object prefixes, ended by ".".
constexpr std::string_view kPrefixes[] = {"my", "tg", "tg1", "tg2", "tg3", "tg4", "pl", "sys"};
constexpr int PREFIX_PLAYER = 6;
constexpr int PREFIX_SYSTEM = 7;

// Character keywords: the status each names and the bounds an assignment
// clamps it to (the HP and SP bounds are the maxima as read).
struct CHARAWORD {
  std::string_view sv;
  int nSelector;
  int32_t nVarIndex;
  int32_t nLow, nHigh;
};
enum : int { KW_HP = 8, KW_SP = 9, KW_MAX_HP = 10, KW_MAX_SP = 11, KW_SIGHT = 15 };
constexpr CHARAWORD kCharaWords[] = {
    {"v1", STATUS_VAR, 1, -kStatusMax, kStatusMax},
    {"v2", STATUS_VAR, 2, -kStatusMax, kStatusMax},
    {"v3", STATUS_VAR, 3, -kStatusMax, kStatusMax},
    {"v4", STATUS_VAR, 4, -kStatusMax, kStatusMax},
    {"v5", STATUS_VAR, 5, -kStatusMax, kStatusMax},
    {"v6", STATUS_VAR, 6, -kStatusMax, kStatusMax},
    {"v7", STATUS_VAR, 7, -kStatusMax, kStatusMax},
    {"v8", STATUS_VAR, 8, -kStatusMax, kStatusMax},
    {"hp", STATUS_HP, 0, 0, 0},
    {"sp", STATUS_SP, 0, 0, 0},
    {"mhp", STATUS_MAX_HP, 0, 1, kStatusMax},
    {"msp", STATUS_MAX_SP, 0, 1, kStatusMax},
    {"cid", STATUS_ID, 0, 0, 99},
    {"z", STATUS_Z, 0, 0, 7},
    {"mark", STATUS_MARK, 0, 0, 119},
    {"sight", STATUS_SIGHT, 0, 0, 40},
    {"power", STATUS_BODY_POWER, 0, -kStatusMax, kStatusMax},
    {"imp", STATUS_BODY_IMPACT, 0, -20, 20},
    {"def", STATUS_DEFENCE, 0, 0, kStatusMax},
    {"impd", STATUS_IMPACT_RESIST, 0, 0, 20},
    {"stop", STATUS_STOP, 0, 0, 200},
    {"getsc", STATUS_SCORE, 0, -kStatusMax, kStatusMax},
};

// System keywords, by system selector.
struct SYSWORD {
  std::string_view sv;
  int32_t nLow, nHigh;
};
constexpr SYSWORD kSysWords[] = {
    {"time", 0, 999}, {"scrlx", -480, 480}, {"scrly", -480, 480}, {"score", 0, kStatusMax}, {"life", 0, 99},
};

// One token of the second pass.
struct CODETOKEN {
  int32_t nKind = TOKEN_NUMBER;
  int32_t nValue = 0;
  STATUSREF Storage;  // what an assignment writes; empty for numbers and results
  int32_t nOperator = 0;
  int32_t nLow = -kStatusMax;
  int32_t nHigh = kStatusMax;
  int32_t nCharaWord = -1;
  int32_t nSysWord = -1;
  cGameObj* pChara = nullptr;
};

// A decimal number as the standard conversion reads one: leading blanks,
// an optional sign, the digits up to the first other character; 0 without
// digits. A number past 32 bits saturates.
int32_t ReadDecimal(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool bNeg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) bNeg = s[i++] == '-';
  int64_t n = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    n = n * 10 + (s[i] - '0');
    if (n > int64_t{INT32_MAX} + 1) n = int64_t{INT32_MAX} + 1;
  }
  if (bNeg) n = -n;
  return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

// Scratch buffers kept from line to line, so a line allocates nothing once
// the buffers have grown to its size: one text per bracket depth, and the
// tokens of the second pass (which never nests).
struct CODESCRATCH {
  std::vector<std::string> vecTexts;
  std::vector<CODETOKEN> vecTokens;
  std::vector<CODETOKEN> vecOut;
};
CODESCRATCH& Scratch() {
  thread_local CODESCRATCH s;
  return s;
}

// The value a bracket group or call left in the text: "%d".
void SpliceValue(std::string& s, size_t nFrom, size_t nTo, int32_t nValue) {
  char buf[16];
  const auto res = std::to_chars(buf, buf + sizeof(buf), nValue);
  s.replace(nFrom, nTo - nFrom, buf, static_cast<size_t>(res.ptr - buf));
}

int32_t Wrap(int64_t n) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(n))); }

}  // namespace

int32_t cCodeEval::Fail() {
  m_bCodeError = 1;
  return 0;
}

int32_t cCodeEval::EvalCodeBrackets(std::string_view text, int nDepth) {
  if (nDepth >= kMaxCodeDepth) {
    ErrorBoxF("括弧の入れ子が深すぎます！");
    return Fail();
  }
  CODESCRATCH& scratch = Scratch();
  // Every depth's buffer exists before the first view into one is taken, so
  // no buffer ever moves under a view.
  if (scratch.vecTexts.size() < kMaxCodeDepth) scratch.vecTexts.resize(kMaxCodeDepth);
  std::string& strText = scratch.vecTexts[static_cast<size_t>(nDepth)];
  auto S = [&strText]() -> std::string& { return strText; };
  S().assign(text);
  size_t nCur = 0, nWord = 0;
  while (nCur <= S().size()) {
    const char c = nCur < S().size() ? S()[nCur] : '\0';
    if (c == ' ') {
      nWord = ++nCur;
      continue;
    }
    if (c != '(') {
      ++nCur;
      continue;
    }
    // Its ")" by depth.
    size_t nClose = std::string::npos;
    {
      const std::string& s = S();
      int nLevel = 0;
      for (size_t j = nCur + 1; j < s.size(); ++j) {
        if (s[j] == '(') {
          ++nLevel;
        } else if (s[j] == ')') {
          if (nLevel == 0) {
            nClose = j;
            break;
          }
          --nLevel;
        }
      }
    }
    if (nClose == std::string::npos) {
      ErrorBoxF("\")\"が見つかりません！");
      return Fail();
    }
    if (nCur == nWord) {
      // The inside is copied into the next depth's buffer before anything
      // here changes.
      const int32_t v =
          EvalCodeBrackets(std::string_view(S()).substr(nCur + 1, nClose - nCur - 1), nDepth + 1);
      SpliceValue(S(), nWord, nClose + 1, v);
      nCur = nWord;
      continue;
    }
    const std::string_view name = std::string_view(S()).substr(nWord, nCur - nWord);
    if (name != "rand") {
      // Not a function: the call stays in the text, read as ordinary
      // characters.
      ++nCur;
      continue;
    }
    // The arguments, split at the commas outside brackets; empty ones are
    // skipped.
    int32_t anArgs[2] = {0, 0};
    int nArgs = 0;
    size_t nEnd = std::string::npos;
    {
      size_t nArgStart = nCur + 1;
      int nLevel = 0;
      for (size_t j = nCur + 1; j < S().size(); ++j) {
        const char a = S()[j];
        if (a == '(') {
          ++nLevel;
          continue;
        }
        if (nLevel > 0) {
          if (a == ')') --nLevel;
          continue;
        }
        if (a != ',' && a != ')') continue;
        if (j > nArgStart) {
          const int32_t v =
              EvalCodeBrackets(std::string_view(S()).substr(nArgStart, j - nArgStart), nDepth + 1);
          if (nArgs < 2) anArgs[nArgs] = v;
          if (nArgs < INT_MAX) ++nArgs;
        }
        nArgStart = j + 1;
        if (a == ')') {
          nEnd = j;
          break;
        }
      }
    }
    if (nEnd == std::string::npos) {
      ErrorBoxF("関数 %s で\")\"が見つかりません！", "rand");
      return Fail();
    }
    if (nArgs != 2) {
      ErrorBoxF("関数 %s の引数が不正です！", "rand");
      return Fail();
    }
    const int32_t v = RandRange(m_Scene.m_Rand, anArgs[0], anArgs[1]);
    SpliceValue(S(), nWord, nEnd + 1, v);
    nCur = nWord;
  }
  return EvalCodeTokens(S());
}

int32_t cCodeEval::EvalCodeTokens(std::string_view text) {
  CODESCRATCH& scratch = Scratch();
  std::vector<CODETOKEN>& tokens = scratch.vecTokens;
  tokens.clear();
  int nPrefix = 0;
  bool bAfterToken = false;
  size_t nStart = 0, nLen = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '\0';
    if (c == ' ' || i == text.size()) {
      if (nLen == 0) continue;
      const std::string_view word = text.substr(nStart, nLen);
      CODETOKEN t;
      nLen = 0;
      // An operator.
      if (word.size() == 1) {
        const char* p = static_cast<const char*>(std::memchr(kOperators, word[0], sizeof(kOperators)));
        if (p) {
          t.nKind = TOKEN_OPERATOR;
          t.nOperator = static_cast<int32_t>(p - kOperators);
          tokens.push_back(t);
          nPrefix = 0;
          bAfterToken = true;
          continue;
        }
      }
      // The object the prefix names, for every other token.
      cGameObj* pObj = &m_Chara;
      if (nPrefix >= 1 && nPrefix <= 5) {
        pObj = TargetSlot(m_Chara, nPrefix == 1 ? 1 : nPrefix - 1);
        if (!pObj) return Fail();  // an empty target slot ends the line without a message
      } else if (nPrefix == PREFIX_PLAYER) {
        pObj = &ThePlayer();
      } else if (nPrefix == PREFIX_SYSTEM) {
        pObj = nullptr;
      }
      t.pChara = pObj;
      nPrefix = 0;
      bAfterToken = true;
      if (word[0] == 'C' || word[0] == 'S') {
        int32_t& v = word[0] == 'C' ? g_PlayData.m_vVars.At(ReadDecimal(word.substr(1)))
                                    : m_Scene.m_StageVar.At(ReadDecimal(word.substr(1)));
        t.nKind = TOKEN_VARIABLE;
        t.nValue = v;
        t.Storage = STATUSREF{&v, 32};
        tokens.push_back(t);
        continue;
      }
      bool bFound = false;
      for (size_t k = 0; k < std::size(kCharaWords); ++k) {
        const CHARAWORD& w = kCharaWords[k];
        if (w.sv != word) continue;
        bFound = true;
        t.nCharaWord = static_cast<int32_t>(k);
        // A status of no character (under "sys.") reads 0 and takes no
        // assignment.
        if (!pObj) break;
        t.nKind = TOKEN_STATUS;
        t.Storage = CharaStatus(*pObj, w.nSelector, w.nVarIndex);
        t.nValue = t.Storage.Get();
        t.nLow = w.nLow;
        t.nHigh = w.nHigh;
        if (w.nSelector == STATUS_HP) t.nHigh = pObj->m_Def.m_nMaxHP;
        if (w.nSelector == STATUS_SP) t.nHigh = pObj->m_Def.m_nMaxSP;
        break;
      }
      if (!bFound) {
        for (size_t k = 0; k < std::size(kSysWords); ++k) {
          if (kSysWords[k].sv != word) continue;
          bFound = true;
          int32_t* p = SystemValue(m_Scene, static_cast<int>(k));
          t.nKind = TOKEN_SYSTEM;
          t.nSysWord = static_cast<int32_t>(k);
          t.Storage = STATUSREF{p, 32};
          t.nValue = *p;
          t.nLow = kSysWords[k].nLow;
          t.nHigh = kSysWords[k].nHigh;
          if (k == SYSVAL_LIVES && *p == kUnlimitedLives) {
            t.nValue = 0;
            t.nLow = t.nHigh = kUnlimitedLives;
          }
          break;
        }
      }
      if (!bFound) t.nValue = ReadDecimal(word);
      tokens.push_back(t);
      continue;
    }
    if (c == '.') {
      const std::string_view word = text.substr(nStart, nLen);
      const auto* it = std::find(std::begin(kPrefixes), std::end(kPrefixes), word);
      if (it != std::end(kPrefixes)) {
        nPrefix = static_cast<int>(it - std::begin(kPrefixes));
      } else if (!bAfterToken) {
        const std::string strWord(word);
        ErrorBoxF("オブジェクト \"%s.\" が認識できません！", strWord.c_str());
        return Fail();
      }
      nLen = 0;
      bAfterToken = false;
      continue;
    }
    if (nLen == 0) nStart = i;
    ++nLen;
  }
  if (tokens.empty()) return 0;
  int32_t nResult = tokens.back().nValue;

  // Three rounds; in each, every operator of the round from the left takes
  // the token before it and the token after it, and the three become one
  // result. The scan rebuilds the list as it goes: nothing before the last
  // result holds an operator of the round, so one pass equals scanning
  // again from the first token after every operation.
  std::vector<CODETOKEN>& out = scratch.vecOut;
  const bool bKeepRight = g_SystemData.m_bCompat752 != 0;
  for (int nRound = 0; nRound < 3; ++nRound) {
    out.clear();
    bool bAny = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
      const CODETOKEN& op = tokens[i];
      if (op.nKind != TOKEN_OPERATOR || kOperatorRound[op.nOperator] != nRound) {
        out.push_back(op);
        continue;
      }
      bAny = true;
      // An operator without a neighbour reads outside the list: that is
      // reported as a bad index, and the first token stands in.
      const int32_t nCount = static_cast<int32_t>(out.size() + (tokens.size() - i));
      const CODETOKEN first = out.empty() ? op : out.front();
      CODETOKEN left, right;
      if (out.empty()) {
        ReportBadIndex('V', -1, nCount, static_cast<int>(sizeof(CODETOKEN)));
        left = first;
      } else {
        left = out.back();
        out.pop_back();
      }
      const bool bHasRight = i + 1 < tokens.size();
      if (bHasRight) {
        right = tokens[i + 1];
      } else {
        ReportBadIndex('V', nCount, nCount, static_cast<int>(sizeof(CODETOKEN)));
        right = first;
      }
      if (bHasRight && !bKeepRight) ++i;
      const int32_t l = left.nValue, r = right.nValue;
      int32_t v = 0;
      switch (op.nOperator) {
        case 1:
          v = Wrap(int64_t{l} + r);
          break;
        case 2:
          v = Wrap(int64_t{l} - r);
          break;
        case 3:
          v = Wrap(int64_t{l} * r);
          break;
        case 4:
        case 5:
          if (r == 0) {
            const std::string strText(text);
            ErrorBoxF("0除算が行われました！(%s)", strText.c_str());
            return Fail();
          }
          if (op.nOperator == 4)
            v = Wrap(int64_t{l} / r);
          else
            v = static_cast<int32_t>(int64_t{l} % r);
          break;
        default: {  // "="
          if (!left.Storage) {
            ErrorBoxF("代入先が不正です！");
            return Fail();
          }
          v = r < left.nLow ? left.nLow : (r > left.nHigh ? left.nHigh : r);
          left.Storage.Set(v);
          if (left.nKind == TOKEN_STATUS && left.pChara) {
            cGameObj& c = *left.pChara;
            switch (left.nCharaWord) {
              case KW_HP:
                if (&c != &m_Chara && c.m_nHP <= 0) m_Scene.m_bCheckDefeats = 1;
                break;
              case KW_MAX_HP:
                c.m_nHP = std::clamp(c.m_nHP, 1, std::max(c.m_Def.m_nMaxHP, 1));
                break;
              case KW_MAX_SP:
                c.m_nSP = std::clamp(c.m_nSP, 1, std::max(c.m_Def.m_nMaxSP, 1));
                break;
              case KW_SIGHT:
                if (c.m_nControl == 0) ApplySightChange(m_Scene, c);
                break;
              default:
                break;
            }
          } else if (left.nKind == TOKEN_SYSTEM) {
            ReapplyAutoScroll(m_Scene, left.nSysWord);
          }
          break;
        }
      }
      CODETOKEN res;
      res.nValue = v;
      out.push_back(res);
      nResult = v;
    }
    if (bAny) tokens.swap(out);
  }
  return nResult;
}

int RunCode(cPlayScene& scene, std::string_view text, cGameObj& chara) {
  cCodeEval eval(scene, chara);
  const int32_t nHP = chara.m_nHP, nSP = chara.m_nSP;
  eval.EvalCodeBrackets(text);
  if (eval.m_bCodeError) return 0;
  if (chara.m_nHP != nHP) chara.StartHpGauge(Wrap(int64_t{chara.m_nHP} - nHP));
  if (chara.m_nSP != nSP) chara.StartSpGauge(Wrap(int64_t{chara.m_nSP} - nSP));
  return 1;
}
