#include "document/widgets/qt_services.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "document/document.h"
#include "document/widgets/batch_output_panel.h"
#include "platform/widgets/file_dialog.h"
#include "tests/document/fakes.h"
#include "tests/support/picture_files.h"
#include "tests/support/temp_folder.h"

namespace morvane::document {
namespace {

// The batch command through the real dialogs: the panel is in the batch dialog, what
// is typed in it reaches the settings, and the chosen files reach the run.
TEST(QtDialogControlTest, BatchDialogCarriesThePanelAndTheChoice) {
  QTemporaryDir dir;
  for (const char* name : {"a.gif", "b.gif"}) {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(image.save(dir.filePath(name), "BMP"));  // content decides, not the name
  }
  testing::WindowSide side;
  DocumentState& state = side.model.state;
  testing::FakeFiles files;
  files.folders.insert(dir.path().toStdString() + "/");
  for (const char* name : {"a.gif", "b.gif"}) files.files[dir.filePath(name).toStdString()] = "";
  QtImageSource images;
  widgets::FileDialog dialogs;
  QtDialogControl control(dialogs, side.model, [] { return true; });
  Document doc(side.model, side.view.Roles(), side.runs, files, images, control);
  state.ImagePath = dir.filePath("a.gif").toStdString();  // the dialogs open in its folder

  bool panelShown = false;
  QString title;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    title = d->windowTitle();
    auto* panel = d->findChild<BatchOutputPanel*>();
    ASSERT_NE(panel, nullptr);
    panelShown = panel->isVisible();
    panel->tbOutput()->setText(dir.filePath("report.txt"));
    d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
        ->setText(QStringLiteral("\"a.gif\" \"b.gif\""));
    QMetaObject::invokeMethod(d, "accept");
  });
  doc.RunBatch();
  EXPECT_TRUE(panelShown);
  EXPECT_EQ(title, QStringLiteral("Batch..."));
  EXPECT_EQ(state.TextOutputPath, dir.filePath("report.txt").toStdString());
  EXPECT_EQ(side.runs.createRuns, 2);
  EXPECT_EQ(side.view.status[engine::StatusField::Progress1], "2 images processed.");
  EXPECT_EQ(files.files[dir.filePath("report.txt").toStdString()], "a.gif \r\nb.gif \r\n");

  // Outside a batch the same control shows no panel.
  bool panelInOpen = true;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    panelInOpen = d->findChild<BatchOutputPanel*>() != nullptr;
    d->reject();
  });
  doc.OpenFile();
  EXPECT_FALSE(panelInOpen);
}

TEST(QtImageSourceTest, LoadsOrNamesTheFile) {
  QTemporaryDir dir;
  QImage image(5, 2, QImage::Format_RGB32);
  image.fill(0xff336699);
  ASSERT_TRUE(image.save(dir.filePath("p.bmp"), "BMP"));
  QFile junk(dir.filePath("junk.gif"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("junk");
  junk.close();
  QtImageSource source;
  core::RgbImage rgb;
  std::string message;
  ASSERT_TRUE(source.LoadPicture(dir.filePath("p.bmp").toStdString(), rgb, message));
  EXPECT_EQ(rgb.width, 5);
  EXPECT_EQ(rgb.at(4, 1), 0xff336699u);
  EXPECT_FALSE(source.LoadPicture(dir.filePath("junk.gif").toStdString(), rgb, message));
  EXPECT_NE(message.find("junk.gif"), std::string::npos);
}

// A gzip file of the bytes, stored without compression: what an .svgz is.
QByteArray Gzipped(const QByteArray& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc ^= 0xFFFFFFFFu;
  QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10);
  out.append('\x01');  // the last block, stored
  morvane::testing::AppendWord(out, static_cast<int>(bytes.size()));
  morvane::testing::AppendWord(out, static_cast<int>(~bytes.size() & 0xFFFF));
  out.append(bytes);
  morvane::testing::AppendDword(out, crc);
  morvane::testing::AppendDword(out, bytes.size());
  return out;
}

// Every name the image patterns take is a picture the image source reads: a small
// picture written under each pattern's extension opens at its size.
TEST(QtImageSourceTest, EveryImagePatternIsAPictureItReads) {
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(0xff000000);
  for (int x = 0; x < 3; ++x) picture.setPixel(x, 1, 0xffffffff);
  const auto encoded = [&](const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format)) << format;
    return bytes;
  };
  const QByteArray svg =
      "<svg xmlns='http://www.w3.org/2000/svg' width='6' height='4'><rect width='6' height='4'/></svg>";
  const std::vector<morvane::testing::WmfShape> shapes = {{0x000000FF, {QPoint(4, 4), QPoint(16, 14)}}};
  const std::map<std::string, std::pair<QByteArray, QSize>> files = {
      {"gif",
       {QByteArray::fromStdString(morvane::testing::ReadAll(MORVANE_SOURCE_DIR "/samples/shapes.gif")),
        QSize(200, 120)}},
      {"jpg", {encoded("JPEG"), QSize(6, 4)}},
      {"jpeg", {encoded("JPEG"), QSize(6, 4)}},
      {"png", {encoded("PNG"), QSize(6, 4)}},
      {"bmp", {encoded("BMP"), QSize(6, 4)}},
      {"dib", {encoded("BMP").mid(14), QSize(6, 4)}},  // without the file header
      {"emf", {morvane::testing::MakeEmf(60, 30, shapes), QSize(60, 30)}},
      {"wmf", {morvane::testing::MakeWmf(60, 30, shapes), QSize(60, 30)}},
      {"ico", {encoded("ICO"), QSize(6, 4)}},
      {"cur", {encoded("CUR"), QSize(6, 4)}},
      {"pbm", {encoded("PBM"), QSize(6, 4)}},
      {"pgm", {encoded("PGM"), QSize(6, 4)}},
      {"ppm", {encoded("PPM"), QSize(6, 4)}},
      {"xbm", {encoded("XBM"), QSize(6, 4)}},
      {"xpm", {encoded("XPM"), QSize(6, 4)}},
      {"svg", {svg, QSize(6, 4)}},
      {"svgz", {Gzipped(svg), QSize(6, 4)}},
  };
  QTemporaryDir dir;
  QtImageSource source;
  const std::string patterns(kImagePatterns);
  std::size_t start = 0;
  int checked = 0;
  while (start < patterns.size()) {
    const std::size_t semi = std::min(patterns.find(';', start), patterns.size());
    const std::string pattern = patterns.substr(start, semi - start);
    start = semi + 1;
    SCOPED_TRACE(pattern);
    ASSERT_TRUE(pattern.starts_with("*."));
    const auto file = files.find(pattern.substr(2));
    ASSERT_NE(file, files.end()) << "a pattern without a picture to try";
    // The other case of letters is the same picture.
    for (const std::string& name :
         {"p." + pattern.substr(2),
          "P." + QString::fromStdString(pattern.substr(2)).toUpper().toStdString()}) {
      const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
      ASSERT_TRUE(morvane::testing::WriteFile(QString::fromStdString(path), file->second.first));
      EXPECT_TRUE(MatchesPatterns(path, kImagePatterns)) << name;
      core::RgbImage rgb;
      std::string message;
      ASSERT_TRUE(source.LoadPicture(path, rgb, message)) << message;
      EXPECT_EQ(QSize(rgb.width, rgb.height), file->second.second) << name;
    }
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(files.size()));
}

}  // namespace
}  // namespace morvane::document
