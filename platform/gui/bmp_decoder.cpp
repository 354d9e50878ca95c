#include "platform/gui/bmp_decoder.h"

#include <QImageIOHandler>
#include <QList>

#include <cstdint>
#include <cstdlib>
#include <limits>

#include "platform/gui/picture_bytes.h"

namespace morvane::gui::loader {

QByteArray WithBmpFileHeader(const QByteArray& dib) {
  if (dib.startsWith("BM")) return dib;
  const std::uint32_t infoSize = Dword(dib, 0);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
      infoSize != 124) {
    return dib;
  }
  std::uint32_t bitCount = 0, colours = 0, masks = 0;
  if (infoSize == 12) {
    bitCount = Word(dib, 10);
    colours = bitCount <= 8 ? (1u << bitCount) : 0;
    colours *= 3;  // RGBTRIPLE entries
  } else {
    bitCount = Word(dib, 14);
    const std::uint32_t compression = Dword(dib, 16);
    const std::uint32_t used = Dword(dib, 32);
    colours = (used != 0 ? used : (bitCount <= 8 ? (1u << bitCount) : 0)) * 4;
    if (infoSize == 40 && compression == 3) masks = 12;  // BI_BITFIELDS
  }
  const std::uint32_t offset = 14 + infoSize + masks + colours;
  QByteArray out(14, '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutDword(out, 2, static_cast<std::uint32_t>(14 + dib.size()));
  PutDword(out, 10, offset);
  return out + dib;
}

bool BmpComplete(const QByteArray& b, qint64 fileSize) {
  if (b.size() < 26) return false;
  const std::uint32_t infoSize = Dword(b, 14);
  std::int64_t width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {
    width = Word(b, 18);
    height = Word(b, 20);
    bits = Word(b, 24);
  } else {
    if (b.size() < 54) return false;
    width = SignedDword(b, 18);
    height = SignedDword(b, 22);
    bits = Word(b, 28);
    compression = Dword(b, 30);
  }
  if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
  const std::int64_t row = ((static_cast<std::int64_t>(bits) * std::abs(width) + 31) / 32) * 4;
  return Dword(b, 10) + row * std::abs(height) <= fileSize;
}

bool IsRunLengthBmp(const QByteArray& b) {
  if (!b.startsWith("BM") || Dword(b, 14) < 40) return false;
  const std::uint32_t compression = Dword(b, 30);
  const std::uint16_t bits = Word(b, 28);
  const bool runs = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
  return runs && SignedDword(b, 18) > 0 && SignedDword(b, 22) != 0 &&
         SignedDword(b, 22) != std::numeric_limits<std::int32_t>::min();
}

RunLengthPicture DecodeRunLengthBmp(const QByteArray& b) {
  const bool four = Dword(b, 30) == 2;
  const int width = SignedDword(b, 18);
  const std::int32_t declaredHeight = SignedDword(b, 22);
  const bool topDown = declaredHeight < 0;
  const int height = topDown ? -declaredHeight : declaredHeight;
  RunLengthPicture out;
  QImage& image = out.image;
  if (!QImageIOHandler::allocateImage(QSize(width, height), QImage::Format_Indexed8, &image)) return out;
  image.fill(0);

  // The palette follows the info header: the colours used, or all the bits allow.
  const int maxColours = four ? 16 : 256;
  const std::uint32_t used = Dword(b, 46);
  const int colours = used == 0 || used > static_cast<std::uint32_t>(maxColours) ? maxColours
                                                                                 : static_cast<int>(used);
  QList<QRgb> table(256, qRgb(0, 0, 0));
  const qsizetype palette = 14 + qsizetype{Dword(b, 14)};
  for (int i = 0; i < colours; ++i) {
    const qsizetype at = palette + 4 * qsizetype{i};
    if (at + 3 > b.size()) break;
    table[i] = qRgb(static_cast<std::uint8_t>(b[at + 2]), static_cast<std::uint8_t>(b[at + 1]),
                    static_cast<std::uint8_t>(b[at]));
  }
  image.setColorTable(table);

  const auto damaged = [&out] {
    out.image = QImage();
    out.damaged = true;
    return out;
  };
  const std::uint32_t offset = Dword(b, 10);
  if (offset > static_cast<std::uint32_t>(b.size())) return damaged();
  qsizetype at = offset;
  int x = 0, y = 0;  // y counts rows in the order they are stored
  const auto row = [&](int stored) { return image.scanLine(topDown ? stored : height - 1 - stored); };
  // Pixel k of a run: a byte each in RLE8, a nibble each (high first) in RLE4.
  const auto index = [four](std::uint8_t byte, int k) {
    return four ? static_cast<std::uint8_t>(k % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte;
  };
  while (at + 2 <= b.size()) {
    const int count = static_cast<std::uint8_t>(b[at]);
    const auto value = static_cast<std::uint8_t>(b[at + 1]);
    at += 2;
    if (count > 0) {
      if (y >= height || x + count > width) return damaged();
      uchar* line = row(y);
      for (int k = 0; k < count; ++k) line[x + k] = index(value, k);
      x += count;
    } else if (value == 0) {  // end of line
      if (y >= height) return damaged();
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return out;
    } else if (value == 2) {  // delta: right and up the picture
      if (at + 2 > b.size()) return damaged();
      x += static_cast<std::uint8_t>(b[at]);
      y += static_cast<std::uint8_t>(b[at + 1]);
      at += 2;
      if (x > width || y > height) return damaged();
    } else {  // absolute: value pixels as they stand, padded to a whole word
      const int n = value;
      const qsizetype bytes = four ? (n + 1) / 2 : n;
      if (at + bytes > b.size() || y >= height || x + n > width) return damaged();
      uchar* line = row(y);
      for (int k = 0; k < n; ++k) {
        line[x + k] = index(static_cast<std::uint8_t>(b[at + (four ? k / 2 : k)]), k);
      }
      x += n;
      at += (bytes + 1) & ~qsizetype{1};
    }
  }
  return damaged();  // no end-of-bitmap mark
}

}  // namespace morvane::gui::loader
