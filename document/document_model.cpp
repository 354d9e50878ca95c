#include "document/document_model.h"

#include <algorithm>
#include <utility>

namespace morvane::document {

std::string RecentCaption(int index, std::string_view path) {
  return "&" + std::to_string(index) + " " + std::string(path);
}

std::vector<std::string> DocumentModel::TitleEntries() const {
  std::vector<std::string> entries;
  entries.reserve(contours_.titles.size());
  for (const engine::ContourTitle& title : contours_.titles)
    entries.push_back(engine::TitleEntry(title));
  return entries;
}

void DocumentModel::TakeContours(engine::ContourSet contours) {
  std::swap(contours_, contours);
  // A notice given inside this one leaves the outer one its own previous points.
  struct Restore {
    const engine::ContourPoints*& previous;
    const engine::ContourPoints* outer;
    ~Restore() { previous = outer; }
  } restore{previous_, previous_};
  previous_ = &contours.points;
  Notify(kContours);
}

void DocumentModel::ResetContours() { TakeContours(engine::ContourSet()); }

int DocumentModel::LetDigits(int digits) {
  const int held = std::clamp(digits, kMinDigits, kMaxDigits);
  if (held != digits_) {
    digits_ = held;
    format_.assign(static_cast<std::size_t>(held), '0');
    Notify(kDigits);
  }
  return digits_;
}

void DocumentModel::LetChanged(bool changed) {
  changed_ = changed;
  Notify(kChangedMark);
}

void DocumentModel::LetImageShown(bool shown) {
  imageShown_ = shown;
  Notify(kImage);
}

void DocumentModel::LetClickTraced(bool traced) { clickTraced_ = traced; }

void DocumentModel::LetRecentFiles(std::vector<std::string> paths) {
  if (paths.size() > static_cast<std::size_t>(kRecentCount)) paths.resize(kRecentCount);
  recent_ = std::move(paths);
  Notify(kRecentFiles);
}

void DocumentModel::PutRecentFileFirst(const std::string& path) {
  const int at = FindRecentFile(path);
  if (at >= 0) {
    recent_.erase(recent_.begin() + at);
  } else if (recent_.size() >= static_cast<std::size_t>(kRecentCount)) {
    recent_.pop_back();
  }
  recent_.insert(recent_.begin(), path);
  Notify(kRecentFiles);
}

int DocumentModel::FindRecentFile(std::string_view path) const {
  const auto it = std::find(recent_.begin(), recent_.end(), path);
  return it == recent_.end() ? -1 : static_cast<int>(it - recent_.begin());
}

void DocumentModel::Notify(unsigned changes) const {
  for (const Observer& observer : observers_) observer(changes);
}

}  // namespace morvane::document
