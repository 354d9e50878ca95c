#pragma once

#include <vector>

#include "platform/core/message_box.h"

namespace morvane::testing {

// Records every box asked for and answers with a chosen button.
class FakeMessageBox : public core::ModuleMessageBox {
 public:
  explicit FakeMessageBox(core::DialogAnswer answer = core::kAnswerOk) : answer_(answer) {}
  core::DialogAnswer Show(const core::MessageBoxRequest& request) override {
    shown.push_back(request);
    return answer_;
  }
  void Answer(core::DialogAnswer answer) { answer_ = answer; }

  std::vector<core::MessageBoxRequest> shown;

 private:
  core::DialogAnswer answer_;
};

}  // namespace morvane::testing
