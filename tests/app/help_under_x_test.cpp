#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>

#include <functional>
#include <memory>

#include "app/contour_tree.h"
#include "app/work_picture.h"
#include "app/field_strips.h"
#include "engine/contour_points.h"
#include "platform/widgets/help_viewer.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/help_fixture.h"
#include "tests/app/window_under_x.h"

namespace morvane::testing {
namespace {

// The window on the sample picture with the program's topics beside it, shown on the
// real server and focused there: help topics appear in the help viewer's own popup.
struct TopicWindow : PictureWindowUnderX {
  TopicWindow()
      : PictureWindowUnderX([](const TempFolder& into) {
          QFile::copy(SourceTopicsFile(), QString::fromStdString(into.File("Morvane.topics")));
          return WriteSample(into);
        }) {}
  ~TopicWindow() {
    if (QWidget* popup = widgets::HelpViewer::CurrentPopup()) popup->close();
  }

  QWidget* ToolButton(const char* key) const {
    return w->ToolBars()[0]->Button(QString::fromLatin1(key))->Widget();
  }
  QWidget* Field(const char* name) const { return w->findChild<QWidget*>(QString::fromLatin1(name)); }
  static QWidget* Topic() {
    QWidget* popup = widgets::HelpViewer::CurrentPopup();
    return popup != nullptr && popup->isVisible() ? popup : nullptr;
  }
  static QString TopicText() {
    auto* label = qobject_cast<QLabel*>(Topic());
    return label != nullptr ? label->text() : QString();
  }
  // F5 traces the picture only when it reaches the window.
  bool F5Traces() const {
    w->Host().Model().ResetContours();
    if (!XInput::Key(QStringLiteral("F5"))) return false;
    return XInput::WaitUntil(
        [&] { return !w->Run().Running() && engine::UpperBound(w->Host().Model().Points()) > 0; }, 3000);
  }
};

// Each way of asking for a topic, each way of sending it away: the topic goes, the key
// or click that sent it away does nothing else, and the window has its keys again.
TEST(HelpPopupUnderX, ClosesOnAKeyOrAClickAndGivesTheKeysBack) {
  struct Row {
    const char* name;
    bool traced;                            // the picture traced first, the tree with the focus
    std::function<bool(TopicWindow&)> ask;  // true once a topic is up
    const char* topicWords;                 // in the topic shown
    std::function<bool(TopicWindow&)> dismiss;
  };
  const auto f1Over = [](const char* key) {
    return [key](TopicWindow& x) {
      return XInput::MoveTo(XInput::On(x.ToolButton(key))) && XInput::Key(QStringLiteral("F1")) &&
             XInput::WaitUntil([] { return TopicWindow::Topic() != nullptr; });
    };
  };
  const auto key = [](const char* name) {
    return [name](TopicWindow&) { return XInput::Key(QString::fromLatin1(name)); };
  };
  // The keyboard focus leaves the program (to the screen's root window).
  const auto focusElsewhere = [](TopicWindow&) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--maxdepth"),
                                             QStringLiteral("0"), QString()});
    if (!search.waitForFinished(5000)) return false;
    const QString root = QString::fromLatin1(search.readAllStandardOutput()).trimmed();
    return !root.isEmpty() && XInput::Send({QStringLiteral("windowfocus"), root});
  };
  const auto clickOnStatusBar = [](TopicWindow& x) { return XInput::ClickAt(x.w->StatusBar()); };
  const auto clickInside = [](TopicWindow&) { return XInput::ClickAt(TopicWindow::Topic()); };
  // A right click on a field's label: its release chooses "What's This?" in the popup
  // the press opened.
  const auto rightClickWhatsThis = [](TopicWindow& x) {
    return XInput::ClickAt(x.Field("tlShiftX"), QPoint(-1, -1), 3) &&
           XInput::WaitUntil([] { return TopicWindow::Topic() != nullptr; });
  };
  // The what's-this tool button, then a click on the Open button.
  const auto whatsThisMode = [](TopicWindow& x) {
    return XInput::ClickAt(x.ToolButton("Help")) && XInput::ClickAt(x.ToolButton("Open")) &&
           XInput::WaitUntil([] { return TopicWindow::Topic() != nullptr; });
  };
  // F1 on the first item of the File menu, opened from the keyboard.
  const auto f1InMenu = [](TopicWindow&) {
    return XInput::Hold({QStringLiteral("alt")}, QStringLiteral("f")) &&
           XInput::Key(QStringLiteral("Down")) && XInput::Key(QStringLiteral("F1")) &&
           XInput::WaitUntil([] { return TopicWindow::Topic() != nullptr; });
  };
  const Row rows[] = {
      {"F1 over a button, Escape", false, f1Over("Open"), "<b>Open</b>", key("Escape")},
      {"F1 over a button, a click elsewhere", false, f1Over("Open"), "<b>Open</b>", clickOnStatusBar},
      {"F1 over a button, a click in the topic", false, f1Over("Open"), "<b>Open</b>", clickInside},
      {"F1 over a button, the focus elsewhere", false, f1Over("Open"), "<b>Open</b>", focusElsewhere},
      {"F1 over a button, any key", false, f1Over("Open"), "<b>Open</b>", key("a")},
      // Delete, on its release, deletes the selected point of the tree.
      {"F1 over a button, Delete", true, f1Over("Open"), "<b>Open</b>", key("Delete")},
      {"right click's What's This?, Escape", false, rightClickWhatsThis, "<b>Shift Contour</b>",
       key("Escape")},
      {"right click's What's This?, a click elsewhere", false, rightClickWhatsThis,
       "<b>Shift Contour</b>", clickOnStatusBar},
      {"what's-this mode, Escape", false, whatsThisMode, "<b>Open</b>", key("Escape")},
      {"what's-this mode, a click elsewhere", false, whatsThisMode, "<b>Open</b>", clickOnStatusBar},
      {"F1 in a menu, Escape", false, f1InMenu, "<b>Open</b>", key("Escape")},
      {"F1 in a menu, a click elsewhere", false, f1InMenu, "<b>Open</b>", clickOnStatusBar},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TopicWindow x;
    ASSERT_TRUE(x.w->isActiveWindow());
    if (row.traced) {
      ASSERT_TRUE(x.F5Traces());
      x.w->Tree()->setFocus();
    }
    ASSERT_TRUE(row.ask(x));
    EXPECT_TRUE(x.TopicText().contains(QLatin1String(row.topicWords))) << x.TopicText().toStdString();
    const std::int32_t upper = engine::UpperBound(x.w->Host().Model().Points());
    ASSERT_TRUE(row.dismiss(x));
    EXPECT_TRUE(XInput::WaitUntil([] { return TopicWindow::Topic() == nullptr; }, 2000));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(engine::UpperBound(x.w->Host().Model().Points()), upper);
    EXPECT_FALSE(x.w->Help().InWhatsThisMode());
    if (!x.w->isActiveWindow()) {
      ASSERT_TRUE(XInput::Focus(x.w.get()));
    }
    EXPECT_TRUE(x.F5Traces());
  }
}

}  // namespace
}  // namespace morvane::testing
