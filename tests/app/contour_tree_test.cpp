// The contour tree over a long point array: every node can be reached, selected and
// read, however far down it lies, and in-place updates reach nodes the view has not
// come to yet.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <functional>
#include <string>

#include "app/contour_tree.h"
#include "app/edit_commands.h"
#include "engine/contour_points.h"

namespace morvane::testing {
namespace {

using engine::ContourPoint;
using engine::ContourPoints;

// contours of `each` points, numbered from 0, separators between them.
ContourPoints LongArray(int contours, int each) {
  ContourPoints points = engine::EmptyContourPoints();
  for (int c = 0; c < contours; ++c) {
    if (c > 0) points.push_back(engine::Separator(c));
    for (int i = 0; i < each; ++i) points.push_back({c * 10 + i % 7, i});
  }
  return points;
}

QString Expected(const ContourPoints& points, std::int32_t node) {
  return QString::fromStdString(app::ElementText(points[static_cast<std::size_t>(app::ElementOfNode(node))], "00"));
}

struct TreeRig {
  app::ContourTree tree;
  TreeRig() {
    tree.resize(200, 300);
    tree.show();
  }
  void Key(Qt::Key key) { QTest::keyClick(&tree, key); }
};

TEST(ContourTree, EveryNodeOfALongArrayIsThere) {
  TreeRig rig;
  const ContourPoints points = LongArray(50, 99);  // 4999 elements
  rig.tree.Fill(points, "00", true);
  const std::int32_t last = engine::UpperBound(points) + 2;
  ASSERT_EQ(rig.tree.NodeCount(), last);
  EXPECT_EQ(rig.tree.SelectedNode(), 3);
  for (std::int32_t node : {3, 101, 1002, 2500, 4001, last}) {
    SCOPED_TRACE(node);
    EXPECT_EQ(rig.tree.NodeText(node), Expected(points, node));
    const bool heading = engine::IsSeparator(points[static_cast<std::size_t>(app::ElementOfNode(node))]);
    EXPECT_EQ(rig.tree.NodeColor(node), heading ? QColor::fromRgb(app::kHeadingColor) : QColor(Qt::black));
  }
  EXPECT_EQ(rig.tree.ReadPoints(), points);

  // Selected from outside (a click on the image, a title), a node far down is shown.
  rig.tree.SelectNode(last - 1);
  EXPECT_EQ(rig.tree.SelectedNode(), last - 1);
  const QRect r = rig.tree.visualRect(rig.tree.currentIndex());
  EXPECT_TRUE(rig.tree.viewport()->rect().contains(r.center()));
}

TEST(ContourTree, KeysAndTheScrollBarReachTheLastNode) {
  const ContourPoints points = LongArray(30, 99);  // 2999 elements
  const std::int32_t last = engine::UpperBound(points) + 2;
  struct Row {
    const char* what;
    std::function<void(TreeRig&)> go;
    std::int32_t selected;
  };
  const Row rows[] = {
      {"End", [](TreeRig& r) { r.Key(Qt::Key_End); }, last},
      {"Up at the top wraps round",
       [](TreeRig& r) {
         for (int i = 0; i < 3; ++i) r.Key(Qt::Key_Up);
       },
       last},
      {"Down, one node at a time",
       [](TreeRig& r) {
         for (int i = 0; i < 1500; ++i) r.Key(Qt::Key_Down);
       },
       1503},
      {"Page Down to the end",
       [](TreeRig& r) {
         for (int i = 0; i < 1000 && r.tree.SelectedNode() != r.tree.NodeCount(); ++i) r.Key(Qt::Key_PageDown);
       },
       last},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TreeRig rig;
    rig.tree.Fill(points, "00", true);
    rig.tree.setFocus();
    row.go(rig);
    EXPECT_EQ(rig.tree.SelectedNode(), row.selected);
  }

  // Dragged to its end again and again, the scroll bar comes to the last node.
  TreeRig rig;
  rig.tree.Fill(points, "00", true);
  QScrollBar* bar = rig.tree.verticalScrollBar();
  const auto lastShown = [&] {
    const QModelIndex index = rig.tree.Model().IndexOfNode(last);
    return index.isValid() && rig.tree.viewport()->rect().contains(rig.tree.visualRect(index));
  };
  for (int i = 0; i < 100 && !lastShown(); ++i) {
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(lastShown());
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ContourTree, UpdatesInPlaceReachEveryNode) {
  const ContourPoints before = LongArray(40, 99);  // 3999 elements
  struct Row {
    const char* what;
    std::function<void(ContourPoints&)> edit;
  };
  const Row rows[] = {
      {"a point near the top moved", [](ContourPoints& p) { p[10] = {500, 500}; }},
      {"a point far down moved", [](ContourPoints& p) { p[3500] = {600, 600}; }},
      {"a point near the top deleted", [](ContourPoints& p) { p.erase(p.begin() + 20); }},
      {"a point far down deleted", [](ContourPoints& p) { p.erase(p.begin() + 3000); }},
      {"a point near the top inserted", [](ContourPoints& p) { p.insert(p.begin() + 30, ContourPoint{1, 2}); }},
      {"a point far down inserted", [](ContourPoints& p) { p.insert(p.begin() + 2500, ContourPoint{3, 4}); }},
      {"the last contour cut off", [](ContourPoints& p) { p.resize(p.size() - 99); }},
      {"points added at the end", [](ContourPoints& p) { p.insert(p.end(), 50, ContourPoint{7, 8}); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TreeRig rig;
    rig.tree.Fill(before, "00", true);
    ContourPoints after = before;
    row.edit(after);
    rig.tree.Fill(after, "00", true);
    const std::int32_t last = engine::UpperBound(after) + 2;
    ASSERT_EQ(rig.tree.NodeCount(), last);
    EXPECT_EQ(rig.tree.ReadPoints(), after);
    for (std::int32_t node = 3; node <= last; node += 97) EXPECT_EQ(rig.tree.NodeText(node), Expected(after, node));
    EXPECT_EQ(rig.tree.NodeText(last), Expected(after, last));
    rig.tree.setFocus();
    rig.Key(Qt::Key_End);
    EXPECT_EQ(rig.tree.SelectedNode(), last);
    EXPECT_EQ(rig.tree.Model().data(rig.tree.currentIndex(), Qt::DisplayRole).toString(), Expected(after, last));
  }
}


TEST(ContourTree, ReadsTheDocumentsArrayAndFollowsItsChangesInPlace) {
  // The window's tree reads the document's own array, which a change replaces where it
  // is; the elements before the change come along. The rows must be those of a tree
  // given the two arrays apart.
  const ContourPoints start = LongArray(100, 999);  // 99999 elements
  struct Row {
    const char* what;
    std::function<void(ContourPoints&)> edit;
  };
  const Row rows[] = {
      {"a point near the top moved", [](ContourPoints& p) { p[10] = {500, 500}; }},
      {"a point near the top deleted", [](ContourPoints& p) { p.erase(p.begin() + 20); }},
      {"a point far down deleted", [](ContourPoints& p) { p.erase(p.begin() + 3000); }},
      {"a point near the top inserted",
       [](ContourPoints& p) { p.insert(p.begin() + 30, ContourPoint{1, 2}); }},
      {"the last contour cut off", [](ContourPoints& p) { p.resize(p.size() - 99); }},
      {"all but the first contour gone", [](ContourPoints& p) { p.resize(100); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ContourPoints document = start;
    ContourPoints edited = start;
    row.edit(edited);
    TreeRig apart;
    TreeRig inPlace;
    apart.tree.Fill(start, "00", true);
    inPlace.tree.Fill(document, "00", true);
    // The user has walked some way down: the view knows more rows than at first.
    for (TreeRig* rig : {&apart, &inPlace}) rig->tree.Model().RevealNode(2500);
    apart.tree.Fill(edited, "00", true);
    ContourPoints before = document;
    document = edited;
    inPlace.tree.Fill(document, "00", true, &before);
    before.clear();

    EXPECT_EQ(&inPlace.tree.ReadPoints(), &document);
    ASSERT_EQ(inPlace.tree.NodeCount(), apart.tree.NodeCount());
    const auto rowsKnown = [](TreeRig& rig) {
      return rig.tree.Model().rowCount(rig.tree.Model().IndexOfNode(app::kRootNode));
    };
    EXPECT_EQ(rowsKnown(inPlace), rowsKnown(apart));
    for (std::int32_t node = 3; node <= inPlace.tree.NodeCount(); node += 37)
      EXPECT_EQ(inPlace.tree.NodeText(node), Expected(edited, node)) << node;
    EXPECT_EQ(inPlace.tree.SelectedNode(), 3);
  }
}

}  // namespace
}  // namespace morvane::testing
