#include "platform/gui/image_loader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <set>

#include "tests/support/picture_files.h"

namespace morvane::gui {
namespace {

using morvane::testing::AppendDword;
using morvane::testing::AppendWord;
using morvane::testing::MakeEmf;
using morvane::testing::MakeGif;
using morvane::testing::MakeUniformGif;
using morvane::testing::MakeWmf;
using morvane::testing::PictureRows;
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
  return MakeGif(R"(
rr....bb
rr....bb
rr....bb
rr....bb
)",
                 ".rb", {kWhite, kRed, kBlue});
}

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
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
  const QByteArray gif = MakeGif(R"(
t.r
rrt
)",
                                 "t.r", {0xff00ff00, 0xff000000, kRed}, 't');
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

// An 8-bit run-length BMP with a grey palette; runs are (count, index) pairs, 0 0 ends
// a line and 0 1 the picture.
QByteArray MakeRleBmp(int width, int height, const QByteArray& runs) {
  QByteArray out("BM");
  const int palette = 256 * 4;
  AppendDword(out, 14 + 40 + palette + runs.size());
  AppendDword(out, 0);
  AppendDword(out, 14 + 40 + palette);
  AppendDword(out, 40);
  AppendDword(out, width);
  AppendDword(out, height);
  AppendWord(out, 1);
  AppendWord(out, 8);
  AppendDword(out, 1);  // BI_RLE8
  AppendDword(out, runs.size());
  AppendDword(out, 2835);
  AppendDword(out, 2835);
  AppendDword(out, 256);
  AppendDword(out, 0);
  for (int i = 0; i < 256; ++i) {
    const char v = static_cast<char>(i == 0 ? 255 : 0);
    out.append(v).append(v).append(v).append('\0');
  }
  return out + runs;
}

// Four rows of eight: colour 1 (black) at the left half, colour 0 (white) at the right.
QByteArray HalfRuns(int rows, bool endMark) {
  QByteArray runs;
  for (int y = 0; y < rows; ++y) runs.append("\x04\x01\x04\x00\x00\x00", 6);
  if (endMark) runs.append("\x00\x01", 2);
  return runs;
}

// The blocks GIF with its LZW bytes replaced by noise, sub-block lengths kept.
QByteArray GarbledGif() {
  QByteArray gif = BlocksGif();
  const qsizetype data = 13 + 768 + 10 + 1;  // the first sub-block's length byte
  const int length = static_cast<std::uint8_t>(gif[data]);
  for (int i = 0; i < length; ++i) gif[data + 1 + i] = static_cast<char>(0xF1 ^ (i * 37));
  return gif;
}

// A JPEG that declares its size and holds nothing else.
QByteArray JpegDeclaring(int width, int height) {
  QByteArray out("\xFF\xD8\xFF\xC0\x00\x0B\x08", 7);
  out.append(static_cast<char>(height >> 8)).append(static_cast<char>(height & 0xff));
  out.append(static_cast<char>(width >> 8)).append(static_cast<char>(width & 0xff));
  out.append("\x01\x01\x11\x00\xFF\xD9", 6);
  return out;
}

TEST_F(ImageLoaderTest, DeclaredSizeAndDamagedDataAreRefusedBeforeDecoding) {
  const QString tooLarge = QStringLiteral("the picture is larger than 16384 x 16384 pixels");
  const QString damaged = QStringLiteral("the image data is damaged");
  struct Case {
    const char* name;
    QByteArray bytes;
    QString reason;
  };
  const Case cases[] = {
      // A few hundred kilobytes that would decode to gigabytes.
      {"wide.gif", MakeUniformGif(16385, 16000), tooLarge},
      {"tall.gif", MakeUniformGif(10, 16385), tooLarge},
      {"bomb.bmp", MakeRleBmp(100000, 30000, QByteArray("\x00\x01", 2)), tooLarge},
      {"negative.bmp", MakeRleBmp(8, -20000, QByteArray("\x00\x01", 2)), tooLarge},
      {"huge.jpg", JpegDeclaring(20000, 100), tooLarge},
      // Pixel data that does not make the picture it declares.
      {"garbled.gif", GarbledGif(), damaged},
      {"short-runs.bmp", MakeRleBmp(8, 4, HalfRuns(2, false)), damaged},
      {"no-end-mark.bmp", MakeRleBmp(8, 4, HalfRuns(4, false)), damaged},
  };
  for (const Case& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    const PictureLoad load = LoadPicture(Put(c.name, c.bytes));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(load.ok()) << c.name;
    EXPECT_EQ(load.reason, c.reason) << c.name << ": " << load.message.toStdString();
    EXPECT_LT(took, std::chrono::milliseconds(500)) << c.name << " was decoded before it was refused";
  }
  // Sound run-length data still loads.
  const PictureLoad sound = LoadPicture(Put("runs.bmp", MakeRleBmp(8, 4, HalfRuns(4, true))));
  ASSERT_TRUE(sound.ok()) << sound.message.toStdString();
  EXPECT_EQ(sound.image.pixel(0, 0), 0xff000000u);
  EXPECT_EQ(sound.image.pixel(7, 3), kWhite);
}

// A run-length BMP, 8-bit (RLE8) or 4-bit (RLE4) runs, its palette white (index 0),
// black (1) and red (2); rows are stored from the bottom up.
QByteArray RunLengthBmp(int width, int height, bool four, const QByteArray& runs) {
  const int colours = four ? 16 : 256;
  QByteArray out("BM");
  AppendDword(out, 14 + 40 + 4 * colours + runs.size());
  AppendDword(out, 0);
  AppendDword(out, 14 + 40 + 4 * colours);
  AppendDword(out, 40);
  AppendDword(out, width);
  AppendDword(out, height);
  AppendWord(out, 1);
  AppendWord(out, four ? 4 : 8);
  AppendDword(out, four ? 2 : 1);
  AppendDword(out, runs.size());
  AppendDword(out, 2835);
  AppendDword(out, 2835);
  AppendDword(out, 0);  // all the colours the bits allow
  AppendDword(out, 0);
  for (int i = 0; i < colours; ++i) {
    const QRgb c = i == 0 ? kWhite : i == 2 ? kRed : 0xff000000u;
    out.append(static_cast<char>(qBlue(c))).append(static_cast<char>(qGreen(c)));
    out.append(static_cast<char>(qRed(c))).append('\0');
  }
  return out + runs;
}

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out.append(static_cast<char>(v));
  return out;
}

// The picture as rows from the top: '.' white, '#' black, 'r' red, '?' anything else.
std::vector<std::string> Rows(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      row += p == kWhite ? '.' : p == 0xff000000u ? '#' : p == kRed ? 'r' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(ImageLoaderTest, RunLengthPixelsThatAreSkippedAreIndexZero) {
  struct Case {
    const char* what;
    bool four;
    QByteArray runs;
    std::string_view rows;  // from the top, 8 x 4
  };
  const Case cases[] = {
      {"an early end after one run", false, Bytes({3, 1, 0, 1}), R"(
........
........
........
###.....
)"},
      {"delta skips", false, Bytes({2, 1, 0, 2, 3, 1, 2, 1, 0, 1}),
       R"(
........
........
.....##.
##......
)"},
      {"an end of line on the first row", false, Bytes({0, 0, 8, 1, 0, 0, 0, 1}),
       R"(
........
........
########
........
)"},
      {"an end of line mid-row", false, Bytes({2, 2, 0, 0, 1, 1, 0, 0, 0, 0, 3, 1, 0, 1}),
       R"(
###.....
........
#.......
rr......
)"},
      {"an absolute run, padded", false, Bytes({0, 3, 1, 2, 1, 0, 0, 1}), R"(
........
........
........
#r#.....
)"},
      {"a delta to the last row's end", false, Bytes({0, 2, 8, 3, 0, 1}), R"(
........
........
........
........
)"},
      {"four bits: a run alternates its two colours", true, Bytes({5, 0x12, 0, 1}),
       R"(
........
........
........
#r#r#...
)"},
      {"four bits: an odd absolute run", true, Bytes({0, 3, 0x21, 0x20, 0, 0, 2, 0x22, 0, 1}),
       R"(
........
........
rr......
r#r.....
)"},
      {"four bits: a delta, then the end", true, Bytes({0, 2, 6, 3, 2, 0x11, 0, 1}),
       R"(
......##
........
........
........
)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PictureLoad load = LoadPicture(Put("runs.bmp", RunLengthBmp(8, 4, c.four, c.runs)));
    ASSERT_TRUE(load.ok()) << load.message.toStdString();
    EXPECT_EQ(Rows(load.image), PictureRows(c.rows));
  }
  // 64 x 64 with one run of ten black pixels on the bottom row: the rest is white.
  const PictureLoad big = LoadPicture(Put("big.bmp", RunLengthBmp(64, 64, false, Bytes({10, 1, 0, 1}))));
  ASSERT_TRUE(big.ok()) << big.message.toStdString();
  std::vector<std::string> expected(64, std::string(64, '.'));
  expected.back().replace(0, 10, 10, '#');
  EXPECT_EQ(Rows(big.image), expected);
}

TEST_F(ImageLoaderTest, DamagedRunLengthDataIsSaidToBe) {
  QByteArray garbage;  // what a broken writer might leave: bytes of no pattern
  for (std::uint32_t k = 0, v = 12345; k < 200; ++k) {
    v = v * 1103515245u + 12345u;
    garbage.append(static_cast<char>(v >> 24));
  }
  struct Case {
    const char* what;
    bool four;
    QByteArray runs;
  };
  const Case cases[] = {
      {"a run past the row's end", false, Bytes({9, 1, 0, 1})},
      {"a second run past the row's end", false, Bytes({6, 1, 3, 1, 0, 1})},
      {"a run past the picture's end", false, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 2, 1, 0, 1})},
      {"an end of line past the picture's end", false, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
      {"a delta past the right edge", false, Bytes({0, 2, 9, 0, 0, 1})},
      {"a delta past the top", false, Bytes({0, 2, 0, 5, 0, 1})},
      {"a delta cut off", false, Bytes({0, 2, 1})},
      {"an absolute run past the row's end", false, Bytes({0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1})},
      {"an absolute run cut off", false, Bytes({0, 6, 1, 1})},
      {"no end-of-bitmap mark", false, Bytes({8, 1, 0, 0})},
      {"the data begins past the file's end", false, QByteArray()},
      {"garbage", false, garbage},
      {"four bits: a run past the row's end", true, Bytes({9, 0x11, 0, 1})},
      {"four bits: an absolute run past the row's end", true,
       Bytes({0, 9, 0x11, 0x11, 0x11, 0x11, 0x10, 0, 0, 1})},
      {"four bits: garbage", true, garbage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QByteArray bytes = RunLengthBmp(8, 4, c.four, c.runs);
    if (c.runs.isEmpty()) {  // the data offset, past the end
      const std::uint32_t past = static_cast<std::uint32_t>(bytes.size() + 10);
      for (int k = 0; k < 4; ++k) bytes[10 + k] = static_cast<char>(past >> (8 * k));
    }
    const PictureLoad load = LoadPicture(Put("damaged.bmp", bytes));
    EXPECT_FALSE(load.ok());
    EXPECT_EQ(load.reason, QStringLiteral("the image data is damaged"));
    EXPECT_EQ(load.message,
              QStringLiteral("Cannot load the image \"damaged.bmp\": the image data is damaged."));
  }
}

// The largest picture the program promises loads, in every side; one more pixel does
// not. Each is a gigabyte of pixels, so they are few.
TEST_F(ImageLoaderTest, TheLargestPromisedPictureLoads) {
  struct Case {
    int width, height;
    bool loads;
  };
  for (const Case& c : {Case{16384, 16384, true}, Case{16384, 16383, true}}) {
    PictureLoad load = LoadPicture(Put("large.gif", MakeUniformGif(c.width, c.height)));
    ASSERT_EQ(load.ok(), c.loads) << c.width << "x" << c.height << ": " << load.message.toStdString();
    EXPECT_EQ(load.image.size(), QSize(c.width, c.height));
    EXPECT_EQ(load.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(load.image.pixel(0, 0), kWhite);
    EXPECT_EQ(load.image.pixel(c.width - 1, c.height - 1), kWhite);
  }
}

TEST_F(ImageLoaderTest, TheLoadersOwnGifDecoderMatchesTheReader) {
  // The decoder that takes the largest GIFs, tried on small ones against Qt's reader.
  constexpr std::string_view art = R"(
rr.tbb
r..tbb
rrttbb
......
bbrr.t
t.r.b.
rbrbrb
......
tttttt
)";
  const QByteArray plain = MakeGif(art, ".rbt", {kWhite, kRed, kBlue, 0xff00ff00});
  const QByteArray transparent = MakeGif(art, ".rbt", {kWhite, kRed, kBlue, 0xff00ff00}, 't');
  QByteArray interlaced = plain;
  interlaced[13 + 768 + 9] = static_cast<char>(0x40);     // rows stored in four passes
  const QByteArray uniform = MakeUniformGif(3000, 3000);  // 12-bit codes and clears
  struct Case {
    const char* name;
    QByteArray bytes;
  };
  PictureLimits own;
  own.gifReaderMaxPixels = 0;
  for (const Case& c : {Case{"plain", plain}, Case{"transparent", transparent},
                        Case{"interlaced", interlaced}, Case{"uniform", uniform}}) {
    const PictureLoad viaReader = LoadPictureData(c.bytes, "x.gif");
    const PictureLoad viaOwn = LoadPictureData(c.bytes, "x.gif", {}, own);
    ASSERT_TRUE(viaReader.ok() && viaOwn.ok()) << c.name << ": " << viaOwn.message.toStdString();
    EXPECT_EQ(viaOwn.image, viaReader.image) << c.name;
  }
  QByteArray garbled = GarbledGif();
  EXPECT_EQ(LoadPictureData(garbled, "x.gif", {}, own).reason,
            QStringLiteral("the image data is damaged"));
}

TEST_F(ImageLoaderTest, SpecialFilesAndNamesGetTheirOwnReasons) {
  const std::string folder = dir_.path().toStdString();
  ASSERT_EQ(::mkfifo((folder + "/pipe.gif").c_str(), 0600), 0);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.gif"));
  // A name in Latin-1, not valid UTF-8.
  const std::string latin1 = folder + "/caf\xE9.gif";
  {
    std::ofstream out(latin1, std::ios::binary);
    const QByteArray gif = BlocksGif();
    out.write(gif.constData(), gif.size());
  }
  const std::string locked = folder + "/locked.gif";
  {
    std::ofstream out(locked, std::ios::binary);
    out << "GIF89a";
  }
  ::chmod(locked.c_str(), 0);
  struct Case {
    const char* what;
    std::string path;
    QString reason;  // empty: loads
  };
  const Case cases[] = {
      {"a Latin-1 name", latin1, QString()},
      {"a missing file", folder + "/none.gif", QStringLiteral("the file does not exist")},
      {"a folder", folder + "/folder.gif", QStringLiteral("it is a folder, not a file")},
      {"a pipe", folder + "/pipe.gif", QStringLiteral("it is not a regular file")},
      {"a device", "/dev/zero", QStringLiteral("it is not a regular file")},
      {"an unreadable file", locked, QString::fromLocal8Bit(std::strerror(EACCES))},
  };
  for (const Case& c : cases) {
    if (c.path == locked && ::geteuid() == 0) continue;  // root reads it anyway
    const PictureLoad load = LoadPicture(c.path);
    EXPECT_EQ(load.reason, c.reason) << c.what << ": " << load.message.toStdString();
    EXPECT_EQ(load.ok(), c.reason.isEmpty()) << c.what;
  }
  EXPECT_EQ(LoadPicture(latin1).image.pixel(7, 3), kBlue);
}

// Resident memory of this process, in kB.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return 0;
}

// True when the process is gone (or only waits to be reaped).
bool ProcessGone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const std::size_t close = text.rfind(')');
  return text.empty() ||
         (close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z');
}

TEST_F(ImageLoaderTest, ConverterOutputAndLifetimeAreBounded) {
  const QString emf = Put("shapes.emf", MakeEmf(60, 30, Shapes()));
  QTemporaryDir scratch;  // the conversions' temporary folders go here
  const QByteArray oldTmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", scratch.path().toLocal8Bit());
  const QString pidFile = dir_.filePath("child.pid");
  auto script = [&](const char* name, const QString& body) {
    const QString path = Put(name, ("#!/bin/sh\n" + body).toLocal8Bit());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  };
  const QString svg = QStringLiteral(
      "<svg xmlns='http://www.w3.org/2000/svg' width='60' height='30'>"
      "<rect x='4' y='4' width='12' height='10' fill='red'/></svg>");
  struct Case {
    const char* what;
    QString program;
    QString reason;  // empty: loads
    bool leavesChild;
  };
  const Case cases[] = {
      {"floods its output", script("flood.sh", "exec yes flooding\n"),
       QStringLiteral("the conversion took longer than 1 seconds"), false},
      {"writes a huge picture", script("huge.sh", "head -c 3000000 /dev/zero > \"$4\"\n"),
       QStringLiteral("the converted picture is larger than 1 MB"), false},
      {"leaves a child behind",
       script("child.sh", "sleep 60 &\necho $! > '" + pidFile +
                              "'\n"
                              "echo \"" +
                              svg + "\" > \"$4\"\n"),
       QString(), true},
      {"hangs with a child", script("hang.sh", "sleep 60 &\necho $! > '" + pidFile + "'\nsleep 60\n"),
       QStringLiteral("the conversion took longer than 1 seconds"), true},
  };
  for (const Case& c : cases) {
    QFile::remove(pidFile);
    MetafileConverters tools;
    tools.emfProgram = c.program;
    tools.timeoutMs = 1000;
    PictureLimits limits;
    limits.maxSvgBytes = 1 << 20;
    const long before = ResidentKb();
    QFile file(emf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const PictureLoad load = LoadPictureData(file.readAll(), "shapes.emf", tools, limits);
    EXPECT_EQ(load.reason, c.reason) << c.what;
    EXPECT_LT(ResidentKb() - before, 100 * 1024) << c.what << ": output piled up in memory";
    EXPECT_TRUE(QDir(scratch.path()).isEmpty()) << c.what << ": its temporary folder stayed";
    if (c.leavesChild) {
      QFile pid(pidFile);
      ASSERT_TRUE(pid.open(QIODevice::ReadOnly)) << c.what;
      const pid_t child = static_cast<pid_t>(pid.readAll().trimmed().toInt());
      ASSERT_GT(child, 0) << c.what;
      for (int i = 0; i < 100 && !ProcessGone(child); ++i) ::usleep(10000);
      EXPECT_TRUE(ProcessGone(child)) << c.what << ": the converter's child still runs";
    }
  }
  if (oldTmp.isNull()) {
    qunsetenv("TMPDIR");
  } else {
    qputenv("TMPDIR", oldTmp);
  }
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
    for (int x = 0; x < tall.width(); ++x)
      tall.setPixel(x, y, qRgba(x * 40, y % 256, 90, (x * 60 + y) % 256));
  }
  QImage wide(300, 3, QImage::Format_RGB32);
  for (int x = 0; x < wide.width(); ++x) {
    for (int y = 0; y < 3; ++y) wide.setPixel(x, y, qRgb(x % 256, y * 80, 255 - x % 256));
  }
  QByteArray runs;  // 6 x 600 in three colours, taller than a band
  for (int y = 0; y < 600; ++y) runs += Bytes({3, y % 3, 3, (y + 1) % 3, 0, 0});
  runs += Bytes({0, 1});
  struct Case {
    const char* name;
    QByteArray bytes;  // null: no file at all
  };
  const Case cases[] = {
      {"runs.bmp", RunLengthBmp(6, 600, false, runs)},
      {"damaged-runs.bmp", RunLengthBmp(6, 600, false, runs.left(100))},
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

// An uncompressed BMP of width x height at 24 or 32 bits, a colour per pixel from its
// place; height < 0 stores the rows from the top. The pixel data starts at offset,
// after a gap of zeros (0: right after the headers).
QByteArray PlainBmp(int width, int height, int bits, std::int64_t offset = 0) {
  const int rows = std::abs(height);
  const int stride = (bits * width + 31) / 32 * 4;
  const std::int64_t at = offset != 0 ? offset : 54;
  QByteArray out("BM");
  AppendDword(out, at + std::int64_t{stride} * rows);
  AppendDword(out, 0);
  AppendDword(out, at);
  AppendDword(out, 40);
  AppendDword(out, width);
  AppendDword(out, height);
  AppendWord(out, 1);
  AppendWord(out, bits);
  AppendDword(out, 0);  // no compression
  AppendDword(out, std::int64_t{stride} * rows);
  AppendDword(out, 2835);
  AppendDword(out, 2835);
  AppendDword(out, 0);
  AppendDword(out, 0);
  if (at > out.size() && at < (std::int64_t{1} << 24)) out.append(QByteArray(at - out.size(), '\0'));
  for (int y = 0; y < rows; ++y) {
    QByteArray row;
    for (int x = 0; x < width; ++x) {
      row.append(static_cast<char>(x * 7)).append(static_cast<char>(y * 3)).append(static_cast<char>(x ^ y));
      if (bits == 32) row.append('\0');
    }
    row.append(QByteArray(stride - row.size(), '\0'));
    out += row;
  }
  return out;
}

// Sets the little-endian dword at at.
QByteArray WithDword(QByteArray bytes, int at, std::int64_t value) {
  for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xff);
  return bytes;
}

// A BMP too large to be worth a copy in memory is decoded from the file as it is read;
// it loads as its bytes in memory load, picture and failure alike, and the checks on
// its headers and its size come first all the same.
TEST_F(ImageLoaderTest, LargeBmpFilesLoadAsTheirBytes) {
  const QString tooLarge = QStringLiteral("the picture is larger than 16384 x 16384 pixels");
  const QString incomplete = QStringLiteral("the file is incomplete");
  const QByteArray sound = PlainBmp(300, 120, 24);
  QImage indexed(600, 300, QImage::Format_Indexed8);
  indexed.setColorTable({kWhite, kRed, kBlue});
  for (int y = 0; y < indexed.height(); ++y) {
    for (int x = 0; x < indexed.width(); ++x) indexed.setPixel(x, y, (x / 10 + y / 7) % 3);
  }
  struct Case {
    const char* name;
    QByteArray bytes;
    QString reason;  // empty: loads
  };
  const Case cases[] = {
      {"rows.bmp", sound, {}},
      {"top-down.bmp", PlainBmp(300, -120, 24), {}},
      {"wide.bmp", PlainBmp(700, 40, 32), {}},
      {"palette.bmp", Encoded(indexed, "BMP"), {}},
      {"named.dib", sound, {}},
      {"after-a-gap.bmp", PlainBmp(300, 120, 24, 70000), {}},
      {"cut.bmp", sound.left(sound.size() - 5000), incomplete},
      {"cut-in-a-row.bmp", sound.left(sound.size() - 1), incomplete},
      {"offset-past-the-end.bmp", WithDword(sound, 10, 0x7fff0000), incomplete},
      {"offset-into-the-rows.bmp", WithDword(sound, 10, 90000), incomplete},
      {"taller-than-the-file.bmp", WithDword(sound, 22, 2000), incomplete},
      {"wider-than-allowed.bmp", WithDword(sound, 18, 16385), tooLarge},
      {"taller-than-allowed.bmp", WithDword(sound, 22, -20000), tooLarge},
      {"huge.bmp", WithDword(WithDword(sound, 18, 0x7fffffff), 22, 0x7fffffff), tooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.bytes.size(), 64 * 1024);
    const QString path = Put(c.name, c.bytes);
    const PictureLoad fromBytes = LoadPictureData(c.bytes, QString::fromLatin1(c.name));
    const PictureLoad fromFile = LoadPicture(path);
    EXPECT_EQ(fromFile.reason, c.reason) << fromFile.message.toStdString();
    EXPECT_EQ(fromFile.reason, fromBytes.reason);
    EXPECT_EQ(fromFile.message, fromBytes.message);
    EXPECT_EQ(fromFile.image, fromBytes.image);
    core::RgbImage direct(2, 2);
    const PictureLoad into = LoadRgbPicture(path, direct);
    EXPECT_EQ(into.reason, c.reason);
    EXPECT_TRUE(into.image.isNull());
    const core::RgbImage copied = ToRgbImage(fromBytes.image);
    EXPECT_EQ(direct.width, copied.width);
    EXPECT_EQ(direct.height, copied.height);
    EXPECT_EQ(direct.pixels, copied.pixels);
  }
  // The rows land where they belong.
  const PictureLoad rows = LoadPicture(dir_.filePath("rows.bmp"));
  ASSERT_TRUE(rows.ok());
  EXPECT_EQ(rows.image.pixel(10, 119), qRgb(10 ^ 0, 0, 70));
  EXPECT_EQ(rows.image.pixel(299, 0), qRgb((299 ^ 119) & 0xff, 119 * 3, (299 * 7) & 0xff));
  EXPECT_EQ(LoadPicture(dir_.filePath("top-down.bmp")).image.pixel(299, 0),
            qRgb(299 & 0xff, 0, (299 * 7) & 0xff));
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
