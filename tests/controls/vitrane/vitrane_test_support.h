#pragma once

// Small pictures drawn as ASCII art for the control's tests: one character a pixel.

#include <QImage>
#include <QRegion>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace morvane::vitrane::testing {

// '.' white, 'M' magenta, 'R' red, 'K' black, 'B' blue, 'G' grey 808080,
// 'o' orange FF8000 (none of the 16 VGA colours), 'p' FE00FF (next to magenta).
inline QRgb ArtColor(QChar c) {
  switch (c.toLatin1()) {
    case 'M': return qRgb(255, 0, 255);
    case 'R': return qRgb(255, 0, 0);
    case 'K': return qRgb(0, 0, 0);
    case 'B': return qRgb(0, 0, 255);
    case 'G': return qRgb(128, 128, 128);
    case 'o': return qRgb(255, 128, 0);
    case 'p': return qRgb(254, 0, 255);
    default: return qRgb(255, 255, 255);
  }
}

// Rows separated by '|'.
inline QImage Art(const QString& art) {
  const QStringList rows = art.split(QLatin1Char('|'));
  QImage image(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()),
               QImage::Format_RGB32);
  for (int y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < rows[y].size(); ++x) image.setPixel(x, y, ArtColor(rows[y][x]));
  }
  return image;
}

// The region of the pixels drawn with any of `kept`, built pixel by pixel.
inline QRegion PixelsOf(const QString& art, const QString& kept) {
  const QStringList rows = art.split(QLatin1Char('|'));
  QRegion region;
  for (int y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < rows[y].size(); ++x) {
      if (kept.contains(rows[y][x])) region += QRect(x, y, 1, 1);
    }
  }
  return region;
}

}  // namespace morvane::vitrane::testing
