#include "platform/gui/shared_picture.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <memory>

namespace morvane::gui {
namespace {

std::shared_ptr<core::RgbImage> Stripes(int w, int h) {
  auto image = std::make_shared<core::RgbImage>(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image->at(x, y) = 0xff000000u | static_cast<std::uint32_t>(x * 7 + y * 131);
  }
  return image;
}

TEST(SharedPicture, ShowsTheBufferWithoutACopyAndKeepsItAlive) {
  auto buffer = Stripes(37, 11);
  const std::uint32_t* pixels = buffer->pixels.data();
  QImage picture = SharedPicture(buffer);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.format(), QImage::Format_RGB32);
  EXPECT_EQ(picture.size(), QSize(37, 11));
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(picture.constBits()), pixels);
  const QImage copy = picture;
  buffer.reset();  // the pictures hold it now
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{36, 0}, std::pair{5, 10}, std::pair{36, 10}}) {
    SCOPED_TRACE(x * 100 + y);
    EXPECT_EQ(picture.pixel(x, y), 0xff000000u | static_cast<std::uint32_t>(x * 7 + y * 131));
    EXPECT_EQ(copy.pixel(x, y), picture.pixel(x, y));
  }
}

TEST(SharedPicture, ChangesToThePictureLeaveTheBufferAsItWas) {
  const auto buffer = Stripes(20, 20);
  const core::RgbImage before = *buffer;
  struct Row {
    const char* what;
    void (*change)(QImage&);
  };
  const Row rows[] = {
      {"a pixel set", [](QImage& p) { p.setPixel(3, 4, 0xffff0000u); }},
      {"a row written", [](QImage& p) { reinterpret_cast<QRgb*>(p.scanLine(7))[2] = 0xff00ff00u; }},
      {"painted on", [](QImage& p) {
         QPainter painter(&p);
         painter.fillRect(0, 0, 10, 10, Qt::blue);
       }},
      {"filled", [](QImage& p) { p.fill(Qt::white); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    QImage picture = SharedPicture(buffer);
    const QImage untouched = picture;
    row.change(picture);
    EXPECT_EQ(buffer->pixels, before.pixels);
    EXPECT_NE(picture, untouched);
    EXPECT_EQ(untouched.pixel(3, 4), before.at(3, 4));
  }
}

TEST(SharedPicture, NoPictureOfAnEmptyOrInconsistentBuffer) {
  EXPECT_TRUE(SharedPicture(nullptr).isNull());
  EXPECT_TRUE(SharedPicture(std::make_shared<core::RgbImage>()).isNull());
  auto cut = std::make_shared<core::RgbImage>(10, 10);
  cut->pixels.resize(50);
  EXPECT_TRUE(SharedPicture(cut).isNull());
}

TEST(NewLargePicture, SmallAndLargeAreOrdinaryPicturesToDrawOn) {
  for (const QSize size : {QSize(1, 1), QSize(300, 200), QSize(2100, 1500)}) {
    SCOPED_TRACE(size.width());
    QImage picture = NewLargePicture(size.width(), size.height());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), size);
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.bytesPerLine(), size.width() * 4);
    const uchar* memory = picture.constBits();
    picture.fill(0xff112233u);
    EXPECT_EQ(picture.pixel(size.width() - 1, size.height() - 1), 0xff112233u);
    picture.setPixel(size.width() - 1, size.height() - 1, 0xff445566u);
    EXPECT_EQ(picture.constBits(), memory);  // drawn on in place
    EXPECT_EQ(picture.pixel(size.width() - 1, size.height() - 1), 0xff445566u);
    picture.setPixel(0, 0, 0xff112233u);

    // A copy drawn on is a picture of its own.
    QImage copy = picture;
    copy.setPixel(0, 0, 0xff000000u);
    EXPECT_EQ(picture.pixel(0, 0), 0xff112233u);
    EXPECT_EQ(copy.pixel(0, 0), 0xff000000u);
  }
  EXPECT_TRUE(NewLargePicture(0, 10).isNull());
  EXPECT_TRUE(NewLargePicture(10, -1).isNull());
}

}  // namespace
}  // namespace morvane::gui
