#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

#include "app/contour_tree.h"
#include "app/edit_surface.h"
#include "engine/contour_points.h"
#include "tests/app/window_under_x.h"

namespace morvane::testing {
namespace {

// The window on the sample picture, traced with F5, on the real server.
struct TracedUnderX : PictureWindowUnderX {
  TracedUnderX() {
    XInput::Key(QStringLiteral("F5"));
    XInput::WaitUntil(
        [&] { return !w->Run().Running() && engine::UpperBound(w->Host().Model().Points()) > 2; });
  }
  app::ContourTree& Tree() const { return *w->Tree(); }
  engine::ContourPoint Point(std::int32_t element) const {
    return w->Host().Model().Points()[static_cast<std::size_t>(element)];
  }
  QLineEdit* Editor() const {
    for (QLineEdit* editor : Tree().viewport()->findChildren<QLineEdit*>()) {
      if (editor->isVisible()) return editor;
    }
    return nullptr;
  }
};

// A point's label edit (F2) and then a click on the image: the click supplies the point
// only while the edit is open; an edit ended by Enter or Esc ends the click mode with it.
TEST(LabelEditUnderX, TheClickModeEndsWithTheEdit) {
  struct Row {
    const char* name;
    QStringList keys;   // typed into the open editor, each a key of xdotool
    bool clickWrites;   // the click on the image gives the point its pixel
    const char* typed;  // the point after the keys ("" for unchanged)
  };
  const Row rows[] = {
      {"Enter, unchanged", {QStringLiteral("Return")}, false, ""},
      {"Esc", {QStringLiteral("Escape")}, false, ""},
      {"a new value and Enter",
       {QStringLiteral("ctrl+a"), QStringLiteral("1"), QStringLiteral("comma"), QStringLiteral("2"),
        QStringLiteral("Return")},
       false,
       "1,2"},
      {"still open", {}, true, ""},
  };
  const QPoint clicked(150, 40);  // a pixel of the picture, shown at 1:1 from its corner
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TracedUnderX x;
    ASSERT_GT(engine::UpperBound(x.w->Host().Model().Points()), 2);
    app::ContourTree& tree = x.Tree();
    // The tree's first point, chosen with the mouse, then F2.
    const QRect node = tree.visualRect(tree.Model().IndexOfNode(3));
    ASSERT_TRUE(XInput::ClickAt(tree.viewport(), node.center()));
    ASSERT_EQ(tree.SelectedNode(), 3);
    const engine::ContourPoint before = x.Point(1);
    ASSERT_TRUE(XInput::Key(QStringLiteral("F2")));
    ASSERT_TRUE(XInput::WaitUntil([&] { return x.Editor() != nullptr; }));
    EXPECT_EQ(x.w->Surface().Mode(), app::ClickMode::LabelEdit);
    for (const QString& key : row.keys) ASSERT_TRUE(XInput::Key(key));
    XInput::Settle(100);
    const engine::ContourPoint typed =
        *row.typed == '\0' ? before : engine::ContourPoint{row.typed[0] - '0', row.typed[2] - '0'};
    EXPECT_EQ(x.Point(1), typed);
    EXPECT_EQ(x.w->Surface().Mode(),
              row.keys.isEmpty() ? app::ClickMode::LabelEdit : app::ClickMode::None);

    ASSERT_TRUE(XInput::ClickAt(x.Viewport(), clicked));
    XInput::Settle(100);
    const engine::ContourPoint pixel{clicked.x(), clicked.y()};
    EXPECT_EQ(x.Point(1), row.clickWrites ? pixel : typed);
    EXPECT_EQ(x.w->Surface().Mode(), app::ClickMode::None);
    EXPECT_EQ(x.Editor(), nullptr);
  }
}

}  // namespace
}  // namespace morvane::testing
