#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document_state.h"
#include "engine/contour_set.h"

namespace morvane::document {

// The number of items of the recent-files list.
inline constexpr int kRecentCount = 10;
// The digits of contour numbers: the limits of the spin box sbDigits.
inline constexpr int kMinDigits = 1;
inline constexpr int kMaxDigits = 6;

// The recent-files menu's caption of a path: "&", the index, a blank and the path.
std::string RecentCaption(int index, std::string_view path);

// The one document: its contours, count and titles, the digits of its numbers, its
// paths, the changed mark and the recent files. Views (the titles list, the recent-
// files menu, the picture, the tree, the status bar) follow its change notice; the
// commands change it. It knows no Qt.
class DocumentModel {
 public:
  // What a notice says changed, as bits.
  enum Change : unsigned {
    kContours = 1u,     // points, count and titles
    kChangedMark = 2u,  // the changed mark
    kRecentFiles = 4u,
    kDigits = 8u,
    kImage = 16u,  // an image was shown or cleared
  };
  using Observer = std::function<void(unsigned changes)>;

  // Adds a view; each is told after every change, in the order they were added.
  void Observe(Observer observer) { observers_.push_back(std::move(observer)); }

  // The paths and the batch settings: plain data the commands set, without a notice
  // (the caption, their only view, is set when an image is shown).
  DocumentState state;
  const DocumentState& State() const { return state; }
  void LetImagePath(std::string path) { state.ImagePath = std::move(path); }
  void LetMapPath(std::string path) { state.MapPath = std::move(path); }
  void LetTextOutputPath(std::string path) { state.TextOutputPath = std::move(path); }
  void LetSeparateFiles(bool separate) { state.SeparateFiles = separate; }
  void LetAskBeforeOverwrite(bool ask) { state.AskBeforeOverwrite = ask; }
  void LetBatchRunning(bool running) { state.BatchRunning = running; }

  const engine::ContourSet& Contours() const { return contours_; }
  const engine::ContourPoints& Points() const { return contours_.points; }
  std::int32_t Count() const { return contours_.count; }
  const std::vector<engine::ContourTitle>& Titles() const { return contours_.titles; }
  // The titles list's entries, one per title.
  std::vector<std::string> TitleEntries() const;
  // Takes the contours an operation built. The set it replaces lives on until every
  // observer has been told, so that a view can compare the two instead of keeping a
  // copy of its own.
  void TakeContours(engine::ContourSet contours);
  // During the notice of new contours, the points they replaced; at any other time the
  // points themselves.
  const engine::ContourPoints& PreviousPoints() const {
    return previous_ != nullptr ? *previous_ : contours_.points;
  }
  // No contours, count 0, no titles.
  void ResetContours();

  // Digits of contour numbers and centroids, and the pattern of that many "0"s.
  int Digits() const { return digits_; }
  const std::string& NumberFormat() const { return format_; }
  // Sets the digits held within kMinDigits..kMaxDigits; answers what it holds now.
  int LetDigits(int digits);

  // The changed mark: the document has unsaved changes.
  bool IsChanged() const { return changed_; }
  void LetChanged(bool changed);

  // Whether an image is shown (its commands can run).
  bool ImageShown() const { return imageShown_; }
  void LetImageShown(bool shown);
  // Whether the contours began with a click's trace, so that File > Add Contour (mFileAdd)
  // may add to them; a new document and the whole-image run end that.
  bool ClickTraced() const { return clickTraced_; }
  void LetClickTraced(bool traced);

  // The recent files, newest first, at most kRecentCount.
  const std::vector<std::string>& RecentFiles() const { return recent_; }
  void LetRecentFiles(std::vector<std::string> paths);
  // Puts path first: moved up when listed (those above it shift down), else added,
  // dropping the oldest when the list is full.
  void PutRecentFileFirst(const std::string& path);
  // The index of path in the list, -1 when it is not listed. Paths compare exactly.
  int FindRecentFile(std::string_view path) const;

 private:
  void Notify(unsigned changes) const;

  engine::ContourSet contours_;
  const engine::ContourPoints* previous_ = nullptr;  // set while TakeContours notifies
  int digits_ = 2;
  std::string format_ = "00";
  bool changed_ = false;
  bool imageShown_ = false;
  bool clickTraced_ = false;
  std::vector<std::string> recent_;
  std::vector<Observer> observers_;
};

}  // namespace morvane::document
