// The editing surface on the real window, engine and zoom view, over small images
// drawn in the tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "app/contour_tree.h"
#include "platform/widgets/automation/control_events.h"
#include "app/work_picture.h"
#include "tests/support/generated_images.h"
#include "app/edit_commands.h"
#include "app/edit_surface.h"
#include "app/field_strips.h"
#include "document/document_state.h"
#include "document/map_format.h"
#include "engine/contour_points.h"
#include "platform/gui/image_loader.h"
#include "platform/widgets/band_bar.h"
#include "platform/widgets/keyed_tool_bar.h"
#include "platform/widgets/menu_model.h"
#include "platform/widgets/panel_status_bar.h"
#include "tests/app/app_fixture.h"
#include "tests/support/fake_services.h"

namespace morvane::testing {
namespace {

using app::ClickMode;
using engine::ContourPoint;
using engine::ContourPoints;
using Points = std::vector<ContourPoint>;

constexpr int kTpp = engine::kTwipsPerPixel;

const Points kLeft = {{2, 2}, {4, 2}, {5, 3}, {5, 5}, {3, 5}, {2, 4}};
const Points kRight = {{10, 2}, {12, 2}, {13, 3}, {13, 5}, {11, 5}, {10, 4}};

// Element 0, then the contours with separators between them.
Points Doc(std::initializer_list<Points> contours) {
  Points points = {{0, 0}};
  std::int32_t n = 0;
  for (const Points& c : contours) {
    if (n > 0) points.push_back({n, -1});
    points.insert(points.end(), c.begin(), c.end());
    ++n;
  }
  return points;
}

struct Rig {
  FakeServices services;
  AppFolder folder;
  std::string image;
  std::unique_ptr<app::MainWindow> w;

  explicit Rig(std::string_view picture = kTwoSquares) {
    image = WriteArt(folder.folder, "art.bmp", picture);
    w = folder.Start({image});
    QApplication::setActiveWindow(w.get());
    // Connected Contour off, so that added contours stay apart.
    if (w->Settings().connected) w->RunCommand("mSettingsConnected");
  }
  app::EditSurface& Surface() { return w->Surface(); }
  app::ContourTree& Tree() { return *w->Tree(); }
  document::DocumentModel& Model() { return w->Host().Model(); }
  const ContourPoints& Points() { return Model().Points(); }
  QString Panel(const char* key) { return w->StatusBar()->Panel(QString::fromLatin1(key))->Text(); }
  bool Enabled(const char* item) { return w->Menus()->Item(QString::fromLatin1(item))->Enabled(); }
  QWidget* Viewport() { return w->findChild<QWidget*>(QStringLiteral("pbZoom")); }
  // A press on the zoom view's pixel through the surface (twips of the image).
  void Press(int x, int y, int button = automation::kLeftButton) {
    Surface().ucScopel_MouseDown(button, 0, x * kTpp + 7, y * kTpp + 7);
  }
  void Trace(int x, int y) {
    ASSERT_TRUE(w->RunCommand("mFileStart"));
    Press(x, y);
  }
  void Add(int x, int y) {
    ASSERT_TRUE(w->RunCommand("mFileAdd"));
    Press(x, y);
  }
  void Flush() {
    w->Picture().FlushRedraw();
    QCoreApplication::processEvents();
  }
};

TEST(EditSurfaceTrace, CreateFromPointOnBackgroundAndOnASquare) {
  Rig rig;
  rig.Trace(0, 7);  // below every figure (a click searches on in raster order)
  EXPECT_EQ(rig.Panel("Progress2"), QStringLiteral("No figure found."));
  EXPECT_EQ(engine::UpperBound(rig.Points()), 0);
  EXPECT_TRUE(rig.Model().Titles().empty());
  EXPECT_FALSE(rig.Enabled("mFileAdd"));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);

  rig.Trace(3, 3);
  EXPECT_EQ(rig.Panel("Progress2"), QString());
  EXPECT_EQ(rig.Points(), Doc({kLeft}));
  EXPECT_EQ(rig.Model().TitleEntries(), (std::vector<std::string>{"#00"}));
  EXPECT_TRUE(rig.Enabled("mFileAdd"));
  EXPECT_TRUE(rig.w->Host().IsChanged());
  rig.Flush();
  EXPECT_EQ(rig.Panel("Progress1"), QStringLiteral("16x8 - 6 points (1 contour)."));
  // The tree shows it, node 3 selected.
  EXPECT_EQ(rig.Tree().NodeCount(), 8);
  EXPECT_EQ(rig.Tree().SelectedNode(), 3);
}

TEST(EditSurfaceTrace, AddContourSelectsTheNewContoursFirstPoint) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  EXPECT_EQ(rig.Points(), Doc({kLeft, kRight}));
  EXPECT_EQ(rig.Tree().SelectedNode(), 10);
  EXPECT_EQ(rig.Surface().SelectedPoint(), 10);
  EXPECT_EQ(rig.w->Titles()->List()->currentIndex(), 1);
  rig.Add(11, 3);
  EXPECT_EQ(rig.Panel("Progress2"), QStringLiteral("Already added."));
  rig.Add(0, 7);
  EXPECT_EQ(rig.Panel("Progress2"), QStringLiteral("No figure found."));
}

TEST(EditSurfaceTree, FillTextsColoursAndReadBack) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  app::ContourTree& tree = rig.Tree();
  const QStringList texts = {"",    "#00",  "2,2",  "4,2",  "5,3",  "5,5",  "3,5", "2,4",
                             "#01", "10,2", "12,2", "13,3", "13,5", "11,5", "10,4"};
  ASSERT_EQ(tree.NodeCount(), texts.size());
  for (int node = 1; node <= tree.NodeCount(); ++node) {
    EXPECT_EQ(tree.NodeText(node), texts[node - 1]) << node;
    const bool grey = node <= 2 || texts[node - 1].startsWith(QLatin1Char('#'));
    EXPECT_EQ(tree.NodeColor(node), grey ? QColor::fromRgb(app::kHeadingColor) : QColor(Qt::black))
        << node;
  }
  EXPECT_EQ(tree.ReadPoints(), rig.Points());

  // From other starting trees, by rebuild and in place, the same texts.
  const ContourPoints small = {{0, 0}, {1, 1}, {1, 2}, {2, 2}};
  for (bool rebuild : {true, false}) {
    tree.Fill(small, "00", rebuild);
    tree.Fill(rig.Points(), "00", rebuild);
    for (int node = 1; node <= tree.NodeCount(); ++node) EXPECT_EQ(tree.NodeText(node), texts[node - 1]);
    EXPECT_EQ(tree.ReadPoints(), rig.Points());
    EXPECT_EQ(tree.SelectedNode(), 3);
  }
  // An empty document: nothing after a rebuild, root and first heading in place.
  tree.Fill(engine::EmptyContourPoints(), "00", false);
  EXPECT_EQ(tree.NodeCount(), 2);
  tree.Fill(small, "00", true);
  tree.Fill(engine::EmptyContourPoints(), "00", true);
  EXPECT_EQ(tree.NodeCount(), 2);  // 4 surplus nodes: updated in place
  tree.Fill(engine::EmptyContourPoints(), "00", false);
  tree.Fill(engine::EmptyContourPoints(), "00", true);
  EXPECT_EQ(tree.NodeCount(), 0);
}

TEST(EditSurfaceTree, AnEditOfALargeDocumentShowsInTheTreeWithoutACopy) {
  // Ten thousand small squares: more rows than the tree tells its view of at first.
  FakeServices services;
  AppFolder folder;
  QImage picture(400, 400, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (int y = 0; y < 400; y += 4) {
    for (int x = 0; x < 400; x += 4) {
      for (int k = 0; k < 4; ++k) picture.setPixel(x + k % 2, y + k / 2, qRgb(0, 0, 0));
    }
  }
  const std::string path = folder.folder.File("squares.bmp");
  ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
  auto w = folder.Start({path});
  if (w->Settings().connected) w->RunCommand("mSettingsConnected");
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  app::ContourTree& tree = *w->Tree();
  ASSERT_LT(tree.Model().rowCount(tree.Model().IndexOfNode(app::kRootNode)), tree.NodeCount() - 1);
  tree.SelectNode(4);
  ASSERT_TRUE(w->RunCommand("mEditDelete"));
  // The tree reads the document's own points, near the top and far down alike.
  const ContourPoints& points = w->Host().Model().Points();
  ASSERT_EQ(tree.NodeCount(), engine::UpperBound(points) + 2);
  EXPECT_EQ(&tree.ReadPoints(), &points);
  for (std::int32_t node = 3; node <= tree.NodeCount(); node += 997) {
    const auto& element = points[static_cast<std::size_t>(app::ElementOfNode(node))];
    EXPECT_EQ(tree.NodeText(node).toStdString(), app::ElementText(element, "00")) << node;
  }
}

TEST(EditSurfaceTree, HeadingClickSelectsTheFirstPointUnderIt) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  rig.Surface().tvCoord_NodeClick(9);  // #01
  EXPECT_EQ(rig.Tree().SelectedNode(), 10);
  EXPECT_EQ(rig.Surface().SelectedPoint(), 10);
  EXPECT_EQ(rig.w->Titles()->List()->currentIndex(), 1);
  rig.Surface().tvCoord_NodeClick(2);  // #00
  EXPECT_EQ(rig.Tree().SelectedNode(), 3);
  EXPECT_EQ(rig.w->Titles()->List()->currentIndex(), 0);
}

TEST(EditSurfaceTree, LabelEntries) {
  const struct {
    const char* text;
    const char* message;
    ContourPoint point;
  } cases[] = {
      {"3,4", "", {3, 4}},
      {" 3,4", "Invalid value.", {2, 2}},
      {"3, 4", "Invalid value.", {2, 2}},
      {"-3,4", "Invalid value.", {2, 2}},
      {"03,4", "Invalid value.", {2, 2}},
      {"3", "Invalid value.", {2, 2}},
      {"3.5,1", "", {4, 1}},
      {"4294967296,1", "Invalid value.", {2, 2}},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.Trace(3, 3);
    rig.w->Host().SetChanged(false);
    rig.Tree().SelectNode(3);
    rig.Surface().tvCoord_AfterLabelEdit(QString::fromLatin1(c.text));
    EXPECT_EQ(rig.Panel("Progress2"), QString::fromLatin1(c.message)) << c.text;
    EXPECT_EQ(rig.Points()[1], c.point) << c.text;
    EXPECT_EQ(rig.w->Host().IsChanged(), *c.message == '\0') << c.text;
  }
}

TEST(EditSurfaceTree, ChangeArmsTheLabelModeAndAClickSuppliesThePixel) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Tree().SelectNode(4);
  ASSERT_TRUE(rig.w->RunCommand("mEditChange"));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::LabelEdit);
  rig.Press(7, 1);
  EXPECT_EQ(rig.Points()[2], (ContourPoint{7, 1}));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
  // The click ended the edit; the tree starts none of its own (F2 is the command's).
  for (QLineEdit* editor : rig.Tree().viewport()->findChildren<QLineEdit*>())
    EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(rig.Tree().editTriggers(), QAbstractItemView::NoEditTriggers);
  // A heading cannot be edited.
  rig.Tree().SelectNode(2);
  ASSERT_TRUE(rig.w->RunCommand("mEditChange"));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
}

TEST(EditSurfaceTree, CtrlDownStepsOverAHeading) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  app::ContourTree& tree = rig.Tree();
  tree.setFocus();
  tree.SelectNode(7);
  QTest::keyClick(&tree, Qt::Key_Down);  // to node 8, the contour's last point
  EXPECT_EQ(tree.SelectedNode(), 8);
  QTest::keyClick(&tree, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(tree.SelectedNode(), 10);  // over #01
  EXPECT_EQ(rig.Surface().SelectedPoint(), 10);
}

TEST(EditSurfaceTree, UpAtTheTopWrapsToTheEnd) {
  Rig rig;
  rig.Trace(3, 3);
  app::ContourTree& tree = rig.Tree();
  tree.setFocus();
  tree.SelectNode(3);
  QTest::keyClick(&tree, Qt::Key_Up);
  EXPECT_EQ(tree.SelectedNode(), 2);
  QTest::keyClick(&tree, Qt::Key_Up);
  EXPECT_EQ(tree.SelectedNode(), 1);
  QTest::keyClick(&tree, Qt::Key_Up);  // at the top: round to the end
  EXPECT_EQ(tree.SelectedNode(), tree.NodeCount());
}

// A bar two pixels high with a leg down from its left end.
constexpr std::string_view kBentBar = R"(
..........
.######...
.######...
.##.......
.##.......
..........
)";

TEST(EditSurfaceEdit, DeletePointDownToTheDeleteContourMessage) {
  Rig rig(kBentBar);
  rig.Trace(2, 2);
  const std::int32_t before = engine::UpperBound(rig.Points());
  ASSERT_GE(before, 5);
  rig.Tree().SelectNode(4);
  for (std::int32_t n = before; n > 3; --n) {
    ASSERT_TRUE(rig.w->RunCommand("mEditDelete"));
    EXPECT_EQ(engine::UpperBound(rig.Points()), n - 1);
    EXPECT_EQ(rig.Panel("Progress2"), QString());
  }
  ASSERT_TRUE(rig.w->RunCommand("mEditDelete"));
  EXPECT_EQ(engine::UpperBound(rig.Points()), 3);
  EXPECT_EQ(rig.Panel("Progress2"), QStringLiteral("Use function \"Delete Contour\"."));
  EXPECT_TRUE(rig.w->isEnabled());
}

TEST(EditSurfaceEdit, DeleteKeyOnAHeadingDeletesFromTheContourUnderIt) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  rig.Tree().setFocus();
  rig.Tree().SelectNode(9);  // the heading #01, which the keyboard can reach
  QTest::keyClick(&rig.Tree(), Qt::Key_Delete);
  EXPECT_EQ(rig.Points(), Doc({kLeft, Points(kRight.begin() + 1, kRight.end())}));
}

TEST(EditSurfaceEdit, DeleteContourOnlyFirstAndLast) {
  const struct {
    const char* what;
    int node;
    Points points;
    std::vector<std::string> titles;
  } cases[] = {
      {"first", 3, Doc({kRight}), {"#00  Right"}},
      {"last", 11, Doc({kLeft}), {"#00"}},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.Trace(3, 3);
    rig.Add(11, 3);
    rig.w->Titles()->Box()->setText(QStringLiteral("Right"));
    ASSERT_TRUE(rig.w->RunCommand("mEditTitle"));
    rig.Tree().SelectNode(c.node);
    rig.services.messageBoxes.answers.push_back(core::kAnswerYes);
    ASSERT_TRUE(rig.w->RunCommand("mEditDeleteContour")) << c.what;
    EXPECT_EQ(rig.Points(), c.points) << c.what;
    EXPECT_EQ(rig.Model().TitleEntries(), c.titles) << c.what;
    EXPECT_EQ(rig.Model().Count(), 1) << c.what;
    EXPECT_FALSE(rig.Enabled("mEditDeleteContour")) << c.what;
  }
  Rig rig;
  rig.Trace(3, 3);
  rig.Add(11, 3);
  rig.services.messageBoxes.answers.push_back(core::kAnswerNo);
  ASSERT_TRUE(rig.w->RunCommand("mEditDeleteContour"));
  EXPECT_EQ(engine::UpperBound(rig.Points()), 13);
}

TEST(EditSurfaceEdit, CopyWithNoneOneAndTwoContours) {
  Rig rig;
  ASSERT_TRUE(rig.w->RunCommand("mEditCopy"));
  EXPECT_EQ(rig.services.clipboard.text, QString());
  rig.Trace(3, 3);
  ASSERT_TRUE(rig.w->RunCommand("mEditCopy"));
  EXPECT_EQ(rig.services.clipboard.text, QStringLiteral("2,2,4,2,5,3,5,5,3,5,2,4"));
  rig.Add(11, 3);
  ASSERT_TRUE(rig.w->RunCommand("mEditCopy"));
  EXPECT_EQ(rig.services.clipboard.text,
            QStringLiteral("2,2,4,2,5,3,5,5,3,5,2,4\r\n10,2,12,2,13,3,13,5,11,5,10,4"));
}

TEST(EditSurfaceEdit, RestoreReturnsToTheSavedMap) {
  Rig rig;
  rig.Trace(3, 3);
  ASSERT_TRUE(rig.w->RunCommand("mFileSave"));
  const ContourPoints saved = rig.Points();
  rig.Tree().SelectNode(3);
  rig.Surface().tvCoord_AfterLabelEdit(QStringLiteral("0,0"));
  ASSERT_NE(rig.Points(), saved);
  ASSERT_TRUE(rig.Enabled("mEditRestore"));
  ASSERT_TRUE(rig.w->RunCommand("mEditRestore"));
  EXPECT_EQ(rig.Points(), saved);
  EXPECT_FALSE(rig.w->Host().IsChanged());
  EXPECT_FALSE(rig.Enabled("mFileAdd"));
}

TEST(EditSurfaceEdit, ShiftAndResizeFromTheFields) {
  Rig rig;
  rig.Trace(3, 3);
  app::FactorsStrip& factors = *rig.w->Factors();
  auto* shiftX = rig.w->findChild<QLineEdit*>(QStringLiteral("tbShiftX"));
  auto* factor = rig.w->findChild<QLineEdit*>(QStringLiteral("tbFactor"));
  EXPECT_FALSE(rig.Enabled("mEditShift"));
  shiftX->setText(QStringLiteral("a-3"));
  EXPECT_EQ(shiftX->text(), QStringLiteral("-3"));
  EXPECT_TRUE(factors.ShiftEnabled());
  EXPECT_TRUE(rig.Enabled("mEditShift"));
  ASSERT_TRUE(rig.w->RunCommand("mEditShift"));
  EXPECT_EQ(rig.Points(), Doc({{{0, 2}, {1, 2}, {2, 3}, {2, 5}, {0, 5}, {0, 4}}}));
  factor->setText(QStringLiteral("0.0"));
  EXPECT_FALSE(rig.Enabled("mEditResize"));
  factor->setText(QStringLiteral("0.5"));
  ASSERT_TRUE(rig.w->RunCommand("mEditResize"));
  // Halves to even: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
  EXPECT_EQ(rig.Points(), Doc({{{0, 1}, {0, 1}, {1, 2}, {1, 2}, {0, 2}, {0, 2}}}));
}

TEST(EditSurfaceEdit, TitleNeedsASelectedEntryAndFollowsItsContour) {
  Rig rig;
  ASSERT_TRUE(rig.w->RunCommand("mEditTitle"));  // nothing to title: nothing happens
  EXPECT_FALSE(rig.w->Host().IsChanged());
  rig.Trace(3, 3);
  rig.Add(11, 3);
  rig.w->Titles()->Box()->setText(QStringLiteral("Right"));
  EXPECT_TRUE(rig.w->Titles()->TitleEnabled());
  QTest::keyClick(rig.w->Titles()->Box(), Qt::Key_Return);
  EXPECT_EQ(rig.Model().TitleEntries(), (std::vector<std::string>{"#00", "#01  Right"}));
  // Reversed, the titles go with their contours.
  ASSERT_TRUE(rig.Enabled("mEditClockwise"));
  ASSERT_TRUE(rig.w->RunCommand("mEditClockwise"));
  EXPECT_EQ(rig.Model().TitleEntries(), (std::vector<std::string>{"#00  Right", "#01"}));
  EXPECT_EQ(rig.Points()[1], (ContourPoint{10, 4}));
  // Esc in the title box drops an edit.
  rig.w->Titles()->Box()->setText(QStringLiteral("Other"));
  QTest::keyClick(rig.w->Titles()->Box(), Qt::Key_Escape);
  EXPECT_EQ(rig.w->Titles()->Box()->text().toStdString(),
            app::TitlePart(rig.w->Titles()->List()->currentText().toStdString()));
}

// An entry that shows a link of its own, blanks and all, gives the title box its title
// and a click on it shows its contour.
TEST(EditSurfaceEdit, LinkedEntriesKeepTheirTitlesAndShowTheirContours) {
  Rig rig;
  const std::string map = rig.folder.folder.Write(
      "art.htm",
      "<img src='art.bmp' usemap='#m'><map name='m'>\n"
      "<area href='#00' alt='Left' shape='polygon' coords='2,2,5,2,5,5,2,5'>\n"
      "<area href='a  b.html' alt='Right  side' shape='polygon' coords='10,2,13,2,13,5,10,5'>\n"
      "</map>\n");
  rig.w->Host().Model().LetMapPath(map);
  rig.w->Host().Doc().LoadDocument();
  QComboBox* list = rig.w->Titles()->List();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), QStringLiteral("a  b.html  Right  side"));
  list->setCurrentIndex(1);
  emit list->activated(1);
  EXPECT_EQ(rig.w->Titles()->Box()->text(), QStringLiteral("Right  side"));
  EXPECT_FALSE(rig.w->Titles()->TitleEnabled());
  EXPECT_EQ(rig.Tree().SelectedNode(), app::NodeOfElement(6));  // the first point of the second contour
  // A new title keeps the link.
  rig.w->Titles()->Box()->setText(QStringLiteral("Kitchen"));
  QTest::keyClick(rig.w->Titles()->Box(), Qt::Key_Return);
  EXPECT_EQ(rig.Model().TitleEntries(), (std::vector<std::string>{"#00  Left", "a  b.html  Kitchen"}));
  ASSERT_TRUE(rig.w->RunCommand("mFileSave"));
  EXPECT_NE(ReadAll(map).find("<area href='a  b.html' alt='Kitchen' "), std::string::npos)
      << ReadAll(map);
}

// The titles list shows what the map gave each contour; picking an entry puts the
// contour's own title in the box, whatever its link and title hold, and asks for the
// contour under its heading. A number the map skipped stays in the title while the
// tree counts its contours anew, so no contour goes by that heading.
TEST(EditSurfaceEdit, PickedEntriesGiveTheirOwnTitleAndContour) {
  struct Row {
    const char* label;
    const char* href;
    const char* alt;
    const char* entry;    // the list's text
    const char* title;    // the box's text once the entry is picked
    const char* heading;  // the contour the pick asks for
    bool shown;           // the tree has that heading: the pick shows the contour
  };
  const Row rows[] = {
      {"a link with two blanks", "a  b", "Roof", "a  b  Roof", "Roof", "#01", true},
      {"a title with leading blanks", "#01", "  Roof", "#01    Roof", "  Roof", "#01", true},
      {"a title that is a number", "#01", "7", "#01  7", "7", "#01", true},
      {"a relative link", "page.html#x", "Page", "page.html#x  Page", "Page", "#01", true},
      {"a link to a number", "#12", "Twelve", "#12  Twelve", "Twelve", "#12", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    Rig rig;
    const std::string map = rig.folder.folder.Write(
        "art.htm", std::string("<img src='art.bmp' usemap='#m'><map name='m'>\n"
                               "<area href='#00' alt='Left' shape='polygon' coords='2,2,5,2,5,5,2,5'>\n"
                               "<area href='") +
                       row.href + "' alt='" + row.alt +
                       "' shape='polygon' coords='10,2,13,2,13,5,10,5'>\n</map>\n");
    rig.w->Host().Model().LetMapPath(map);
    rig.w->Host().Doc().LoadDocument();
    app::TitlesStrip& titles = *rig.w->Titles();
    QComboBox* list = titles.List();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1).toStdString(), row.entry);
    const std::int32_t before = rig.Tree().SelectedNode();
    ASSERT_NE(before, app::NodeOfElement(6));
    QStringList asked;
    const QMetaObject::Connection watch = QObject::connect(
        &titles, &app::TitlesStrip::ShowContour, [&asked](const QString& heading) { asked << heading; });
    list->setCurrentIndex(1);
    emit list->activated(1);
    QObject::disconnect(watch);
    EXPECT_EQ(titles.Box()->text().toStdString(), row.title);
    EXPECT_EQ(titles.EditedTitle(), row.title);
    EXPECT_FALSE(titles.TitleEnabled());
    EXPECT_EQ(asked, QStringList{QString::fromLatin1(row.heading)});
    // The second contour's first point.
    EXPECT_EQ(rig.Tree().SelectedNode(), row.shown ? app::NodeOfElement(6) : before);
    // Another title may be set; the title it had again may not.
    titles.Box()->setText(QStringLiteral("Other"));
    EXPECT_TRUE(titles.TitleEnabled());
    titles.Box()->setText(QString::fromLatin1(row.title));
    EXPECT_FALSE(titles.TitleEnabled());
  }
}

TEST(EditSurfaceModes, RectifyAndSetBeginning) {
  Rig rig(kBentBar);
  rig.Trace(2, 2);
  const std::int32_t before = engine::UpperBound(rig.Points());
  ASSERT_TRUE(rig.w->RunCommand("mEditStart"));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::RectifyFirst);
  const ContourPoint a = rig.Points()[1], c = rig.Points()[3];
  rig.Press(a.x, a.y);
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::RectifySecond);
  rig.Press(c.x, c.y);
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
  EXPECT_EQ(engine::UpperBound(rig.Points()), before - 1);

  ASSERT_TRUE(rig.w->RunCommand("mEditMove"));
  const ContourPoint b = rig.Points()[2];
  rig.Press(b.x, b.y);
  EXPECT_EQ(rig.Points()[1], b);
  // A right click cancels an armed mode without picking.
  ASSERT_TRUE(rig.w->RunCommand("mEditStart"));
  rig.Press(b.x, b.y, automation::kRightButton);
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
}

TEST(EditSurfaceModes, InfoPanelShowsThePixelAndTheSelectedPoint) {
  Rig rig;
  rig.Trace(3, 3);
  rig.Surface().tvCoord_NodeClick(4);
  rig.Surface().ucScopel_MouseMove(4 * kTpp + 3, 2 * kTpp + 3);
  EXPECT_EQ(rig.Panel("Info"), QStringLiteral("4,2 (#2)"));
  rig.Surface().ucScopel_MouseMove(5 * kTpp, 1 * kTpp);
  EXPECT_EQ(rig.Panel("Info"), QStringLiteral("5,1"));
  rig.Surface().ucScopel_MouseMove(-1, 1);
  EXPECT_EQ(rig.Panel("Info"), QString());
}

TEST(EditSurfaceModes, ClickInsertWhileTheNewPointBoxHasTheFocus) {
  Rig rig;
  rig.Trace(3, 3);
  ASSERT_TRUE(QTest::qWaitForWindowActive(rig.w.get()));
  rig.Tree().SelectNode(4);
  ASSERT_TRUE(rig.w->RunCommand("mEditInsert"));
  QLineEdit* box = rig.Tree().NewPointBox();
  ASSERT_TRUE(box->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([box] { return box->hasFocus(); }));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::InsertPoint);
  // A real press on the zoom view: the box loses the focus first.
  QTest::mouseClick(rig.Viewport(), Qt::LeftButton, {}, QPoint(8, 1));
  QCoreApplication::processEvents();
  EXPECT_EQ(rig.Points(), Doc({{{2, 2}, {4, 2}, {8, 1}, {5, 3}, {5, 5}, {3, 5}, {2, 4}}}));
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
  // Typed: Enter inserts after the selected node.
  rig.Tree().SelectNode(3);
  ASSERT_TRUE(rig.w->RunCommand("mEditInsert"));
  QTest::keyClicks(box, QStringLiteral("1,1"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(rig.Points()[2], (ContourPoint{1, 1}));
  EXPECT_FALSE(box->isVisible());
}

TEST(EditSurfaceDrop, FilesAskTheSavePromptFirst) {
  const struct {
    QStringList files;
    bool changed;
    core::DialogAnswer answer;
    bool opens;
    const char* opened;  // file name that becomes the image or the map
  } cases[] = {
      {{"b.JPG", "c.htm"}, false, core::kAnswerYes, true, "b.JPG"},
      {{"a.HTM"}, false, core::kAnswerYes, true, "a.HTM"},
      // By the extension, as the Open filter and the command line take a name.
      {{"a.html"}, false, core::kAnswerYes, true, "a.html"},
      {{"notes.h"}, false, core::kAnswerYes, false, ""},
      {{"plan.png"}, false, core::kAnswerYes, true, "plan.png"},
      {{"notes.h", "PLAN.JPEG"}, false, core::kAnswerYes, true, "PLAN.JPEG"},
      {{"x.txt", "a.htm"}, false, core::kAnswerYes, true, "a.htm"},
      {{"b.gif"}, true, core::kAnswerCancel, false, ""},
      {{"b.gif"}, true, core::kAnswerNo, true, "b.gif"},
  };
  for (const auto& c : cases) {
    Rig rig;
    rig.Trace(3, 3);
    rig.w->Host().SetChanged(c.changed);
    if (c.changed) rig.services.messageBoxes.answers.push_back(c.answer);
    std::vector<std::string> files;
    for (const QString& f : c.files) files.push_back(rig.folder.folder.File(f.toStdString()));
    const std::string imageBefore = rig.w->Host().State().ImagePath;
    rig.Surface().ucScopel_OLEDragDrop(files);
    const document::DocumentState& state = rig.w->Host().State();
    EXPECT_EQ(rig.services.messageBoxes.shown.size(), c.changed ? 1u : 0u)
        << c.files.join(' ').toStdString();
    if (c.opens) {
      const std::string opened = rig.folder.folder.File(c.opened);
      EXPECT_TRUE(state.ImagePath == opened || state.MapPath == opened) << c.opened;
      EXPECT_EQ(rig.Model().RecentFiles().front(), opened);
    } else {
      EXPECT_EQ(state.ImagePath, imageBefore);
      EXPECT_EQ(engine::UpperBound(rig.Points()), 6);
    }
  }
}

// Cancels every dialog that opens while it lives and counts them (the window's own
// message boxes are the fake services', so any modal dialog is a file dialog).
class DialogWatch {
 public:
  DialogWatch() { Look(opened_, done_); }
  ~DialogWatch() { *done_ = true; }
  int Opened() const { return *opened_; }

 private:
  static void Look(std::shared_ptr<int> opened, std::shared_ptr<bool> done) {
    QTimer::singleShot(20, [opened, done] {
      if (*done) return;
      Look(opened, done);
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++*opened;
        dialog->reject();
      }
    });
  }
  std::shared_ptr<int> opened_ = std::make_shared<int>(0);
  std::shared_ptr<bool> done_ = std::make_shared<bool>(false);
};

// Save As onto a pipe is refused; the next question's Yes then saves nothing, and the
// command that asked does not go on: the work stays.
TEST(FailedSaveInThePrompt, KeepsTheWorkWhateverAsked) {
  struct Caller {
    const char* what;
    std::function<void(Rig&, const std::string& other)> run;
  };
  const Caller callers[] = {
      {"open", [](Rig& rig, const std::string&) { rig.w->RunCommand("mFileOpen"); }},
      {"exit", [](Rig& rig, const std::string&) { EXPECT_FALSE(rig.w->close()); }},
      {"drop", [](Rig& rig, const std::string& other) { rig.Surface().ucScopel_OLEDragDrop({other}); }},
      {"batch", [](Rig& rig, const std::string&) { rig.w->RunCommand("mFileBatch"); }},
      {"recent file", [](Rig& rig, const std::string&) { rig.w->RunCommand("mFileList", 0); }},
  };
  for (const Caller& caller : callers) {
    SCOPED_TRACE(caller.what);
    Rig rig;
    const std::string other = WriteArt(rig.folder.folder, "other.bmp", kTwoSquares);
    const std::string pipe = rig.folder.folder.File("pipe.htm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    rig.Trace(3, 3);
    rig.Model().PutRecentFileFirst(other);
    rig.w->Host().Model().LetMapPath(pipe);
    ASSERT_TRUE(rig.w->RunCommand("mFileSave"));  // refused: the pipe is no regular file
    ASSERT_EQ(rig.services.messageBoxes.shown.size(), 1u);
    EXPECT_TRUE(
        rig.services.messageBoxes.shown[0].text.contains(QStringLiteral("is not a regular file")))
        << rig.services.messageBoxes.shown[0].text.toStdString();
    ASSERT_TRUE(rig.Model().IsChanged());
    const ContourPoints before = rig.Points();

    rig.services.messageBoxes.answers = {core::kAnswerYes};
    DialogWatch dialogs;
    caller.run(rig, other);
    // The question, then the save's error, and nothing after.
    ASSERT_EQ(rig.services.messageBoxes.shown.size(), 3u);
    EXPECT_TRUE(rig.services.messageBoxes.shown[1].text.contains(QStringLiteral("Save changes?")));
    EXPECT_TRUE(
        rig.services.messageBoxes.shown[2].text.contains(QStringLiteral("is not a regular file")));
    EXPECT_EQ(dialogs.Opened(), 0);
    EXPECT_TRUE(rig.w->isVisible());
    EXPECT_FALSE(rig.w->Unloaded());
    EXPECT_TRUE(rig.Model().IsChanged());
    EXPECT_EQ(rig.Points(), before);
    EXPECT_EQ(rig.w->Host().State().ImagePath, rig.image);
    EXPECT_EQ(rig.Model().RecentFiles().front(), other);
  }
}

// Answers the save dialog with the file, and its question whether to replace it with
// Yes, until done is set.
void AnswerSaveDialog(const std::string& file, const std::shared_ptr<bool>& done) {
  QTimer::singleShot(30, [file, done] {
    if (*done) return;
    AnswerSaveDialog(file, done);
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (QAbstractButton* yes = box->button(QMessageBox::Yes)) yes->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      dialog->selectFile(QString::fromStdString(file));
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(QString::fromStdString(file));
      QMetaObject::invokeMethod(dialog, "accept");
    }
  });
}

// Save and Save As onto a picture, whatever its name: refused, the picture untouched.
TEST(SaveOverAPicture, IsRefusedWithTheFilesName) {
  struct Case {
    const char* what;
    const char* name;  // "" for the image itself
    const char* format;
    bool saveAs;
  };
  const Case cases[] = {
      {"the image itself", "", "", false},
      {"a PNG", "plan.png", "PNG", false},
      {"a JPEG named as a map", "plan.htm", "JPEG", false},
      {"a PNG chosen in Save As", "chosen.png", "PNG", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    std::string target = rig.image;
    if (*c.name != '\0') {
      target = rig.folder.folder.File(c.name);
      ASSERT_TRUE(QImage(6, 4, QImage::Format_RGB32).save(QString::fromStdString(target), c.format));
    }
    const std::string before = ReadAll(target);
    rig.Trace(3, 3);
    if (c.saveAs) {
      auto done = std::make_shared<bool>(false);
      AnswerSaveDialog(target, done);
      rig.w->RunCommand("mFileSaveAs");
      *done = true;
    } else {
      rig.w->Host().Model().LetMapPath(target);
      rig.w->RunCommand("mFileSave");
    }
    const auto& shown = rig.services.messageBoxes.shown;
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().text.toStdString(),
              "The map was not saved: \"" + target + "\" holds a picture, which a map never replaces.");
    EXPECT_EQ(ReadAll(target), before);
    EXPECT_TRUE(rig.Model().IsChanged());
  }
}

// A map path that is there but cannot be read is told as the trace tool tells it.
TEST(UnreadableMap, OpeningOneSaysWhy) {
  struct Case {
    const char* what;
    std::function<std::string(AppFolder&)> make;
    QString says;
  };
  const Case cases[] = {
      {"a pipe",
       [](AppFolder& f) {
         const std::string path = f.folder.File("pipe.htm");
         EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
         return path;
       },
       QStringLiteral("it is not a regular file")},
      {"a file that may not be read",
       [](AppFolder& f) {
         const std::string path = f.folder.Write("locked.htm", "<img src='art.bmp' usemap='#a'>");
         EXPECT_EQ(::chmod(path.c_str(), 0), 0);
         return path;
       },
       QString::fromLocal8Bit(std::strerror(EACCES))},
      {"a folder",
       [](AppFolder& f) {
         const std::string path = f.folder.File("folder.htm");
         std::filesystem::create_directory(path);
         return path;
       },
       QStringLiteral("it is a folder, not a file")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (std::string_view(c.what) == "a file that may not be read" && ::geteuid() == 0)
      continue;  // root reads it
    Rig rig;
    const std::string map = c.make(rig.folder);
    rig.Surface().ucScopel_OLEDragDrop({map});
    ASSERT_EQ(rig.services.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(
        rig.services.messageBoxes.shown[0].text,
        QStringLiteral("Cannot read the map \"%1\": %2.").arg(QString::fromStdString(map), c.says));
    EXPECT_FALSE(rig.services.messageBoxes.shown[0].text.contains(QStringLiteral("holds no image map")));
    EXPECT_EQ(rig.w->Host().State().MapPath, map);
  }
}

TEST(EditSurfaceView, MenuChecksAndButtonsAgree) {
  const struct {
    const char* item;
    const char* key;
  } toggles[] = {{"mViewGrid", "Grid"},
                 {"mViewPoints", "Points"},
                 {"mSettingsConnected", "Connect"},
                 {"mSettingsCentroid", "Centroid"}};
  Rig rig;
  rig.Trace(3, 3);
  for (const auto& t : toggles) {
    widgets::MenuEntry* item = rig.w->Menus()->Item(QString::fromLatin1(t.item));
    widgets::ToolBarButton* button = rig.w->ToolBars()[0]->Button(QString::fromLatin1(t.key));
    ASSERT_NE(button, nullptr) << t.key;
    for (int round = 0; round < 2; ++round) {
      const bool before = item->Checked();
      EXPECT_EQ(button->Value(), before) << t.item;
      ASSERT_TRUE(rig.w->RunCommand(t.item));  // a menu click
      EXPECT_EQ(item->Checked(), !before) << t.item;
      EXPECT_EQ(button->Value(), !before) << t.item;
      emit rig.w->ToolBars()[0]->ButtonClick(button);  // a button click
      EXPECT_EQ(item->Checked(), before) << t.item;
      EXPECT_EQ(button->Value(), before) << t.item;
    }
  }
  // Switching Connected off makes the batch write a map per image.
  rig.w->Host().Model().LetSeparateFiles(false);
  if (!rig.w->Settings().connected) rig.w->RunCommand("mSettingsConnected");
  rig.w->RunCommand("mSettingsConnected");
  EXPECT_TRUE(rig.w->Host().State().SeparateFiles);
  rig.w->RunCommand("mSettingsConnected");
  EXPECT_TRUE(rig.w->Host().State().SeparateFiles);
}

TEST(EditSurfaceView, BackgroundColourCancelAndConfirm) {
  Rig rig;
  rig.Trace(3, 3);
  ASSERT_TRUE(rig.w->Host().IsChanged());
  const std::int32_t before = rig.w->Zoom().BackColor();
  // Cancel: nothing changes, the dropper ends.
  QTimer::singleShot(0, [&] {
    ASSERT_NE(rig.Surface().Dropper(), nullptr);
    EXPECT_EQ(rig.Surface().Mode(), ClickMode::Dropper);
    EXPECT_FALSE(rig.w->Tree()->isEnabled());
    EXPECT_FALSE(rig.w->CoolBar()->isEnabled());
    rig.Press(3, 3);  // black
    EXPECT_EQ(rig.Surface().Dropper()->currentColor(), QColor(Qt::black));
    rig.Surface().Dropper()->reject();
  });
  ASSERT_TRUE(rig.w->RunCommand("mViewColor", 0));
  EXPECT_EQ(rig.w->Zoom().BackColor(), before);
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
  EXPECT_TRUE(rig.w->Tree()->isEnabled());
  EXPECT_TRUE(rig.w->CoolBar()->isEnabled());
  // Confirmed: the new colour, the contours and the changed mark stay.
  QTimer::singleShot(0, [&] {
    rig.Press(0, 0);
    rig.Surface().Dropper()->setCurrentColor(QColor(0, 0, 255));
    rig.Surface().Dropper()->accept();
  });
  ASSERT_TRUE(rig.w->RunCommand("mViewColor", 0));
  EXPECT_EQ(rig.w->Zoom().BackColor(), 0xFF0000);
  EXPECT_TRUE(rig.w->Host().IsChanged());
  EXPECT_EQ(engine::UpperBound(rig.Points()), 6);
}

TEST(EditSurfaceView, PainterCancelKeepsThePath) {
  Rig rig;
  rig.w->Settings().painterPath = "/usr/bin/old-painter";
  QTimer::singleShot(0, [] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->inherits("QFileDialog") && top->isVisible()) static_cast<QDialog*>(top)->reject();
    }
  });
  ASSERT_TRUE(rig.w->RunCommand("mViewPainter"));
  EXPECT_EQ(rig.w->Settings().painterPath, "/usr/bin/old-painter");
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

// The day's work with real mouse events on the zoom view: trace a figure, add a
// second, title it, delete a point, save; the map read back holds all of it.
TEST(EditSurfaceEndToEnd, TraceAddTitleDeleteSave) {
  Rig rig;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.w.get()));
  QWidget* viewport = rig.Viewport();
  ASSERT_NE(viewport, nullptr);

  ASSERT_TRUE(rig.w->RunCommand("mFileStart"));
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_EQ(rig.Points(), Doc({kLeft}));
  ASSERT_TRUE(rig.w->RunCommand("mFileAdd"));
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(11, 3));
  ASSERT_EQ(rig.Points(), Doc({kLeft, kRight}));

  QLineEdit* title = rig.w->Titles()->Box();
  ASSERT_EQ(rig.w->Titles()->List()->currentIndex(), 1);
  title->setFocus();
  QTest::keyClicks(title, QStringLiteral("Right"));
  QTest::keyClick(title, Qt::Key_Return);

  // A click near (12,2) in mode 0 selects its node; Delete in the tree removes it.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(12, 1));
  ASSERT_EQ(rig.Tree().SelectedNode(), app::NodeOfElement(9));
  QTest::keyClick(&rig.Tree(), Qt::Key_Delete);

  ASSERT_TRUE(rig.w->RunCommand("mFileSave"));
  EXPECT_FALSE(rig.w->Host().IsChanged());
  const document::MapContent map = document::ReadMapText(ReadAll(document::DefaultMapPath(rig.image)));
  ASSERT_EQ(map.polygons.size(), 2u);
  EXPECT_EQ(map.polygons[0].points, kLeft);
  EXPECT_EQ(map.polygons[1].points, (Points{{10, 2}, {13, 3}, {13, 5}, {11, 5}, {10, 4}}));
  EXPECT_EQ(map.polygons[0].alt, "");
  EXPECT_EQ(map.polygons[1].alt, "Right");
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

double Ms(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// The speed of the editing surface on a large document, measured when MORVANE_SPEED
// is set (a release build tells the truth).
TEST(EditSurfaceSpeed, BenchImage) {
  if (qEnvironmentVariableIsEmpty("MORVANE_SPEED")) GTEST_SKIP() << "MORVANE_SPEED not set";
  FakeServices services;
  AppFolder folder;
  const std::string path = folder.folder.File("bench.bmp");
  // The engine bench's picture: about 10 000 discs and rings.
  ASSERT_TRUE(gui::FromRgbImage(DiscsAndRings(4096)).save(QString::fromStdString(path), "BMP"));
  auto w = folder.Start({path});
  w->resize(1000, 700);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  if (w->Settings().connected) w->RunCommand("mSettingsConnected");
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  w->Picture().FlushRedraw();
  QCoreApplication::processEvents();
  const engine::ContourPoints& points = w->Host().Model().Points();
  app::ContourTree& tree = *w->Tree();
  const std::int32_t upper = engine::UpperBound(points);
  std::printf("document: %d contours, %d elements\n", w->Host().Model().Count(), upper);

  tree.Fill(engine::EmptyContourPoints(), "00", false);
  tree.Fill(engine::EmptyContourPoints(), "00", true);
  auto t = std::chrono::steady_clock::now();
  tree.Fill(points, w->Host().Model().NumberFormat(), true);
  tree.repaint();
  std::printf("tree fill (rebuild, painted): %.1f ms\n", Ms(t));

  const std::int32_t node = app::NodeOfElement(upper / 2);
  t = std::chrono::steady_clock::now();
  tree.SelectNode(node);
  w->Surface().tvCoord_NodeClick(node);
  std::printf("node click to point shown: %.2f ms\n", Ms(t));

  t = std::chrono::steady_clock::now();
  ASSERT_TRUE(w->RunCommand("mEditDelete"));
  tree.repaint();
  std::printf("Delete Point (tree updated and painted, drawing queued): %.1f ms\n", Ms(t));
  EXPECT_EQ(engine::UpperBound(points), upper - 1);
  t = std::chrono::steady_clock::now();
  w->Picture().FlushRedraw();
  std::printf("  its queued redraw: %.1f ms\n", Ms(t));

  for (bool marks : {false, true}) {
    if (w->Settings().showPoints != marks) w->RunCommand("mViewPoints");
    t = std::chrono::steady_clock::now();
    w->Picture().RedrawContours();
    w->Picture().FlushRedraw();
    std::printf("RedrawContours over the drawn picture, vertex marks %s: %.1f ms\n",
                marks ? "on" : "off", Ms(t));
    t = std::chrono::steady_clock::now();
    w->Picture().ShowImage();
    w->Picture().RedrawContours();
    w->Picture().FlushRedraw();
    std::printf("RedrawContours, clean picture first, vertex marks %s: %.1f ms\n", marks ? "on" : "off",
                Ms(t));
  }
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

// Pictures to look at, taken only when MORVANE_SCREENSHOTS names a folder (run under
// Xvfb with QT_QPA_PLATFORM=xcb): a traced image with vertex marks, the tree with a
// selected point, and the dropper open.
TEST(Screenshots, EditingSurface) {
  const QString out = ScreenshotFolder();
  if (out.isEmpty()) GTEST_SKIP() << "MORVANE_SCREENSHOTS not set";
  PictureWindow shots;
  app::MainWindow* w = shots.w.get();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  if (w->Settings().connected) w->RunCommand("mSettingsConnected");
  if (!w->Settings().showPoints) w->RunCommand("mViewPoints");
  ASSERT_TRUE(w->RunCommand("mFileCreate"));
  ASSERT_TRUE(w->RunCommand("mViewZoom", 1));
  w->Picture().FlushRedraw();
  QTest::qWait(300);
  EXPECT_TRUE(w->grab().save(out + QStringLiteral("/edit-marks.png")));

  app::ContourTree& tree = *w->Tree();
  tree.setFocus();
  tree.SelectNode(6);
  w->Surface().tvCoord_NodeClick(6);
  QTest::qWait(300);
  EXPECT_TRUE(w->grab().save(out + QStringLiteral("/edit-tree-selected.png")));

  QTimer::singleShot(500, [&] {
    QColorDialog* dialog = w->Surface().Dropper();
    ASSERT_NE(dialog, nullptr);
    dialog->move(w->geometry().right() - dialog->width(), w->geometry().top() + 40);
    QTest::qWait(300);
    QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_TRUE(screen->grabWindow(0).save(out + QStringLiteral("/edit-dropper.png")));
    dialog->reject();
  });
  ASSERT_TRUE(w->RunCommand("mViewColor", 0));
}

}  // namespace
}  // namespace morvane::testing

namespace morvane::testing {
namespace {

TEST(EditSurfaceView, MagnifierZoomsInAndOutOnTheClickedPoint) {
  Rig rig;
  ASSERT_TRUE(rig.w->RunCommand("mViewMagnifier"));
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::Magnifier);
  rig.Press(8, 4);
  EXPECT_EQ(rig.w->Settings().zoomIndex, 1);
  EXPECT_EQ(rig.Surface().Mode(), ClickMode::None);
  EXPECT_TRUE(rig.w->Menus()->Item(QStringLiteral("mViewZoom"), 1)->Checked());
  // Zoomed in, any button zooms back to 1:1.
  ASSERT_TRUE(rig.w->RunCommand("mViewMagnifier"));
  rig.Press(8, 4, automation::kRightButton);
  EXPECT_EQ(rig.w->Settings().zoomIndex, 0);
  EXPECT_TRUE(rig.w->Menus()->Item(QStringLiteral("mViewZoom"), 0)->Checked());
}

TEST(EditSurfaceView, DigitsMarkADocumentWithPointsChanged) {
  Rig rig;
  rig.w->Host().LetDigitsValue(3);
  EXPECT_FALSE(rig.w->Host().IsChanged());  // nothing to save yet
  rig.Trace(3, 3);
  rig.w->Host().SetChanged(false);
  rig.w->Host().LetDigitsValue(2);
  EXPECT_TRUE(rig.w->Host().IsChanged());
  rig.Add(11, 3);
  EXPECT_EQ(rig.Model().TitleEntries(), (std::vector<std::string>{"#000", "#01"}));  // shown texts stay
}

}  // namespace
}  // namespace morvane::testing
