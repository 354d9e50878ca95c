#pragma once

#include "platform/core/message_box.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

namespace morvane::widgets {

using core::BeepType;
using core::kBeepDefault;
using core::kBeepError;
using core::kBeepInformation;
using core::kBeepQuestion;
using core::kBeepWarning;

// A modal message box over a widget. The style combines core::MessageBoxStyle values;
// the text is plain text; an empty title is the program's title. The real one shows
// the platform core's box (AppMessageBox).
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual core::DialogAnswer Show(QWidget* owner, const QString& text, int style,
                                  const QString& title = {}) = 0;
};

class BeepService {
 public:
  virtual ~BeepService() = default;
  virtual void MessageBeep(int type) = 0;
};

// Documents, addresses and programs. Start passes the arguments as a list (no shell),
// so paths with blanks need no quoting. Both answer whether the request was accepted.
class ShellService {
 public:
  virtual ~ShellService() = default;
  virtual bool Open(const QString& pathOrAddress) = 0;
  virtual bool Start(const QString& program, const QStringList& arguments,
                     const QString& workingFolder = {}) = 0;
};

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  virtual QString Text() const = 0;
  virtual void SetText(const QString& text) = 0;
  virtual void Clear() = 0;
};

// The services in use: the real ones unless a ServiceOverride is alive.
MessageBoxService& MessageBoxes();
BeepService& Beeper();
ShellService& Shell();
ClipboardService& Clipboard();

// Puts other services in place for its lifetime (null keeps the one in use) and puts
// the previous ones back when it ends. Tests install fakes this way.
class ServiceOverride {
 public:
  ServiceOverride(MessageBoxService* messageBoxes, BeepService* beeper, ShellService* shell,
                  ClipboardService* clipboard);
  ~ServiceOverride();
  ServiceOverride(const ServiceOverride&) = delete;
  ServiceOverride& operator=(const ServiceOverride&) = delete;

 private:
  MessageBoxService* messageBoxes_;
  BeepService* beeper_;
  ShellService* shell_;
  ClipboardService* clipboard_;
};

// The program's title for message boxes: the application display name.
QString ProgramTitle();

// How a file path or an address becomes something the desktop can open: an address
// with a scheme ("http:", "mailto:", "file:") as it is, anything else as a local path.
QString DesktopTarget(const QString& pathOrAddress);

}  // namespace morvane::widgets
