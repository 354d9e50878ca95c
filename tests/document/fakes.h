#pragma once
// Stand-ins for what the document reaches outside itself: files in memory, pictures by
// name, a scripted dialog, and a main window that records what it is told.

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/services.h"

namespace morvane::document::testing {

class FakeFiles : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unwritable;  // writes fail here
  int writes = 0;

  bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
  bool DirExists(const std::string& path) const override { return folders.count(path) > 0; }
  std::optional<std::string> ReadText(const std::string& path) const override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error) override {
    if (unwritable.count(path)) {
      error = "Permission denied";
      return false;
    }
    ++writes;
    files[path] = std::string(bytes);
    return true;
  }
};

// Pictures by path: the size each loads as, or a failure.
class FakeImages : public ImageSource {
 public:
  std::map<std::string, std::pair<int, int>> sizes;
  std::vector<std::string> loaded;

  bool LoadPicture(const std::string& path, core::RgbImage& image, std::string& message) override {
    loaded.push_back(path);
    auto it = sizes.find(path);
    if (it == sizes.end()) {
      message = "Cannot load the image \"" + path + "\": unsupported format.";
      return false;
    }
    image = core::RgbImage(it->second.first, it->second.second);
    return true;
  }
};

// Answers each Show call from a script: a result and the files chosen.
class FakeDialog : public DialogControl {
 public:
  struct Answer {
    std::int32_t result = 1;
    std::vector<std::string> files;
    std::int16_t filterIndex = 1;
  };
  // The properties as they were at a Show call.
  struct Shown {
    bool save;
    std::int32_t FileFlags, HelpContextId;
    std::string DialogTitle, DefaultExt, Filter;
    std::int16_t FilterIndex;
    std::string InitDir, FileName;
  };
  std::deque<Answer> answers;  // cancelled when none is left
  std::vector<Shown> shown;
  std::function<void()> whileOpen;  // runs inside Show, as the batch panel would

  std::int32_t FileCount() const override { return static_cast<std::int32_t>(files_.size()); }
  std::string FileAt(std::int32_t i) const override {
    return i >= 0 && i < FileCount() ? files_[static_cast<std::size_t>(i)] : std::string();
  }
  std::int32_t ShowOpenDialog() override { return Show(false); }
  std::int32_t ShowSaveDialog() override { return Show(true); }

 private:
  std::int32_t Show(bool save) {
    shown.push_back({save, FileFlags, HelpContextId, DialogTitle, DefaultExt, Filter,
                     FilterIndex, InitDir, FileName});
    if (whileOpen) whileOpen();
    if (answers.empty()) return 0;
    const Answer a = answers.front();
    answers.pop_front();
    if (a.result == 1) {
      files_ = a.files;
      FileName = files_.empty() ? std::string() : files_[0];
      FilterIndex = a.filterIndex;
    }
    return a.result;
  }
  std::vector<std::string> files_;
};

class FakeTitles : public engine::TitlesList {
 public:
  std::vector<std::string> items;
  std::string text;
  bool textEnabled = false;
  int listIndex = -1;

  void Clear() override {
    items.clear();
    listIndex = -1;
  }
  void AddItem(const std::string& t) override { items.push_back(t); }
  void RemoveItem(std::int32_t i) override { items.erase(items.begin() + i); }
  std::int32_t ListCount() const override { return static_cast<std::int32_t>(items.size()); }
  std::string List(std::int32_t i) const override { return items.at(static_cast<std::size_t>(i)); }
  void SetListIndex(std::int32_t i) override { listIndex = i; }
  void SetTitlesText(const std::string& t) override { text = t; }
  void EnableTitlesText(bool e) override { textEnabled = e; }
};

class FakeView : public DocumentView {
 public:
  // Recorded.
  bool changed = false;
  std::vector<int> beeps;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::string caption;
  std::map<StatusPanel, std::string> status;
  std::map<MenuItem, bool> enabled;
  std::vector<std::pair<int, int>> progress;
  std::set<int> visibleBars;
  std::vector<std::string> calls;  // the view operations in order
  bool pictureShown = false;
  int digits = 2;
  int createRuns = 0;

  // Scripted.
  std::deque<int> answers;  // Ask results; Cancel when none left
  bool centroid = false;
  bool stopRequested = false;
  std::string painter;
  std::function<void()> onCreate;  // the whole-image run

  std::array<std::string, kRecentCount> recent{};
  std::array<bool, kRecentCount> recentVisible{};

  void ShowElapsedTime() override { calls.push_back("ShowElapsedTime"); }
  void SetProgress(int index, int percent) override {
    visibleBars.insert(index);
    progress.emplace_back(index, percent);
  }
  void HideProgress(int index) override { visibleBars.erase(index); }
  bool StopRequested() const override { return stopRequested; }

  bool IsChanged() const override { return changed; }
  void SetChanged(bool c) override { changed = c; }
  void Beep(int type) override { beeps.push_back(type); }
  int Ask(const std::string& text, Buttons) override {
    questions.push_back(text);
    if (answers.empty()) return kAnswerCancel;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::string ProgramTitle() const override { return "Morvane"; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetStatusText(StatusPanel p, const std::string& t) override { status[p] = t; }
  void StartRunClock() override { calls.push_back("StartRunClock"); }
  void EnableUiDuringRun(bool e) override { calls.push_back(e ? "EnableUi" : "DisableUi"); }
  void SetBusyPointer(int p) override { calls.push_back("Pointer" + std::to_string(p)); }
  void SetWindowEnabled(bool e) override { calls.push_back(e ? "WindowOn" : "WindowOff"); }
  void ClearPicture() override {
    pictureShown = false;
    calls.push_back("ClearPicture");
  }
  void ShowPicture(const core::RgbImage&) override {
    pictureShown = true;
    calls.push_back("ShowPicture");
  }
  void ReshowPicture() override { calls.push_back("ReshowPicture"); }
  void SelectZoom(int i) override { calls.push_back("Zoom" + std::to_string(i)); }
  void RedrawContours() override { calls.push_back("RedrawContours"); }
  void FillContourTree(std::int32_t s) override { calls.push_back("FillContourTree" + std::to_string(s)); }
  void SyncToolbarButtons() override {}
  void UpdateEditMenuState(bool) override {}
  void EnableMenu(MenuItem item, bool e) override { enabled[item] = e; }
  std::string MenuCaption(MenuItem item) const override {
    switch (item) {
      case MenuItem::mFileOpen: return "&Open...";
      case MenuItem::mFileSaveAs: return "Save &As...";
      case MenuItem::mFileBatch: return "&Batch...";
      default: return "";
    }
  }
  std::int32_t MenuHelpContextId(MenuItem item) const override { return 100 + static_cast<int>(item); }
  bool CentroidChecked() const override { return centroid; }
  std::string PainterPath() const override { return painter; }
  int SetDigitsValue(int d) override {
    digits = std::clamp(d, 1, 6);
    return digits;
  }
  std::string RecentCaption(int i) const override { return recent[static_cast<std::size_t>(i)]; }
  bool RecentVisible(int i) const override { return recentVisible[static_cast<std::size_t>(i)]; }
  void SetRecentItem(int i, const std::string& c, bool v) override {
    recent[static_cast<std::size_t>(i)] = c;
    recentVisible[static_cast<std::size_t>(i)] = v;
  }
  void CreateContours() override {
    ++createRuns;
    if (onCreate) onCreate();
  }
};

}  // namespace morvane::document::testing
