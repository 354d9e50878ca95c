#pragma once

// The real program, started as a child on the test's own X server and driven through
// it, for what only a process of its own shows: its command line, its settings file at
// exit, two programs over one file.

#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/x_input.h"
#include "tests/support/x_server.h"

namespace morvane::testing {

// A program folder of the test's own: the program linked there (its folder is where its
// settings live), the control libraries and topics beside it, and a home of its own for
// the registry stand-in, for as long as the object lives.
class ProgramFolder {
 public:
  ProgramFolder() {
    namespace fs = std::filesystem;
    const fs::path bin = MORVANE_BINARY_DIR "/bin";
    fs::create_directories(folder.File("program"));
    fs::create_directories(folder.File("home"));
    std::error_code error;
    fs::create_hard_link(bin / "morvane", Program(), error);
    if (error) fs::copy_file(bin / "morvane", Program());
    for (const fs::directory_entry& entry : fs::directory_iterator(bin)) {
      const std::string name = entry.path().filename().string();
      if ((name.starts_with("lib") && name.ends_with(".so")) || name.ends_with(".topics")) {
        fs::create_symlink(entry.path(), folder.File("program/" + name));
      }
    }
    for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", folder.File("home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", folder.File("home/.config").c_str(), 1);
  }
  ~ProgramFolder() {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME"};
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        ::setenv(names[i], saved_[i]->c_str(), 1);
      } else {
        ::unsetenv(names[i]);
      }
    }
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::string Program() const { return folder.File("program/morvane"); }
  std::string SettingsFile() const { return folder.File("program/Morvane.dat"); }

  TempFolder folder;

 private:
  std::vector<std::optional<std::string>> saved_;
};

// One run of the program: started with its arguments (bytes as they are), ended by
// File > Exit or, failing that, when the object goes.
class RunningProgram {
 public:
  RunningProgram(const ProgramFolder& folder, const std::vector<std::string>& arguments,
                 const std::string& workingFolder = {}) {
    std::vector<std::string> argv = {folder.Program()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::string previous;
    if (!workingFolder.empty()) {
      previous = std::filesystem::current_path().string();
      std::filesystem::current_path(workingFolder);
    }
    pid_ = Spawn(argv);
    if (!previous.empty()) std::filesystem::current_path(previous);
    XInput::WaitUntil(
        [&] {
          window_ = WindowOfPid();
          return !window_.isEmpty() || Ended();
        },
        60000);
  }
  ~RunningProgram() { EndChild(pid_); }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool HasWindow() const { return !window_.isEmpty(); }
  // The window's title as the server has it.
  QString Title() const { return Xdotool({QStringLiteral("getwindowname"), window_}).trimmed(); }

  // The keys, in xdotool's names, one after another to the program's window, with a
  // pause after each for a menu it opens to show.
  bool Keys(const QStringList& keys) {
    if (!Focus()) return false;
    for (const QString& key : keys) {
      if (!XInput::Key(key)) return false;
      XInput::Settle(400);
    }
    return true;
  }
  bool Focus() {
    return HasWindow() &&
           XInput::Send({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_});
  }
  bool MoveWindow(int x, int y) {
    return XInput::Send({QStringLiteral("windowmove"), QStringLiteral("--sync"), window_,
                         QString::number(x), QString::number(y)});
  }

  // File > Exit from the keyboard, again should a busy program miss its menu; true when
  // the program ended of itself with 0.
  bool Exit() {
    for (int attempt = 0; attempt < 3 && !Ended(); ++attempt) {
      if (!Keys({QStringLiteral("Escape"), QStringLiteral("alt+f")})) break;
      XInput::Settle(300);
      XInput::Key(QStringLiteral("x"));
      XInput::WaitUntil([&] { return Ended(); }, 15000);
    }
    return Ended() && exitCode_ == 0;
  }

 private:
  static QString Xdotool(const QStringList& words) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), words);
    if (!xdotool.waitForFinished(5000)) return {};
    return QString::fromLatin1(xdotool.readAllStandardOutput());
  }
  QString WindowOfPid() const {
    const QString found = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--pid"), QString::number(pid_)});
    return found.section(QLatin1Char('\n'), 0, 0).trimmed();
  }
  bool Ended() {
    if (pid_ <= 0) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return true;
  }

  pid_t pid_ = -1;
  int exitCode_ = -1;
  QString window_;
};

}  // namespace morvane::testing
