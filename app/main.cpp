// morvane: the main window on an image or a map named on the command line.
#include <QApplication>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/core/version_record.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationDisplayName(QString::fromStdString(morvane::core::ThisVersionRecord().title));
  morvane::app::MainWindow window(morvane::app::AppContext::ForProgram(QApplication::arguments()));
  window.show();
  return QApplication::exec();
}
