#pragma once
// Picture files built byte by byte in the tests: GIF (Qt writes none), WMF and EMF.

#include <QByteArray>
#include <QFile>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/picture_rows.h"

namespace morvane::testing {

inline void AppendWord(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xff));
  b.append(static_cast<char>((v >> 8) & 0xff));
}

inline void AppendDword(QByteArray& b, std::int64_t v) {
  AppendWord(b, static_cast<int>(v & 0xffff));
  AppendWord(b, static_cast<int>((v >> 16) & 0xffff));
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// LZW codes packed low bit first, as GIF stores them.
class GifCodes {
 public:
  void Put(int code, int width) {
    acc_ |= static_cast<std::uint64_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      data_.append(static_cast<char>(acc_ & 0xff));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  QByteArray Finish() {
    if (bits_ > 0) data_.append(static_cast<char>(acc_ & 0xff));
    bits_ = 0;
    return data_;
  }

 private:
  QByteArray data_;
  std::uint64_t acc_ = 0;
  int bits_ = 0;
};

// A GIF of one picture of width x height with a 256-entry table of the given colours
// (black after them) and minimum code size 8, around its packed LZW data.
inline QByteArray GifAround(int width, int height, const std::vector<QRgb>& colours, int transparent,
                            const QByteArray& data) {
  QByteArray out("GIF89a");
  AppendWord(out, width);
  AppendWord(out, height);
  out.append(static_cast<char>(0xF7));  // global table of 256 entries
  out.append('\0');
  out.append('\0');
  for (int i = 0; i < 256; ++i) {
    const QRgb c = i < static_cast<int>(colours.size()) ? colours[static_cast<std::size_t>(i)] : 0;
    out.append(static_cast<char>(qRed(c)));
    out.append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qBlue(c)));
  }
  if (transparent >= 0) {
    const char gce[] = {'\x21', '\xF9', '\x04', '\x01', '\0', '\0', static_cast<char>(transparent),
                        '\0'};
    out.append(gce, sizeof gce);
  }
  out.append('\x2C');
  AppendWord(out, 0);
  AppendWord(out, 0);
  AppendWord(out, width);
  AppendWord(out, height);
  out.append('\0');
  out.append('\x08');  // minimum code size
  for (qsizetype at = 0; at < data.size(); at += 255) {
    const QByteArray block = data.mid(at, 255);
    out.append(static_cast<char>(block.size()));
    out.append(block);
  }
  out.append('\0');
  out.append('\x3B');
  return out;
}

// A GIF from ASCII art drawn in a raw string (PictureRows): each character of a row is
// a key into the palette, in the order given (the first key is colour 0). transparentKey names the
// transparent entry. The LZW stream sends a clear code before the table can grow past 9-bit codes, so
// the encoder needs no dictionary.
inline QByteArray MakeGif(std::string_view picture, const std::string& keys,
                          const std::vector<QRgb>& colours, char transparentKey = '\0') {
  const std::vector<std::string> rows = PictureRows(picture);
  const int height = static_cast<int>(rows.size());
  const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
  GifCodes codes;
  codes.Put(256, 9);
  int run = 0;
  for (const std::string& row : rows) {
    for (char ch : row) {
      codes.Put(static_cast<int>(keys.find(ch)), 9);
      if (++run == 250) {
        codes.Put(256, 9);
        run = 0;
      }
    }
  }
  codes.Put(257, 9);
  const int transparent = transparentKey != '\0' ? static_cast<int>(keys.find(transparentKey)) : -1;
  return GifAround(width, height, colours, transparent, codes.Finish());
}

// A GIF of one colour (white) however large, kept small by real LZW compression: in a
// stream of one value the k-th code after a clear stands for k pixels, so the codes
// are simply counted. The table is cleared before it fills.
inline QByteArray MakeUniformGif(int width, int height) {
  GifCodes codes;
  int codeWidth = 9;
  auto codeFor = [](std::int64_t length) {
    return length == 1 ? 0 : 258 + static_cast<int>(length - 2);
  };
  std::int64_t left = static_cast<std::int64_t>(width) * height;
  while (left > 0) {
    codes.Put(256, codeWidth);  // at the width the codes before it had
    codeWidth = 9;
    int next = 258;  // the decoder's next table entry
    for (std::int64_t k = 1; left > 0 && k <= 3800; ++k) {
      const std::int64_t length = std::min(k, left);
      codes.Put(codeFor(length), codeWidth);
      left -= length;
      if (k >= 2 && ++next == (1 << codeWidth) && codeWidth < 12) ++codeWidth;
    }
  }
  codes.Put(257, codeWidth);
  return GifAround(width, height, {0xffffffff}, -1, codes.Finish());
}

// A placeable WMF of width x height units at 96 units per inch (so one unit is one
// pixel), drawing filled shapes without outline. Colours are 0x00BBGGRR.
struct WmfShape {
  std::uint32_t colour;
  std::vector<QPoint> polygon;  // a rectangle when it holds two corners
};

inline QByteArray MakeWmf(int width, int height, const std::vector<WmfShape>& shapes) {
  QByteArray body;
  int maxRecord = 3;
  auto record = [&](int function, std::initializer_list<int> params) {
    AppendDword(body, 3 + static_cast<std::int64_t>(params.size()));
    AppendWord(body, function);
    for (int p : params) AppendWord(body, p);
    maxRecord = std::max(maxRecord, 3 + static_cast<int>(params.size()));
  };
  record(0x020B, {0, 0});           // SetWindowOrg(y, x)
  record(0x020C, {height, width});  // SetWindowExt(y, x)
  record(0x02FA, {5, 0, 0, 0, 0});  // null pen, object 0
  record(0x012D, {0});
  for (const WmfShape& s : shapes) {
    record(0x02FC, {0, static_cast<int>(s.colour & 0xffff), static_cast<int>(s.colour >> 16), 0});
    record(0x012D, {1});
    if (s.polygon.size() == 2) {
      record(0x041B, {s.polygon[1].y(), s.polygon[1].x(), s.polygon[0].y(), s.polygon[0].x()});
    } else {
      QByteArray r;
      const int words = 3 + 1 + 2 * static_cast<int>(s.polygon.size());
      AppendDword(r, words);
      AppendWord(r, 0x0324);
      AppendWord(r, static_cast<int>(s.polygon.size()));
      for (const QPoint& p : s.polygon) {
        AppendWord(r, p.x());
        AppendWord(r, p.y());
      }
      body += r;
      maxRecord = std::max(maxRecord, words);
    }
    record(0x01F0, {1});  // DeleteObject
  }
  record(0x0000, {});

  QByteArray header;
  AppendWord(header, 1);
  AppendWord(header, 9);
  AppendWord(header, 0x0300);
  AppendDword(header, (18 + body.size()) / 2);
  AppendWord(header, 2);
  AppendDword(header, maxRecord);
  AppendWord(header, 0);

  QByteArray placeable;
  AppendDword(placeable, 0x9AC6CDD7);
  AppendWord(placeable, 0);
  AppendWord(placeable, 0);
  AppendWord(placeable, 0);
  AppendWord(placeable, width);
  AppendWord(placeable, height);
  AppendWord(placeable, 96);
  AppendDword(placeable, 0);
  int checksum = 0;
  for (int i = 0; i < 10; ++i) {
    checksum ^= static_cast<std::uint8_t>(placeable[2 * i]) |
                (static_cast<std::uint8_t>(placeable[2 * i + 1]) << 8);
  }
  AppendWord(placeable, checksum);
  return placeable + header + body;
}

// An EMF of width x height device pixels with filled shapes drawn without outline.
inline QByteArray MakeEmf(int width, int height, const std::vector<WmfShape>& shapes) {
  QByteArray records;
  int count = 0;
  auto record = [&](int type, std::initializer_list<std::int64_t> params) {
    AppendDword(records, type);
    AppendDword(records, 8 + 4 * static_cast<std::int64_t>(params.size()));
    for (std::int64_t p : params) AppendDword(records, p);
    ++count;
  };
  record(37, {0x80000008});  // select the stock null pen
  for (const WmfShape& s : shapes) {
    record(39, {1, 0, s.colour, 0});  // brush into handle 1
    record(37, {1});
    if (s.polygon.size() == 2) {
      record(43, {s.polygon[0].x(), s.polygon[0].y(), s.polygon[1].x(), s.polygon[1].y()});
    } else {
      // EMR_POLYGON: bounds, count, points
      QByteArray r;
      AppendDword(r, 3);
      AppendDword(r, 8 + 16 + 4 + 8 * static_cast<std::int64_t>(s.polygon.size()));
      for (int v : {0, 0, width - 1, height - 1}) AppendDword(r, v);
      AppendDword(r, static_cast<std::int64_t>(s.polygon.size()));
      for (const QPoint& p : s.polygon) {
        AppendDword(r, p.x());
        AppendDword(r, p.y());
      }
      records += r;
      ++count;
    }
    record(40, {1});  // delete the brush
  }
  record(14, {0, 16, 20});  // EOF

  const int headerSize = 108;
  QByteArray header;
  AppendDword(header, 1);
  AppendDword(header, headerSize);
  for (int v : {0, 0, width - 1, height - 1}) AppendDword(header, v);  // bounds, pixels
  // Frame in 0.01 mm on a reference device of 1000 px over 250 mm (4 px per mm).
  for (int v : {0, 0, width * 25 - 1, height * 25 - 1}) AppendDword(header, v);
  AppendDword(header, 0x464D4520);
  AppendDword(header, 0x10000);
  AppendDword(header, headerSize + records.size());
  AppendDword(header, count + 1);
  AppendWord(header, 2);
  AppendWord(header, 0);
  for (int v : {0, 0, 0}) AppendDword(header, v);  // description, palette
  for (int v : {1000, 1000, 250, 250}) AppendDword(header, v);
  for (int v : {0, 0, 0}) AppendDword(header, v);  // pixel format, OpenGL
  for (int v : {250000, 250000}) AppendDword(header, v);
  return header + records;
}

}  // namespace morvane::testing
