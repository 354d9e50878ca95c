#pragma once

// A real X server (Xvfb) of the test's own, and a window manager on it when a test wants
// one. Events sent through the server (xdotool) reach Qt as a user's would: the keysym
// a key really produces, a popup's pointer grab, the window manager's frame.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace morvane::testing {

// The full path of a program on the PATH, or "".
inline std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string folder = rest.substr(0, colon);
    rest = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    const std::string file = folder + "/" + name;
    if (!folder.empty() && ::access(file.c_str(), X_OK) == 0) return file;
  }
  return {};
}

// Starts argv[0] (a full path) with its arguments, its output to /dev/null unless
// keepOutput; the child's pid or -1.
inline pid_t Spawn(const std::vector<std::string>& argv, bool keepOutput = false) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!keepOutput) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

inline void EndChild(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 50 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (::waitpid(pid, &status, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  pid = -1;
}

// Xvfb on a display number of its own choosing (-displayfd), 1280 x 900 x 24.
class XServer {
 public:
  XServer() = default;
  ~XServer() { EndChild(pid_); }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // False when Xvfb is missing or does not start within ten seconds.
  //
  // The display number is drawn at random rather than left to -displayfd: tests start and
  // end servers in parallel, and a server that takes the number another is just giving up
  // can lose its socket to the old server's clean-up.
  bool Start() {
    const std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty()) return false;
    std::random_device seed;
    std::uniform_int_distribution<int> numbers(1000, 59999);
    for (int attempt = 0; attempt < 8; ++attempt) {
      if (StartOn(xvfb, numbers(seed))) return true;
    }
    return false;
  }

  const std::string& Display() const { return display_; }

 private:
  // Xvfb on :number; true once it accepts clients (it then writes the number to the pipe).
  bool StartOn(const std::string& xvfb, int number) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> argv = {xvfb,          ":" + std::to_string(number),
                                     "-displayfd",  std::to_string(fds[1]),
                                     "-screen",     "0",
                                     "1280x900x24", "-nolisten",
                                     "tcp"};
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    const bool started =
        posix_spawn(&pid_, xvfb.c_str(), &actions, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (!started) {
      ::close(fds[0]);
      pid_ = -1;
      return false;
    }
    // A server that cannot have the number ends at once, which ends the read too.
    pollfd ready{fds[0], POLLIN, 0};
    std::string written;
    char c = 0;
    while (::poll(&ready, 1, 10000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n') written += c;
    ::close(fds[0]);
    if (written != std::to_string(number)) {
      EndChild(pid_);
      return false;
    }
    display_ = ":" + written;
    return true;
  }

  pid_t pid_ = -1;
  std::string display_;
};

// openbox on the current $DISPLAY for as long as the object lives; Running() is false when
// it is not installed.
class WindowManager {
 public:
  WindowManager() {
    const std::string openbox = FindOnPath("openbox");
    if (openbox.empty()) return;
    pid_ = Spawn({openbox, "--sm-disable"});
    // openbox is ready once its own check window exists.
    const std::string xdotool = FindOnPath("xdotool");
    for (int i = 0; i < 100 && pid_ > 0; ++i) {
      const std::string command = xdotool + " search --class openbox >/dev/null 2>&1";
      if (std::system(command.c_str()) == 0) {
        running_ = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~WindowManager() { EndChild(pid_); }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool Running() const { return running_; }

 private:
  pid_t pid_ = -1;
  bool running_ = false;
};

}  // namespace morvane::testing
