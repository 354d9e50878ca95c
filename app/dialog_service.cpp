#include "app/dialog_service.h"

#include <QColorDialog>
#include <QEventLoop>
#include <QFileInfo>

#include "platform/widgets/help_viewer.h"

namespace morvane::app {

namespace {

QColor FromOle(std::int32_t ole) {
  const auto v = static_cast<std::uint32_t>(ole);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t ToOle(const QColor& c) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) |
                                   (static_cast<std::uint32_t>(c.green()) << 8) |
                                   (static_cast<std::uint32_t>(c.blue()) << 16));
}

}  // namespace

DialogService::DialogService(QWidget* owner) : owner_(owner) { files_.parent = owner; }

DialogService::~DialogService() { delete popup_; }

QString DialogService::TopicsFile() const {
  return widgets::TopicsFileFor(helpFile_, QFileInfo(helpFile_).absolutePath());
}

bool DialogService::HelpFileExists() const {
  return !helpFile_.isEmpty() && QFileInfo(TopicsFile()).isFile();
}

bool DialogService::ShowHelp(HelpCommand command) {
  if (command != HelpCommand::Contents) return false;
  if (HelpRequested) {
    HelpRequested(helpFile_, 0);
    return true;
  }
  return widgets::HelpViewer::ShowContents(TopicsFile(), 0, owner_);
}

void DialogService::SetColor(std::int32_t color) {
  color_ = color;
  if (colorDialog_ != nullptr) colorDialog_->setCurrentColor(FromOle(color));
}

bool DialogService::ShowColor() {
  QColorDialog dialog(FromOle(color_), owner_);
  dialog.setObjectName(QStringLiteral("ucCarrowColor"));
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  colorDialog_ = &dialog;
  int result = QDialog::Rejected;
  if (Mode == ColorDialogMode::Beside) {
    // Open beside the window: the window keeps its clicks, and the caller waits here.
    dialog.setModal(false);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&](int r) {
      result = r;
      loop.quit();
    });
    dialog.show();
    loop.exec();
  } else {
    result = dialog.exec();
  }
  colorDialog_ = nullptr;
  if (result != QDialog::Accepted) return false;
  color_ = ToOle(dialog.currentColor());
  return true;
}

void DialogService::ShowOpen() {
  files_.FileFlags = Flags;
  files_.HelpContextId = HelpContextId;
  files_.HelpFile = helpFile_;
  files_.HelpRequested = HelpRequested;
  files_.DialogTitle = DialogTitle;
  files_.Filter = Filter;
  files_.FileName = FileName;
  files_.InitDir = InitDir;
  files_.InitDialog = InitFileDialog;
  FileName = files_.ShowOpenDialog() == 1 ? files_.FileName : QString();
}

widgets::MessagePopup& DialogService::PopupControl() {
  if (popup_ == nullptr) {
    popup_ = new widgets::MessagePopup(owner_);
    QObject::connect(popup_, &widgets::MessagePopup::LinkClick, popup_,
                     [this](widgets::MessagePopup* popup, int line) {
                       if (LinkClick) LinkClick(*popup, line);
                     });
  }
  return *popup_;
}

widgets::MessagePopup* DialogService::OpenPopup() const {
  return popup_ != nullptr && popup_->isVisible() ? popup_.data() : nullptr;
}

int DialogService::Popup(const QString& richText, const QString& caption) {
  return PopupControl().Popup(richText, caption);
}

}  // namespace morvane::app
