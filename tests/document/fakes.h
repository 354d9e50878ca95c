#pragma once
// Stand-ins for what the document reaches outside itself: files in memory, pictures by
// name, a scripted dialog, a main window that records what it is told, and a run
// sequence whose whole-image run is scripted.

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/file_access.h"
#include "document/run_sequence.h"
#include "document/silent_roles.h"

namespace morvane::document::testing {

class FakeFiles : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unwritable;  // writes fail here
  // Files that are there but cannot be read, and why.
  std::map<std::string, std::string> unreadable;
  int writes = 0;

  bool FileExists(const std::string& path) const override {
    return files.count(path) > 0 || unreadable.count(path) > 0;
  }
  bool DirExists(const std::string& path) const override { return folders.count(path) > 0; }
  std::optional<std::string> ReadText(const std::string& path,
                                      std::string* error = nullptr) const override {
    if (error != nullptr) error->clear();
    if (auto why = unreadable.find(path); why != unreadable.end()) {
      if (error != nullptr) *error = why->second;
      return std::nullopt;
    }
    auto it = files.find(path);
    if (it == files.end()) {
      if (error != nullptr && folders.count(path) > 0) *error = "it is a folder, not a file";
      return std::nullopt;
    }
    return it->second;
  }
  std::string ReadStart(const std::string& path, std::size_t count) const override {
    auto it = files.find(path);
    return it == files.end() ? std::string() : it->second.substr(0, count);
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
  std::function<void()> whileLoading;

  bool LoadPicture(const std::string& path, core::RgbImage& image, std::string& message) override {
    loaded.push_back(path);
    if (whileLoading) whileLoading();
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
    shown.push_back({save, FileFlags, HelpContextId, DialogTitle, DefaultExt, Filter, FilterIndex,
                     InitDir, FileName});
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

// The main window's roles as the document reaches them, recording what they are told.
class FakeView : public SilentWindow {
 public:
  // Recorded.
  std::vector<int> beeps;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::string caption;
  std::map<engine::StatusField, std::string> status;
  std::vector<std::pair<int, int>> progress;
  std::set<int> visibleBars;
  bool pictureShown = false;
  std::int32_t selectedTitle = -1;
  int stateChanges = 0;
  int clockStarts = 0;
  int stopsCleared = 0;
  int redraws = 0;
  bool busy = false;

  // Scripted.
  std::deque<core::DialogAnswer> answers;  // Ask results; Cancel when none left
  bool centroid = false;
  bool stopRequested = false;
  std::function<void()> onTick;

  void ShowElapsedTime() override {
    if (onTick) onTick();
  }
  // Every tick is watched: bulk ticks come one by one.
  std::int64_t ShowElapsedTimes(std::int64_t n) override {
    return engine::RunControl::ShowElapsedTimes(n);
  }
  bool StopRequested() const override { return stopRequested; }
  void SetProgress(int index, int percent) override {
    visibleBars.insert(index);
    progress.emplace_back(index, percent);
  }
  void HideProgress(int index) override { visibleBars.erase(index); }
  void SetStatusText(engine::StatusField field, std::string_view text) override { status[field] = text; }
  void SelectTitle(std::int32_t index) override { selectedTitle = index; }
  void ClearPicture() override { pictureShown = false; }
  void ShowPicture(core::RgbImage) override { pictureShown = true; }
  void RedrawContours() override { ++redraws; }

  void Beep(core::BeepType type) override { beeps.push_back(type); }
  core::DialogAnswer Ask(const std::string& text, Buttons) override {
    questions.push_back(text);
    if (answers.empty()) return kAnswerCancel;
    const core::DialogAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetCaption(const std::string& c) override { caption = c; }
  std::string MenuCaption(MenuCommand item) const override {
    switch (item) {
      case MenuCommand::mFileOpen: return "&Open...";
      case MenuCommand::mFileSaveAs: return "Save &As...";
      case MenuCommand::mFileBatch: return "&Batch...";
    }
    return "";
  }
  std::int32_t MenuHelpContextId(MenuCommand item) const override {
    return 100 + static_cast<int>(item);
  }
  bool CentroidChecked() const override { return centroid; }
  void StateChanged() override { ++stateChanges; }
  void StartRunClock() override { ++clockStarts; }
  void SetBusyPointer(bool b) override { busy = b; }
  void ClearStopRequest() override {
    stopRequested = false;
    ++stopsCleared;
  }
};

// The run sequence with the whole-image run scripted, as the batch tests want it.
class ScriptedRuns : public RunSequence {
 public:
  using RunSequence::RunSequence;
  std::function<void()> onCreate;
  int createRuns = 0;
  void CreateWholeImageContours() override {
    ++createRuns;
    if (onCreate) onCreate();
  }
};

// The window's side of a document: the fake roles, the model, an engine and the
// scripted run sequence.
struct WindowSide {
  FakeView view;
  DocumentModel model;
  engine::ContourEngine engine{view, view, view, view};
  ScriptedRuns runs{model, engine, view.Roles()};
};

}  // namespace morvane::document::testing
