#pragma once

#include <vector>

#include "platform/core/message_box.h"

namespace morvane::testing {

// Records every box asked for and answers with a chosen button.
class FakeMessageBox : public core::MessageBoxService {
 public:
  explicit FakeMessageBox(std::int32_t answer = core::kIdOk) : answer_(answer) {}
  std::int32_t Show(const core::MessageBoxRequest& request) override {
    shown.push_back(request);
    return answer_;
  }
  void Answer(std::int32_t answer) { answer_ = answer; }

  std::vector<core::MessageBoxRequest> shown;

 private:
  std::int32_t answer_;
};

}  // namespace morvane::testing
