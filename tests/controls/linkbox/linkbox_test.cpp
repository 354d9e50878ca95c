#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <memory>
#include <vector>

#include "controls/linkbox/linkbox.h"
#include "controls/spinbox/spinbox.h"
#include "controls/linkbox/linkbox_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/class_registry.h"
#include "tests/support/fake_services.h"
#include "tests/support/hosted_control.h"

namespace morvane::linkbox {
namespace {

using automation::ControlSite;
using automation::FunctionSink;
using automation::PropertyBag;

// A link box on a shown host form, with a fake shell, its events and announcements.
struct Hosted : testing::HostedControl<LinkBox> {
  LinkBox* link = &control();
  QLineEdit* other = new QLineEdit(&form());  // somewhere for the focus to go
  testing::FakeServices services;

  Hosted() : HostedControl(QStringLiteral("ltLink"), QSize(400, 200)) {
    other->move(0, 150);
    link->move(20, 30);
    link->InitProperties();
    form().show();
    other->setFocus();
    QApplication::processEvents();
    Forget();
  }
  // Moves the pointer over the label, each time to a new place (the window system
  // reports no move to the place the pointer already has).
  void Hover() {
    const QPoint at(2 + (hovers++ % 5), 2);
    QCursor::setPos(link->label()->mapToGlobal(at));
    QTest::mouseMove(link->label(), at);
  }
  int hovers = 0;
  void MovePointer(QPoint global) { QCursor::setPos(global); }
};

TEST(LinkBox, AClickOpensTheChosenTargetThroughTheShell) {
  const struct {
    bool captionIsPath;
    QString caption, path;
    QStringList opened;
  } cases[] = {
      {true, "", "/srv/manual.html", {}},
      {false, "https://example.org", "", {}},
      {true, "https://example.org/caption", "/srv/manual.html", {"https://example.org/caption"}},
      {false, "Manual", "/srv/manual.html", {"/srv/manual.html"}},
      {false, "Mail us", "mailto:help@example.org", {"mailto:help@example.org"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption.toStdString() + " / " + c.path.toStdString());
    Hosted h;
    h.link->LetCaption(c.caption);
    h.link->LetPath(c.path);
    h.link->LetCaptionIsPath(c.captionIsPath);
    h.link->LetAutoSize(false);
    h.link->resize(120, 20);
    QTest::mouseClick(h.link->label(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(QStringList(h.services.shell.opened.begin(), h.services.shell.opened.end()), c.opened);
    EXPECT_EQ(h.Count(eventid::Click), 1) << "Click is raised whether or not a target opens";
    EXPECT_EQ(h.Count(eventid::MouseDown), 1);
    EXPECT_EQ(h.Count(eventid::MouseUp), 1);
  }
}

TEST(LinkBox, KeysArePassedOnAndOpenNothing) {
  Hosted h;
  h.link->LetPath("/srv/manual.html");
  h.link->LetCaptionIsPath(false);
  h.link->setFocus();
  for (auto key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_A}) QTest::keyClick(h.link, key);
  EXPECT_TRUE(h.services.shell.opened.empty());
  EXPECT_EQ(h.Count(eventid::KeyDown), 3);
  EXPECT_EQ(h.Count(eventid::KeyPress), 3);
  EXPECT_EQ(h.Count(eventid::KeyUp), 3);
}

TEST(LinkBox, HoverUnderlinesUntilTheTimerFindsThePointerGone) {
  Hosted h;
  const auto hostFont = std::make_shared<automation::FontObject>();
  hostFont->size = 12;
  h.link->SetFont(hostFont);
  EXPECT_FALSE(h.link->Underlined());

  h.Hover();
  EXPECT_TRUE(h.link->Underlined());
  EXPECT_TRUE(h.link->hotTrackingTimer()->isActive());
  EXPECT_EQ(h.link->hotTrackingTimer()->interval(), 100);
  EXPECT_FALSE(hostFont->underline) << "the host's font object is never underlined";
  EXPECT_EQ(h.Count(eventid::MouseMove), 1);

  // Resting on the right or bottom edge still counts as inside.
  const QPoint topLeft = h.link->mapToGlobal(QPoint(0, 0));
  h.MovePointer(topLeft + QPoint(h.link->width(), h.link->height()));
  QTest::qWait(250);
  EXPECT_TRUE(h.link->Underlined());
  EXPECT_TRUE(h.link->hotTrackingTimer()->isActive());

  h.MovePointer(topLeft + QPoint(h.link->width() + 1, 0));
  QTest::qWait(250);
  EXPECT_FALSE(h.link->Underlined());
  EXPECT_FALSE(h.link->hotTrackingTimer()->isActive());
  EXPECT_FALSE(hostFont->underline);
  EXPECT_EQ(h.link->Font(), hostFont);
}

TEST(LinkBox, FocusUnderlinesAndHotTrackingOffUnderlinesNothing) {
  Hosted h;
  h.link->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(h.link->Underlined());
  h.other->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(h.link->Underlined());

  // Turning hot tracking on while underlined removes the underline at once.
  h.Hover();
  ASSERT_TRUE(h.link->Underlined());
  h.link->LetHotTracking(true);
  EXPECT_FALSE(h.link->Underlined());

  // With it off, neither the pointer nor the focus underlines, and a move stops the timer.
  h.Hover();
  h.link->LetHotTracking(false);
  EXPECT_TRUE(h.link->hotTrackingTimer()->isActive());
  EXPECT_TRUE(h.link->Underlined()) << "writing false leaves the underline";
  h.Hover();
  EXPECT_FALSE(h.link->hotTrackingTimer()->isActive());
}

TEST(LinkBox, WithoutHotTrackingNothingUnderlines) {
  Hosted h;
  h.link->LetHotTracking(false);
  h.Hover();
  EXPECT_FALSE(h.link->Underlined());
  EXPECT_FALSE(h.link->hotTrackingTimer()->isActive());
  h.link->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(h.link->Underlined());
}

TEST(LinkBox, SettersAnnounceOnlyRealChanges) {
  Hosted h;
  h.link->LetCaption("Home");
  h.link->LetAlignment(Center);
  h.link->LetBackColor(0x00FFFFFFu);
  h.changed.clear();
  h.link->LetCaption("Home");
  h.link->LetAlignment(Center);
  h.link->LetBackColor(0x00FFFFFFu);
  h.link->SetFont(h.link->Font());
  EXPECT_TRUE(h.changed.isEmpty()) << h.changed.join(",").toStdString();
  h.link->LetAutoSize(h.link->AutoSize());
  h.link->LetForeColor(h.link->ForeColor());
  EXPECT_EQ(h.changed, (QStringList{"AutoSize", "ForeColor"}));
  EXPECT_THROW(h.link->put(dispid::Alignment, 3), automation::AutomationError);
  EXPECT_EQ(h.link->get(dispid::Version).toString(), " 1.05");
}

TEST(LinkBox, ReadingStoredPropertiesAnnouncesNothing) {
  Hosted h;
  PropertyBag bag;
  bag.write(QStringLiteral("Alignment"), Center);
  bag.write(QStringLiteral("BackColor"), 0x00EEEEEE);
  bag.write(QStringLiteral("Enabled"), false);
  bag.write(QStringLiteral("ForeColor"), 0x00800000);
  bag.write(QStringLiteral("Path"), QStringLiteral("/srv/manual.html"));
  h.link->ReadProperties(bag);
  EXPECT_TRUE(h.changed.isEmpty()) << h.changed.join(",").toStdString();
  EXPECT_EQ(h.link->Alignment(), Center);
  EXPECT_EQ(h.link->Path(), "/srv/manual.html");
  // Once read, a setter announces again.
  h.link->LetPath("/srv/other.html");
  EXPECT_EQ(h.changed, QStringList{"Path"});
}

TEST(LinkBox, AutoSizeFitsTheControlToTheCaption) {
  Hosted h;
  h.link->LetAutoSize(true);
  h.link->LetCaption("Short");
  const int shortWidth = h.link->width();
  h.link->LetCaption("A much longer caption than before");
  EXPECT_GT(h.link->width(), shortWidth);
  EXPECT_EQ(h.link->size(), h.link->label()->size());

  h.link->LetAutoSize(false);
  h.link->resize(300, 40);
  EXPECT_EQ(h.link->label()->geometry(), QRect(0, 0, 300, 40));
  h.link->LetCaption("x");
  EXPECT_EQ(h.link->size(), QSize(300, 40));
}

TEST(LinkBox, PropertyBagRoundTripKeepsAStoredUnderline) {
  Hosted a;
  a.link->LetCaption("Manual");
  a.link->LetPath("/srv/manual.html");
  a.link->LetCaptionIsPath(false);
  a.link->LetAlignment(RightJustify);
  a.link->LetAutoSize(false);
  a.link->LetBackColor(0x00EEEEEEu);
  a.link->LetForeColor(0x00800000u);
  auto font = std::make_shared<automation::FontObject>();
  font->underline = true;
  font->italic = true;
  a.link->SetFont(font);
  a.Hover();  // the hover state is not stored
  PropertyBag written;
  a.link->WriteProperties(written);
  EXPECT_EQ(written.keys(),
            (QStringList{"Alignment", "AutoSize", "BackColor", "Caption", "CaptionIsPath", "Enabled",
                         "Font", "ForeColor", "HotTracking", "Path"}));
  const auto stored =
      PropertyBag::fromJson(QJsonDocument::fromJson(QJsonDocument(written.toJson()).toJson()).array());
  ASSERT_TRUE(stored.has_value());

  Hosted b;
  b.link->ReadProperties(*stored);
  EXPECT_EQ(b.link->Caption(), "Manual");
  EXPECT_EQ(b.link->Path(), "/srv/manual.html");
  EXPECT_FALSE(b.link->CaptionIsPath());
  EXPECT_EQ(b.link->Alignment(), RightJustify);
  EXPECT_FALSE(b.link->AutoSize());
  EXPECT_EQ(b.link->BackColor(), 0x00EEEEEEu);
  EXPECT_EQ(b.link->ForeColor(), 0x00800000u);
  EXPECT_TRUE(b.link->HotTracking());
  ASSERT_TRUE(b.link->Font());
  EXPECT_TRUE(b.link->Font()->underline) << "a stored underline survives loading";
  EXPECT_TRUE(b.link->Underlined());
  // Hovering and leaving leaves the stored underline shown.
  b.Hover();
  b.MovePointer(QPoint(0, 0));
  QTest::qWait(250);
  EXPECT_TRUE(b.link->Underlined());
  PropertyBag again;
  b.link->WriteProperties(again);
  EXPECT_EQ(again, written);

  // Absent keys give the defaults.
  Hosted c;
  c.link->LetCaption("Kept");
  c.link->ReadProperties(PropertyBag());
  EXPECT_EQ(c.link->Caption(), "Kept");
  EXPECT_TRUE(c.link->CaptionIsPath());
  EXPECT_TRUE(c.link->HotTracking());
  EXPECT_FALSE(c.link->AutoSize());
  EXPECT_EQ(c.link->Alignment(), LeftJustify);
}

TEST(LinkBox, NewControlsOpenTheirCaptionInBlueWithHotTracking) {
  Hosted h;
  EXPECT_TRUE(h.link->CaptionIsPath());
  EXPECT_TRUE(h.link->HotTracking());
  EXPECT_EQ(h.link->ForeColor(), 0x00FF0000u);
  EXPECT_EQ(h.link->label()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST(LinkBox, FormsCreateItByClassIdOrProgId) {
  RegisterLinkBoxClass();
  automation::MemoryClassStore store;
  automation::ClassRegistry registry(store, {});
  QWidget form;
  for (const char* name : {kProgId, kClassId}) {
    automation::Control* control = registry.create(name, &form);
    EXPECT_NE(dynamic_cast<LinkBox*>(control), nullptr) << name;
  }
}

// The rows of a picture of the label that hold the link colour, from the top.
std::vector<int> BlueRows(const QImage& image) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    int blue = 0;
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 150 && c.red() < 100 && c.green() < 100) ++blue;
    }
    if (blue > 0) rows.push_back(blue);
  }
  return rows;
}

// Both controls on one form as a person sees them. With MORVANE_SCREENSHOT_DIR set
// (under Xvfb) the form is saved there as controls.png for a look.
TEST(LinkBox, DrawnOnAFormBesideASpinBox) {
  QWidget form;
  form.setWindowTitle("Controls");
  form.resize(320, 110);
  auto* label = new QLabel("Digits:", &form);
  label->move(16, 22);
  auto* spin = new spinbox::SpinBox(&form);
  spin->move(80, 16);
  spin->LetMin(1);
  spin->LetMax(6);
  spin->LetValue(2);
  spin->resize(60, 1);
  auto* link = new LinkBox(&form);
  link->move(16, 64);
  link->InitProperties();
  link->LetCaption("https://morvane.example.org");
  auto* other = new QLineEdit(&form);
  other->setGeometry(200, 16, 100, 24);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  other->setFocus();
  QApplication::processEvents();

  const QImage plain = link->grab().toImage();
  const std::vector<int> plainRows = BlueRows(plain);
  ASSERT_FALSE(plainRows.empty()) << "the caption is drawn in blue";
  QCursor::setPos(link->label()->mapToGlobal(QPoint(5, 5)));
  QTest::mouseMove(link->label(), QPoint(5, 5));
  QApplication::processEvents();
  const QImage hovered = link->grab().toImage();
  const std::vector<int> hoveredRows = BlueRows(hovered);
  // The underline is one blue row almost as wide as the caption.
  const int widest = *std::max_element(hoveredRows.begin(), hoveredRows.end());
  EXPECT_GT(widest, *std::max_element(plainRows.begin(), plainRows.end()));
  EXPECT_GT(widest, link->width() * 3 / 4);

  EXPECT_EQ(spin->textBox()->text(), "2");
  EXPECT_GE(spin->textBox()->width(), spin->textBox()->fontMetrics().horizontalAdvance("9"));
  if (const QString dir = qEnvironmentVariable("MORVANE_SCREENSHOT_DIR"); !dir.isEmpty()) {
    QScreen* screen = form.screen();
    QPixmap shot = screen != nullptr ? screen->grabWindow(form.winId()) : QPixmap();
    if (shot.isNull() || shot.toImage().allGray()) shot = form.grab();
    shot.save(dir + "/controls.png");
    // Four times as large, for a look at single pixels.
    shot.scaled(shot.size() * 4).save(dir + "/controls_x4.png");
  }
}

}  // namespace
}  // namespace morvane::linkbox
