#include "platform/widgets/services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include <vector>

namespace morvane::widgets {

namespace {

class QtMessageBoxes final : public MessageBoxService {
 public:
  int Show(QWidget* owner, const QString& text, int style, const QString& title) override {
    QMessageBox box(owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? ProgramTitle() : title);
    switch (style & 0x70) {
      case kCritical: box.setIcon(QMessageBox::Critical); break;
      case kQuestion: box.setIcon(QMessageBox::Question); break;
      case kExclamation: box.setIcon(QMessageBox::Warning); break;
      case kInformation: box.setIcon(QMessageBox::Information); break;
      default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Choice { QMessageBox::StandardButton button; int result; };
    std::vector<Choice> choices;
    switch (style & 0x7) {
      case kOkCancel: choices = {{QMessageBox::Ok, kOk}, {QMessageBox::Cancel, kCancel}}; break;
      case kAbortRetryIgnore:
        choices = {{QMessageBox::Abort, kAbort}, {QMessageBox::Retry, kRetry}, {QMessageBox::Ignore, kIgnore}};
        break;
      case kYesNoCancel:
        choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
        break;
      case kYesNo: choices = {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}}; break;
      case kRetryCancel: choices = {{QMessageBox::Retry, kRetry}, {QMessageBox::Cancel, kCancel}}; break;
      default: choices = {{QMessageBox::Ok, kOk}}; break;
    }
    for (const Choice& c : choices) box.addButton(c.button);
    const std::size_t def = static_cast<std::size_t>((style >> 8) & 0x3);
    box.setDefaultButton(choices[def < choices.size() ? def : 0].button);
    // Escape answers Cancel where there is one, OK on a box with OK alone.
    for (const Choice& c : choices) {
      if (c.result == kCancel || choices.size() == 1) box.setEscapeButton(box.button(c.button));
    }
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const Choice& c : choices) {
      if (c.button == pressed) return c.result;
    }
    return choices.size() == 1 ? kOk : kCancel;
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
  bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) override {
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

ServiceOverride::~ServiceOverride() {
  Installed() = {messageBoxes_, beeper_, shell_, clipboard_};
}

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
