#include "document/document.h"

#include <algorithm>
#include <cmath>

#include "common/file_helpers.h"
#include "document/area_text.h"
#include "document/map_format.h"
#include "platform/core/file_dialog_flags.h"
#include "platform/core/pointer_shape.h"
#include "platform/core/text_codec.h"

namespace morvane::document {
namespace {

// Iterative wildcard match with one backtrack point, so no pattern takes more than
// linear-times-pattern steps.
bool WildcardMatch(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || core::AsciiLower(pattern[p]) == core::AsciiLower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string WithoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

int Percent(std::int64_t part, std::int64_t whole) {
  if (whole <= 0) return 0;
  return static_cast<int>(std::nearbyint(static_cast<double>(part) * 100.0 / static_cast<double>(whole)));
}

std::string OpenFilter() {
  const std::string p(kImagePatterns), h(kMapPatterns);
  return "Image Files (" + p + ")|" + p + "|HTML Files (" + h + ")|" + h + "|All Files (*.*)|*.*|";
}

std::string RecentCaptionFor(int index, std::string_view path) {
  return "&" + std::to_string(index) + " " + std::string(path);
}

// Counts characters, not bytes, so names outside ASCII pad like the others.
std::size_t Utf8Length(std::string_view s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

bool MatchesPatterns(std::string_view path, std::string_view patterns) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t start = 0;
  while (start <= patterns.size()) {
    const std::size_t semi = patterns.find(';', start);
    const std::string_view pattern =
        patterns.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
    if (!pattern.empty() && WildcardMatch(name, pattern)) return true;
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
  return false;
}

bool IsMapFile(std::string_view path) { return MatchesPatterns(path, kMapPatterns); }

std::string BuildBatchReport(const std::vector<ReportRow>& rows) {
  std::size_t longest = 0;
  for (const ReportRow& row : rows) longest = std::max(longest, Utf8Length(row.name));
  std::string report;
  for (const ReportRow& row : rows) {
    report += row.name;
    report.append(longest + 1 - Utf8Length(row.name), ' ');
    report += row.areaText;
    report += "\r\n";
  }
  return report;
}

std::string BuildMapText(std::string_view src, std::string_view name,
                         const std::vector<std::string>& areaLines) {
  std::string text = MapHeaderLine(src, name) + "\r\n\r\n";
  for (const std::string& line : areaLines) {
    text += line;
    text += "\r\n";
  }
  text += "\r\n";
  text += kMapFooter;
  text += "\r\n";
  return text;
}

Document::Document(DocumentState& state, engine::ContourState& contours,
                   engine::TitlesList& titles, DocumentView& view, FileSystem& files,
                   ImageSource& images, DialogControl& dialog)
    : state_(state),
      contours_(contours),
      titles_(titles),
      view_(view),
      files_(files),
      images_(images),
      dialog_(dialog) {}

std::string Document::FormatOutputText(std::string_view templ, std::string_view tail) const {
  return document::FormatOutputText(contours_.ContourPoints, state_.OutputNumberFormat,
                                    TitlesFrom(titles_), templ, tail);
}

bool Document::mFileSave_Click() {
  const std::string target = state_.MapPath.empty() ? DefaultMapPath(state_.ImagePath) : state_.MapPath;
  if (target.empty()) {
    view_.ShowError("There is no image, so there is no map to save.");
    return false;
  }
  const std::string name = FileNameOf(state_.ImagePath);
  if (state_.ImageSrc.empty()) state_.ImageSrc = state_.ImagePath;
  const std::string header = MapHeaderLine(state_.ImageSrc, name);

  if (!state_.MapPath.empty() && state_.StopOnError && files_.FileExists(target)) {
    const std::optional<std::string> existing = files_.ReadText(target);
    const bool own = existing && (IsOwnMap(*existing, header) ||
                                  IsOwnMap(*existing, OldMapHeaderLine(state_.ImageSrc, name)));
    if (!own) {
      view_.Beep(kWarningBeep);
      const int answer = view_.Ask(
          "The file was changed from another way.\r\nAre you sure you want to overwrite?",
          Buttons::YesNo);
      if (answer != kAnswerYes) return false;
    }
  }

  const std::string_view templ = view_.CentroidChecked() ? kCentroidAreaTemplate : kAreaTemplate;
  const std::string areaText = document::FormatOutputText(
      contours_.ContourPoints, state_.OutputNumberFormat,
      TitlesFrom(titles_, [](std::string_view title) { return EscapeHtml(title); }), templ, kAreaTail);
  const std::vector<std::string> lines = SplitCrLf(areaText);

  view_.SetProgress(engine::kProgressStep, 0);
  const auto n = static_cast<std::int64_t>(lines.size());
  for (std::int64_t i = 0; i < n; ++i) view_.SetProgress(engine::kProgressStep, Percent(i, n));
  const std::string text = BuildMapText(state_.ImageSrc, name, lines);
  std::string error;
  const bool written = files_.WriteFileAtomic(target, text, error);
  view_.HideProgress(engine::kProgressStep);
  if (!written) {
    Report("The map could not be saved to \"" + target + "\": " + error);
    return false;
  }
  view_.SetChanged(false);
  return true;
}

void Document::mFileSaveAs_Click() {
  if (!files_.FileExists(state_.MapPath)) state_.MapPath = DefaultMapPath(state_.ImagePath);
  dialog_.FileFlags = core::kOfnOverwritePrompt | core::kOfnHideReadOnly;
  dialog_.DialogTitle = WithoutAmpersands(view_.MenuCaption(MenuItem::mFileSaveAs));
  dialog_.DefaultExt = ".htm";
  dialog_.Filter = "HTML Files (*.*htm*;*.asp*;*.php)|*.*htm*;*.asp*;*.php|All Files (*.*)|*.*|";
  dialog_.FilterIndex = 1;
  dialog_.FileName = state_.MapPath;
  dialog_.InitDir = InitialFolder(state_.MapPath);
  if (dialog_.ShowSaveDialog() != 1) return;
  state_.MapPath = dialog_.FileName;
  dialog_.FileName.clear();
  mFileSave_Click();
}

int Document::ConfirmSaveChanges() {
  if (!view_.IsChanged()) return 0;
  view_.Beep(kWarningBeep);
  const int answer = view_.Ask("The current data have been modified.\r\nSave changes?\r\n", Buttons::YesNoCancel);
  if (answer == kAnswerYes) mFileSave_Click();
  return answer;
}

void Document::mFileOpen_Click() {
  if (ConfirmSaveChanges() == kAnswerCancel) return;
  dialog_.FileFlags =
      core::kOfnHideReadOnly | core::kOfnShowHelp | core::kOfnFileMustExist | core::kOfnShareAware;
  dialog_.HelpContextId = view_.MenuHelpContextId(MenuItem::mFileOpen);
  dialog_.DialogTitle = WithoutAmpersands(view_.MenuCaption(MenuItem::mFileOpen));
  dialog_.Filter = OpenFilter();
  dialog_.FilterIndex = 1;
  dialog_.InitDir = InitialFolder(state_.ImagePath);
  dialog_.FileName = state_.ImagePath;
  if (dialog_.ShowOpenDialog() != 1) return;

  const std::string chosen = dialog_.FileName;
  // The image filter opens an image, the HTML filter a map; under All Files the name
  // decides.
  const bool image = dialog_.FilterIndex == 1 || (dialog_.FilterIndex != 2 && !IsMapFile(chosen));
  if (image) {
    state_.ImagePath = chosen;
    state_.MapPath.clear();
  } else {
    state_.MapPath = chosen;
  }
  UpdateRecentFilesMenu(chosen);
  dialog_.FileName.clear();
}

std::string Document::RecentPath(int index) const {
  const std::string caption = view_.RecentCaption(index);
  return caption.size() > 3 ? caption.substr(3) : std::string();
}

void Document::UpdateRecentFilesMenu(const std::string& path) {
  for (int i = 0; i < kRecentCount; ++i) {
    if (RecentPath(i) == path && !path.empty()) {
      ListClick(i, false);
      NewDocument();
      return;
    }
  }
  for (int i = kRecentCount - 1; i >= 1; --i) {
    if (!view_.RecentCaption(i - 1).empty() && view_.RecentVisible(i - 1)) {
      view_.SetRecentItem(i, RecentCaptionFor(i, RecentPath(i - 1)), true);
    }
  }
  view_.SetRecentItem(0, RecentCaptionFor(0, path), true);
  view_.EnableMenu(MenuItem::mFileRecent, true);
  NewDocument();
}

void Document::mFileList_Click(int index) { ListClick(index, true); }

void Document::ListClick(int index, bool reload) {
  if (index < 0 || index >= kRecentCount) return;
  const std::string path = RecentPath(index);
  if (!files_.FileExists(path)) return;
  view_.SetRecentItem(index, "", view_.RecentVisible(index));
  for (int i = index; i >= 1; --i) {
    view_.SetRecentItem(i, RecentCaptionFor(i, RecentPath(i - 1)), view_.RecentVisible(i));
  }
  view_.SetRecentItem(0, RecentCaptionFor(0, path), true);
  SetDocumentPaths(view_.RecentCaption(0));
  if (reload) NewDocument();
}

void Document::SetDocumentPaths(const std::string& caption) {
  const std::string path = caption.size() > 3 ? caption.substr(3) : std::string();
  // Only a known image extension makes an image; anything else (".png", ".txt", none)
  // is taken as a map.
  if (MatchesPatterns(path, kImagePatterns)) {
    state_.ImagePath = path;
    state_.MapPath = DefaultMapPath(path);
  } else {
    state_.MapPath = path;
  }
}

void Document::Report(const std::string& failure) {
  if (batchFailures_ != nullptr) {
    batchFailures_->push_back(failure);
  } else {
    view_.ShowError(failure);
  }
}

void Document::ResetContours() {
  contours_.ContourPoints = engine::EmptyContourPoints();
  contours_.ContourCount = 0;
  titles_.Clear();
  titles_.SetTitlesText("");
  titles_.EnableTitlesText(false);
}

void Document::NewDocument() {
  view_.SetWindowEnabled(false);
  view_.ClearPicture();
  view_.SelectZoom(0);
  view_.SetBusyPointer(core::kPointerHourglass);
  ResetContours();
  view_.EnableMenu(MenuItem::mFileAdd, false);
  LoadImageMapFile();
  LoadImageFile(false);
  view_.RedrawContours();
  view_.FillContourTree(-1);
  view_.SyncToolbarButtons();
  view_.SetBusyPointer(core::kPointerDefault);
  view_.SetStatusText(StatusPanel::Progress2, "");
  view_.SetWindowEnabled(true);
}

bool Document::LoadImageFile(bool keepScroll) {
  core::RgbImage image;
  if (keepScroll) {
    view_.ReshowPicture();
  } else {
    if (!files_.FileExists(state_.ImagePath)) return false;
    std::string message;
    if (!images_.LoadPicture(state_.ImagePath, image, message)) {
      view_.ClearPicture();
      ResetContours();
      view_.RedrawContours();
      view_.FillContourTree(-1);
      Report(message);
      return false;
    }
    view_.ShowPicture(image);
    view_.SetStatusText(StatusPanel::Progress1,
                        std::to_string(image.width) + "x" + std::to_string(image.height));
  }
  view_.SetCaption(view_.ProgramTitle() + " - " + state_.ImagePath);
  const std::string painter = view_.PainterPath();
  view_.EnableMenu(MenuItem::mFilePainter, !painter.empty() && files_.FileExists(painter));
  view_.EnableMenu(MenuItem::mFileCreate, true);
  view_.EnableMenu(MenuItem::mFileStart, true);
  view_.EnableMenu(MenuItem::mFileSave, false);
  view_.EnableMenu(MenuItem::mEditRestore, false);
  view_.EnableMenu(MenuItem::mViewGrid, true);
  view_.EnableMenu(MenuItem::mViewPoints, true);
  view_.EnableMenu(MenuItem::mViewMagnifier, true);
  view_.EnableMenu(MenuItem::mViewZoom, true);
  view_.UpdateEditMenuState(false);
  view_.SyncToolbarButtons();
  view_.SetChanged(false);
  return true;
}

void Document::LoadImageMapFile() {
  state_.ImageSrc.clear();
  std::string path = state_.MapPath;
  std::optional<std::string> requiredSrc;
  if (!files_.FileExists(path)) {
    path = DefaultMapPath(state_.ImagePath);
    requiredSrc = state_.ImagePath;
    if (path.empty() || !files_.FileExists(path)) return;
  }
  const std::optional<std::string> text = files_.ReadText(path);
  if (!text) return;
  const MapContent map = ReadMapText(*text, requiredSrc);
  if (!map.hasImage || map.usemap.empty()) return;
  state_.ImageSrc = map.src;
  state_.ImagePath = common::ResolveRelativePath(map.src, FolderOf(state_.MapPath));
  if (!files_.FileExists(state_.ImagePath)) return;
  if (!map.hasMapBlock) return;

  const int digits = view_.SetDigitsValue(static_cast<int>(map.firstHref.value_or("").size()) - 1);
  state_.OutputNumberFormat.assign(static_cast<std::size_t>(std::max(digits, 0)), '0');

  ResetContours();
  engine::ContourPoints& points = contours_.ContourPoints;
  for (const MapArea& area : map.polygons) {
    const std::string number = area.href.empty() ? std::string() : area.href.substr(1);
    std::int32_t value = 0;
    std::string shown = number;
    const bool numeric = !number.empty() && number.size() <= 9 &&
                         std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (numeric) {
      value = std::stoi(number);
      shown = engine::FormatContourNumber(value, state_.OutputNumberFormat);
    }
    titles_.AddItem("#" + shown + "  " + area.alt);
    titles_.EnableTitlesText(true);
    if (contours_.ContourCount > 0) points.push_back(engine::Separator(contours_.ContourCount));
    points.insert(points.end(), area.points.begin(), area.points.end());
    ++contours_.ContourCount;
  }
  if (titles_.ListCount() > 0) titles_.SetListIndex(0);
  view_.EnableMenu(MenuItem::mFileSaveAs, true);
}

std::string Document::InitialFolder(const std::string& path) const {
  const std::string folder = files_.DirExists(path) ? path : FolderOf(path);
  return !folder.empty() && files_.DirExists(folder) ? folder : std::string();
}

Document::BatchResult Document::mFileBatch_Click() {
  BatchResult outcome;
  if (ConfirmSaveChanges() == kAnswerCancel) return outcome;
  dialog_.FileFlags =
      core::kOfnHideReadOnly | core::kOfnAllowMultiSelect | core::kOfnFileMustExist | core::kOfnShareAware;
  dialog_.HelpContextId = view_.MenuHelpContextId(MenuItem::mFileBatch);
  dialog_.DialogTitle = WithoutAmpersands(view_.MenuCaption(MenuItem::mFileBatch));
  const std::string p(kImagePatterns);
  dialog_.Filter = "Image Files (" + p + ")|" + p + "|All Files (*.*)|*.*|";
  dialog_.InitDir = InitialFolder(state_.ImagePath);
  dialog_.FileName.clear();
  state_.BatchRunning = true;
  const std::int32_t result = dialog_.ShowOpenDialog();
  state_.BatchRunning = false;
  if (result != 1 || (!state_.SeparateFiles && state_.TextOutputPath.empty())) return outcome;

  outcome.ran = true;
  state_.BatchRunning = true;
  view_.EnableUiDuringRun(false);
  view_.StartRunClock();
  view_.SetProgress(engine::kProgressBatch, 0);
  titles_.Clear();
  titles_.SetTitlesText("");
  titles_.EnableTitlesText(false);
  std::vector<ReportRow> rows;
  std::vector<std::string> failures;
  batchFailures_ = &failures;
  int processed = 0;

  for (std::int32_t i = 0; i < dialog_.FileCount(); ++i) {
    state_.ImagePath = dialog_.FileAt(i);
    if (files_.FileExists(state_.ImagePath)) {
      contours_.ContourPoints = engine::EmptyContourPoints();
      state_.MapPath = DefaultMapPath(state_.ImagePath);
      state_.ImageSrc.clear();
      // A picture that cannot be read adds nothing, like a missing file.
      if (!LoadImageFile(false)) {
        ++outcome.unreadable;
      } else {
        view_.CreateContours();
        if (state_.BatchRunning) {
          ++processed;
          if (state_.SeparateFiles) {
            const std::size_t reported = failures.size();
            if (mFileSave_Click()) {
              ++outcome.mapsWritten;
            } else if (failures.size() > reported) {
              ++outcome.mapsFailed;
            }
          } else {
            rows.push_back({FileNameOf(state_.ImagePath), FormatOutputText("", "")});
          }
        }
      }
    }
    view_.ShowElapsedTime();
    view_.SetProgress(engine::kProgressBatch, Percent(i + 1, dialog_.FileCount()));
    if (!state_.BatchRunning) break;
  }
  batchFailures_ = nullptr;

  if (state_.BatchRunning && !state_.SeparateFiles) {
    std::string error;
    if (!files_.WriteFileAtomic(state_.TextOutputPath, BuildBatchReport(rows), error)) {
      outcome.reportFailed = true;
      failures.push_back("The report could not be written to \"" + state_.TextOutputPath + "\": " + error);
    }
  }
  view_.HideProgress(engine::kProgressBatch);
  view_.SetStatusText(StatusPanel::Progress1, std::to_string(processed) + " images processed.");
  view_.EnableUiDuringRun(true);
  if (!failures.empty()) {
    std::string text;
    for (const std::string& f : failures) text += (text.empty() ? "" : "\r\n") + f;
    view_.ShowError(text);
  }
  view_.Beep(kInformationBeep);
  state_.BatchRunning = false;
  outcome.processed = processed;
  return outcome;
}

}  // namespace morvane::document
