#pragma once

#include <QSize>

#include "tests/app/app_fixture.h"
#include "tests/support/x_input.h"

namespace morvane::testing {

// The window on a picture, shown on the test's own X server and given the focus there,
// so that keys and clicks sent through the server reach it.
struct PictureWindowUnderX : PictureWindow {
  explicit PictureWindowUnderX(const Writer& picture = WriteSample, QSize size = QSize(900, 600))
      : PictureWindow(picture, size) {
    XInput::Focus(w.get());
  }
};

}  // namespace morvane::testing
