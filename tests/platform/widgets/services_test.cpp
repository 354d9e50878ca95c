#include "platform/widgets/services.h"
#include "tests/support/fake_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QUrl>

namespace morvane::widgets {
namespace {

using testing::FakeBeeper;
using testing::FakeServices;
using testing::FakeShell;

TEST(ServicesTest, FakesStandInWhileTheyLiveAndTheRealOnesComeBack) {
  QApplication::setApplicationDisplayName("Morvane");
  core::MessageBoxService* real = &MessageBoxes();
  {
    FakeServices fakes;
    EXPECT_EQ(&MessageBoxes(), &fakes.messageBoxes);
    fakes.messageBoxes.Answer(core::kIdNo);
    EXPECT_EQ(ShowMessage("Save changes?", core::kMbYesNoCancel | core::kMbIconExclamation), core::kIdNo);
    ShowMessage("Done.", core::kMbOk, "Batch");
    ASSERT_EQ(fakes.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(fakes.messageBoxes.shown[0].caption, "Morvane");  // the program's title
    EXPECT_EQ(fakes.messageBoxes.shown[0].text, "Save changes?");
    EXPECT_EQ(fakes.messageBoxes.shown[0].style, 0x33);
    EXPECT_EQ(fakes.messageBoxes.shown[1].caption, "Batch");
    Beeper().MessageBeep(kBeepWarning);
    Beeper().MessageBeep(kBeepInformation);
    EXPECT_EQ(fakes.beeper.beeps, (std::vector<int>{48, 64}));
    EXPECT_TRUE(Shell().Start("/usr/bin/gimp", {"/tmp/a b.gif"}));
    ASSERT_EQ(fakes.shell.started.size(), 1u);
    EXPECT_EQ(fakes.shell.started[0].arguments, QStringList{"/tmp/a b.gif"});
    Clipboard().SetText("1,2,3,4");
    EXPECT_EQ(fakes.clipboard.text, "1,2,3,4");
    {
      FakeBeeper inner;
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
  FakeShell shell;
  shell.accept = false;
  ServiceOverride use(nullptr, nullptr, &shell, nullptr);
  EXPECT_FALSE(Shell().Open("/tmp/x.htm"));
  EXPECT_EQ(shell.opened, std::vector<QString>{"/tmp/x.htm"});
}

}  // namespace
}  // namespace morvane::widgets
