#include "document/document.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <span>
#include <utility>

#include "common/file_helpers.h"
#include "document/area_order.h"
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
    if (p < pattern.size() &&
        (pattern[p] == '?' || core::AsciiLower(pattern[p]) == core::AsciiLower(name[n]))) {
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
  return static_cast<int>(
      std::nearbyint(static_cast<double>(part) * 100.0 / static_cast<double>(whole)));
}

std::string OpenFilter() {
  const std::string p(kImagePatterns), h(kMapPatterns);
  return "Image Files (" + p + ")|" + p + "|HTML Files (" + h + ")|" + h + "|All Files (*.*)|*.*|";
}

// Counts characters, not bytes, so names outside ASCII pad like the others.
std::size_t Utf8Length(std::string_view s) {
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::uint32_t LittleEndian(std::string_view b, std::size_t at, std::size_t size) {
  if (at + size > b.size()) return 0;
  std::uint32_t value = 0;
  for (std::size_t k = size; k-- > 0;) value = (value << 8) | static_cast<unsigned char>(b[at + k]);
  return value;
}

bool IsDibHeaderSize(std::uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
         size == 124;
}

// A BITMAPINFOHEADER (or its older, shorter kind) at at: its size and one plane.
bool IsDibHeader(std::string_view b, std::size_t at) {
  const std::uint32_t size = LittleEndian(b, at, 4);
  if (!IsDibHeaderSize(size)) return false;
  return LittleEndian(b, at + (size == 12 ? 8 : 12), 2) == 1;
}

// The map's area lines: one per contour, each with its own number, title and link,
// the contours that lie inside others first (InnermostFirst), so that a browser finds
// every area; the document's order and numbers stay as they are.
std::vector<std::string> MapAreaLines(const engine::ContourPoints& points, const std::string& format,
                                      const std::vector<engine::ContourTitle>& titles,
                                      std::string_view templ) {
  // The contours as the area text finds them: a separator gives the number of the
  // points after it, and a separator without points after it makes no contour.
  struct Contour {
    std::int32_t number;
    std::size_t first, end;
  };
  std::vector<Contour> contours;
  std::int32_t number = 0;
  for (std::size_t k = 1; k < points.size();) {
    if (engine::IsSeparator(points[k])) {
      number = points[k++].x;
      continue;
    }
    const std::size_t first = k;
    while (k < points.size() && !engine::IsSeparator(points[k])) ++k;
    contours.push_back({number, first, k});
  }
  std::vector<std::span<const engine::ContourPoint>> outlines;
  outlines.reserve(contours.size());
  for (const Contour& c : contours) outlines.emplace_back(points.data() + c.first, c.end - c.first);

  const TitleOf titleOf = TitlesFrom(titles, [](std::string_view title) { return EscapeHtml(title); });
  std::vector<std::string> lines;
  lines.reserve(contours.size());
  engine::ContourPoints one = engine::EmptyContourPoints();
  for (const std::size_t k : InnermostFirst(outlines)) {
    const Contour& c = contours[k];
    one.resize(1);
    one.push_back(engine::Separator(c.number));
    one.insert(one.end(), points.begin() + static_cast<std::ptrdiff_t>(c.first),
               points.begin() + static_cast<std::ptrdiff_t>(c.end));
    std::string line = document::FormatOutputText(one, format, titleOf, templ, kAreaTail);
    const bool titled = c.number >= 0 && static_cast<std::size_t>(c.number) < titles.size();
    const std::string& href = titled ? titles[static_cast<std::size_t>(c.number)].href.Text() : std::string();
    if (!href.empty()) {
      // A link of the contour's own in place of its number, put in after the area
      // text so that nothing in it is taken for a placeholder.
      const std::string numbered = "<area href='#" + engine::FormatContourNumber(c.number, format) + "'";
      if (line.starts_with(numbered)) line.replace(0, numbered.size(), "<area href='" + EscapeHtml(href) + "'");
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// The order in which a map's areas become contours. The writer lists inner contours
// first; their numbers give the document's order back. An area without a number takes
// the lowest number that no area holds, so a map without numbers keeps the file's
// order, and a link of an area's own finds the place its number had.
std::vector<std::size_t> ReadingOrder(const std::vector<std::optional<std::int32_t>>& numbers) {
  std::vector<std::int64_t> held;
  for (const std::optional<std::int32_t>& number : numbers) {
    if (number) held.push_back(*number);
  }
  std::sort(held.begin(), held.end());
  std::vector<std::int64_t> keys(numbers.size());
  std::int64_t free = 0;
  std::size_t next = 0;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (numbers[k]) {
      keys[k] = *numbers[k];
      continue;
    }
    for (; next < held.size() && held[next] <= free; ++next) {
      if (held[next] == free) ++free;
    }
    keys[k] = free++;
  }
  std::vector<std::size_t> order(numbers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  return order;
}

}  // namespace

bool LooksLikePicture(std::string_view head) {
  if (head.starts_with("GIF87a") || head.starts_with("GIF89a")) return true;
  if (head.starts_with("\x89PNG\r\n\x1a\n")) return true;
  if (head.starts_with("\xFF\xD8\xFF")) return true;
  if (head.starts_with("BM") && IsDibHeader(head, 14)) return true;
  if (IsDibHeader(head, 0)) return true;
  if (LittleEndian(head, 0, 4) == 1 && LittleEndian(head, 40, 4) == 0x464D4520) return true;  // " EMF"
  if (LittleEndian(head, 0, 4) == 0x9AC6CDD7) return true;  // a placeable WMF
  const std::uint32_t type = LittleEndian(head, 0, 2), words = LittleEndian(head, 2, 2),
                      version = LittleEndian(head, 4, 2);
  return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

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

Document::Document(DocumentModel& model, WindowRoles roles, RunSequence& runs, FileSystem& files,
                   ImageSource& images, DialogControl& dialog)
    : model_(model),
      state_(model.state),
      roles_(roles),
      runs_(runs),
      files_(files),
      images_(images),
      dialog_(dialog) {}

std::string Document::FormatOutputText(std::string_view templ, std::string_view tail) const {
  return document::FormatOutputText(model_.Points(), model_.NumberFormat(), TitlesFrom(model_.Titles()),
                                    templ, tail);
}

bool Document::SaveMap() {
  const std::string target = state_.MapPath.empty() ? DefaultMapPath(state_.ImagePath) : state_.MapPath;
  if (target.empty()) {
    roles_.prompts.ShowError("There is no image, so there is no map to save.");
    return false;
  }
  // However the path came (a recent file, a name in neither list), a picture is never
  // replaced by its map.
  if (LooksLikePicture(files_.ReadStart(target, kPictureHeadBytes))) {
    Report("The map was not saved: \"" + target + "\" holds a picture, which a map never replaces.");
    return false;
  }
  const std::string name = FileNameOf(state_.ImagePath);
  if (state_.ImageSrc.empty()) state_.ImageSrc = state_.ImagePath;
  const std::string header = MapHeaderLine(state_.ImageSrc, name);

  if (!state_.MapPath.empty() && state_.AskBeforeOverwrite && files_.FileExists(target)) {
    const std::optional<std::string> existing = files_.ReadText(target);
    const bool own = existing && (IsOwnMap(*existing, header) ||
                                  IsOwnMap(*existing, OldMapHeaderLine(state_.ImageSrc, name)));
    if (!own) {
      roles_.prompts.Beep(core::kBeepWarning);
      const core::DialogAnswer answer = roles_.prompts.Ask(
          "The file was changed from another way.\r\nAre you sure you want to overwrite?",
          Buttons::YesNo);
      if (answer != kAnswerYes) return false;
    }
  }

  const std::string_view templ = roles_.menus.CentroidChecked() ? kCentroidAreaTemplate : kAreaTemplate;
  const std::vector<std::string> lines =
      MapAreaLines(model_.Points(), model_.NumberFormat(), model_.Titles(), templ);

  engine::RunControl& run = roles_.run;
  run.SetProgress(engine::kProgressStep, 0);
  const auto n = static_cast<std::int64_t>(lines.size());
  for (std::int64_t i = 0; i < n; ++i) run.SetProgress(engine::kProgressStep, Percent(i, n));
  const std::string text = BuildMapText(state_.ImageSrc, name, lines);
  std::string error;
  const bool written = files_.WriteFileAtomic(target, text, error);
  run.HideProgress(engine::kProgressStep);
  if (!written) {
    Report("The map could not be saved to \"" + target + "\": " + error);
    return false;
  }
  model_.LetChanged(false);
  roles_.commands.StateChanged();
  return true;
}

void Document::SaveMapAs() {
  if (!files_.FileExists(state_.MapPath)) state_.MapPath = DefaultMapPath(state_.ImagePath);
  dialog_.FileFlags = core::kOfnOverwritePrompt | core::kOfnHideReadOnly;
  dialog_.DialogTitle = WithoutAmpersands(roles_.menus.MenuCaption(MenuCommand::mFileSaveAs));
  dialog_.DefaultExt = ".htm";
  dialog_.Filter = "HTML Files (*.*htm*;*.asp*;*.php)|*.*htm*;*.asp*;*.php|All Files (*.*)|*.*|";
  dialog_.FilterIndex = 1;
  dialog_.FileName = state_.MapPath;
  dialog_.InitDir = InitialFolder(state_.MapPath);
  if (dialog_.ShowSaveDialog() != 1) return;
  state_.MapPath = dialog_.FileName;
  dialog_.FileName.clear();
  SaveMap();
}

core::DialogAnswer Document::ConfirmSaveChanges() {
  if (!model_.IsChanged()) return core::kAnswerNone;
  roles_.prompts.Beep(core::kBeepWarning);
  const core::DialogAnswer answer = roles_.prompts.Ask("The current data have been modified.\r\nSave changes?\r\n",
                                        Buttons::YesNoCancel);
  // A save that fails (or whose overwrite is declined) leaves the work unsaved: the
  // command that asked does not go on.
  if (answer == kAnswerYes && !SaveMap()) return kAnswerCancel;
  return answer;
}

void Document::OpenFile() {
  if (ConfirmSaveChanges() == kAnswerCancel) return;
  dialog_.FileFlags =
      core::kOfnHideReadOnly | core::kOfnShowHelp | core::kOfnFileMustExist | core::kOfnShareAware;
  dialog_.HelpContextId = roles_.menus.MenuHelpContextId(MenuCommand::mFileOpen);
  dialog_.DialogTitle = WithoutAmpersands(roles_.menus.MenuCaption(MenuCommand::mFileOpen));
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
  RememberAndOpen(chosen);
  dialog_.FileName.clear();
}

void Document::RememberAndOpen(const std::string& path) {
  const int listed = path.empty() ? -1 : model_.FindRecentFile(path);
  if (listed >= 0) {
    MoveRecentFileFirst(listed, false);
  } else {
    model_.PutRecentFileFirst(path);
  }
  LoadDocument();
}

void Document::OpenRecentFile(int index) {
  if (index < 0 || index >= static_cast<int>(model_.RecentFiles().size())) return;
  // A recent file replaces the document like any open: unsaved work is asked about
  // first, but only when the file is there to open.
  if (!files_.FileExists(model_.RecentFiles()[static_cast<std::size_t>(index)])) return;
  if (ConfirmSaveChanges() == kAnswerCancel) return;
  MoveRecentFileFirst(index, true);
}

void Document::MoveRecentFileFirst(int index, bool reload) {
  if (index < 0 || index >= static_cast<int>(model_.RecentFiles().size())) return;
  const std::string path = model_.RecentFiles()[static_cast<std::size_t>(index)];
  if (!files_.FileExists(path)) return;
  model_.PutRecentFileFirst(path);
  SetDocumentPaths(path);
  if (reload) LoadDocument();
}

void Document::SetDocumentPaths(const std::string& path) {
  // Only an image's extension makes an image; anything else (".txt", none) is taken as
  // a map.
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
    roles_.prompts.ShowError(failure);
  }
}

void Document::LoadDocument() {
  runs_.BeginBusy();
  roles_.picture.ClearPicture();
  model_.LetImageShown(false);
  roles_.picture.SelectZoom(0);
  model_.ResetContours();
  model_.LetClickTraced(false);
  LoadImageMapFile();
  LoadImageFile(false);
  roles_.picture.RedrawContours();
  runs_.EndBusy();
  roles_.status.SetStatusText(engine::StatusField::Progress2, "");
  roles_.commands.StateChanged();
}

bool Document::LoadImageFile(bool keepScroll) {
  if (keepScroll) {
    runs_.ReshowImage();
    return true;
  }
  if (!files_.FileExists(state_.ImagePath)) return false;
  core::RgbImage image;
  std::string message;
  if (!images_.LoadPicture(state_.ImagePath, image, message)) {
    roles_.picture.ClearPicture();
    model_.LetImageShown(false);
    model_.ResetContours();
    roles_.picture.RedrawContours();
    Report(message);
    return false;
  }
  runs_.ShowLoadedImage(std::move(image));
  return true;
}

void Document::LoadImageMapFile() {
  state_.ImageSrc.clear();
  std::string path = state_.MapPath;
  std::optional<std::string> requiredSrc;
  // A folder at the map path is no missing map: reading it says why it cannot be read.
  if (!files_.FileExists(path) && !files_.DirExists(path)) {
    path = DefaultMapPath(state_.ImagePath);
    requiredSrc = state_.ImagePath;
    if (path.empty() || !files_.FileExists(path)) return;
  }
  std::string unreadable;
  const std::optional<std::string> text = files_.ReadText(path, &unreadable);
  if (!text) {
    // A map that is there but cannot be read is told, not taken for a page without one.
    if (!unreadable.empty()) Report("Cannot read the map \"" + path + "\": " + unreadable + ".");
    return;
  }
  const MapContent map = ReadMapText(*text, requiredSrc);
  if (!map.hasImage || map.usemap.empty()) return;
  state_.ImageSrc = map.src;
  state_.ImagePath = common::ResolveRelativePath(map.src, FolderOf(state_.MapPath));
  if (!files_.FileExists(state_.ImagePath)) return;
  if (!map.hasMapBlock) return;

  const std::size_t n = map.polygons.size();
  std::vector<std::optional<std::int32_t>> numbers(n);
  std::optional<std::size_t> lowest;  // the area of the lowest number
  for (std::size_t k = 0; k < n; ++k) {
    numbers[k] = HrefNumber(map.polygons[k].href);
    if (numbers[k] && (!lowest || *numbers[k] < *numbers[*lowest])) lowest = k;
  }
  // The digits are those of the first contour's number, which the writer, listing
  // inner contours first, may put anywhere; an area's own link says nothing of them.
  const std::optional<std::string> digitsHref = lowest ? map.polygons[*lowest].href : map.firstNumberHref;
  model_.LetDigits(static_cast<int>(digitsHref.value_or("").size()) - 1);
  const std::string& format = model_.NumberFormat();

  engine::ContourSet contours;
  engine::ContourPoints& points = contours.points;
  for (const std::size_t k : ReadingOrder(numbers)) {
    const MapArea& area = map.polygons[k];
    if (numbers[k]) {
      contours.titles.push_back({engine::FormatContourNumber(*numbers[k], format), area.alt, true, {}});
    } else if (area.href.empty()) {
      contours.titles.push_back({{}, area.alt, true, {}});
    } else {
      // A link of the area's own stays with its contour.
      contours.titles.push_back(
          {engine::FormatContourNumber(contours.count, format), area.alt, true, area.href});
    }
    if (contours.count > 0) points.push_back(engine::Separator(contours.count));
    points.insert(points.end(), area.points.begin(), area.points.end());
    ++contours.count;
  }
  model_.TakeContours(std::move(contours));
  if (!model_.Titles().empty()) roles_.titles.SelectTitle(0);
}

std::string Document::InitialFolder(const std::string& path) const {
  const std::string folder = files_.DirExists(path) ? path : FolderOf(path);
  return !folder.empty() && files_.DirExists(folder) ? folder : std::string();
}

Document::BatchResult Document::RunBatch() {
  BatchResult outcome;
  if (ConfirmSaveChanges() == kAnswerCancel) return outcome;
  dialog_.FileFlags = core::kOfnHideReadOnly | core::kOfnAllowMultiSelect | core::kOfnFileMustExist |
                      core::kOfnShareAware;
  dialog_.HelpContextId = roles_.menus.MenuHelpContextId(MenuCommand::mFileBatch);
  dialog_.DialogTitle = WithoutAmpersands(roles_.menus.MenuCaption(MenuCommand::mFileBatch));
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
  runs_.BeginBatch();
  engine::RunControl& run = roles_.run;
  run.SetProgress(engine::kProgressBatch, 0);
  model_.ResetContours();
  std::vector<ReportRow> rows;
  std::vector<std::string> failures;
  batchFailures_ = &failures;
  int processed = 0;

  for (std::int32_t i = 0; i < dialog_.FileCount(); ++i) {
    state_.ImagePath = dialog_.FileAt(i);
    if (files_.FileExists(state_.ImagePath)) {
      model_.ResetContours();
      state_.MapPath = DefaultMapPath(state_.ImagePath);
      state_.ImageSrc.clear();
      // A picture that cannot be read adds nothing, like a missing file.
      if (!LoadImageFile(false)) {
        ++outcome.unreadable;
      } else {
        runs_.CreateWholeImageContours();
        if (state_.BatchRunning) {
          ++processed;
          if (state_.SeparateFiles) {
            const std::size_t reported = failures.size();
            if (SaveMap()) {
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
    run.ShowElapsedTime();
    run.SetProgress(engine::kProgressBatch, Percent(i + 1, dialog_.FileCount()));
    if (!state_.BatchRunning) break;
  }
  batchFailures_ = nullptr;

  if (state_.BatchRunning && !state_.SeparateFiles) {
    std::string error;
    if (!files_.WriteFileAtomic(state_.TextOutputPath, BuildBatchReport(rows), error)) {
      outcome.reportFailed = true;
      failures.push_back("The report could not be written to \"" + state_.TextOutputPath +
                         "\": " + error);
    }
  }
  run.HideProgress(engine::kProgressBatch);
  roles_.status.SetStatusText(engine::StatusField::Progress1,
                              std::to_string(processed) + " images processed.");
  runs_.EndBatch();
  if (!failures.empty()) {
    std::string text;
    for (const std::string& f : failures) text += (text.empty() ? "" : "\r\n") + f;
    roles_.prompts.ShowError(text);
  }
  roles_.prompts.Beep(core::kBeepInformation);
  state_.BatchRunning = false;
  outcome.processed = processed;
  return outcome;
}

}  // namespace morvane::document
