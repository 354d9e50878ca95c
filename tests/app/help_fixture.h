#pragma once

#include <QFile>
#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

#include "app/context_help.h"
#include "tests/app/app_fixture.h"

namespace morvane::testing {

// Records the topics asked for instead of showing them.
struct RecordingHelp final : app::HelpDisplay {
  struct Shown {
    int id;
    QPoint at;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> topics;
  int contents = 0;
  void ShowTopic(int contextId, QPoint globalPos) override { topics.push_back({contextId, globalPos}); }
  void ShowContents(QWidget*) override { ++contents; }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const Shown& s : topics) ids.push_back(s.id);
    return ids;
  }
};

inline QString SourceTopicsFile() { return QStringLiteral(MORVANE_SOURCE_DIR "/app/Morvane.topics"); }

// The main window over a program folder that holds the program's topics file (or
// not), with its help going to a recorder.
struct HelpWindow {
  FakeServices services;
  AppFolder folder;
  RecordingHelp help;
  std::unique_ptr<app::MainWindow> window;

  explicit HelpWindow(bool withTopics = true) {
    if (withTopics)
      QFile::copy(SourceTopicsFile(), QString::fromStdString(folder.folder.File("Morvane.topics")));
    app::AppContext context = folder.Context();
    context.helpDisplay = &help;
    window = std::make_unique<app::MainWindow>(context);
    window->show();
  }
  ~HelpWindow() {
    // Nothing stays open for the next test.
    if (window) window->Help().EndWhatsThisMode();
  }
  app::MainWindow& operator*() { return *window; }
  app::MainWindow* operator->() { return window.get(); }
};

}  // namespace morvane::testing
