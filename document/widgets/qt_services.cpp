#include "document/widgets/qt_services.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "document/widgets/batch_output_panel.h"
#include "platform/gui/image_loader.h"
#include "platform/widgets/file_dialog.h"

namespace morvane::document {

namespace {

// Paths cross between the document (the file system's bytes) and the dialogs (text) the
// way the file system names them.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

QtDialogControl::QtDialogControl(widgets::FileDialog& dialogs, DocumentModel& model,
                                 std::function<bool()> connected)
    : dialogs_(dialogs), model_(model), connected_(std::move(connected)) {
  dialogs_.InitDialog = [this](QFileDialog& dialog) {
    InsertBatchOutputPanel(dialog, model_, connected_ && connected_(), dialogs_);
  };
}

QtDialogControl::~QtDialogControl() { dialogs_.InitDialog = nullptr; }

std::int32_t QtDialogControl::FileCount() const { return dialogs_.FileCount(); }

std::string QtDialogControl::FileAt(std::int32_t index) const {
  return NativePath(dialogs_.FileAt(index));
}

std::int32_t QtDialogControl::ShowOpenDialog() { return Show(false); }

std::int32_t QtDialogControl::ShowSaveDialog() { return Show(true); }

std::int32_t QtDialogControl::Show(bool save) {
  dialogs_.FileFlags = FileFlags;
  dialogs_.HelpContextId = HelpContextId;
  dialogs_.DialogTitle = QString::fromStdString(DialogTitle);
  dialogs_.DefaultExt = QString::fromStdString(DefaultExt);
  dialogs_.Filter = QString::fromStdString(Filter);
  dialogs_.FilterIndex = FilterIndex;
  // No usable folder: the dialogs start in the home folder.
  dialogs_.InitDir = InitDir.empty() ? QDir::homePath() : PathText(InitDir);
  dialogs_.FileName = PathText(FileName);
  const std::int32_t result = save ? dialogs_.ShowSaveDialog() : dialogs_.ShowOpenDialog();
  if (result == 1) {
    FileName = NativePath(dialogs_.FileName);
    FilterIndex = dialogs_.FilterIndex;
  }
  return result;
}

bool QtImageSource::LoadPicture(const std::string& path, core::RgbImage& image, std::string& message) {
  // Straight into the plain buffer where the format allows: a large picture has no
  // second 32-bit copy standing beside it while it loads.
  const gui::PictureLoad load = gui::LoadRgbPicture(path, image);
  if (image.empty()) {
    message = load.message.toStdString();
    return false;
  }
  return true;
}

}  // namespace morvane::document
