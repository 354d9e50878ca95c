#include "platform/gui/image_loader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/core/file_system.h"

namespace morvane::gui {
namespace {

constexpr int kMaxSide = 16384;  // the largest picture the program is meant to take
// No file of such a picture, stored as plainly as any format allows, is larger; a larger
// file is not read into memory at all.
constexpr qint64 kMaxFileBytes = qint64{1100} * 1024 * 1024;

// Raised once to exactly what the largest picture takes at 32 bits a pixel (1 GiB), so
// a 16k x 16k picture decodes and nothing larger is allocated by a reader.
void RaiseAllocationLimit() {
  static const bool raised = [] {
    QImageReader::setAllocationLimit(static_cast<int>(qint64{kMaxSide} * kMaxSide * 4 / (1024 * 1024)));
    return true;
  }();
  (void)raised;
}

std::uint16_t Word(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

std::uint32_t Dword(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint32_t>(Word(b, at)) | (static_cast<std::uint32_t>(Word(b, at + 2)) << 16);
}

std::int32_t SignedDword(const QByteArray& b, qsizetype at) {
  return static_cast<std::int32_t>(Dword(b, at));
}

std::int16_t SignedWord(const QByteArray& b, qsizetype at) {
  return static_cast<std::int16_t>(Word(b, at));
}

std::uint16_t BigWord(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>((static_cast<std::uint8_t>(b[at]) << 8) |
                                    static_cast<std::uint8_t>(b[at + 1]));
}

void PutWord(QByteArray& b, qsizetype at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>(v >> 8);
}

void PutDword(QByteArray& b, qsizetype at, std::uint32_t v) {
  PutWord(b, at, static_cast<std::uint16_t>(v & 0xffff));
  PutWord(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;

bool IsEmf(const QByteArray& b) { return Dword(b, 0) == 1 && Dword(b, 40) == kEmfSignature; }

bool IsPlaceableWmf(const QByteArray& b) {
  return b.size() >= kPlaceableSize + 18 && Dword(b, 0) == kPlaceableKey;
}

bool IsWmf(const QByteArray& b) {
  if (IsPlaceableWmf(b)) return true;
  const std::uint16_t type = Word(b, 0), headerWords = Word(b, 2), version = Word(b, 4);
  return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// A DIB file may lack the 14-byte file header that a BMP carries: it then begins with
// the size of its info header. The file header is made up so the BMP reader takes it.
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

// Qt's readers hand back what they could decode of a cut-off file, the rest left
// blank; the user is better told that the file is incomplete. Formats not walked
// here are taken as complete.
bool BmpComplete(const QByteArray& b) {
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
  return Dword(b, 10) + row * std::abs(height) <= b.size();
}

bool SkipSubBlocks(const QByteArray& b, qsizetype& at) {
  while (at < b.size()) {
    const int n = static_cast<std::uint8_t>(b[at]);
    at += 1 + n;
    if (n == 0) return at <= b.size();
  }
  return false;
}

bool GifComplete(const QByteArray& b) {
  if (b.size() < 13) return false;
  qsizetype at = 13;
  const auto flags = static_cast<std::uint8_t>(b[10]);
  if (flags & 0x80) at += 3 * (qsizetype{2} << (flags & 7));
  while (at < b.size()) {
    const auto kind = static_cast<std::uint8_t>(b[at]);
    if (kind == 0x3B) return true;
    if (kind == 0x21) {
      at += 2;
      if (!SkipSubBlocks(b, at)) return false;
    } else if (kind == 0x2C) {
      if (at + 10 > b.size()) return false;
      const auto local = static_cast<std::uint8_t>(b[at + 9]);
      at += 10;
      if (local & 0x80) at += 3 * (qsizetype{2} << (local & 7));
      at += 1;  // code size
      // The first picture is the one shown: it must be whole.
      return SkipSubBlocks(b, at);
    } else {
      return false;
    }
  }
  return false;
}

bool JpegComplete(const QByteArray& b) {
  const qsizetype scan = b.indexOf("\xFF\xDA");
  return scan >= 0 && b.lastIndexOf("\xFF\xD9") > scan;
}

bool Complete(const QByteArray& bytes, const QByteArray& format) {
  if (format == "bmp") return BmpComplete(bytes);
  if (format == "gif") return GifComplete(bytes);
  if (format == "jpeg" || format == "jpg") return JpegComplete(bytes);
  return true;
}

// ---- What a file declares, checked before anything is decoded -------------------

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

std::optional<GifFrame> FindGifFrame(const QByteArray& b) {
  if (b.size() < 13) return std::nullopt;
  GifFrame frame;
  frame.screenWidth = Word(b, 6);
  frame.screenHeight = Word(b, 8);
  qsizetype at = 13;
  const auto flags = static_cast<std::uint8_t>(b[10]);
  if (flags & 0x80) {
    frame.palette = at;
    frame.paletteSize = 2 << (flags & 7);
    at += 3 * qsizetype{frame.paletteSize};
  }
  while (at < b.size()) {
    const auto kind = static_cast<std::uint8_t>(b[at]);
    if (kind == 0x21) {
      if (at + 1 < b.size() && static_cast<std::uint8_t>(b[at + 1]) == 0xF9 && at + 6 < b.size() &&
          (static_cast<std::uint8_t>(b[at + 3]) & 1)) {
        frame.transparent = static_cast<std::uint8_t>(b[at + 6]);
      }
      at += 2;
      if (!SkipSubBlocks(b, at)) return std::nullopt;
    } else if (kind == 0x2C) {
      if (at + 11 > b.size()) return std::nullopt;
      frame.left = Word(b, at + 1);
      frame.top = Word(b, at + 3);
      frame.width = Word(b, at + 5);
      frame.height = Word(b, at + 7);
      const auto local = static_cast<std::uint8_t>(b[at + 9]);
      frame.interlaced = (local & 0x40) != 0;
      at += 10;
      if (local & 0x80) {
        frame.palette = at;
        frame.paletteSize = 2 << (local & 7);
        at += 3 * qsizetype{frame.paletteSize};
      }
      if (at >= b.size()) return std::nullopt;
      frame.minCodeSize = static_cast<std::uint8_t>(b[at]);
      frame.data = at + 1;
      return frame;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
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

// The size the picture declares for itself; empty when it declares none readable here.
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

// ---- Pixel data that does not decode to the whole picture ---------------------------

// Walks a GIF's LZW stream up to the wanted number of pixels, handing each code to sink
// with the index of its first pixel and the tables that spell it out; produced counts
// the pixels. False for a code that cannot occur in a sound stream.
struct LzwTables {
  std::uint16_t prefix[4096];
  std::uint8_t suffix[4096];
  std::uint8_t first[4096];
  std::uint16_t length[4096];
  // Where the entry's string first stands in the output: its previous code's string
  // and the next pixel after it.
  std::int64_t position[4096];
};

template <typename Sink>
bool WalkGifLzw(const QByteArray& b, const GifFrame& frame, std::int64_t wanted, std::int64_t& produced,
                Sink sink) {
  produced = 0;
  const int minSize = frame.minCodeSize;
  if (minSize < 1 || minSize > 11) return false;
  auto tables = std::make_unique<LzwTables>();
  const int clear = 1 << minSize, eoi = clear + 1;
  for (int c = 0; c < clear; ++c) {
    tables->prefix[c] = 0;
    tables->suffix[c] = static_cast<std::uint8_t>(c);
    tables->first[c] = static_cast<std::uint8_t>(c);
    tables->length[c] = 1;
  }
  int width = minSize + 1, avail = clear + 2, old = -1;
  std::int64_t oldStart = 0;
  std::uint32_t acc = 0;
  int bits = 0;
  qsizetype at = frame.data;
  qsizetype blockEnd = at;
  while (produced < wanted) {
    while (bits < width) {
      if (at >= blockEnd) {
        if (at >= b.size()) return true;  // the caller counts what came
        const int n = static_cast<std::uint8_t>(b[at]);
        if (n == 0) return true;
        blockEnd = std::min(b.size(), at + 1 + n);
        ++at;
        continue;
      }
      acc |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at++])) << bits;
      bits += 8;
    }
    const int code = static_cast<int>(acc & ((1u << width) - 1));
    acc >>= width;
    bits -= width;
    if (code == clear) {
      width = minSize + 1;
      avail = clear + 2;
      old = -1;
      continue;
    }
    if (code == eoi) return true;
    if (old < 0) {
      if (code > clear) return false;
      sink(produced, code, *tables);
      oldStart = produced;
      produced += 1;
      old = code;
      continue;
    }
    if (code > avail || (code == avail && avail >= 4096)) return false;
    if (avail < 4096) {
      // The new entry: the previous string and the first pixel of this one (of the
      // previous one when this code is the entry being made).
      const int firstPixel = code < avail ? tables->first[code] : tables->first[old];
      tables->prefix[avail] = static_cast<std::uint16_t>(old);
      tables->suffix[avail] = static_cast<std::uint8_t>(firstPixel);
      tables->first[avail] = tables->first[old];
      tables->length[avail] = static_cast<std::uint16_t>(tables->length[old] + 1);
      tables->position[avail] = oldStart;
      ++avail;
      if (avail == (1 << width) && width < 12) ++width;
    }
    sink(produced, code, *tables);
    oldStart = produced;
    produced += tables->length[code];
    old = code;
  }
  return true;
}

// True when the first picture's data decodes, code by code, to all its pixels.
bool GifDataSound(const QByteArray& b) {
  const auto frame = FindGifFrame(b);
  if (!frame) return true;  // the reader has refused it already
  const std::int64_t wanted = std::int64_t{frame->width} * frame->height;
  std::int64_t produced = 0;
  const bool valid = WalkGifLzw(b, *frame, wanted, produced, [](std::int64_t, int, const LzwTables&) {});
  return valid && produced >= wanted;
}

// Qt's GIF reader takes no picture of 2^28 pixels or more, and the largest promised
// picture has exactly that many: it is decoded here, onto a white screen with the
// transparent entry white. Each string after the first of a table is copied from where
// it first stood in the output, so the work is a copy per code, not a step per pixel.
QImage DecodeLargeGif(const QByteArray& b) {
  const auto frame = FindGifFrame(b);
  if (!frame || frame->palette < 0) return {};
  const int w = frame->width, h = frame->height;
  const std::int64_t total = std::int64_t{w} * h;
  QImage pixels;  // the frame's indices in stream order, one row of w after another
  if (!QImageIOHandler::allocateImage(QSize(w, h), QImage::Format_Indexed8, &pixels)) return {};
  std::vector<std::uint8_t> stream(static_cast<std::size_t>(total));
  std::uint8_t* out = stream.data();
  std::int64_t produced = 0;
  const bool valid =
      WalkGifLzw(b, *frame, total, produced, [&](std::int64_t start, int code, const LzwTables& t) {
        const std::int64_t length = std::min<std::int64_t>(t.length[code], total - start);
        if (t.length[code] == 1) {
          out[start] = t.suffix[code];
          return;
        }
        const std::int64_t from = t.position[code];
        // The entry made by this very code ends with its own first pixel.
        const std::int64_t ready = std::min(length, start - from);
        std::memcpy(out + start, out + from, static_cast<std::size_t>(ready));
        if (ready < length) out[start + ready] = out[from];
      });
  if (!valid || produced < total) return {};

  // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th
  // from 2, every 2nd from 1.
  auto rowOf = [&](int k) {
    if (!frame->interlaced) return k;
    const int pass1 = (h + 7) / 8, pass2 = (h + 3) / 8, pass3 = (h + 1) / 4;
    if (k < pass1) return k * 8;
    k -= pass1;
    if (k < pass2) return 4 + k * 8;
    k -= pass2;
    if (k < pass3) return 2 + k * 4;
    return 1 + (k - pass3) * 2;
  };
  for (int n = 0; n < h; ++n) {
    std::memcpy(pixels.scanLine(rowOf(n)), out + std::int64_t{n} * w, static_cast<std::size_t>(w));
  }
  stream = std::vector<std::uint8_t>();

  QList<QRgb> colours(256, qRgb(0, 0, 0));
  for (int i = 0; i < std::min(frame->paletteSize, 256); ++i) {
    const qsizetype at = frame->palette + 3 * qsizetype{i};
    if (at + 3 > b.size()) break;
    colours[i] = qRgb(static_cast<std::uint8_t>(b[at]), static_cast<std::uint8_t>(b[at + 1]),
                      static_cast<std::uint8_t>(b[at + 2]));
  }
  if (frame->transparent >= 0) colours[frame->transparent] = qRgb(255, 255, 255);
  pixels.setColorTable(colours);
  QImage rgb = pixels.convertToFormat(QImage::Format_RGB32);
  pixels = QImage();
  const QSize screen = DeclaredPictureSize(b, "gif");
  if (rgb.isNull() || screen == rgb.size()) return rgb;
  QImage image;
  if (!QImageIOHandler::allocateImage(screen, QImage::Format_RGB32, &image)) return {};
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawImage(frame->left, frame->top, rgb);
  painter.end();
  return image;
}

// A run-length BMP: an info header of 40 bytes or more, 8-bit runs (RLE8) or 4-bit
// runs (RLE4) with the bit count they need, and a size to decode into.
bool IsRunLengthBmp(const QByteArray& b) {
  if (!b.startsWith("BM") || Dword(b, 14) < 40) return false;
  const std::uint32_t compression = Dword(b, 30);
  const std::uint16_t bits = Word(b, 28);
  const bool runs = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
  return runs && SignedDword(b, 18) > 0 && SignedDword(b, 22) != 0 &&
         SignedDword(b, 22) != std::numeric_limits<std::int32_t>::min();
}

struct RunLengthPicture {
  QImage image;
  bool damaged = false;  // else a null image means no memory for it
};

// Decodes the runs itself: a reader that skips pixels (a delta, an early end of line or
// of the picture) leaves them as whatever its memory held, and the trace would depend
// on it. Skipped pixels are palette index 0, as the picture is filled with it first.
// Runs that go past the row's end or the picture's, a delta that leaves the picture
// and data that ends before its end-of-bitmap mark are damage.
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

bool DataSound(const QByteArray& bytes, const QByteArray& format) {
  if (format == "gif") return GifDataSound(bytes);
  return true;
}

// Transparent parts over white. A picture with alpha is blended in its own memory: the
// largest picture takes a gigabyte, and a second one is not needed.
QImage FlattenOverWhite(QImage image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  if (image.format() != QImage::Format_ARGB32) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return {};
  }
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      if (a == 255) continue;
      auto blend = [a](std::uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
      row[x] = 0xff000000u | (blend((p >> 16) & 0xff) << 16) | (blend((p >> 8) & 0xff) << 8) |
               blend(p & 0xff);
    }
  }
  image.reinterpretAsFormat(QImage::Format_RGB32);
  return image;
}

// Draws onto a picture through an inner painter that never antialiases, whatever the
// caller asks for: QtSvg turns antialiasing on for every document it draws, and the
// tracer needs the metafile's colours pure, edge pixels included.
class CrispPaintEngine final : public QPaintEngine {
 public:
  explicit CrispPaintEngine(QImage& target) : QPaintEngine(AllFeatures), target_(target) {}

  bool begin(QPaintDevice*) override {
    if (!inner_.begin(&target_)) return false;
    Crisp();
    return true;
  }
  bool end() override { return inner_.end(); }

  void updateState(const QPaintEngineState& changed) override {
    const DirtyFlags flags = changed.state();
    if (flags & DirtyTransform) inner_.setTransform(changed.transform());
    if (flags & DirtyPen) inner_.setPen(changed.pen());
    if (flags & DirtyBrush) inner_.setBrush(changed.brush());
    if (flags & DirtyBrushOrigin) inner_.setBrushOrigin(changed.brushOrigin());
    if (flags & DirtyFont) inner_.setFont(changed.font());
    if (flags & DirtyBackground) inner_.setBackground(changed.backgroundBrush());
    if (flags & DirtyBackgroundMode) inner_.setBackgroundMode(changed.backgroundMode());
    if (flags & DirtyCompositionMode) inner_.setCompositionMode(changed.compositionMode());
    if (flags & DirtyOpacity) inner_.setOpacity(changed.opacity());
    if (flags & DirtyClipRegion) {
      if (changed.clipOperation() == Qt::NoClip) {
        inner_.setClipping(false);
      } else {
        inner_.setClipRegion(changed.clipRegion(), changed.clipOperation());
      }
    }
    if (flags & DirtyClipPath) {
      if (changed.clipOperation() == Qt::NoClip) {
        inner_.setClipping(false);
      } else {
        inner_.setClipPath(changed.clipPath(), changed.clipOperation());
      }
    }
    if (flags & DirtyClipEnabled) inner_.setClipping(changed.isClipEnabled());
    Crisp();
  }

  void drawPath(const QPainterPath& path) override { inner_.drawPath(path); }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    switch (mode) {
      case PolylineMode: inner_.drawPolyline(points, count); break;
      case WindingMode: inner_.drawPolygon(points, count, Qt::WindingFill); break;
      case OddEvenMode:
      case ConvexMode: inner_.drawPolygon(points, count, Qt::OddEvenFill); break;
    }
  }

  void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
    inner_.drawPixmap(r, pixmap, source);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags flags) override {
    inner_.drawImage(r, image, source, flags);
  }

  Type type() const override { return User; }

 private:
  void Crisp() {
    inner_.setRenderHint(QPainter::Antialiasing, false);
    inner_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    inner_.setRenderHint(QPainter::TextAntialiasing, false);
  }

  QImage& target_;
  QPainter inner_;
};

class CrispDevice final : public QPaintDevice {
 public:
  explicit CrispDevice(QImage& target) : target_(target), engine_(target) {}
  ~CrispDevice() override = default;
  QPaintEngine* paintEngine() const override { return &engine_; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return target_.width();
      case PdmHeight: return target_.height();
      case PdmWidthMM: return target_.widthMM();
      case PdmHeightMM: return target_.heightMM();
      case PdmNumColors: return 0;
      case PdmDepth: return target_.depth();
      case PdmDpiX:
      case PdmPhysicalDpiX: return target_.logicalDpiX();
      case PdmDpiY:
      case PdmPhysicalDpiY: return target_.logicalDpiY();
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  QImage& target_;
  mutable CrispPaintEngine engine_;
};

// A placeable WMF is converted by a tool that maps the bounds of what the file draws,
// not the bounds its header declares, onto the picture. A white rectangle over the
// declared bounds, drawn first with objects that are freed again (so the file's own
// object numbers stay), makes the two agree.
QByteArray WithDeclaredBounds(const QByteArray& wmf) {
  const qsizetype header = kPlaceableSize;
  if (Word(wmf, header + 2) != 9) return wmf;
  const std::int16_t left = SignedWord(wmf, 6), top = SignedWord(wmf, 8);
  const std::int16_t right = SignedWord(wmf, 10), bottom = SignedWord(wmf, 12);

  QByteArray records;
  auto record = [&records](std::uint16_t function, std::initializer_list<std::uint16_t> params) {
    QByteArray r(6 + 2 * static_cast<qsizetype>(params.size()), '\0');
    PutDword(r, 0, static_cast<std::uint32_t>(3 + params.size()));
    PutWord(r, 4, function);
    qsizetype at = 6;
    for (std::uint16_t p : params) {
      PutWord(r, at, p);
      at += 2;
    }
    records += r;
  };
  auto w = [](int v) { return static_cast<std::uint16_t>(v); };
  record(0x001E, {});                                      // SaveDC
  record(0x02FC, {0, 0xFFFF, 0x00FF, 0});                  // white solid brush -> object 0
  record(0x012D, {0});                                     // select it
  record(0x02FA, {5, 0, 0, 0, 0});                         // null pen -> object 1
  record(0x012D, {1});                                     // select it
  record(0x041B, {w(bottom), w(right), w(top), w(left)});  // Rectangle
  record(0x0127, {0xFFFF});                                // RestoreDC(-1)
  record(0x01F0, {0});                                     // DeleteObject
  record(0x01F0, {1});

  QByteArray out = wmf.left(header + 18) + records + wmf.mid(header + 18);
  const qsizetype h = header;
  PutDword(out, h + 6, Dword(out, h + 6) + static_cast<std::uint32_t>(records.size() / 2));
  PutWord(out, h + 10, std::max<std::uint16_t>(Word(out, h + 10), 2));
  PutDword(out, h + 12, std::max<std::uint32_t>(Dword(out, h + 12), 8));
  return out;
}

// The size the metafile declares for itself, in pixels; empty when it declares none.
QSize DeclaredSize(const QByteArray& bytes, bool emf) {
  if (emf) {
    // Bounds in device pixels, both corners included.
    const qint64 w = qint64{SignedDword(bytes, 16)} - SignedDword(bytes, 8) + 1;
    const qint64 h = qint64{SignedDword(bytes, 20)} - SignedDword(bytes, 12) + 1;
    if (w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide) {
      return QSize(static_cast<int>(w), static_cast<int>(h));
    }
    return {};
  }
  if (!IsPlaceableWmf(bytes)) return {};
  const int inch = Word(bytes, 14);
  if (inch == 0) return {};
  const double w = (double{1} * SignedWord(bytes, 10) - SignedWord(bytes, 6)) * 96.0 / inch;
  const double h = (double{1} * SignedWord(bytes, 12) - SignedWord(bytes, 8)) * 96.0 / inch;
  if (w < 0.5 || h < 0.5 || w > kMaxSide || h > kMaxSide) return {};
  return QSize(static_cast<int>(std::nearbyint(w)), static_cast<int>(std::nearbyint(h)));
}

QString FindProgram(const QString& program) {
  if (program.contains('/')) {
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
  }
  return QStandardPaths::findExecutable(program);
}

struct Converted {
  QImage image;
  QString reason;
};

// The converter runs in a process group of its own, with a limit on the size of file it
// may write; whatever it and the programs it starts leave running is killed with the
// group once it ends or runs out of time.
class ConverterRun {
 public:
  explicit ConverterRun(qint64 maxFileBytes) {
    process_.setStandardOutputFile(QProcess::nullDevice());  // a flood of output costs nothing
    process_.setStandardErrorFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    process_.setChildProcessModifier([maxFileBytes, parent] {
      // Killed with us: a converter must not outlive a program that was killed while
      // it waited (and it may have died before this line).
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(127);
      ::setpgid(0, 0);
      const struct rlimit limit { static_cast<rlim_t>(maxFileBytes), static_cast<rlim_t>(maxFileBytes) };
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
  }
  ~ConverterRun() { KillGroup(); }
  ConverterRun(const ConverterRun&) = delete;
  ConverterRun& operator=(const ConverterRun&) = delete;

  bool Start(const QString& program, const QStringList& args, int timeoutMs) {
    process_.start(program, args);
    if (!process_.waitForStarted(timeoutMs)) return false;
    group_ = static_cast<pid_t>(process_.processId());
    return true;
  }
  // False when it ran out of time (and was killed).
  bool Finish(int timeoutMs) {
    if (process_.waitForFinished(timeoutMs)) {
      KillGroup();
      return true;
    }
    KillGroup();
    process_.waitForFinished(-1);
    return false;
  }
  bool Succeeded() const {
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
  }

 private:
  void KillGroup() {
    if (group_ > 0) ::kill(-group_, SIGKILL);
    group_ = 0;
  }

  QProcess process_;
  pid_t group_ = 0;
};

// A conversion's temporary folder carries the process's id, so that one whose process
// is gone (killed while it converted) is known for a leftover.
constexpr char kConversionFolderPrefix[] = "morvane-convert-";

// Removes the conversion folders of processes that are gone: this user's real folders
// (no links), named with a process id that no process has any more.
void SweepStaleConversionFolders() {
  namespace fs = std::filesystem;
  const fs::path temp = QFile::encodeName(QDir::tempPath()).toStdString();
  const std::string_view prefix = kConversionFolderPrefix;
  std::error_code error;
  for (fs::directory_iterator it(temp, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    pid_t pid = 0;
    const auto [at, failed] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (failed != std::errc() || at == rest.data() || at == rest.data() + rest.size() || *at != '-' ||
        pid <= 0 || pid == ::getpid()) {
      continue;
    }
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;  // its process still runs
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

Converted ConvertMetafile(const QByteArray& bytes, bool emf, const MetafileConverters& tools,
                          const PictureLimits& limits) {
  const QString program = FindProgram(emf ? tools.emfProgram : tools.wmfProgram);
  if (program.isEmpty()) return {{}, QStringLiteral("EMF/WMF not supported on this system")};

  QTemporaryDir dir(QDir::tempPath() + QLatin1Char('/') + QLatin1String(kConversionFolderPrefix) +
                    QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
  if (!dir.isValid()) return {{}, QStringLiteral("no temporary folder for the conversion")};
  const QString input = dir.filePath(emf ? QStringLiteral("in.emf") : QStringLiteral("in.wmf"));
  const QString output = dir.filePath(QStringLiteral("out.svg"));
  {
    QFile file(input);
    const QByteArray data = !emf && IsPlaceableWmf(bytes) ? WithDeclaredBounds(bytes) : bytes;
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
      return {{}, QStringLiteral("cannot write the temporary copy for the conversion")};
    }
  }

  QByteArray svg;
  {
    // One byte over the limit is allowed to be written, so an SVG cut off at the limit
    // is told from one that fits.
    ConverterRun run(limits.maxSvgBytes + 1);
    const QStringList args = emf ? QStringList{QStringLiteral("-i"), input, QStringLiteral("-o"), output}
                                 : QStringList{QStringLiteral("-o"), output, input};
    if (!run.Start(program, args, tools.timeoutMs)) {
      return {{}, QStringLiteral("the converter %1 could not be started").arg(program)};
    }
    if (!run.Finish(tools.timeoutMs)) {
      return {{},
              QStringLiteral("the conversion took longer than %1 seconds")
                  .arg(std::max(1, tools.timeoutMs / 1000))};
    }
    const QFileInfo info(output);
    if (info.exists() && info.size() > limits.maxSvgBytes) {
      return {{},
              QStringLiteral("the converted picture is larger than %1 MB")
                  .arg(limits.maxSvgBytes / (1024 * 1024))};
    }
    QFile svgFile(output);
    if (!run.Succeeded() || !info.isFile() || !svgFile.open(QIODevice::ReadOnly)) {
      return {{}, QStringLiteral("the metafile could not be converted")};
    }
    svg = svgFile.read(limits.maxSvgBytes);
  }
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {{}, QStringLiteral("the metafile could not be converted")};

  const QRectF box = renderer.viewBoxF();
  QSize size = DeclaredSize(bytes, emf);
  if (size.isEmpty()) {
    size = QSize(static_cast<int>(std::ceil(std::min<qreal>(box.width(), INT_MAX))),
                 static_cast<int>(std::ceil(std::min<qreal>(box.height(), INT_MAX))));
  }
  if (size.isEmpty() || size.width() > limits.maxSide || size.height() > limits.maxSide) {
    return {{}, QStringLiteral("the metafile declares no usable size")};
  }

  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return {{}, QStringLiteral("not enough memory for the picture")};
  image.fill(Qt::white);
  CrispDevice device(image);
  QPainter painter(&device);
  // An EMF's drawing is in device pixels already; a WMF's is mapped onto its size.
  const QRectF target = emf ? QRectF(QPointF(0, 0), box.size()) : QRectF(QPointF(0, 0), QSizeF(size));
  renderer.render(&painter, target);
  painter.end();
  return {image, {}};
}

QString OutOfMemory() { return QStringLiteral("not enough memory for the picture"); }

PictureLoad Failed(const QString& name, const QString& reason) {
  return {{}, reason, QStringLiteral("Cannot load the image \"%1\": %2.").arg(name, reason)};
}

QString FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

QString TooLarge(int maxSide) {
  return QStringLiteral("the picture is larger than %1 x %1 pixels").arg(maxSide);
}

// The file's bytes; a failure when it is no regular file that can be read.
std::optional<PictureLoad> ReadPictureFile(const std::string& path, const QString& name,
                                           std::string& bytes) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || path.empty()) {
      return Failed(name, QStringLiteral("the file does not exist"));
    }
    return Failed(name, QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (S_ISDIR(info.st_mode)) return Failed(name, QStringLiteral("it is a folder, not a file"));
  if (!S_ISREG(info.st_mode)) return Failed(name, QStringLiteral("it is not a regular file"));
  if (info.st_size > kMaxFileBytes) {
    return Failed(name,
                  QStringLiteral("the file is larger than any picture of %1 x %1 pixels").arg(kMaxSide));
  }
  core::FileContents contents = core::ReadFileBytes(path, static_cast<std::size_t>(kMaxFileBytes));
  if (contents.status != core::FileContents::kOk) {
    const std::string prefix = path + ": ";
    std::string reason = contents.error;
    if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
    return Failed(name, QString::fromStdString(reason));
  }
  bytes = std::move(contents.bytes);
  return std::nullopt;
}

// The file's bytes for the decoder without a copy: one copy of a large file is enough.
// The decoders only read them, and nothing they make points into them.
QByteArray Unowned(const std::string& bytes) {
  return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string NativePath(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return std::string(native.constData(), static_cast<std::size_t>(native.size()));
}

// The decoding that LoadPictureData and LoadRgbPicture share; the picture comes as
// decoded, not yet flattened. With direct, a 32-bit picture is decoded straight into
// direct's memory where the decoder allows; then *decodedInto is set and the image
// returned is null. On failure direct is empty.
PictureLoad DecodePictureData(QByteArray bytes, const QString& fileName,
                              const MetafileConverters& converters, const PictureLimits& limits,
                              core::RgbImage* direct, bool* decodedInto) {
  RaiseAllocationLimit();
  // Once a run, before anything is converted: what killed runs left is cleared away.
  static const bool swept = [] {
    SweepStaleConversionFolders();
    return true;
  }();
  (void)swept;
  if (direct != nullptr) *direct = {};
  if (bytes.isEmpty()) return Failed(fileName, QStringLiteral("the file is empty"));

  const QString suffix = QFileInfo(fileName).suffix().toLower();
  bool emf = IsEmf(bytes);
  bool wmf = !emf && IsWmf(bytes);
  if (!emf && !wmf && (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf"))) {
    // The name counts only when the content is no picture that Qt knows.
    QBuffer probe(&bytes);
    probe.open(QIODevice::ReadOnly);
    if (QImageReader::imageFormat(&probe).isEmpty()) {
      emf = suffix == QLatin1String("emf");
      wmf = !emf;
    }
  }
  if (emf || wmf) {
    Converted converted = ConvertMetafile(bytes, emf, converters, limits);
    if (converted.image.isNull()) return Failed(fileName, converted.reason);
    return {converted.image, {}, {}};
  }

  if (suffix == QLatin1String("dib")) bytes = WithBmpFileHeader(bytes);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (suffix == QLatin1String("dib")) reader.setFormat("bmp");
  const QByteArray format = reader.format().toLower();  // empty once the image is read
  const QSize declared = DeclaredPictureSize(bytes, format);
  if (declared.width() > limits.maxSide || declared.height() > limits.maxSide) {
    return Failed(fileName, TooLarge(limits.maxSide));
  }
  const QString damaged = QStringLiteral("the image data is damaged");
  const bool complete = Complete(bytes, format);
  if (complete && !DataSound(bytes, format)) return Failed(fileName, damaged);
  QImage image;
  std::uint32_t* target = nullptr;
  const auto failed = [&](const QString& reason) {
    if (direct != nullptr) *direct = {};
    return Failed(fileName, reason);
  };
  if (format == "gif" && qint64{declared.width()} * declared.height() > limits.gifReaderMaxPixels) {
    image = DecodeLargeGif(bytes);
    if (image.isNull()) return Failed(fileName, damaged);
  } else if (format == "bmp" && IsRunLengthBmp(bytes)) {
    // Left in its palette: it is flattened a band at a time like any other.
    RunLengthPicture runs = DecodeRunLengthBmp(bytes);
    if (runs.damaged) return Failed(fileName, damaged);
    if (runs.image.isNull()) return Failed(fileName, OutOfMemory());
    image = std::move(runs.image);
  } else {
    const QSize size = reader.size();
    if (direct != nullptr && reader.imageFormat() == QImage::Format_RGB32 && size.width() > 0 &&
        size.height() > 0 && size.width() <= limits.maxSide && size.height() <= limits.maxSide) {
      *direct = core::RgbImage(size.width(), size.height());
      target = direct->pixels.data();
      image = QImage(reinterpret_cast<uchar*>(target), size.width(), size.height(),
                     qsizetype{size.width()} * 4, QImage::Format_RGB32);
    }
    if (!reader.read(&image) || image.isNull()) {
      QString reason = reader.errorString();
      if (reason.isEmpty() || reason == QLatin1String("Unknown error")) {
        reason = QStringLiteral("the picture cannot be decoded");
      }
      return failed(reason);
    }
    const bool inPlace = target != nullptr &&
                         image.constBits() == reinterpret_cast<const uchar*>(target) &&
                         image.format() == QImage::Format_RGB32 && image.size() == size;
    if (!inPlace) {
      target = nullptr;
      if (direct != nullptr) *direct = {};  // the decoder made its own picture: the buffer holds nothing
    }
  }
  if (!complete) return failed(QStringLiteral("the file is incomplete"));
  if (image.width() > limits.maxSide || image.height() > limits.maxSide) {
    return failed(TooLarge(limits.maxSide));
  }
  if (target != nullptr) {
    *decodedInto = true;
    return {};
  }
  return {image, {}, {}};
}

// A decoded picture as the picture boxes take it: transparent parts over white.
PictureLoad Flattened(PictureLoad load, const QString& fileName) {
  if (!load.ok()) return load;
  load.image = FlattenOverWhite(std::move(load.image));
  if (load.image.isNull()) return Failed(fileName, OutOfMemory());
  return load;
}

}  // namespace

PictureLoad LoadPicture(const std::string& path, const MetafileConverters& converters) {
  const QString name = FileNameOf(path);
  std::string bytes;
  if (std::optional<PictureLoad> failure = ReadPictureFile(path, name, bytes))
    return *std::move(failure);
  PictureLoad load = DecodePictureData(Unowned(bytes), name, converters, {}, nullptr, nullptr);
  bytes = std::string();  // not kept beside the decoded picture while it is flattened
  return Flattened(std::move(load), name);
}

PictureLoad LoadPicture(const QString& path, const MetafileConverters& converters) {
  return LoadPicture(NativePath(path), converters);
}

PictureLoad LoadPictureData(QByteArray bytes, const QString& fileName,
                            const MetafileConverters& converters, const PictureLimits& limits) {
  return Flattened(DecodePictureData(std::move(bytes), fileName, converters, limits, nullptr, nullptr),
                   fileName);
}

PictureLoad LoadRgbPicture(const std::string& path, core::RgbImage& image,
                           const MetafileConverters& converters) {
  image = {};
  const QString name = FileNameOf(path);
  std::string bytes;
  if (std::optional<PictureLoad> failure = ReadPictureFile(path, name, bytes))
    return *std::move(failure);
  bool decodedInto = false;
  PictureLoad load = DecodePictureData(Unowned(bytes), name, converters, {}, &image, &decodedInto);
  bytes = std::string();  // not kept beside the decoded picture while it is flattened
  if (decodedInto || !load.ok()) return load;
  image = ToRgbImage(load.image);
  load.image = QImage();
  if (image.empty()) return Failed(name, OutOfMemory());
  return load;
}

PictureLoad LoadRgbPicture(const QString& path, core::RgbImage& image,
                           const MetafileConverters& converters) {
  return LoadRgbPicture(NativePath(path), image, converters);
}

core::RgbImage ToRgbImage(const QImage& image) {
  if (image.isNull()) return {};
  core::RgbImage out(image.width(), image.height());
  // Any other format is flattened a band of rows at a time, so that no whole 32-bit
  // copy stands beside the buffer.
  constexpr int kBand = 256;
  for (int top = 0; top < image.height(); top += kBand) {
    const int rows = std::min(kBand, image.height() - top);
    const QImage band = image.format() == QImage::Format_RGB32
                            ? image
                            : FlattenOverWhite(image.copy(0, top, image.width(), rows));
    if (band.isNull()) return {};  // no memory for the band
    const int first = image.format() == QImage::Format_RGB32 ? top : 0;
    for (int y = 0; y < rows; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(band.constScanLine(first + y));
      std::copy(row, row + image.width(),
                out.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * image.width());
    }
  }
  return out;
}

QImage FromRgbImage(const core::RgbImage& image) {
  if (image.empty()) return {};
  QImage out(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
    const auto first = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
    std::copy(first, first + image.width, row);
  }
  return out;
}

}  // namespace morvane::gui
