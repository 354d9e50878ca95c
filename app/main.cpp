// morvane: the main window on an image or a map named on the command line.
#include <QApplication>
#include <QMessageBox>

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/core/version_record.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The name, not the display name: Qt would append a display name to every window
  // title, and the window's caption already begins with the program's title.
  application.setApplicationName(QString::fromStdString(morvane::core::ThisVersionRecord().title));
  // The arguments as their bytes, Qt's own options already taken out of argv: a file
  // name that is not UTF-8 would not survive QApplication::arguments().
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::unique_ptr<morvane::app::MainWindow> window;
  try {
    window = std::make_unique<morvane::app::MainWindow>(
        morvane::app::AppContext::ForProgram(std::move(arguments)));
  } catch (const std::exception& e) {
    // A control library that is missing or broken leaves no window to show: say why
    // instead of ending with an unexplained abort.
    const QString reason = QString::fromUtf8(e.what());
    std::cerr << "morvane: cannot start: " << e.what() << "\n";
    QMessageBox::critical(nullptr, QApplication::applicationName(),
                          QStringLiteral("Morvane cannot start:\n") + reason);
    return 1;
  }
  window->show();
  return QApplication::exec();
}
