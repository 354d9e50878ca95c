#pragma once

// Pictures for the view that cost no copy of a large picture's pixels.

#include <QImage>

#include <memory>

#include "platform/core/pixel_buffer.h"

namespace morvane::gui {

// The plain buffer as a picture over the same pixels (Format_RGB32). The picture and
// its copies keep the buffer alive; the buffer is read-only to them: the first change
// made to such a picture is made on a copy of its own, so the buffer stays as it is.
// Null for an empty buffer.
QImage SharedPicture(std::shared_ptr<const core::RgbImage> image);

// A Format_RGB32 picture to draw on, its pixels not set. A large one is asked of the
// system in large pages where it grants them: its first writing then costs a few
// hundred page faults instead of tens of thousands. Null when there is no memory.
QImage NewLargePicture(int width, int height);

}  // namespace morvane::gui
