#include "controls/linkbox/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace morvane::linkbox {

ShellOpener::~ShellOpener() = default;

namespace {

class DesktopOpener : public ShellOpener {
 public:
  void Open(const QString& target) override {
    const QFileInfo info(target);
    if (info.exists()) {
      if (info.isFile() && info.isExecutable()) {
        // An argument list, no shell: a path with blanks is one program.
        QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
      } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
      }
      return;
    }
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
  }
};

}  // namespace

ShellOpener& DesktopShellOpener() {
  static DesktopOpener opener;
  return opener;
}

}  // namespace morvane::linkbox
