// Message boxes: handed to the back end's box service; scripted and default
// answers for boxes nobody is there to answer.
#include "platform/ui/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "platform/backend/backend.h"
#include "platform/text/cp932.h"
#include "platform/ui/box_service.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/dialog_service.h"

namespace plat {

namespace {

struct cBoxScript {
  std::mutex mtx;
  std::deque<int> answers;
} g_Script;

uint32_t ButtonsOf(uint32_t type) { return type & 0xF; }

bool HasButton(uint32_t type, int nId) {
  switch (ButtonsOf(type)) {
    case MB_OKCANCEL:
      return nId == IDOK || nId == IDCANCEL;
    case MB_YESNO:
      return nId == IDYES || nId == IDNO;
    default:
      return nId == IDOK;
  }
}

const char* AnswerName(int nId) {
  switch (nId) {
    case IDOK:
      return "ok";
    case IDCANCEL:
      return "cancel";
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    default:
      return "?";
  }
}

void ReadEnvironmentAnswers() {
  const char* sz = std::getenv("BRIMVALE_BOX_ANSWERS");
  if (!sz) return;
  std::string s = sz;
  size_t nPos = 0;
  while (nPos <= s.size()) {
    size_t nEnd = s.find(',', nPos);
    if (nEnd == std::string::npos) nEnd = s.size();
    std::string w = s.substr(nPos, nEnd - nPos);
    if (w == "ok")
      g_Script.answers.push_back(IDOK);
    else if (w == "cancel")
      g_Script.answers.push_back(IDCANCEL);
    else if (w == "yes")
      g_Script.answers.push_back(IDYES);
    else if (w == "no")
      g_Script.answers.push_back(IDNO);
    nPos = nEnd + 1;
  }
}

}  // namespace

int DefaultBoxAnswer(uint32_t type) {
  switch (ButtonsOf(type)) {
    case MB_OKCANCEL:
      return IDCANCEL;
    case MB_YESNO:
      return IDNO;
    default:
      return IDOK;
  }
}

int AnswerUnattended(const std::string& text, const std::string& caption, uint32_t type) {
  int nAnswer = DefaultBoxAnswer(type);
  bool bScripted = false;
  {
    std::lock_guard<std::mutex> lock(g_Script.mtx);
    if (!g_Script.answers.empty()) {
      int n = g_Script.answers.front();
      g_Script.answers.pop_front();
      if (HasButton(type, n)) {
        nAnswer = n;
        bScripted = true;
      }
    }
  }
  // One line per box, so the transcript reads line by line beside the
  // program's other lines.
  std::string strText = Cp932ToUtf8(text);
  for (char& ch : strText)
    if (ch == '\n' || ch == '\r') ch = ' ';
  std::fprintf(stderr, "brimvale box [%s] %s -> %s (%s)\n", Cp932ToUtf8(caption).c_str(),
               strText.c_str(), AnswerName(nAnswer), bScripted ? "script" : "default");
  return nAnswer;
}

void SetScriptedBoxAnswers(const std::vector<int>& answers) {
  std::lock_guard<std::mutex> lock(g_Script.mtx);
  g_Script.answers.assign(answers.begin(), answers.end());
}

void InitMessageBoxes() {
  {
    std::lock_guard<std::mutex> lock(g_Script.mtx);
    ReadEnvironmentAnswers();
  }
  ReadDialogAnswersFromEnvironment();
  GetBackend().pBoxes->Open();
  GetBackend().pDialogs->Open();
}

void ShutdownMessageBoxes() {
  GetBackend().pDialogs->Close();
  GetBackend().pBoxes->Close();
}

int MessageBox(WndHandle, const std::string& text, const std::string& caption, uint32_t type) {
  return GetBackend().pBoxes->Ask(text, caption, type);
}

}  // namespace plat
