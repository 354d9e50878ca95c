#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_model.h"
#include "document/file_access.h"
#include "document/run_sequence.h"
#include "document/window_roles.h"

namespace morvane::document {

// The patterns that tell images from maps, matched against the file name, letter case
// aside. The images are every format the image loader reads: the Open and batch
// filters, the recent files, the command line and drops all go by this one list.
inline constexpr std::string_view kImagePatterns =
    "*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.dib;*.emf;*.wmf;*.ico;*.cur;*.pbm;*.pgm;*.ppm;*.xbm;*.xpm;*.svg;"
    "*.svgz";
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

// Whether a file's first bytes (kPictureHeadBytes of them, or all of a shorter file)
// are those of a picture: GIF, PNG, JPEG, BMP (or a DIB without its file header), EMF
// or WMF. A map is never saved over such a file.
inline constexpr std::size_t kPictureHeadBytes = 64;
bool LooksLikePicture(std::string_view head);

// The document's commands: open, reload, save, the save prompt, recent files and the
// batch, on the document model. Each is the work of a command handler of the main
// window after its context-help check, which the window makes first.
class Document {
 public:
  Document(DocumentModel& model, WindowRoles roles, RunSequence& runs, FileSystem& files,
           ImageSource& images, DialogControl& dialog);

  // The area text of the current contours; the Copy command passes empty texts.
  std::string FormatOutputText(std::string_view templ, std::string_view tail) const;

  // File > Save (mFileSave_Click): writes the map to MapPath (or the default map path).
  // True when written.
  bool SaveMap();
  // File > Save As (mFileSaveAs_Click).
  void SaveMapAs();

  // File > Open (mFileOpen_Click).
  void OpenFile();
  // A recent file clicked (mFileList_Click): it moves to the top and opens.
  void OpenRecentFile(int index);
  // kAnswerNone when nothing is unsaved, else the button: Yes (after saving), No, Cancel.
  core::DialogAnswer ConfirmSaveChanges();
  // Puts path first in the recent files and opens it (UpdateRecentFilesMenu).
  void RememberAndOpen(const std::string& path);
  // A map path becomes MapPath, any other ImagePath with its default map path.
  void SetDocumentPaths(const std::string& path);
  // Empties the document and loads the map and the image of the paths (NewDocument).
  void LoadDocument();
  // keepScroll: show the work picture again. Otherwise load ImagePath; a picture that
  // cannot be read is reported and leaves an empty document. True when shown.
  bool LoadImageFile(bool keepScroll);
  void LoadImageMapFile();

  // File > Batch (mFileBatch_Click). Says how it went, for callers without a window.
  struct BatchResult {
    bool ran = false;           // the dialog was confirmed and the run started
    int processed = 0;          // images traced to the end
    int unreadable = 0;         // pictures that could not be read
    bool reportFailed = false;  // the report could not be written
    int mapsWritten = 0;        // separate maps written
    int mapsFailed = 0;         // separate maps that could not be written
  };
  BatchResult RunBatch();

 private:
  std::string InitialFolder(const std::string& path) const;
  void MoveRecentFileFirst(int index, bool reload);
  // Shows a failure, or during a batch gathers it for one message at the end.
  void Report(const std::string& failure);

  DocumentModel& model_;
  DocumentState& state_;
  WindowRoles roles_;
  RunSequence& runs_;
  FileSystem& files_;
  ImageSource& images_;
  DialogControl& dialog_;

  // Set during a batch: pictures that cannot be read and maps that cannot be saved
  // are gathered instead of shown one box at a time.
  std::vector<std::string>* batchFailures_ = nullptr;
};

}  // namespace morvane::document
