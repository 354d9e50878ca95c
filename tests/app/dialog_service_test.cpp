#include "app/dialog_service.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/temp_folder.h"

namespace morvane::app {
namespace {

// Runs the step once the event loop of a dialog is running.
void Soon(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

const char* const kUpdateText =
    "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs16 Version 2.1 is now available to "
    "download:\\par "
    "\\cf1{\\ul https://example.org/Products/Morvane/morvane_Setup.exe}}";

QPushButton* PopupButton(DialogService& service, const QString& caption) {
  for (QPushButton* b : service.OpenPopup()->findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

TEST(MessagePopup, AnswersTheNumberOfTheButtonPressed) {
  struct Row {
    const char* press;  // a caption, or "Escape"
    int answer;
  };
  const Row rows[] = {{"Cancel", 1}, {"Download", 2}, {"Escape", 1}};
  for (const Row& row : rows) {
    DialogService service;
    service.ClearButtons();
    DialogService::PopupButton& cancel = service.AddButton(QStringLiteral("Cancel"));
    cancel.cancel = true;
    cancel.isDefault = false;
    service.AddButton(QStringLiteral("Download")).isDefault = false;
    Soon([&] {
      ASSERT_NE(service.OpenPopup(), nullptr);
      if (QString::fromUtf8(row.press) == QLatin1String("Escape")) {
        QTest::keyClick(service.OpenPopup(), Qt::Key_Escape);
      } else {
        PopupButton(service, QString::fromUtf8(row.press))->click();
      }
    });
    EXPECT_EQ(service.Popup(QString::fromUtf8(kUpdateText), QStringLiteral("Morvane")), row.answer)
        << row.press;
    EXPECT_EQ(service.OpenPopup(), nullptr);
  }
}

TEST(MessagePopup, ALinkClickNamesItsLineAndHideClosesWithoutAButton) {
  DialogService service;
  service.AddButton(QStringLiteral("Cancel")).cancel = true;
  service.AddButton(QStringLiteral("Download"));
  std::vector<int> lines;
  service.LinkClick = [&](widgets::MessagePopup& popup, int line) {
    lines.push_back(line);
    popup.Hide();
  };
  QString shown;
  Soon([&] {
    auto* label = service.OpenPopup()->findChild<QLabel*>(QStringLiteral("popupText"));
    ASSERT_NE(label, nullptr);
    shown = label->text();
    emit label->linkActivated(QStringLiteral("2"));
  });
  EXPECT_EQ(service.Popup(QString::fromUtf8(kUpdateText), QStringLiteral("Morvane")), 0);
  EXPECT_EQ(lines, std::vector<int>{2});
  EXPECT_TRUE(shown.contains(QStringLiteral("Version 2.1 is now available to download:")));
  EXPECT_TRUE(shown.contains(QStringLiteral("<a href=\"2\"")));
}

TEST(ColorDialog, ModalConfirmOrCancel) {
  struct Row {
    bool confirm;
    int result;
    std::int32_t color;
  };
  const Row rows[] = {{true, 1, 0x00FF80}, {false, 0, 0x123456}};
  for (const Row& row : rows) {
    DialogService service;
    service.SetColor(0x123456);
    Soon([&] {
      QColorDialog* dialog = service.OpenColorDialog();
      ASSERT_NE(dialog, nullptr);
      EXPECT_TRUE(dialog->isModal());
      EXPECT_EQ(dialog->currentColor(), QColor(0x56, 0x34, 0x12));
      dialog->setCurrentColor(QColor(0x80, 0xFF, 0x00));
      if (row.confirm) {
        dialog->accept();
      } else {
        dialog->reject();
      }
    });
    EXPECT_EQ(service.ShowColor(), row.result);
    EXPECT_EQ(service.Color(), row.color);
  }
}

TEST(ColorDialog, OpenBesideTheWindowItShowsAColourWrittenMeanwhile) {
  QWidget window;
  window.show();
  DialogService service(&window);
  service.Mode = DialogService::ColorDialogMode::Beside;
  service.SetColor(0xFFFFFF);
  Soon([&] {
    QColorDialog* dialog = service.OpenColorDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the window keeps its clicks";
    // The dropper picks a pixel.
    service.SetColor(0x0000FF);
    EXPECT_EQ(dialog->currentColor(), QColor(0xFF, 0, 0));
    dialog->accept();
  });
  EXPECT_TRUE(service.ShowColor());
  EXPECT_EQ(service.Color(), 0x0000FF);
  EXPECT_EQ(service.OpenColorDialog(), nullptr);
}

TEST(FileOpen, TheChoiceOrEmptyWhenCancelled) {
  testing::TempFolder folder;
  const std::string file = folder.Write("paint", "x");
  for (const bool confirm : {true, false}) {
    DialogService service;
    service.DialogTitle = QStringLiteral("Custom Painter");
    service.InitDir = QString::fromStdString(folder.path());
    service.FileName = QStringLiteral("old");
    service.InitFileDialog = [&](QFileDialog& dialog) {
      EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Custom Painter"));
      Soon([&dialog, &file, confirm] {
        dialog.selectFile(QString::fromStdString(file));
        // The dialog's own accept checks the chosen file, as the Open button does.
        if (confirm) {
          QMetaObject::invokeMethod(&dialog, "accept");
        } else {
          dialog.reject();
        }
      });
    };
    service.ShowOpen();
    EXPECT_EQ(service.FileName, confirm ? QString::fromStdString(file) : QString());
  }
}

TEST(HelpFile, ReadsBackAndShowsItsContentsByCommandThree) {
  DialogService service;
  service.SetHelpFile(QStringLiteral("/opt/morvane/Morvane.hlp"));
  EXPECT_EQ(service.HelpFile(), QStringLiteral("/opt/morvane/Morvane.hlp"));
  std::vector<std::pair<QString, int>> shown;
  service.HelpRequested = [&](const QString& file, std::int32_t id) { shown.emplace_back(file, id); };
  EXPECT_FALSE(service.ShowHelp(static_cast<DialogService::HelpCommand>(1)));
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(service.ShowHelp(DialogService::HelpCommand::Contents));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, QStringLiteral("/opt/morvane/Morvane.hlp"));
  EXPECT_EQ(shown[0].second, 0);
}

}  // namespace
}  // namespace morvane::app
