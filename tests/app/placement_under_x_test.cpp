// The window's place and state under a window manager (openbox on the test's own X
// server), changed as a user changes them: the title bar double-clicked, the window
// minimised, closed with Alt+F4; and what the next start makes of what was saved.
#include <gtest/gtest.h>

#include <QApplication>

#include <utility>

#include "common/settings_store.h"
#include "tests/app/app_fixture.h"
#include "tests/support/x_input.h"
#include "tests/support/x_server.h"

namespace morvane::testing {
namespace {

struct Stored {
  int state, left, top, width, height;
  friend bool operator==(const Stored&, const Stored&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Stored& s) {
    return os << "State=" << s.state << " Left=" << s.left << " Top=" << s.top << " Width=" << s.width
              << " Height=" << s.height;
  }
};

constexpr const char* kSection = "fwMain_State";

Stored ReadStored(const AppFolder& folder) {
  common::SettingsSession s(folder.SettingsFile());
  const auto n = [&s](const char* key) { return s.ReadIniNumber(kSection, key, -1).ToInt32(); };
  return {n("State"), n("Left"), n("Top"), n("Width"), n("Height")};
}

void WriteStored(const AppFolder& folder, const Stored& stored) {
  common::SettingsSession s(folder.SettingsFile());
  s.WriteIniNumber(kSection, "State", stored.state);
  s.WriteIniNumber(kSection, "Left", stored.left);
  s.WriteIniNumber(kSection, "Top", stored.top);
  s.WriteIniNumber(kSection, "Width", stored.width);
  s.WriteIniNumber(kSection, "Height", stored.height);
  ASSERT_TRUE(s.Commit());
}

struct Managed {
  FakeServices services;
  WindowManager manager;
  AppFolder folder;
  std::unique_ptr<app::MainWindow> w;

  // Starts the window, shown and framed by the window manager.
  void Start() {
    w = folder.Start();
    ASSERT_TRUE(XInput::WaitUntil([this] { return w->isVisible() && Framed(); }));
    XInput::Settle(300);
  }
  bool Framed() const { return w->geometry().top() > w->frameGeometry().top(); }
  // Starts the window on normal bounds stored as 100, 100, 700 x 500 and gives where it
  // then stands, its place and size, which the tests expect back.
  std::pair<QPoint, QSize> StartNormal() {
    WriteStored(folder, {0, 100, 100, 700, 500});
    Start();
    return {w->pos(), w->size()};
  }
  // The title bar double-clicked: openbox maximises, or restores, the window.
  bool ToggleMaximised() {
    const bool was = w->isMaximized();
    const QRect frame = w->frameGeometry();
    const QPoint title(frame.center().x(), frame.top() + (w->geometry().top() - frame.top()) / 2);
    XInput::Send({QStringLiteral("mousemove"), QString::number(title.x()), QString::number(title.y()),
                  QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                  QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    const bool changed = XInput::WaitUntil([&] { return w->isMaximized() != was; });
    XInput::Settle(300);
    return changed;
  }
  // Alt+F4, openbox's close, through the server.
  bool CloseByKeys() {
    XInput::Focus(w.get());
    XInput::Hold({QStringLiteral("alt")}, QStringLiteral("F4"));
    return XInput::WaitUntil([this] { return w->Unloaded(); });
  }
};

TEST(PlacementUnderX, MaximiseAndRestoreLeaveTheWindowWhereItWas) {
  Managed x;
  ASSERT_TRUE(x.manager.Running());
  const auto [start, size] = x.StartNormal();
  for (int cycle = 1; cycle <= 3; ++cycle) {
    SCOPED_TRACE(cycle);
    ASSERT_TRUE(x.ToggleMaximised());
    ASSERT_TRUE(x.ToggleMaximised());
    EXPECT_EQ(x.w->pos(), start);
    EXPECT_EQ(x.w->size(), size);
  }
  ASSERT_TRUE(x.CloseByKeys());
  EXPECT_EQ(ReadStored(x.folder), (Stored{0, start.x(), start.y(), size.width(), size.height()}));
}

TEST(PlacementUnderX, ClosedMaximisedItComesBackMaximisedOverTheSameNormalBounds) {
  Managed x;
  ASSERT_TRUE(x.manager.Running());
  const auto [start, size] = x.StartNormal();
  ASSERT_TRUE(x.ToggleMaximised());
  ASSERT_TRUE(x.CloseByKeys());
  EXPECT_EQ(ReadStored(x.folder), (Stored{2, start.x(), start.y(), size.width(), size.height()}));

  x.Start();
  EXPECT_TRUE(x.w->isMaximized());
  ASSERT_TRUE(x.ToggleMaximised());
  EXPECT_EQ(x.w->pos(), start);
  EXPECT_EQ(x.w->size(), size);
}

TEST(PlacementUnderX, ClosedMinimisedItSavesStateOneAndStartsNormal) {
  Managed x;
  ASSERT_TRUE(x.manager.Running());
  const auto [start, size] = x.StartNormal();
  XInput::Send({QStringLiteral("windowminimize"), QString::number(x.w->winId())});
  ASSERT_TRUE(XInput::WaitUntil([&] { return x.w->isMinimized(); }));
  XInput::Settle(300);
  ASSERT_TRUE(x.w->close());
  EXPECT_EQ(ReadStored(x.folder), (Stored{1, start.x(), start.y(), size.width(), size.height()}));

  // A window that starts minimised looks like a program that failed to start.
  x.Start();
  EXPECT_FALSE(x.w->isMinimized());
  EXPECT_EQ(x.w->windowState(), Qt::WindowNoState);
  EXPECT_EQ(x.w->pos(), start);
  EXPECT_EQ(x.w->size(), size);
}

TEST(PlacementUnderX, AStoredSizeTooSmallToUseGivesTheFormsOwnSize) {
  struct Row {
    int width, height;
    bool ownWidth, ownHeight;
  };
  for (const Row& row : {Row{1, 1, true, true}, Row{0, 0, true, true}, Row{500, 2, false, true},
                         Row{3, 400, true, false}, Row{500, 400, false, false}}) {
    SCOPED_TRACE(::testing::Message() << row.width << " x " << row.height);
    Managed x;
    ASSERT_TRUE(x.manager.Running());
    WriteStored(x.folder, {0, 80, 60, row.width, row.height});
    x.Start();
    // The form's own size: what a first start, without settings, shows.
    AppFolder fresh;
    const QSize own = fresh.Start()->size();
    EXPECT_EQ(x.w->width(), row.ownWidth ? own.width() : row.width);
    EXPECT_EQ(x.w->height(), row.ownHeight ? own.height() : row.height);
  }
}

}  // namespace
}  // namespace morvane::testing
