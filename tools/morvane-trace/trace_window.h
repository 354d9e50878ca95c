#pragma once

#include <iostream>
#include <string>
#include <utility>

#include "document/silent_roles.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::trace {

// The window the engine and the document report to: nobody watches here. Errors go
// to standard error; questions are answered No, so nothing is overwritten unasked.
class QuietWindow : public document::SilentWindow {
 public:
  bool centroid = false;
  // The picture the document last showed; the engine traces it.
  core::RgbImage picture;
  int errors = 0;
  int declined = 0;  // questions answered No
  std::string progress1;

  core::DialogAnswer Ask(const std::string& text, document::Buttons) override {
    std::cerr << "morvane-trace: " << OneLine(text) << " No.\n";
    ++declined;
    return document::kAnswerNo;
  }
  void ShowError(const std::string& text) override {
    ++errors;
    std::cerr << "morvane-trace: " << OneLine(text) << "\n";
  }
  void SetStatusText(engine::StatusField field, std::string_view text) override {
    if (field == engine::StatusField::Progress1) progress1 = text;
  }
  void ClearPicture() override { picture = core::RgbImage(); }
  void ShowPicture(core::RgbImage image) override { picture = std::move(image); }
  bool CentroidChecked() const override { return centroid; }

 private:
  // Message texts hold CR LF for the message boxes; one line reads better here.
  static std::string OneLine(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
      text.replace(at, 2, " ");
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
};

}  // namespace morvane::trace
