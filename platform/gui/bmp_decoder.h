#pragma once

#include <QByteArray>
#include <QImage>

namespace morvane::gui::loader {

// A DIB file may lack the 14-byte file header that a BMP carries: it then begins with
// the size of its info header. The file header is made up so the BMP reader takes it.
QByteArray WithBmpFileHeader(const QByteArray& dib);

// True when a file of fileSize bytes that begins with b (its headers at least) holds
// all the pixel rows its header declares.
bool BmpComplete(const QByteArray& b, qint64 fileSize);

// A run-length BMP: an info header of 40 bytes or more, 8-bit runs (RLE8) or 4-bit
// runs (RLE4) with the bit count they need, and a size to decode into.
bool IsRunLengthBmp(const QByteArray& b);

struct RunLengthPicture {
  QImage image;
  bool damaged = false;  // else a null image means no memory for it
};

// Decodes the runs itself: a reader that skips pixels (a delta, an early end of line or
// of the picture) leaves them as whatever its memory held, and the trace would depend
// on it. Skipped pixels are palette index 0, as the picture is filled with it first.
// Runs that go past the row's end or the picture's, a delta that leaves the picture
// and data that ends before its end-of-bitmap mark are damage.
RunLengthPicture DecodeRunLengthBmp(const QByteArray& b);

}  // namespace morvane::gui::loader
