#include "controls/vitrane/vitrane_image.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStyle>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "controls/vitrane/vitrane_helpers.h"
#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "tests/controls/vitrane/vitrane_test_support.h"
#include "tests/support/fake_message_box.h"
#include "tests/support/hosted_control.h"

namespace morvane::vitrane {
namespace {

using Host = morvane::testing::HostedControl<VitraneImage>;
using testing::Art;
using testing::PixelsOf;

QVariant Pic(const QImage& image) { return QVariant::fromValue(image); }
std::uint32_t Color(const QVariant& v) { return v.value<std::uint32_t>(); }

QImage Icon() {
  QImage icon(4, 4, QImage::Format_ARGB32);
  icon.fill(qRgba(0, 0, 0, 0));
  icon.setPixel(1, 1, qRgba(255, 0, 0, 255));
  icon.setPixel(2, 2, qRgba(255, 255, 255, 255));
  return MarkedAsIcon(icon);
}

// A frameless form without buttons: the form a title-less shape needs.
void MakeFrameless(QWidget& form) { form.setWindowFlags(Qt::Window | Qt::FramelessWindowHint); }

// An error's number, description and source, or a failure when none was raised.
automation::AutomationError ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const automation::AutomationError& error) {
    return error;
  }
  ADD_FAILURE() << "no error raised";
  return automation::AutomationError(0);
}

TEST(VitraneImage, NewInstanceHasWhiteMaskAndNoPicture) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xffffffu);
  EXPECT_FALSE(host.Get("Picture").isValid());
  EXPECT_EQ(host.Get("AutoSize").toInt(), None);
}

TEST(VitraneImage, BitmapTakesCornerColourAndSize) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  const QString art = QStringLiteral("MMRM|MRRR|MMMR");
  host.Set("Picture", Pic(Art(art)));
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xff00ffu);
  EXPECT_EQ(host->size(), QSize(4, 3));
  EXPECT_EQ(host.Get("AutoSize").toInt(), None);
  EXPECT_EQ(host->Shape(), PixelsOf(art, QStringLiteral("R")));
  EXPECT_TRUE(host.changed.contains(QStringLiteral("Picture")));
}

TEST(VitraneImage, IconKeepsControlToPictureAndWhiteMask) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Icon()));
  EXPECT_EQ(host.Get("AutoSize").toInt(), ControlToPicture);
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xffffffu);
  EXPECT_EQ(host->Shape(), QRegion(1, 1, 1, 1) + QRegion(2, 2, 1, 1));
  // AutoSize stays with the icon.
  host.Let("AutoSize", None);
  EXPECT_EQ(host.Get("AutoSize").toInt(), ControlToPicture);
}

TEST(VitraneImage, MaskColourIsComparedExactly) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  // Orange is none of the 16 VGA colours: exactly its pixels go, its neighbours stay.
  const QString art = QStringLiteral("oRoo|RooM|ooGo");
  host.Set("Picture", Pic(Art(art)));
  EXPECT_EQ(host->Shape(), PixelsOf(art, QStringLiteral("RMG")));
  host.Let("MaskColor", 0x0000ff);  // red
  EXPECT_EQ(host->Shape(), PixelsOf(art, QStringLiteral("oMG")));
  EXPECT_EQ(host->mask(), host->Shape());  // the control's own input and paint shape
}

TEST(VitraneImage, AnExplicitMaskPictureGivesTheShape) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Art("RRR|RRR")));
  host.Let("MaskColor", 0xff00ff);  // magenta, which the picture lacks
  const QString mask = QStringLiteral("M.M|.M.");
  host.Set("MaskPicture", Pic(Art(mask)));
  EXPECT_EQ(host->Shape(), PixelsOf(mask, QStringLiteral(".")));
  EXPECT_TRUE(host.changed.contains(QStringLiteral("MaskPicture")));
  host.Set("MaskPicture", QVariant());
  EXPECT_EQ(host->Shape(), QRegion(0, 0, 3, 2));
}

TEST(VitraneImage, WithoutPictureMaskColourAndDrawEffectDoNotStick) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Let("MaskColor", 0x00ff00);
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xffffffu);
  host.Let("DrawEffect", deDisabled);
  EXPECT_EQ(host.Get("DrawEffect").toInt(), deNormal);
}

TEST(VitraneImage, NothingClearsThePicture) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Art("MR|RR")));
  host.Set("Picture", QVariant());
  EXPECT_FALSE(host.Get("Picture").isValid());
  EXPECT_TRUE(host->mask().isEmpty());
}

TEST(VitraneImage, PictureToControlStretchesAndBackUndoes) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Art("MR|RM")));
  host->resize(4, 4);
  host.Forget();
  host.Let("AutoSize", PictureToControl);
  EXPECT_EQ(host->Image().size(), QSize(4, 4));
  EXPECT_EQ(host.Count(eventid::Resize), 1);
  EXPECT_EQ(host->Shape(), QRegion(2, 0, 2, 2) + QRegion(0, 2, 2, 2));
  host.Let("AutoSize", ControlToPicture);
  EXPECT_EQ(host->Image().size(), QSize(2, 2));
  EXPECT_EQ(host->size(), QSize(2, 2));
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xff00ffu);
}

TEST(VitraneImage, DrawEffectsDrawAndReturn) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  const QImage picture = Art("KR|RK");
  host.Set("Picture", Pic(picture));
  host.Let("FillColor", 0xFF0000);  // blue: the union's chequer is drawn in it
  host.Let("DrawEffect", deUnion);
  EXPECT_EQ(host.Get("DrawEffect").toInt(), deUnion);
  EXPECT_EQ(host->Image().pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(host->Image().pixel(1, 0), qRgb(255, 0, 0));
  // A new FillColor draws the effect again in it.
  host.Let("FillColor", 0x00FF00);
  EXPECT_EQ(host->Image().pixel(1, 1), qRgb(0, 255, 0));
  host.Let("DrawEffect", deDisabled);
  EXPECT_EQ(host->Image().size(), picture.size());
  host.Let("DrawEffect", deNormal);
  EXPECT_EQ(host->Image(), picture);
  // An icon's transparent pixels stay transparent under an effect.
  host.Set("Picture", Pic(Icon()));
  host.Let("DrawEffect", deDisabled);
  EXPECT_EQ(qAlpha(host->Image().pixel(0, 0)), 0);
}

TEST(VitraneImage, StoredLimitsOfTitleFields) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Let("ParentTitleOffset", -5);
  EXPECT_EQ(host.Get("ParentTitleOffset").toInt(), 0);
  host.Let("TitleLeft", 30);
  host.Let("TitleLeft", -1);
  EXPECT_EQ(host.Get("TitleLeft").toInt(), 30);
}

TEST(VitraneImage, DesignTimeTitleHeightDefaultsToTheCaption) {
  Host host(QStringLiteral("liAbout"));
  host.site().setAmbient(QStringLiteral("UserMode"), false);
  host->InitProperties();
  host.Let("TitleWidth", 1000);
  const int caption = host->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &host.control());
  EXPECT_EQ(host.Get("TitleHeight").toInt(), (caption - 1) * 15);
  // At run time 0 stays 0.
  Host running(QStringLiteral("liAbout"));
  running->InitProperties();
  running.Let("TitleWidth", 1000);
  EXPECT_EQ(running.Get("TitleHeight").toInt(), 0);
}

TEST(VitraneImage, PropertyBagRoundTrip) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Art("MRR|RRM")));
  host.Let("MaskColor", 0x0000ff);
  host->resize(6, 4);
  host.Let("AutoSize", PictureToControl);
  host.Let("ParentTitleOffset", 7);
  host.Let("ParentTitleY", 45);
  host.Let("TitleLeft", 15);
  host.Let("TitleTop", 30);
  host.Let("TitleWidth", 600);
  host.Let("TitleHeight", 90);
  host.Let("MousePointer", 2);
  automation::PropertyBag bag;
  host->WriteProperties(bag);
  EXPECT_EQ(bag.keys(), (QStringList{"AutoSize", "DrawEffect", "Enabled", "FillColor",
                                     "ParentTitleOffset", "ParentTitleY", "Style", "MaskColor",
                                     "MaskPicture", "MouseIcon", "MousePointer", "Picture", "TitleLeft",
                                     "TitleTop", "TitleWidth", "TitleHeight"}));

  Host copy(QStringLiteral("liAbout"));
  copy->resize(6, 4);
  copy->ReadProperties(bag);
  // The stored mask colour and AutoSize win over the picture read in between, and
  // the stretch survives the draw effect read after it.
  EXPECT_EQ(Color(copy.Get("MaskColor")), 0x0000ffu);
  EXPECT_EQ(copy.Get("AutoSize").toInt(), PictureToControl);
  EXPECT_EQ(copy->Image().size(), QSize(6, 4));
  EXPECT_EQ(copy->Shape(), host->Shape());
  for (const char* name : {"ParentTitleOffset", "ParentTitleY", "TitleLeft", "TitleTop", "TitleWidth",
                           "TitleHeight", "MousePointer", "Style", "DrawEffect", "Enabled"}) {
    EXPECT_EQ(copy.Get(name), host.Get(name)) << name;
  }
  automation::PropertyBag again;
  copy->WriteProperties(again);
  EXPECT_EQ(again, bag);
  EXPECT_TRUE(copy.changed.isEmpty());  // reading is not a change
}

TEST(VitraneImage, MousePointerShowsOnTheControlAndRefusesUnknownValues) {
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(qRgba(255, 0, 0, 255));
  const struct {
    const char* name;
    int pointer;
    bool withIcon;
    std::optional<Qt::CursorShape> shape;  // none: the control's own pointer
  } rows[] = {
      {"cross", 2, false, Qt::CrossCursor},
      {"the icon", 99, true, Qt::BitmapCursor},
      {"the icon, but none given", 99, false, std::nullopt},
      {"default", 0, true, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Host host(QStringLiteral("liAbout"));
    host->InitProperties();
    if (row.withIcon) host.Set("MouseIcon", Pic(icon));
    host.Let("MousePointer", row.pointer);
    EXPECT_EQ(host.Get("MousePointer").toInt(), row.pointer);
    EXPECT_EQ(host->testAttribute(Qt::WA_SetCursor), row.shape.has_value());
    if (row.shape) {
      EXPECT_EQ(host->cursor().shape(), *row.shape);
    }
    EXPECT_EQ(ErrorOf([&] { host.Let("MousePointer", 16); }).number(), 380);
    EXPECT_EQ(host.Get("MousePointer").toInt(), row.pointer) << "a refused value changes nothing";
  }
}

TEST(VitraneImage, ReadingSkipsAFailingKey) {
  automation::PropertyBag bag;
  bag.write("MaskColor", QStringLiteral("not a colour"));
  bag.write("TitleTop", 45);
  Host host(QStringLiteral("liAbout"));
  host->ReadProperties(bag);
  EXPECT_EQ(Color(host.Get("MaskColor")), 0xffffffu);
  EXPECT_EQ(host.Get("TitleTop").toInt(), 45);
}

// --- Style -------------------------------------------------------------------------

TEST(VitraneStyle, UntitledOnAFramedFormIsRefused) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Set("Picture", Pic(Art("MR|RR")));
  const automation::AutomationError error = ErrorOf([&] { host.Let("Style", VitraneParentUntitled); });
  EXPECT_EQ(error.number(), 380);
  EXPECT_EQ(error.description(),
            QStringLiteral("Style property of 'liAbout' can't be set to VitraneParentUntitled "
                           "at run time when the parent window has a border."));
  EXPECT_EQ(error.source(), QStringLiteral("Vitrane.VitraneImage"));
  EXPECT_EQ(host.Get("Style").toInt(), Normal);
}

TEST(VitraneStyle, UntitledWithACloseButtonIsRefused) {
  Host host(QStringLiteral("liAbout"));
  host.form().setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowCloseButtonHint);
  host->InitProperties();
  const automation::AutomationError error = ErrorOf([&] { host.Let("Style", VitraneParentUntitled); });
  EXPECT_EQ(error.number(), 380);
  EXPECT_EQ(error.description(),
            QStringLiteral("Style property of 'liAbout' can't be set to VitraneParentUntitled "
                           "when the parent window has a ControlBox."));
}

TEST(VitraneStyle, UntitledShapesTheFramelessForm) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  MakeFrameless(host.form());
  host->InitProperties();
  const QString art = QStringLiteral("MRRM|RRRR|MRRM");
  host.Set("Picture", Pic(Art(art)));
  host->move(5, 5);
  host.Let("Style", VitraneParentUntitled);
  EXPECT_EQ(host.Get("Style").toInt(), VitraneParentUntitled);
  EXPECT_EQ(host->pos(), QPoint(0, 0));
  EXPECT_EQ(host.form().mask(), PixelsOf(art, QStringLiteral("R")));
  EXPECT_TRUE(host.form().isEnabled());
  // Back to Normal gives the form its rectangle again.
  host.Let("Style", Normal);
  EXPECT_TRUE(host.form().mask().isEmpty());
}

TEST(VitraneStyle, TitledShapesTheClientAreaAndSizesTheForm) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  host->InitProperties();
  const QString art = QStringLiteral("MMRR|MRRR|RRRR");
  host.Set("Picture", Pic(Art(art)));
  host.Let("Style", VitraneParentTitled);
  EXPECT_EQ(host.form().size(), QSize(4, 3));
  EXPECT_EQ(host.form().mask(), PixelsOf(art, QStringLiteral("R")));
}

TEST(VitraneStyle, ARefusedChangeLeavesTheFormShaped) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  host->InitProperties();
  const QString art = QStringLiteral("RRM|RMM");
  host.Set("Picture", Pic(Art(art)));
  host.Let("Style", VitraneParentTitled);
  const QRegion shaped = host.form().mask();
  ASSERT_FALSE(shaped.isEmpty());
  EXPECT_EQ(ErrorOf([&] { host.Let("Style", VitraneParentUntitled); }).number(), 380);
  EXPECT_EQ(host.form().mask(), shaped);
  EXPECT_EQ(host.Get("Style").toInt(), VitraneParentTitled);
}

TEST(VitraneStyle, ASecondShapingControlIsRefused) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  host->InitProperties();
  host.Set("Picture", Pic(Art("RM|RR")));
  host.Let("Style", VitraneParentTitled);
  automation::ControlSite otherSite(QStringLiteral("liSecond"), &host.form());
  auto* other = new VitraneImage(&host.form());
  other->setSite(&otherSite);
  other->InitProperties();
  const automation::AutomationError error = ErrorOf([&] { other->LetStyle(VitraneParentTitled); });
  EXPECT_EQ(error.number(), 380);
  EXPECT_EQ(error.description(),
            QStringLiteral("Style property of 'liSecond' can't be set to VitraneParentTitled "
                           "because of 'liAbout' already has Style set to VitraneParent."));
  EXPECT_EQ(other->Style(), Normal);
  delete other;
}

TEST(VitraneStyle, EqualValueDoesNothing) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Let("Style", ParentClingingArea);
  host.Forget();
  host.Let("Style", ParentClingingArea);
  EXPECT_TRUE(host.changed.isEmpty());
}

TEST(VitraneStyle, AnAlignedControlStaysNormal) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  MakeFrameless(host.form());
  host->setProperty("Align", 1);
  host->InitProperties();
  host.Set("Picture", Pic(Art("RM|RR")));
  host.Let("Style", VitraneParentUntitled);
  EXPECT_EQ(host.Get("Style").toInt(), Normal);
  EXPECT_TRUE(host.form().mask().isEmpty());
  host.Let("AutoSize", ControlToPicture);
  EXPECT_EQ(host.Get("AutoSize").toInt(), None);
}

TEST(VitraneStyle, OnAContainerThatIsNoFormStaysNormal) {
  // Another hosted control (a user control) is the parent, not the form.
  QWidget form;
  auto* userControl = new VitraneImage(&form);
  automation::ControlSite site(QStringLiteral("liInner"), userControl);
  auto* control = new VitraneImage(userControl);
  control->setSite(&site);
  control->InitProperties();
  control->LetStyle(VitraneParentTitled);
  EXPECT_EQ(control->Style(), Normal);
  EXPECT_TRUE(form.mask().isEmpty());
}

TEST(VitraneStyle, MenuAtDesignTimeShowsItsBoxAndStaysNormal) {
  morvane::testing::FakeMessageBox boxes;
  SetMessageBoxService(&boxes);
  Host host(QStringLiteral("liAbout"));
  host.site().setAmbient(QStringLiteral("UserMode"), false);
  new QMenuBar(&host.form());
  host->InitProperties();
  host.Let("Style", VitraneParentTitled);
  SetMessageBoxService(nullptr);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(QString::fromStdString(boxes.shown[0].text), MenuConflictText());
  EXPECT_EQ(boxes.shown[0].caption, "VitraneImage");
  EXPECT_EQ(boxes.shown[0].style, 0x4010);
  EXPECT_EQ(host.Get("Style").toInt(), Normal);
}

TEST(VitraneStyle, CustomTitledShowsTheWholeCaption) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.form().setWindowTitle(QStringLiteral("Form1"));
  host.Let("ParentCaption", QStringLiteral("About Morvane"));
  host.Let("ParentTitleOffset", 6);
  host.Let("Style", ParentCustomTitled);
  EXPECT_EQ(host.form().windowTitle(), QStringLiteral("About Morvane"));
  // An empty caption takes the form's own.
  Host other(QStringLiteral("liOther"));
  other->InitProperties();
  other.form().setWindowTitle(QStringLiteral("Kept"));
  other.Let("Style", ParentCustomTitled);
  EXPECT_EQ(other.Get("ParentCaption").toString(), QStringLiteral("Kept"));
}

// --- the parent window's messages --------------------------------------------------

automation::PropertyBag CustomTitledBag(const QString& caption) {
  automation::PropertyBag bag;
  bag.write("Style", ParentCustomTitled);
  (void)caption;
  return bag;
}

TEST(VitraneWindow, EachControlFollowsItsOwnWindowOnce) {
  Host first(QStringLiteral("liFirst"));
  Host second(QStringLiteral("liSecond"));
  first->ReadProperties(CustomTitledBag({}));
  second->ReadProperties(CustomTitledBag({}));
  EXPECT_EQ(first->FollowedWindow(), &first.form());
  EXPECT_EQ(second->FollowedWindow(), &second.form());
  first.Let("ParentCaption", QStringLiteral("First"));
  second.Let("ParentCaption", QStringLiteral("Second"));
  // A title change by someone else is put right, on that form only, without recursion.
  first.form().setWindowTitle(QStringLiteral("changed"));
  EXPECT_EQ(first.form().windowTitle(), QStringLiteral("First"));
  EXPECT_EQ(second.form().windowTitle(), QString());
  second.form().setWindowTitle(QStringLiteral("other"));
  EXPECT_EQ(second.form().windowTitle(), QStringLiteral("Second"));
  EXPECT_EQ(first.form().windowTitle(), QStringLiteral("First"));
}

TEST(VitraneWindow, TwoControlsOnOneFormKeepTheirOwnFilters) {
  Host host(QStringLiteral("liFirst"));
  host->ReadProperties(CustomTitledBag({}));
  automation::ControlSite site(QStringLiteral("liSecond"), &host.form());
  auto* second = new VitraneImage(&host.form());
  second->setSite(&site);
  second->ReadProperties(automation::PropertyBag());
  EXPECT_EQ(second->FollowedWindow(), &host.form());
  delete second;  // its filter goes with it
  host.form().resize(77, 77);
  host.Let("ParentCaption", QStringLiteral("Still"));
  host.form().setWindowTitle(QStringLiteral("x"));
  EXPECT_EQ(host.form().windowTitle(), QStringLiteral("Still"));
}

TEST(VitraneWindow, UntitledFollowsNoWindow) {
  Host host(QStringLiteral("liAbout"));
  MakeFrameless(host.form());
  automation::PropertyBag bag;
  bag.write("Style", VitraneParentUntitled);
  host->ReadProperties(bag);
  EXPECT_EQ(host.Get("Style").toInt(), VitraneParentUntitled);
  EXPECT_EQ(host->FollowedWindow(), nullptr);
}

TEST(VitraneWindow, ActivationIsRemembered) {
  Host host(QStringLiteral("liAbout"));
  host->InitProperties();
  host.Call("WindowProcSimulation", {message::kActivate, 0x10000, 0});
  host.Call("WindowProcSimulation", {message::kActivate, 1, 0});
  SUCCEED();
}

// --- title drag --------------------------------------------------------------------

void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, QPoint global,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(local), QPointF(global),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(VitraneDrag, MovesTheWindowByTheMouseDelta) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  MakeFrameless(host.form());
  host.form().move(100, 100);
  host->InitProperties();
  host.Set("Picture", Pic(Art("RRRR|RRRR|RRRR|RRRR")));
  host.Let("Style", VitraneParentUntitled);
  host.Call("TitleArea", {0, 0, 60, 60});  // the top left 4 by 4 pixels
  SendMouse(&host.control(), QEvent::MouseButtonPress, {2, 2}, {102, 102}, Qt::LeftButton);
  SendMouse(&host.control(), QEvent::MouseMove, {2, 2}, {127, 137}, Qt::LeftButton);
  EXPECT_EQ(host.form().pos(), QPoint(125, 135));
  SendMouse(&host.control(), QEvent::MouseButtonRelease, {27, 37}, {127, 137}, Qt::NoButton);
  SendMouse(&host.control(), QEvent::MouseMove, {30, 30}, {200, 200}, Qt::NoButton);
  EXPECT_EQ(host.form().pos(), QPoint(125, 135));
  EXPECT_EQ(host.Count(eventid::MouseDown), 1);
  EXPECT_EQ(host.Count(eventid::MouseMove), 2);
  EXPECT_EQ(host.Count(eventid::MouseUp), 1);
}

TEST(VitraneDrag, OutsideTheTitleAreaNothingMoves) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  MakeFrameless(host.form());
  host.form().move(100, 100);
  host->InitProperties();
  host.Set("Picture", Pic(Art("RRRR|RRRR|RRRR|RRRR")));
  host.Let("Style", VitraneParentUntitled);
  host.Call("TitleArea", {0, 0, 15, 15});
  SendMouse(&host.control(), QEvent::MouseButtonPress, {3, 3}, {103, 103}, Qt::LeftButton);
  SendMouse(&host.control(), QEvent::MouseMove, {3, 3}, {150, 150}, Qt::LeftButton);
  EXPECT_EQ(host.form().pos(), QPoint(100, 100));
}

TEST(VitraneDrag, NormalStyleDoesNotDrag) {
  Host host(QStringLiteral("liAbout"), QSize(50, 50));
  host.form().move(100, 100);
  host->InitProperties();
  host.Set("Picture", Pic(Art("RR|RR")));
  SendMouse(&host.control(), QEvent::MouseButtonPress, {1, 1}, {101, 101}, Qt::LeftButton);
  SendMouse(&host.control(), QEvent::MouseMove, {1, 1}, {150, 150}, Qt::LeftButton);
  EXPECT_EQ(host.form().pos(), QPoint(100, 100));
}

// --- helpers -----------------------------------------------------------------------

TEST(VitraneHelpers, SystemFontsOfEachKind) {
  for (std::int16_t kind = 1; kind <= 5; ++kind) {
    const automation::FontRef font = GetSystemFont(kind);
    ASSERT_NE(font, nullptr) << kind;
    EXPECT_FALSE(font->name.isEmpty()) << kind;
    EXPECT_GT(font->size, 0) << kind;
    EXPECT_EQ(font->bold, font->weight > 550) << kind;
  }
  EXPECT_EQ(GetSystemFont(6), nullptr);
  EXPECT_EQ(GetSystemFont(0), nullptr);
}

TEST(VitraneHelpers, CutWindowRegionTakesTheCornerColourUnlessGiven) {
  QWidget window;
  const QString art = QStringLiteral("MMR|MRR|RRB");
  EXPECT_EQ(CutWindowRegion(&window, Art(art)), PixelsOf(art, QStringLiteral("RB")));
  EXPECT_EQ(window.mask(), PixelsOf(art, QStringLiteral("RB")));
  // Blue as a colour value is FF0000.
  EXPECT_EQ(CutWindowRegion(&window, Art(art), 0xff0000, true), PixelsOf(art, QStringLiteral("MR")));
  EXPECT_EQ(window.mask(), PixelsOf(art, QStringLiteral("RB")));  // not applied
  // A system colour counts as none given.
  EXPECT_EQ(CutWindowRegion(nullptr, Art(art), 0x8000000F, true), PixelsOf(art, QStringLiteral("RB")));
  EXPECT_FALSE(CutWindowRegion(&window, QImage()));
  EXPECT_EQ(window.mask(), PixelsOf(art, QStringLiteral("RB")));  // no picture changes nothing
}

TEST(VitraneHelpers, VersionIsTheLibraryVersionText) {
  Host host(QStringLiteral("liAbout"));
  EXPECT_FALSE(host.Get("Version").toString().isEmpty());
  EXPECT_EQ(host.Get("Version").toString(), LibraryVersion());
  EXPECT_EQ(LibraryVersion(), "2.03");  // this test's own version record, without a blank
}

}  // namespace
}  // namespace morvane::vitrane
