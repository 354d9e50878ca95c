#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

#include <cstring>
#include <initializer_list>
#include <map>

#include "tests/controls/scopel/scopel_host.h"

namespace morvane::scopel::hosting {

// A picture from ASCII art, one character per pixel, through a colour map.
inline QImage ImageFromArt(std::initializer_list<const char*> rows, const std::map<char, QRgb>& colors) {
  const int h = static_cast<int>(rows.size());
  const int w = h > 0 ? static_cast<int>(std::strlen(*rows.begin())) : 0;
  QImage image(w, h, QImage::Format_RGB32);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < w; ++x) image.setPixel(x, y, colors.at(row[x]));
    ++y;
  }
  return image;
}

// A picture whose every pixel has its own colour.
inline QImage Gradient(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, qRgb((x * 23) % 256, (y * 41) % 256, (x + y) % 256));
  }
  return image;
}

// What the viewport shows, grabbed from the widget.
inline QImage ViewOf(ScopelHost& host) {
  return host.part("pbZoom")->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Colour values are red in the low byte.
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kGreen = 0x00FF00;
inline constexpr QRgb kRedRgb = 0xffff0000u;
inline constexpr QRgb kBlueRgb = 0xff0000ffu;

}  // namespace morvane::scopel::hosting
