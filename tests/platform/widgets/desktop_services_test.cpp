#include "platform/widgets/desktop_services.h"
#include "tests/support/fake_services.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace morvane::widgets {
namespace {

TEST(ServicesTest, FakesStandInWhileTheyLiveAndTheRealOnesComeBack) {
  MessageBoxService* real = &MessageBoxes();
  {
    testing::FakeServices fakes;
    EXPECT_EQ(&MessageBoxes(), &fakes.messageBoxes);
    fakes.messageBoxes.answers.push_back(core::kAnswerNo);
    EXPECT_EQ(
        MessageBoxes().Show(nullptr, "Save changes?", core::kMbYesNoCancel | core::kMbIconExclamation),
        core::kAnswerNo);
    EXPECT_EQ(MessageBoxes().Show(nullptr, "Done.", core::kMbOk), core::kAnswerOk);
    ASSERT_EQ(fakes.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(fakes.messageBoxes.shown[0].title, ProgramTitle());
    Beeper().MessageBeep(kBeepWarning);
    Beeper().MessageBeep(kBeepInformation);
    EXPECT_EQ(fakes.beeper.beeps, (std::vector<int>{48, 64}));
    EXPECT_TRUE(Shell().Start("/usr/bin/gimp", {"/tmp/a b.gif"}));
    ASSERT_EQ(fakes.shell.started.size(), 1u);
    EXPECT_EQ(fakes.shell.started[0].arguments, QStringList{"/tmp/a b.gif"});
    Clipboard().SetText("1,2,3,4");
    EXPECT_EQ(fakes.clipboard.text, "1,2,3,4");
    {
      testing::FakeBeeper inner;
      ServiceOverride only(nullptr, &inner, nullptr, nullptr);
      Beeper().MessageBeep(kBeepDefault);
      EXPECT_EQ(&MessageBoxes(), &fakes.messageBoxes);
      EXPECT_EQ(inner.beeps.size(), 1u);
    }
    EXPECT_EQ(&Beeper(), &fakes.beeper);
  }
  EXPECT_EQ(&MessageBoxes(), real);
}

TEST(ServicesTest, DesktopTargetsTellAddressesFromPaths) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"https://morvane.example.org/a?b=1", "https://morvane.example.org/a?b=1"},
      {"mailto:someone@example.org", "mailto:someone@example.org"},
      {"/tmp/map with blanks.htm", "file:///tmp/map with blanks.htm"},
      {"C:/maps/a.htm", QUrl::fromLocalFile("C:/maps/a.htm").toString()},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(DesktopTarget(in), want) << in.toStdString();
  testing::FakeShell shell;
  shell.accept = false;
  ServiceOverride use(nullptr, nullptr, &shell, nullptr);
  EXPECT_FALSE(Shell().Open("/tmp/x.htm"));
}

// The real box, answered by a timer: plain text, the program's title, the style's
// buttons and the answer's number.
TEST(ServicesTest, TheRealMessageBoxShowsPlainTextAndMapsTheAnswer) {
  QApplication::setApplicationDisplayName("Morvane");
  struct Seen {
    Qt::TextFormat format = Qt::AutoText;
    QString title, text;
    int buttons = 0;
    bool defaultIsNo = false;
  } seen;
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen.format = box->textFormat();
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.buttons = static_cast<int>(box->buttons().size());
    seen.defaultIsNo =
        static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::No);
    box->button(QMessageBox::No)->click();
  });
  const int answer =
      MessageBoxes().Show(nullptr, "<b>Save</b> changes?",
                          core::kMbYesNoCancel | core::kMbIconQuestion | core::kMbDefaultButton2);
  EXPECT_EQ(answer, core::kAnswerNo);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.title, "Morvane");
  EXPECT_EQ(seen.text, "<b>Save</b> changes?");
  EXPECT_EQ(seen.buttons, 3);
  EXPECT_TRUE(seen.defaultIsNo);

  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->reject();  // Escape
  });
  EXPECT_EQ(MessageBoxes().Show(nullptr, "Stop?", core::kMbOkCancel, "Batch"), core::kAnswerCancel);
}

}  // namespace
}  // namespace morvane::widgets
