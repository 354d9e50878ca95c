#pragma once

#include <QString>

namespace morvane::linkbox {

// Opens a file, folder, program or web or mail address the way the desktop's
// "open" does, in a normally shown window. What happens after the request is the
// desktop's affair: a target that cannot be opened gives no message.
class ShellOpener {
 public:
  virtual ~ShellOpener();
  virtual void Open(const QString& target) = 0;
};

// The desktop's opener: existing paths by their type (a program is started, anything
// else opened with its application), other targets as addresses.
ShellOpener& DesktopShellOpener();

}  // namespace morvane::linkbox
