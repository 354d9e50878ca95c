#include "document/widgets/qt_services.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/widgets/batch_output_panel.h"
#include "platform/widgets/file_dialog.h"
#include "tests/document/fakes.h"

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
  QtDialogControl control(dialogs, state, [] { return true; });
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

}  // namespace
}  // namespace morvane::document
