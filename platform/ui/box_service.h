// What a back end's message boxes do: ask a person, or, where nobody can be
// asked, take the answer from the script or the box's default at once.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

class cBoxService {
 public:
  virtual ~cBoxService() = default;
  // Window thread, at start: boxes may be shown to a person from now on.
  virtual void Open() = 0;
  virtual void Close() = 0;
  // Any thread; text and caption are CP932 bytes. Returns the pressed
  // button's id, never 0.
  virtual int Ask(const std::string& text, const std::string& caption, uint32_t type) = 0;
};

// The answer of a box nobody is there to answer: the next scripted answer
// if the box has that button, else its default. Logged to stderr; never
// blocks.
int AnswerUnattended(const std::string& text, const std::string& caption, uint32_t type);

}  // namespace plat
