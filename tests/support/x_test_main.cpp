// Entry point of the tests that run under a real X server: each run starts an Xvfb of its
// own, so that ctest's parallel test processes never share a display, and puts Qt on it.
// Listing the tests (ctest's discovery) needs no server. Without Xvfb every test is
// skipped: the run ends with 77.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/x_server.h"

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing |= std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;

  morvane::testing::XServer server;
  if (listing) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  } else {
    if (!server.Start()) {
      std::fprintf(stderr, "Xvfb is missing or did not start: skipped\n");
      return 77;
    }
    ::setenv("DISPLAY", server.Display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
