#pragma once

#include <array>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "document/services.h"
#include "engine/silent_host.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::trace {

// The window the engine and the document report to: nobody watches here. Errors go
// to standard error; questions are answered No, so nothing is overwritten unasked.
class QuietWindow : public engine::SilentHost, public document::DocumentView {
 public:
  bool centroid = false;
  // The picture the document last showed, and what File > Create does with it.
  core::RgbImage picture;
  std::function<void()> createContours;
  int errors = 0;
  int declined = 0;  // questions answered No

  void ShowElapsedTime() override {}
  std::int64_t ShowElapsedTimes(std::int64_t) override { return 0; }
  void SetProgress(int, int) override {}
  void HideProgress(int) override {}
  bool StopRequested() const override { return false; }

  // The document asks for these too, under the same names.
  void StartRunClock() override {}
  void EnableUiDuringRun(bool) override {}
  void SetBusyPointer(int) override {}
  void SetWindowEnabled(bool) override {}
  void RedrawContours() override {}
  void FillContourTree(std::int32_t) override {}
  void MarkChanged() override { changed_ = true; }

  bool IsChanged() const override { return changed_; }
  void SetChanged(bool changed) override { changed_ = changed; }
  void Beep(int) override {}
  int Ask(const std::string& text, document::Buttons) override {
    std::cerr << "morvane-trace: " << OneLine(text) << " No.\n";
    ++declined;
    return document::kAnswerNo;
  }
  void ShowError(const std::string& text) override {
    ++errors;
    std::cerr << "morvane-trace: " << OneLine(text) << "\n";
  }
  std::string ProgramTitle() const override { return "Morvane"; }
  void SetCaption(const std::string&) override {}
  void SetStatusText(document::StatusPanel panel, const std::string& text) override {
    if (panel == document::StatusPanel::Progress1) progress1 = text;
  }
  void ClearPicture() override { picture = core::RgbImage(); }
  void ShowPicture(const core::RgbImage& image) override { picture = image; }
  void ReshowPicture() override {}
  void SelectZoom(int) override {}
  void SyncToolbarButtons() override {}
  void UpdateEditMenuState(bool) override {}
  void EnableMenu(document::MenuItem, bool) override {}
  std::string MenuCaption(document::MenuItem) const override { return {}; }
  std::int32_t MenuHelpContextId(document::MenuItem) const override { return 0; }
  bool CentroidChecked() const override { return centroid; }
  std::string PainterPath() const override { return {}; }
  int SetDigitsValue(int digits) override { return digits < 1 ? 1 : digits > 6 ? 6 : digits; }
  std::string RecentCaption(int index) const override { return recent_[static_cast<std::size_t>(index)]; }
  bool RecentVisible(int index) const override { return !recent_[static_cast<std::size_t>(index)].empty(); }
  void SetRecentItem(int index, const std::string& caption, bool) override {
    recent_[static_cast<std::size_t>(index)] = caption;
  }
  void CreateContours() override {
    if (createContours) createContours();
  }

  std::string progress1;

 private:
  // Message texts hold CR LF for the message boxes; one line reads better here.
  static std::string OneLine(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
      text.replace(at, 2, " ");
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }

  std::array<std::string, document::kRecentCount> recent_{};
  bool changed_ = false;
};

}  // namespace morvane::trace
