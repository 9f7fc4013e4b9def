// The null message boxes: nobody is there, so every box takes its scripted
// answer or its default, is logged, and returns at once.
#pragma once

#include "platform/ui/box_service.h"

namespace plat::null {

class cNullBoxes : public cBoxService {
 public:
  void Open() override {}
  void Close() override {}
  int Ask(const std::string& text, const std::string& caption, uint32_t type) override {
    return AnswerUnattended(text, caption, type);
  }
};

}  // namespace plat::null
