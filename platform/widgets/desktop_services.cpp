#include "platform/widgets/desktop_services.h"

#include "platform/widgets/app_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <memory>

namespace morvane::widgets {

namespace {

// The platform core's box, parented to the owner widget.
class QtMessageBoxes final : public MessageBoxService {
 public:
  core::DialogAnswer Show(QWidget* owner, const QString& text, int style,
                          const QString& title) override {
    core::MessageBoxRequest request;
    request.text = text.toStdString();
    request.caption = (title.isEmpty() ? ProgramTitle() : title).toStdString();
    request.style = style;
    const std::unique_ptr<QMessageBox> box = AppMessageBox().Build(request);
    if (owner) box->setParent(owner, box->windowFlags());
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    return clicked ? AppMessageBox::AnswerFor(box->standardButton(clicked)) : core::kAnswerCancel;
  }
};

class QtBeeper final : public BeepService {
 public:
  void MessageBeep(int) override { QApplication::beep(); }
};

class DesktopShell final : public ShellService {
 public:
  bool Open(const QString& pathOrAddress) override {
    if (pathOrAddress.trimmed().isEmpty()) return false;
    return QDesktopServices::openUrl(QUrl(DesktopTarget(pathOrAddress)));
  }
  bool Start(const QString& program, const QStringList& arguments,
             const QString& workingFolder) override {
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, arguments, workingFolder);
  }
};

class SystemClipboard final : public ClipboardService {
 public:
  QString Text() const override { return QGuiApplication::clipboard()->text(); }
  void SetText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
  void Clear() override { QGuiApplication::clipboard()->clear(); }
};

struct Current {
  MessageBoxService* messageBoxes;
  BeepService* beeper;
  ShellService* shell;
  ClipboardService* clipboard;
};

Current& Installed() {
  static QtMessageBoxes messageBoxes;
  static QtBeeper beeper;
  static DesktopShell shell;
  static SystemClipboard clipboard;
  static Current current{&messageBoxes, &beeper, &shell, &clipboard};
  return current;
}

}  // namespace

MessageBoxService& MessageBoxes() { return *Installed().messageBoxes; }
BeepService& Beeper() { return *Installed().beeper; }
ShellService& Shell() { return *Installed().shell; }
ClipboardService& Clipboard() { return *Installed().clipboard; }

ServiceOverride::ServiceOverride(MessageBoxService* messageBoxes, BeepService* beeper,
                                 ShellService* shell, ClipboardService* clipboard) {
  Current& c = Installed();
  messageBoxes_ = c.messageBoxes;
  beeper_ = c.beeper;
  shell_ = c.shell;
  clipboard_ = c.clipboard;
  if (messageBoxes) c.messageBoxes = messageBoxes;
  if (beeper) c.beeper = beeper;
  if (shell) c.shell = shell;
  if (clipboard) c.clipboard = clipboard;
}

ServiceOverride::~ServiceOverride() { Installed() = {messageBoxes_, beeper_, shell_, clipboard_}; }

QString ProgramTitle() {
  const QString display = QGuiApplication::applicationDisplayName();
  return display.isEmpty() ? QCoreApplication::applicationName() : display;
}

QString DesktopTarget(const QString& pathOrAddress) {
  // Two or more letters before the colon: a scheme ("C:" alone would be a drive).
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(pathOrAddress).hasMatch()) return pathOrAddress;
  return QUrl::fromLocalFile(pathOrAddress).toString();
}

}  // namespace morvane::widgets
