// The code lines of flows and items: integer arithmetic over the statuses
// of characters, the common and stage variables and a few system values,
// interpreted from the text every time a line runs. The first pass replaces
// every bracket group and "rand" call by its value in the text; the second
// splits the text at blanks into tokens, reads every value as it meets it
// and applies the operators in three rounds (* / %, then + -, then =), each
// from the left.
#pragma once

#include <cstdint>
#include <string_view>

class cGameObj;
class cPlayScene;

// Bracket groups nested deeper than this are reported and give 0, so no
// line can exhaust the stack.
constexpr int kMaxCodeDepth = 200;

class cCodeEval {
 public:
  cCodeEval(cPlayScene& scene, cGameObj& chara) : m_Scene(scene), m_Chara(chara) {}

  // The first pass over a text (brackets and calls), then the second; the
  // value of the text, 0 after an error.
  int32_t EvalCodeBrackets(std::string_view text, int nDepth = 0);
  // The second pass over a text without brackets the first could resolve.
  int32_t EvalCodeTokens(std::string_view text);

  // An error was found since the evaluator began.
  int m_bCodeError = 0;

 private:
  int32_t Fail();
  cPlayScene& m_Scene;
  cGameObj& m_Chara;
};

// Runs one line for the executing character: 1 when it ran without error
// (the character's HP and SP gauges then show their changes), 0 after one.
int RunCode(cPlayScene& scene, std::string_view text, cGameObj& chara);
