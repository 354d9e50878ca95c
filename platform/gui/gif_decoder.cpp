#include "platform/gui/gif_decoder.h"

#include <QImageIOHandler>
#include <QList>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gui/picture_bytes.h"
#include "platform/gui/picture_checks.h"

namespace morvane::gui::loader {
namespace {

bool SkipSubBlocks(const QByteArray& b, qsizetype& at) {
  while (at < b.size()) {
    const int n = static_cast<std::uint8_t>(b[at]);
    at += 1 + n;
    if (n == 0) return at <= b.size();
  }
  return false;
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

}  // namespace

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

bool GifDataSound(const QByteArray& b) {
  const auto frame = FindGifFrame(b);
  if (!frame) return true;  // the reader has refused it already
  const std::int64_t wanted = std::int64_t{frame->width} * frame->height;
  std::int64_t produced = 0;
  const bool valid = WalkGifLzw(b, *frame, wanted, produced, [](std::int64_t, int, const LzwTables&) {});
  return valid && produced >= wanted;
}

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

}  // namespace morvane::gui::loader
