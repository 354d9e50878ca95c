#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_state.h"
#include "document/services.h"
#include "engine/contour_state.h"
#include "engine/host.h"

namespace morvane::document {

// The patterns that tell images from maps, matched against the file name.
inline constexpr std::string_view kImagePatterns = "*.gif;*.jpg;*.jpeg;*.bmp;*.dib;*.emf;*.wmf";
inline constexpr std::string_view kMapPatterns = "*.htm*;*.asp*;*.php";

// Whether the file name (the text after the last "/" or "\") matches one of the
// ";"-separated wildcard patterns ("*" any run, "?" one character), letter case aside.
bool MatchesPatterns(std::string_view path, std::string_view patterns);

// A map file, by its name; anything else is opened as an image.
bool IsMapFile(std::string_view path);

// One row of the batch report.
struct ReportRow {
  std::string name;
  std::string areaText;
};

// The batch report: each name padded with blanks to the longest name plus one, its
// area text after it, CR LF after each row.
std::string BuildBatchReport(const std::vector<ReportRow>& rows);

// The map file of a document: header line, an empty line, the area lines, an empty
// line, the footer, each line ended by CR LF.
std::string BuildMapText(std::string_view src, std::string_view name,
                         const std::vector<std::string>& areaLines);

// The document's commands: open, reload, save, the save prompt, recent files and the
// batch. Each is the work of its command handler after the context-help check, which
// the main window makes first.
class Document {
 public:
  Document(DocumentState& state, engine::ContourState& contours, engine::TitlesList& titles,
           DocumentView& view, FileSystem& files, ImageSource& images, DialogControl& dialog);

  // The area text of the current contours; the Copy command passes empty texts.
  std::string FormatOutputText(std::string_view templ, std::string_view tail) const;

  // Save: writes the map to MapPath (or the default map path). True when written.
  bool mFileSave_Click();
  void mFileSaveAs_Click();

  void mFileOpen_Click();
  void mFileList_Click(int index);
  // 0 when nothing is unsaved, else the button: 6 Yes (after saving), 7 No, 2 Cancel.
  int ConfirmSaveChanges();
  void UpdateRecentFilesMenu(const std::string& path);
  void SetDocumentPaths(const std::string& caption);
  void NewDocument();
  // keepScroll: show the work picture again. Otherwise load ImagePath; a picture that
  // cannot be read is reported and leaves an empty document. True when shown.
  bool LoadImageFile(bool keepScroll);
  void LoadImageMapFile();

  // File > Batch. Says how it went, for callers without a window.
  struct BatchResult {
    bool ran = false;           // the dialog was confirmed and the run started
    int processed = 0;          // images traced to the end
    int unreadable = 0;         // pictures that could not be read
    bool reportFailed = false;  // the report could not be written
    int mapsWritten = 0;        // separate maps written
    int mapsFailed = 0;         // separate maps that could not be written
  };
  BatchResult mFileBatch_Click();

 private:
  void ResetContours();
  std::string InitialFolder(const std::string& path) const;
  std::string RecentPath(int index) const;
  void ListClick(int index, bool reload);

  DocumentState& state_;
  engine::ContourState& contours_;
  engine::TitlesList& titles_;
  DocumentView& view_;
  FileSystem& files_;
  ImageSource& images_;
  DialogControl& dialog_;
  // Shows a failure, or during a batch gathers it for one message at the end.
  void Report(const std::string& failure);

  // Set during a batch: pictures that cannot be read and maps that cannot be saved
  // are gathered instead of shown one box at a time.
  std::vector<std::string>* batchFailures_ = nullptr;
};

}  // namespace morvane::document
