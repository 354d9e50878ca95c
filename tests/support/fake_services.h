#pragma once

// Stand-ins for the desktop services, for tests: nothing blocks and every request is
// recorded. A FakeServices object installs all four for its lifetime.

#include "platform/widgets/services.h"
#include "tests/support/fake_message_box.h"

#include <vector>

namespace morvane::testing {

class FakeBeeper final : public widgets::BeepService {
 public:
  std::vector<int> beeps;
  void MessageBeep(int type) override { beeps.push_back(type); }
};

class FakeShell final : public widgets::ShellService {
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
  bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) override {
    started.push_back({program, arguments, workingFolder});
    return accept;
  }
};

class FakeClipboard final : public widgets::ClipboardService {
 public:
  QString text;
  QString Text() const override { return text; }
  void SetText(const QString& t) override { text = t; }
  void Clear() override { text.clear(); }
};

struct FakeServices {
  FakeMessageBox messageBoxes;
  FakeBeeper beeper;
  FakeShell shell;
  FakeClipboard clipboard;
  widgets::ServiceOverride installed{&messageBoxes, &beeper, &shell, &clipboard};
};

}  // namespace morvane::testing
