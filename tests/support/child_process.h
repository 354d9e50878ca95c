#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace morvane::testing {

// Exit code of a child that has ended, or 128 + the signal that ended it.
inline int WaitForChild(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs body(i) for i in [0, count) in as many child processes at once (real processes:
// separate memory, separate file descriptors) and answers their exit codes. A child
// ends with _exit, so nothing of the test's own teardown runs in it.
template <typename Body>
std::vector<int> RunInChildren(int count, Body body) {
  std::vector<pid_t> pids;
  for (int i = 0; i < count; ++i) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body(i));
    pids.push_back(pid);
  }
  std::vector<int> codes;
  for (const pid_t pid : pids) codes.push_back(pid < 0 ? -1 : WaitForChild(pid));
  return codes;
}

// body in one child process; its exit code.
template <typename Body>
int RunInChild(Body body) {
  return RunInChildren(1, [&](int) { return body(); }).front();
}

}  // namespace morvane::testing
