#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"

namespace morvane::engine {

// A main window that nobody watches: the titles are kept, every other call does
// nothing. The command-line driver and the benchmarks run the engine through it and
// override what they care about.
class SilentHost : public EngineHost, public TitlesList {
 public:
  // The pattern contour numbers are formatted with.
  std::string numberFormat = "0";

  void Clear() override { titles_.clear(); }
  void AddItem(const std::string& text) override { titles_.push_back(text); }
  void RemoveItem(std::int32_t index) override {
    if (index >= 0 && index < ListCount()) titles_.erase(titles_.begin() + index);
  }
  std::int32_t ListCount() const override { return static_cast<std::int32_t>(titles_.size()); }
  std::string List(std::int32_t index) const override {
    return index >= 0 && index < ListCount() ? titles_[static_cast<std::size_t>(index)] : std::string();
  }
  void SetListIndex(std::int32_t) override {}
  void SetTitlesText(const std::string&) override {}
  void EnableTitlesText(bool) override {}

  void SetProgress2Text(std::string_view) override {}
  std::string OutputNumberFormat() const override { return numberFormat; }
  bool BatchRunning() const override { return false; }
  void StartRunClock() override {}
  void EnableUiDuringRun(bool) override {}
  void SetBusyPointer(int) override {}
  void SetWindowEnabled(bool) override {}
  void EnableAddCommand(bool) override {}
  void LoadImageFile(bool) override {}
  void ShowImage() override {}
  void RedrawContours() override {}
  void FillContourTree(std::int32_t) override {}
  void MarkChanged() override {}
  void ResetAfterRun() override {}
  void LocateCursor(double, double) override {}
  void SetTitlesSelectionFlag(bool) override {}

 private:
  std::vector<std::string> titles_;
};

}  // namespace morvane::engine
