#pragma once

// Stand-ins for the desktop services, for tests: nothing blocks and every request is
// recorded. A FakeServices object installs all four for its lifetime.

#include "platform/widgets/desktop_services.h"

#include <deque>
#include <utility>
#include <vector>

namespace morvane::testing {

using widgets::BeepService;
using widgets::ClipboardService;
using widgets::MessageBoxService;
using widgets::ProgramTitle;
using widgets::ServiceOverride;
using widgets::ShellService;

class FakeMessageBoxes final : public MessageBoxService {
 public:
  struct Shown {
    QString text;
    int style;
    QString title;
  };
  // Answers given in turn; when none is queued, the box's first button.
  std::deque<core::DialogAnswer> answers;
  std::vector<Shown> shown;

  core::DialogAnswer Show(QWidget*, const QString& text, int style, const QString& title) override {
    shown.push_back({text, style, title.isEmpty() ? ProgramTitle() : title});
    if (!answers.empty()) {
      const core::DialogAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    switch (style & core::kMbButtonsMask) {
      case core::kMbAbortRetryIgnore: return core::kAnswerAbort;
      case core::kMbYesNoCancel:
      case core::kMbYesNo: return core::kAnswerYes;
      case core::kMbRetryCancel: return core::kAnswerRetry;
      default: return core::kAnswerOk;
    }
  }
};

class FakeBeeper final : public BeepService {
 public:
  std::vector<int> beeps;
  void MessageBeep(int type) override { beeps.push_back(type); }
};

class FakeShell final : public ShellService {
 public:
  struct Started {
    QString program;
    QStringList arguments;
    QString workingFolder;
  };
  bool accept = true;
  std::vector<QString> opened;
  std::vector<Started> started;
  bool Open(const QString& pathOrAddress) override {
    opened.push_back(pathOrAddress);
    return accept;
  }
  bool Start(const QString& program, const QStringList& arguments,
             const QString& workingFolder) override {
    started.push_back({program, arguments, workingFolder});
    return accept;
  }
};

class FakeClipboard final : public ClipboardService {
 public:
  QString text;
  QString Text() const override { return text; }
  void SetText(const QString& t) override { text = t; }
  void Clear() override { text.clear(); }
};

struct FakeServices {
  FakeMessageBoxes messageBoxes;
  FakeBeeper beeper;
  FakeShell shell;
  FakeClipboard clipboard;
  ServiceOverride installed{&messageBoxes, &beeper, &shell, &clipboard};
};

}  // namespace morvane::testing
