#include "document/widgets/batch_output_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "document/document_model.h"
#include "platform/widgets/file_dialog.h"

namespace morvane::document {
namespace {

// A document with these batch settings.
std::unique_ptr<DocumentModel> Settings(bool separate, bool stop, std::string path) {
  auto model = std::make_unique<DocumentModel>();
  model->LetSeparateFiles(separate);
  model->LetAskBeforeOverwrite(stop);
  model->LetTextOutputPath(std::move(path));
  return model;
}

void WhenShown(std::function<void(QFileDialog&)> work) {
  QTimer::singleShot(0, [work] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    work(*dialog);
  });
}

void Accept(QFileDialog& dialog, const QString& name) {
  dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
  QMetaObject::invokeMethod(&dialog, "accept");
}

TEST(BatchOutputPanelTest, StartsFromTheSettings) {
  struct Case {
    const char* what;
    bool separate, stop, connected;
  };
  const Case cases[] = {
      {"report mode, Connected", false, true, true},
      {"separate files, Connected", true, false, true},
      {"separate files without Connected", true, true, false},
      {"report mode without Connected", false, false, false},
  };
  widgets::FileDialog dialogs;
  for (const Case& c : cases) {
    const auto model = Settings(c.separate, c.stop, "/tmp/report.txt");
    const DocumentState& s = model->State();
    BatchOutputPanel panel(*model, c.connected, dialogs);
    EXPECT_EQ(panel.objectName(), QStringLiteral("fbOutput")) << c.what;
    EXPECT_EQ(panel.title(), QStringLiteral(" Output Settings ")) << c.what;
    EXPECT_EQ(panel.chOutput1()->isEnabled(), c.connected) << c.what;
    EXPECT_EQ(panel.chOutput1()->isChecked(), c.separate) << c.what;
    EXPECT_EQ(panel.chOutput2()->isChecked(), c.stop) << c.what;
    EXPECT_EQ(panel.tbOutput()->text(), QStringLiteral("/tmp/report.txt")) << c.what;
    EXPECT_EQ(panel.tbOutput()->isEnabled(), !c.separate) << c.what;
    EXPECT_EQ(panel.bbOutput()->isEnabled(), !c.separate) << c.what;
    EXPECT_EQ(panel.tlOutput()->text(), QStringLiteral("Output File:")) << c.what;
    // Building the panel changes no setting.
    EXPECT_EQ(s.SeparateFiles, c.separate) << c.what;
    EXPECT_EQ(s.AskBeforeOverwrite, c.stop) << c.what;
    EXPECT_EQ(s.TextOutputPath, "/tmp/report.txt") << c.what;
  }
}

TEST(BatchOutputPanelTest, EachClickAndKeystrokeGoesIntoTheSettings) {
  const auto model = Settings(true, false, "kept.txt");
  const DocumentState& s = model->State();
  widgets::FileDialog dialogs;
  BatchOutputPanel panel(*model, true, dialogs);
  panel.chOutput1()->click();
  EXPECT_FALSE(s.SeparateFiles);
  EXPECT_TRUE(panel.tbOutput()->isEnabled());
  EXPECT_TRUE(panel.bbOutput()->isEnabled());
  panel.chOutput1()->click();
  EXPECT_TRUE(s.SeparateFiles);
  EXPECT_FALSE(panel.tbOutput()->isEnabled());
  EXPECT_EQ(panel.tbOutput()->text(), QStringLiteral("kept.txt"));  // disabled, not cleared
  panel.chOutput2()->click();
  EXPECT_TRUE(s.AskBeforeOverwrite);
  panel.tbOutput()->setText(QStringLiteral("/data/all.txt"));
  EXPECT_EQ(s.TextOutputPath, "/data/all.txt");
}

TEST(BatchOutputPanelTest, BrowseAndHelpUseTheDialogControl) {
  QTemporaryDir dir;
  const auto model = Settings(false, false, dir.filePath("old.txt").toStdString());
  const DocumentState& s = model->State();
  widgets::FileDialog dialogs;
  std::vector<std::int32_t> helps;
  dialogs.HelpRequested = [&](const QString&, std::int32_t id) { helps.push_back(id); };
  BatchOutputPanel panel(*model, true, dialogs);

  QString title, folder;
  WhenShown([&](QFileDialog& d) {
    title = d.windowTitle();
    folder = d.directory().absolutePath();
    d.reject();
  });
  panel.bbOutput()->click();
  EXPECT_EQ(title, QStringLiteral("Output File"));
  EXPECT_EQ(folder, dir.path());
  EXPECT_EQ(s.TextOutputPath, dir.filePath("old.txt").toStdString());  // cancelled: unchanged

  WhenShown([&](QFileDialog& d) { Accept(d, QStringLiteral("new")); });
  panel.bbOutput()->click();
  EXPECT_EQ(s.TextOutputPath, dir.filePath("new.txt").toStdString());
  EXPECT_EQ(panel.tbOutput()->text(), dir.filePath("new.txt"));
  EXPECT_EQ(dialogs.FileName, QString());

  panel.bbHelp()->click();
  EXPECT_EQ(helps, std::vector<std::int32_t>{400});
}

TEST(InsertBatchOutputPanelTest, OnlyBatchDialogsGetAFreshPanel) {
  QTemporaryDir dir;
  const auto model = Settings(false, true, "");
  const DocumentState& s = model->State();
  widgets::FileDialog dialogs;
  dialogs.FileFlags = 20996;
  dialogs.InitDir = dir.path();
  std::vector<BatchOutputPanel*> inserted;
  dialogs.InitDialog = [&](QFileDialog& d) {
    inserted.push_back(InsertBatchOutputPanel(d, *model, true, dialogs));
  };

  WhenShown([](QFileDialog& d) { d.reject(); });
  dialogs.ShowOpenDialog();
  ASSERT_EQ(inserted.size(), 1u);
  EXPECT_EQ(inserted[0], nullptr);  // not a batch: nothing inserted

  model->LetBatchRunning(true);
  int panelsInNested = -1;
  QString start;
  bool inDialog = false;
  WhenShown([&](QFileDialog& d) {
    auto* panel = d.findChild<BatchOutputPanel*>();
    inDialog = panel != nullptr && panel->isVisible();
    start = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text();
    panel->tbOutput()->setText(QStringLiteral("/tmp/typed.txt"));
    // Browse opens a nested dialog: it gets no panel of its own.
    WhenShown([&](QFileDialog& inner) {
      panelsInNested = static_cast<int>(inner.findChildren<BatchOutputPanel*>().size());
      inner.reject();
    });
    panel->bbOutput()->click();
    d.reject();
  });
  dialogs.FileFlags = 20996;
  dialogs.ShowOpenDialog();
  EXPECT_TRUE(inDialog);
  EXPECT_EQ(start, QStringLiteral("&Start"));
  EXPECT_EQ(panelsInNested, 0);
  EXPECT_EQ(s.TextOutputPath, "/tmp/typed.txt");  // the cancelled batch keeps what was typed

  // A second batch dialog is laid out anew from the current settings.
  model->LetAskBeforeOverwrite(false);
  bool stopShown = true;
  QString pathShown;
  WhenShown([&](QFileDialog& d) {
    auto panels = d.findChildren<BatchOutputPanel*>();
    ASSERT_EQ(panels.size(), 1);
    stopShown = panels[0]->chOutput2()->isChecked();
    pathShown = panels[0]->tbOutput()->text();
    d.reject();
  });
  dialogs.FileFlags = 20996;
  dialogs.ShowOpenDialog();
  EXPECT_FALSE(stopShown);
  EXPECT_EQ(pathShown, QStringLiteral("/tmp/typed.txt"));
}

}  // namespace
}  // namespace morvane::document
