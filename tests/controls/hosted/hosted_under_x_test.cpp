// The splitter from libTrellan.so under a real X server, with keys and the mouse
// through the server, as a user gives them.
#include <gtest/gtest.h>

#include <QFrame>

#include <memory>

#include "controls/trellan/trellan_typelib.h"
#include "tests/controls/hosted/library_host.h"
#include "tests/support/x_input.h"

namespace morvane::trellan {
namespace {

using testing::LibraryHost;
using testing::XInput;

// A bar at 200 px between two panels of a 600 x 400 form, shown and focused.
struct BarUnderX {
  std::unique_ptr<LibraryHost> host;
  QFrame* first = nullptr;

  BarUnderX(std::int32_t orientation, bool moveable, std::int32_t style) {
    host = std::make_unique<LibraryHost>(kClassId, QStringLiteral("ucTrellan"));
    first = new QFrame(&host->form());
    first->setObjectName(QStringLiteral("pnlFirst"));
    automation::PropertyBag bag;
    bag.write(QStringLiteral("FirstControl"), QStringLiteral("pnlFirst"));
    // A stored 0 reads as vertical: such a bar is stored as 1 and set to 0.
    bag.write(QStringLiteral("Orientation"), orientation == 0 ? Horizontal : orientation);
    bag.write(QStringLiteral("Moveable"), moveable);
    bag.write(QStringLiteral("Style"), style);
    bag.write(QStringLiteral("AutoPopupMenu"), false);
    host->control().ReadProperties(bag);
    if (orientation == Vertical) bar()->setGeometry(200, 0, 6, 400);
    else bar()->setGeometry(0, 200, 600, 6);
    host->form().show();
    XInput::Focus(&host->form());
    host->Call(dispid::Refresh);
    if (orientation == 0) host->Let(dispid::Orientation, 0);
    bar()->setFocus();
    XInput::Settle(100);
  }
  QWidget* bar() { return host->widget(); }
};

struct AltRow {
  std::int32_t orientation;
  const char* key;
  QPoint barAfter;
  QSize firstAfter;
};

TEST(HostedTrellanUnderX, AltAndAnArrowMoveTheBarAsItIsLaidOut) {
  const AltRow rows[] = {
      {0, "Down", {0, 201}, {600, 201}}, {3, "Down", {0, 201}, {600, 201}},
      {1, "Up", {0, 199}, {600, 199}},   {2, "Down", {200, 0}, {200, 400}},
      {2, "Right", {201, 0}, {201, 400}},
  };
  for (const AltRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.orientation << " Alt+" << row.key);
    BarUnderX x(row.orientation, false, SplitterStyle);
    ASSERT_TRUE(x.bar()->hasFocus());
    ASSERT_TRUE(XInput::Hold({QStringLiteral("alt")}, QString::fromLatin1(row.key)));
    EXPECT_EQ(x.bar()->pos(), row.barAfter);
    EXPECT_EQ(x.first->size(), row.firstAfter);
  }
}

TEST(HostedTrellanUnderX, ALeftClickOnABarThatDoesNotDragLaysItOut) {
  // A mover bar is laid out at a release and not at its polls.
  BarUnderX x(Vertical, false, MoverStyle);
  ASSERT_EQ(x.first->width(), 200);
  x.bar()->move(250, 0);  // the host moves the bar by code
  XInput::Settle(100);
  ASSERT_EQ(x.first->width(), 200);
  x.host->events.clear();
  ASSERT_TRUE(XInput::ClickAt(x.bar(), QPoint(3, 50), 3));  // right: nothing
  EXPECT_EQ(x.first->width(), 200);
  EXPECT_EQ(x.host->Count(eventid::Click), 0);
  ASSERT_TRUE(XInput::ClickAt(x.bar(), QPoint(3, 50), 1));
  EXPECT_EQ(x.first->width(), 250);
  EXPECT_EQ(x.host->Count(eventid::Click), 1);
}

}  // namespace
}  // namespace morvane::trellan
