#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace morvane::gui::loader {

// The first picture of a GIF: where it lies on the logical screen and where its
// compressed data begins.
struct GifFrame {
  int screenWidth = 0, screenHeight = 0;
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  qsizetype palette = -1;  // offset of the colour table used, -1 for none
  int paletteSize = 0;
  int transparent = -1;
  int minCodeSize = 0;
  qsizetype data = 0;  // the first sub-block
};

std::optional<GifFrame> FindGifFrame(const QByteArray& b);

// True when the file holds the whole first picture, up to the end of its data.
bool GifComplete(const QByteArray& b);

// True when the first picture's data decodes, code by code, to all its pixels.
bool GifDataSound(const QByteArray& b);

// Qt's GIF reader takes no picture of 2^28 pixels or more, and the largest promised
// picture has exactly that many: it is decoded here, onto a white screen with the
// transparent entry white. Each string after the first of a table is copied from where
// it first stood in the output, so the work is a copy per code, not a step per pixel.
QImage DecodeLargeGif(const QByteArray& b);

}  // namespace morvane::gui::loader
