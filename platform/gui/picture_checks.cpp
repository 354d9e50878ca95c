#include "platform/gui/picture_checks.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "platform/gui/bmp_decoder.h"
#include "platform/gui/gif_decoder.h"
#include "platform/gui/picture_bytes.h"

namespace morvane::gui::loader {
namespace {

bool JpegComplete(const QByteArray& b) {
  const qsizetype scan = b.indexOf("\xFF\xDA");
  return scan >= 0 && b.lastIndexOf("\xFF\xD9") > scan;
}

// Width and height of the SOF segment, the first one of them.
QSize JpegSize(const QByteArray& b) {
  qsizetype at = 2;
  while (at + 4 <= b.size()) {
    if (static_cast<std::uint8_t>(b[at]) != 0xFF) return {};
    const auto marker = static_cast<std::uint8_t>(b[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      return QSize(BigWord(b, at + 7), BigWord(b, at + 5));
    }
    if (marker == 0xD9 || marker == 0xDA) return {};
    at += 2 + BigWord(b, at + 2);
  }
  return {};
}

}  // namespace

void RaiseAllocationLimit() {
  static const bool raised = [] {
    QImageReader::setAllocationLimit(static_cast<int>(qint64{kMaxSide} * kMaxSide * 4 / (1024 * 1024)));
    return true;
  }();
  (void)raised;
}

bool Complete(const QByteArray& bytes, const QByteArray& format) {
  if (format == "bmp") return BmpComplete(bytes, bytes.size());
  if (format == "gif") return GifComplete(bytes);
  if (format == "jpeg" || format == "jpg") return JpegComplete(bytes);
  return true;
}

// ---- What a file declares, checked before anything is decoded -------------------

QSize DeclaredPictureSize(const QByteArray& bytes, const QByteArray& format) {
  if (format == "gif") {
    const auto frame = FindGifFrame(bytes);
    if (!frame) return {};
    return QSize(std::max(frame->screenWidth, frame->left + frame->width),
                 std::max(frame->screenHeight, frame->top + frame->height));
  }
  if (format == "bmp") {
    if (Dword(bytes, 14) == 12) return QSize(Word(bytes, 18), Word(bytes, 20));
    const qint64 w = std::abs(qint64{SignedDword(bytes, 18)});
    const qint64 h = std::abs(qint64{SignedDword(bytes, 22)});
    return QSize(static_cast<int>(std::min<qint64>(w, INT_MAX)),
                 static_cast<int>(std::min<qint64>(h, INT_MAX)));
  }
  if (format == "jpeg" || format == "jpg") return JpegSize(bytes);
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  return reader.size();
}

bool DataSound(const QByteArray& bytes, const QByteArray& format) {
  if (format == "gif") return GifDataSound(bytes);
  return true;
}

}  // namespace morvane::gui::loader
