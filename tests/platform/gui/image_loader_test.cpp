#include "platform/gui/image_loader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

#include "tests/support/picture_files.h"

namespace morvane::gui {
namespace {

using morvane::testing::MakeEmf;
using morvane::testing::MakeGif;
using morvane::testing::MakeWmf;
using morvane::testing::WmfShape;
using morvane::testing::WriteFile;

constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kWhite = 0xffffffff;

// 8 x 4: a red block at the left, a blue one at the right, white between.
QImage Blocks() {
  QImage image(8, 4, QImage::Format_RGB32);
  image.fill(kWhite);
  for (int y = 0; y < 4; ++y) {
    image.setPixel(0, y, kRed);
    image.setPixel(1, y, kRed);
    image.setPixel(6, y, kBlue);
    image.setPixel(7, y, kBlue);
  }
  return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, quality));
  return bytes;
}

QByteArray BlocksGif() {
  return MakeGif({"rr....bb", "rr....bb", "rr....bb", "rr....bb"}, ".rb", {kWhite, kRed, kBlue});
}

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
         std::abs(qBlue(a) - qBlue(b));
}

class ImageLoaderTest : public ::testing::Test {
 protected:
  QString Put(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(WriteFile(path, bytes));
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(ImageLoaderTest, ReadsRasterFormatsByContent) {
  const QByteArray bmp = Encoded(Blocks(), "BMP");
  struct Case {
    const char* name;
    QByteArray bytes;
    int tolerance;  // JPEG is lossy
  };
  const Case cases[] = {
      {"blocks.bmp", bmp, 0},
      {"blocks.gif", BlocksGif(), 0},
      {"blocks.jpg", Encoded(Blocks(), "JPEG", 100), 120},
      {"blocks.jpeg", Encoded(Blocks(), "JPEG", 100), 120},
      {"blocks.dib", bmp, 0},
      {"bare.dib", bmp.mid(14), 0},  // a DIB without the BMP file header
      {"upper.GIF", BlocksGif(), 0},
      {"really-a-gif.bmp", BlocksGif(), 0},  // the extension lies
      {"really-a-bmp.jpg", bmp, 0},
      {"really-a-gif.wmf", BlocksGif(), 0},  // a metafile name on a raster picture
      {"really-a-bmp.EMF", bmp, 0},
  };
  for (const Case& c : cases) {
    const PictureLoad load = LoadPicture(Put(c.name, c.bytes));
    ASSERT_TRUE(load.ok()) << c.name << ": " << load.message.toStdString();
    EXPECT_EQ(load.image.format(), QImage::Format_RGB32) << c.name;
    EXPECT_EQ(load.image.size(), QSize(8, 4)) << c.name;
    EXPECT_LE(Distance(load.image.pixel(0, 0), kRed), c.tolerance) << c.name;
    EXPECT_LE(Distance(load.image.pixel(3, 2), kWhite), c.tolerance) << c.name;
    EXPECT_LE(Distance(load.image.pixel(7, 3), kBlue), c.tolerance) << c.name;
    EXPECT_TRUE(load.reason.isEmpty()) << c.name;
  }
}

TEST_F(ImageLoaderTest, FlattensTransparencyOverWhite) {
  const QByteArray gif = MakeGif({"t.r", "rrt"}, "t.r", {0xff00ff00, 0xff000000, kRed}, 't');
  QImage argb(2, 1, QImage::Format_ARGB32);
  argb.setPixel(0, 0, 0x00000000);  // fully transparent black
  argb.setPixel(1, 0, 0x80000000);  // half transparent black
  const PictureLoad fromGif = LoadPicture(Put("holes.gif", gif));
  const PictureLoad fromPng = LoadPicture(Put("shade.png", Encoded(argb, "PNG")));
  ASSERT_TRUE(fromGif.ok() && fromPng.ok());
  EXPECT_EQ(fromGif.image.pixel(0, 0), kWhite);  // transparent entry, not its green
  EXPECT_EQ(fromGif.image.pixel(1, 0), 0xff000000u);
  EXPECT_EQ(fromGif.image.pixel(2, 1), kWhite);
  EXPECT_EQ(fromPng.image.pixel(0, 0), kWhite);
  EXPECT_LE(Distance(fromPng.image.pixel(1, 0), 0xff7f7f7f), 3);
}

TEST_F(ImageLoaderTest, UnreadableFilesNameTheFileAndTheReason) {
  const QByteArray bmp = Encoded(Blocks(), "BMP");
  const QByteArray gif = BlocksGif();
  struct Case {
    const char* name;
    QByteArray bytes;  // null: no file at all
  };
  const Case cases[] = {
      {"missing.gif", QByteArray()},
      {"empty.bmp", QByteArray("")},
      {"notes.gif", QByteArray("these are not the pixels you are looking for\n")},
      {"cut.bmp", bmp.left(bmp.size() / 2)},
      {"cut-header.bmp", bmp.left(20)},
      {"cut.gif", gif.left(gif.size() - 12)},
      {"cut.jpg", Encoded(Blocks(), "JPEG").left(120)},
  };
  for (const Case& c : cases) {
    const QString path = c.bytes.isNull() ? dir_.filePath(c.name) : Put(c.name, c.bytes);
    const PictureLoad load = LoadPicture(path);
    EXPECT_FALSE(load.ok()) << c.name;
    EXPECT_FALSE(load.reason.isEmpty()) << c.name;
    EXPECT_TRUE(load.message.contains(QString::fromLatin1(c.name))) << load.message.toStdString();
    EXPECT_TRUE(load.message.contains(load.reason)) << load.message.toStdString();
  }
}

// A file larger than any picture the program takes is refused before it is read: a
// sparse file here, so the test writes nothing to disk.
TEST_F(ImageLoaderTest, AFileLargerThanAnyPictureIsNotRead) {
  const QString path = dir_.filePath("huge.bmp");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(Encoded(Blocks(), "BMP"));
  ASSERT_TRUE(file.resize(qint64{1200} * 1024 * 1024));
  file.close();
  const PictureLoad load = LoadPicture(path);
  EXPECT_FALSE(load.ok());
  EXPECT_EQ(load.reason, QStringLiteral("the file is larger than any picture of 16384 x 16384 pixels"));
  EXPECT_TRUE(load.message.contains("huge.bmp")) << load.message.toStdString();
}

bool HasProgram(const char* name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

// Every pixel is one of the given colours: nothing was antialiased.
void ExpectOnlyColours(const QImage& image, std::set<QRgb> allowed, const char* what) {
  std::set<QRgb> seen;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
  }
  for (QRgb c : seen) {
    EXPECT_TRUE(allowed.count(c)) << what << ": stray colour " << std::hex << c;
  }
}

// A red rectangle at the top left and a blue triangle (slanted edges) at the right.
std::vector<WmfShape> Shapes() {
  return {{0x000000FF, {QPoint(4, 4), QPoint(16, 14)}},
          {0x00FF0000, {QPoint(40, 4), QPoint(56, 26), QPoint(24, 26)}}};
}

TEST_F(ImageLoaderTest, MetafilesAreDrawnCrispAtTheirOwnSize) {
  struct Case {
    const char* name;
    const char* program;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"shapes.wmf", "wmf2svg", MakeWmf(60, 30, Shapes())},
      {"shapes.emf", "emf2svg-conv", MakeEmf(60, 30, Shapes())},
      {"wmf-named.gif", "wmf2svg", MakeWmf(60, 30, Shapes())},
  };
  for (const Case& c : cases) {
    if (!HasProgram(c.program)) {
      ADD_FAILURE() << c.program << " is not installed (scripts/install-deps installs it)";
      continue;
    }
    const PictureLoad load = LoadPicture(Put(c.name, c.bytes));
    ASSERT_TRUE(load.ok()) << c.name << ": " << load.message.toStdString();
    EXPECT_EQ(load.image.size(), QSize(60, 30)) << c.name;
    EXPECT_EQ(load.image.pixel(10, 9), kRed) << c.name;
    EXPECT_EQ(load.image.pixel(40, 20), kBlue) << c.name;
    EXPECT_EQ(load.image.pixel(1, 1), kWhite) << c.name;
    EXPECT_EQ(load.image.pixel(22, 20), kWhite) << c.name;
    EXPECT_EQ(load.image.pixel(58, 28), kWhite) << c.name;
    ExpectOnlyColours(load.image, {kRed, kBlue, kWhite}, c.name);
  }
}

TEST_F(ImageLoaderTest, MetafileWithoutConverterOrStuckConverter) {
  const QString wmf = Put("shapes.wmf", MakeWmf(60, 30, Shapes()));
  const QString emf = Put("shapes.emf", MakeEmf(60, 30, Shapes()));

  MetafileConverters missing;
  missing.emfProgram = dir_.filePath("no-such-emf-tool");
  missing.wmfProgram = QStringLiteral("morvane-no-such-wmf-tool");
  for (const QString& path : {wmf, emf}) {
    const PictureLoad load = LoadPicture(path, missing);
    EXPECT_FALSE(load.ok());
    EXPECT_EQ(load.reason, QStringLiteral("EMF/WMF not supported on this system"));
  }

  const QString stuck = Put("stuck.sh", "#!/bin/sh\nexec sleep 30\n");
  QFile::setPermissions(stuck, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString failing = Put("failing.sh", "#!/bin/sh\nexit 3\n");
  QFile::setPermissions(failing, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  MetafileConverters slow;
  slow.emfProgram = stuck;
  slow.timeoutMs = 300;
  MetafileConverters broken;
  broken.wmfProgram = failing;

  const PictureLoad timedOut = LoadPicture(emf, slow);
  EXPECT_FALSE(timedOut.ok());
  EXPECT_TRUE(timedOut.reason.contains("longer than")) << timedOut.reason.toStdString();
  const PictureLoad failed = LoadPicture(wmf, broken);
  EXPECT_FALSE(failed.ok());
  EXPECT_TRUE(failed.message.contains("shapes.wmf")) << failed.message.toStdString();
}

TEST(SampleImageTest, TheCommittedSampleLoads) {
  const PictureLoad load = LoadPicture(QStringLiteral(MORVANE_SOURCE_DIR "/samples/shapes.gif"));
  ASSERT_TRUE(load.ok()) << load.message.toStdString();
  EXPECT_EQ(load.image.size(), QSize(200, 120));
  EXPECT_EQ(load.image.pixel(30, 30), 0xffcc0000u);   // the red rectangle
  EXPECT_EQ(load.image.pixel(108, 36), 0xff0066ccu);  // the blue disc
  EXPECT_EQ(load.image.pixel(160, 78), kWhite);       // the ring's hole
  EXPECT_EQ(load.image.pixel(0, 0), kWhite);
}

// Straight into the engine's buffer: the same pixels as the picture loaded and then
// copied, whether the decoder writes into the buffer (32-bit PNG, BMP) or the picture
// is flattened a band at a time (GIF, transparent PNG taller than a band, JPEG), and
// the same failures.
TEST_F(ImageLoaderTest, LoadsIntoTheBufferAsThePictureCopied) {
  QImage tall(5, 700, QImage::Format_ARGB32);
  for (int y = 0; y < tall.height(); ++y) {
    for (int x = 0; x < tall.width(); ++x) tall.setPixel(x, y, qRgba(x * 40, y % 256, 90, (x * 60 + y) % 256));
  }
  QImage wide(300, 3, QImage::Format_RGB32);
  for (int x = 0; x < wide.width(); ++x) {
    for (int y = 0; y < 3; ++y) wide.setPixel(x, y, qRgb(x % 256, y * 80, 255 - x % 256));
  }
  struct Case {
    const char* name;
    QByteArray bytes;  // null: no file at all
  };
  const Case cases[] = {
      {"wide.png", Encoded(wide, "PNG")},
      {"blocks.bmp", Encoded(Blocks(), "BMP")},
      {"blocks.gif", BlocksGif()},
      {"tall.png", Encoded(tall, "PNG")},
      {"blocks.jpg", Encoded(Blocks(), "JPEG", 90)},
      {"missing.png", QByteArray()},
      {"cut.png", Encoded(wide, "PNG").left(60)},
  };
  for (const Case& c : cases) {
    const QString path = c.bytes.isNull() ? dir_.filePath(c.name) : Put(c.name, c.bytes);
    const PictureLoad load = LoadPicture(path);
    core::RgbImage direct(2, 2);
    const PictureLoad into = LoadRgbPicture(path, direct);
    EXPECT_TRUE(into.image.isNull()) << c.name;
    EXPECT_EQ(into.reason, load.reason) << c.name;
    EXPECT_EQ(into.message, load.message) << c.name;
    const core::RgbImage copied = ToRgbImage(load.image);
    EXPECT_EQ(direct.width, copied.width) << c.name;
    EXPECT_EQ(direct.height, copied.height) << c.name;
    EXPECT_EQ(direct.pixels, copied.pixels) << c.name;
  }
}

TEST(RgbImageTest, CopiesPixelsBothWays) {
  const QImage image = Blocks();
  const core::RgbImage rgb = ToRgbImage(image);
  ASSERT_EQ(rgb.width, 8);
  ASSERT_EQ(rgb.height, 4);
  EXPECT_EQ(rgb.at(1, 3), kRed);
  EXPECT_EQ(rgb.at(6, 0), kBlue);
  EXPECT_EQ(rgb.at(4, 2), kWhite);
  EXPECT_EQ(FromRgbImage(rgb), image);
  EXPECT_TRUE(ToRgbImage(QImage()).empty());
  EXPECT_TRUE(FromRgbImage(core::RgbImage()).isNull());
}

}  // namespace
}  // namespace morvane::gui
