#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <set>
#include <vector>

#include "controls/scopel/scopel_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/control_events.h"
#include "platform/widgets/automation/handle_table.h"
#include "platform/widgets/automation/property_bag.h"
#include "platform/widgets/automation/variant_args.h"
#include "tests/controls/scopel/scopel_test_support.h"
#include "tests/support/drop_events.h"

namespace morvane::scopel::hosting {
namespace {

using automation::AutomationError;
using morvane::testing::DropSeen;
using morvane::testing::SendDrop;

class ScopelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RegisterScopel(), automation::kResultOk); }
};

int ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

TEST_F(ScopelTest, CreatedByClassIdAfterRegistrationAnd429AfterUnregistration) {
  {
    ScopelHost byId;
    ScopelHost byProgId(QSize(100, 100), nullptr, QString::fromLatin1(kProgId));
    EXPECT_EQ(byId.control().widget()->parentWidget(), &byId.form());
    EXPECT_EQ(CanUnloadScopel(), automation::kResultFalse) << "instances are alive";
  }
  EXPECT_EQ(CanUnloadScopel(), automation::kResultOk);

  void* object = nullptr;
  EXPECT_EQ(GetScopelClassObject("{00000000-0000-0000-0000-000000000000}",
                                 automation::kClassFactoryInterfaceId, &object),
            automation::kResultClassNotAvailable);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(GetScopelClassObject(kClassId, kDispatchInterfaceId, &object),
            automation::kResultNoInterface);
  EXPECT_EQ(GetScopelClassObject(kClassId, automation::kClassFactoryInterfaceId, nullptr),
            automation::kResultPointer);

  ASSERT_EQ(UnregisterScopel(), automation::kResultOk);
  for (const char* name : {kClassId, kProgId}) {
    EXPECT_EQ(ErrorOf([&] { ScopelHost host(QSize(100, 100), nullptr, QString::fromLatin1(name)); }),
              automation::kErrCannotCreateObject)
        << name;
  }
  // Not registered, but beside the program: found there.
  automation::ClassRegistry beside(automation::DefaultClassStore(), {BinaryFolder()});
  automation::Control* control = beside.create(QString::fromLatin1(kClassId));
  ASSERT_NE(control, nullptr);
  delete control->widget();
}

TEST_F(ScopelTest, EveryDispatchIdReachesItsMember) {
  ScopelHost host(QSize(300, 200));
  QImage picture = Gradient(40, 30);
  auto font = std::make_shared<automation::FontObject>();
  font->name = "DejaVu Sans";
  font->size = 20;

  struct Case {
    automation::DispId id;
    const char* name;
    std::function<void()> exercise;
  };
  auto roundTrip = [&](automation::DispId id, const QVariant& value) {
    return [&host, id, value] {
      host.Put(id, value);
      EXPECT_EQ(host.Get(id).toLongLong(), value.toLongLong());
    };
  };
  std::vector<Case> cases = {
      {dispid::AutoRedraw, "AutoRedraw",
       [&] {
         host.Put(dispid::AutoRedraw, false);
         EXPECT_FALSE(host.Get(dispid::AutoRedraw).toBool());
         host.Put(dispid::AutoRedraw, true);
       }},
      {dispid::BackColor, "BackColor", roundTrip(dispid::BackColor, 0x102030u)},
      {dispid::BackColorBkg, "BackColorBkg", roundTrip(dispid::BackColorBkg, 0x808080u)},
      {dispid::BorderStyle, "BorderStyle", roundTrip(dispid::BorderStyle, 7)},
      {dispid::DrawMode, "DrawMode",
       [&] {
         host.Put(dispid::DrawMode, 7);
         EXPECT_EQ(host.Get(dispid::DrawMode).toInt(), 7);
         host.Put(dispid::DrawMode, 13);
       }},
      {dispid::DrawStyle, "DrawStyle",
       [&] {
         host.Put(dispid::DrawStyle, 2);
         EXPECT_EQ(host.Get(dispid::DrawStyle).toInt(), 2);
         host.Put(dispid::DrawStyle, 0);
       }},
      {dispid::DrawWidth, "DrawWidth",
       [&] {
         host.Put(dispid::DrawWidth, 3);
         EXPECT_EQ(host.Get(dispid::DrawWidth).toInt(), 3);
         host.Put(dispid::DrawWidth, 1);
       }},
      {dispid::Enabled, "Enabled",
       [&] {
         host.Put(dispid::Enabled, false);
         EXPECT_FALSE(host.control().widget()->isEnabled());
         host.Put(dispid::Enabled, true);
         EXPECT_TRUE(host.Get(dispid::Enabled).toBool());
       }},
      {dispid::FillColor, "FillColor", roundTrip(dispid::FillColor, 0x123456u)},
      {dispid::FillStyle, "FillStyle",
       [&] {
         host.Put(dispid::FillStyle, 0);
         EXPECT_EQ(host.Get(dispid::FillStyle).toInt(), 0);
         host.Put(dispid::FillStyle, 1);
       }},
      {dispid::Font, "Font",
       [&] {
         host.Put(dispid::Font, QVariant::fromValue(font));
         EXPECT_NE(automation::FontOf(host.Get(dispid::Font)), font) << "let takes a copy";
         host.PutRef(dispid::Font, QVariant::fromValue(font));
         EXPECT_EQ(automation::FontOf(host.Get(dispid::Font)), font) << "set takes the object";
       }},
      {dispid::ForeColor, "ForeColor", roundTrip(dispid::ForeColor, kRed)},
      {dispid::GridColor, "GridColor", roundTrip(dispid::GridColor, kBlue)},
      {dispid::GridLines, "GridLines",
       [&] {
         host.Put(dispid::GridLines, false);
         EXPECT_FALSE(host.Get(dispid::GridLines).toBool());
         host.Put(dispid::GridLines, true);
       }},
      {dispid::MouseIcon, "MouseIcon",
       [&] {
         host.PutRef(dispid::MouseIcon, QVariant::fromValue(Gradient(16, 16)));
         EXPECT_EQ(automation::PictureOf(host.Get(dispid::MouseIcon)).size(), QSize(16, 16));
       }},
      {dispid::MousePointer, "MousePointer",
       [&] {
         host.Put(dispid::MousePointer, 99);
         EXPECT_EQ(host.Get(dispid::MousePointer).toInt(), 99);
         EXPECT_EQ(host.part("pbZoom")->cursor().shape(), Qt::BitmapCursor);
         host.Put(dispid::MousePointer, 2);
         EXPECT_EQ(host.part("pbZoom")->cursor().shape(), Qt::CrossCursor);
       }},
      {dispid::OLEDropMode, "OLEDropMode",
       [&] {
         host.Put(dispid::OLEDropMode, 1);
         EXPECT_TRUE(host.part("pbZoom")->acceptDrops());
         EXPECT_EQ(host.Get(dispid::OLEDropMode).toInt(), 1);
       }},
      {dispid::Picture, "Picture",
       [&] {
         host.PutRef(dispid::Picture, QVariant::fromValue(picture));
         EXPECT_EQ(automation::PictureOf(host.Get(dispid::Picture)).size(), QSize(40, 30));
         host.Put(dispid::Picture, QVariant::fromValue(picture));
         EXPECT_TRUE(host.part("pbZoom")->isVisible());
       }},
      {dispid::Zooming, "Zooming", roundTrip(dispid::Zooming, 2)},
      {dispid::Controls, "Controls",
       [&] {
         const QObjectList parts = host.Get(dispid::Controls).value<QObjectList>();
         QStringList names;
         for (QObject* o : parts) names << o->objectName();
         EXPECT_EQ(names,
                   (QStringList{"pbZoom", "pbZoomX", "sbZoomX", "pbZoomY", "sbZoomY", "tcScroll"}));
       }},
      {dispid::CurrentX, "CurrentX", roundTrip(dispid::CurrentX, 100)},
      {dispid::CurrentY, "CurrentY", roundTrip(dispid::CurrentY, 130)},
      {dispid::DrawImmadiately, "DrawImmadiately",
       [&] {
         EXPECT_TRUE(host.Get(dispid::DrawImmadiately).toBool());
         host.Put(dispid::DrawImmadiately, false);
         EXPECT_FALSE(host.Get(dispid::DrawImmadiately).toBool());
         host.Put(dispid::DrawImmadiately, true);
       }},
      {dispid::hDC, "hDC",
       [&] {
         const auto dc = automation::ToInt32(host.Get(dispid::hDC));
         EXPECT_NE(dc, 0);
         EXPECT_NE(automation::HandleTable::AddressOf(dc), nullptr);
         EXPECT_EQ(automation::HandleTable::ObjectOf(dc), nullptr);
       }},
      {dispid::hWnd, "hWnd",
       [&] {
         const auto wnd = automation::ToInt32(host.Get(dispid::hWnd));
         EXPECT_EQ(automation::HandleTable::ObjectOf(wnd), host.control().widget());
       }},
      {dispid::Image, "Image",
       [&] { EXPECT_EQ(automation::PictureOf(host.Get(dispid::Image)).size(), QSize(40, 30)); }},
      {dispid::ImageHeight, "ImageHeight",
       [&] { EXPECT_EQ(host.Get(dispid::ImageHeight).toInt(), 30 * 15); }},
      {dispid::ImageWidth, "ImageWidth",
       [&] { EXPECT_EQ(host.Get(dispid::ImageWidth).toInt(), 40 * 15); }},
      {dispid::ScrollX, "ScrollX",
       [&] {
         host.Put(dispid::ScrollX, 0);
         EXPECT_EQ(host.Get(dispid::ScrollX).toInt(), 0);
       }},
      {dispid::ScrollY, "ScrollY",
       [&] {
         host.Put(dispid::ScrollY, 0);
         EXPECT_EQ(host.Get(dispid::ScrollY).toInt(), 0);
       }},
      {dispid::Version, "Version", [&] { EXPECT_EQ(host.Get(dispid::Version).toString(), " 1.00"); }},
      {dispid::AboutBox, "AboutBox",
       [&] {
         QString caption, text;
         QTimer::singleShot(0, [&] {
           auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
           ASSERT_NE(box, nullptr);
           caption = box->windowTitle();
           text = box->text();
           EXPECT_FALSE(box->iconPixmap().isNull()) << "the library's own icon";
           EXPECT_EQ(box->buttons().size(), 1);
           box->accept();
         });
         host.Call(dispid::AboutBox);
         EXPECT_EQ(caption, "About Morvane");
         EXPECT_TRUE(text.startsWith("Scopel\r\nVersion 1.00\r\n")) << text.toStdString();
       }},
      {dispid::ClearGraphics, "ClearGraphics",
       [&] {
         host.Call(dispid::SetPoint, {QVariant(), 0, 0, kRed});
         host.Call(dispid::ClearGraphics);
         EXPECT_NE(automation::ToInt32(host.Call(dispid::GetPoint, {0, 0})),
                   static_cast<std::int32_t>(kRed));
       }},
      {dispid::DrawCircle, "DrawCircle",
       [&] {
         host.Call(dispid::DrawCircle, {QVariant(), 150, 150, 75, kGreen});
         EXPECT_EQ(automation::ToInt32(host.Call(dispid::GetPoint, {225, 150})),
                   static_cast<std::int32_t>(kGreen));
       }},
      {dispid::DrawLine, "DrawLine",
       [&] {
         host.Call(dispid::DrawLine, {QVariant(), 0, 300, QVariant(), 150, 300, kRed});
         EXPECT_EQ(automation::ToInt32(host.Call(dispid::GetPoint, {60, 300})),
                   static_cast<std::int32_t>(kRed));
       }},
      {dispid::GetPoint, "GetPoint",
       [&] {
         EXPECT_EQ(host.Call(dispid::GetPoint, {-15, 0}).toInt(), -1);
       }},
      {dispid::EnsureVisible, "EnsureVisible",
       [&] {
         host.Call(dispid::EnsureVisible, {0, 0});
       }},
      {dispid::LocateCursor, "LocateCursor",
       [&] {
         host.Call(dispid::LocateCursor, {15, 15});
       }},
      {dispid::PrintText, "PrintText",
       [&] {
         host.Put(dispid::CurrentY, 0);
         host.Call(dispid::PrintText, {"Hi"});
         EXPECT_GT(host.Get(dispid::CurrentY).toInt(), 0) << "a line end follows";
       }},
      {dispid::Refresh, "Refresh", [&] { host.Call(dispid::Refresh); }},
      {dispid::SetPoint, "SetPoint",
       [&] {
         EXPECT_TRUE(host.Call(dispid::SetPoint, {QVariant(), 15, 15, kBlue}).toBool());
       }},
      {dispid::TextHeight, "TextHeight",
       [&] {
         const int small = host.Call(dispid::TextHeight, {"Ag"}).toInt();
         font->size = 40;  // the object set above: the surface follows it
         EXPECT_GT(host.Call(dispid::TextHeight, {"Ag"}).toInt(), small);
       }},
      {dispid::TextWidth, "TextWidth",
       [&] {
         EXPECT_GT(host.Call(dispid::TextWidth, {"WW"}).toInt(),
                   host.Call(dispid::TextWidth, {"W"}).toInt());
       }},
  };
  std::set<automation::DispId> seen;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(host.control().idOfName(QString::fromLatin1(c.name)), c.id);
    seen.insert(c.id);
    c.exercise();
  }
  EXPECT_EQ(seen.size(), 43u) << "one case per member";

  // Kinds a member lacks and ids the interface lacks raise 438.
  EXPECT_EQ(ErrorOf([&] { host.Put(dispid::ImageWidth, 1); }), automation::kErrNoSuchMember);
  EXPECT_EQ(ErrorOf([&] { host.Get(dispid::Refresh); }), automation::kErrNoSuchMember);
  EXPECT_EQ(ErrorOf([&] { host.PutRef(dispid::Zooming, 1); }), automation::kErrNoSuchMember);
  EXPECT_EQ(ErrorOf([&] { host.Get(12345); }), automation::kErrNoSuchMember);
  // Values narrowed to 16 bits overflow; values the constituent refuses are 380.
  EXPECT_EQ(ErrorOf([&] { host.Put(dispid::MousePointer, 40000); }), automation::kErrOverflow);
  EXPECT_EQ(ErrorOf([&] { host.Put(dispid::DrawMode, 0); }), automation::kErrInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { host.Put(dispid::Zooming, "x"); }), automation::kErrTypeMismatch);
}

TEST_F(ScopelTest, MouseEventsArriveInImageTwips) {
  struct Case {
    int zoom;
    std::int32_t scrollPixels;  // image pixels scrolled at the left
    double viewX;               // viewport pixels
    float imageX;
  };
  const std::vector<Case> cases = {
      {1, 0, 0, 0},  {1, 0, 10, 150}, {1, 0, 10.5, 158}, {3, 0, 3, 15},
      {3, 0, 5, 25}, {3, 2, 0, 30},   {4, 0, 40, 150},   {4, 0, 43.9, 164},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << " x " << c.viewX);
    ScopelHost host(QSize(200, 200));
    host.Put(dispid::Picture, QVariant::fromValue(Gradient(300, 300)));
    host.Put(dispid::Zooming, c.zoom);
    if (c.scrollPixels > 0) {
      // Scroll one arrow step at a time: each moves by exactly one image pixel.
      auto* bar = static_cast<QScrollBar*>(host.part("sbZoomX"));
      for (int i = 0; i < c.scrollPixels; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    QWidget* viewport = host.part("pbZoom");
    const QPointF pos(c.viewX, 7);
    QMouseEvent press(QEvent::MouseButtonPress, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(viewport, &press);
    ASSERT_FALSE(host.events.empty());
    const auto& e = host.events.back();
    EXPECT_EQ(e.id, eventid::MouseDown);
    EXPECT_EQ(e.args[0].toInt(), 1);
    EXPECT_EQ(e.args[1].toInt(), 1);
    EXPECT_EQ(e.args[2].toFloat(), c.imageX);
  }
}

TEST_F(ScopelTest, KeyAndClickEventsPassThrough) {
  ScopelHost host(QSize(200, 200));
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(20, 20)));
  QWidget* viewport = host.part("pbZoom");
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Left, Qt::ControlModifier);
  QApplication::sendEvent(viewport, &key);
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(viewport, &typed);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), viewport->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  std::vector<automation::DispId> ids;
  for (const auto& e : host.events) ids.push_back(e.id);
  EXPECT_EQ(ids, (std::vector<automation::DispId>{eventid::KeyDown, eventid::KeyDown, eventid::KeyPress,
                                                  eventid::MouseUp, eventid::Click}));
  EXPECT_EQ(host.events[0].args[0].toInt(), 37);
  EXPECT_EQ(host.events[0].args[1].toInt(), 2);
  EXPECT_EQ(host.events[2].args[0].toInt(), 'a');
}

TEST_F(ScopelTest, FileDroppedOnTheViewportReachesTheHostAndItsEffectTheSource) {
  ScopelHost host(QSize(200, 200));
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(20, 20)));
  host.Put(dispid::OLEDropMode, 1);
  QWidget* viewport = host.part("pbZoom");
  for (const std::int32_t answer : {automation::kDropEffectCopy, automation::kDropEffectNone}) {
    SCOPED_TRACE(answer);
    host.events.clear();
    host.handler = [answer](automation::DispId id, QVariantList& args) {
      if (id == eventid::OLEDragOver) args[1] = automation::kDropEffectCopy;
      if (id == eventid::OLEDragDrop) args[1] = answer;
    };
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/tmp/map one.htm")});
    const DropSeen seen = SendDrop(viewport, mime, QPoint(4, 6), Qt::CopyAction | Qt::MoveAction);
    EXPECT_TRUE(seen.entryAccepted);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].id, eventid::OLEDragOver);
    EXPECT_EQ(host.events[0].args[6].toInt(), automation::kDragEnter);
    const auto& e = host.events[1];
    EXPECT_EQ(e.id, eventid::OLEDragDrop);
    const auto data = e.args[0].value<automation::DataObject>();
    EXPECT_TRUE(data.GetFormat(automation::kFormatFiles));
    EXPECT_EQ(data.Files(), QStringList{"/tmp/map one.htm"});
    EXPECT_EQ(e.args[4].toFloat(), 60.0f) << "drop coordinates stay in the viewport's twips";
    EXPECT_EQ(e.args[5].toFloat(), 90.0f);
    EXPECT_EQ(seen.dropAccepted, answer != automation::kDropEffectNone);
    if (answer == automation::kDropEffectCopy) {
      EXPECT_EQ(seen.action, Qt::CopyAction);
    }
  }
  // With drops switched off nothing is raised.
  host.Put(dispid::OLEDropMode, 0);
  host.events.clear();
  QMimeData mime;
  QDragEnterEvent enter(QPoint(4, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_FALSE(enter.isAccepted());
  EXPECT_TRUE(host.events.empty());
}

TEST_F(ScopelTest, MagnifiedRedrawOfTenByTenAtZoomFourWithGridIsPixelExact) {
  ScopelHost host(QSize(300, 300));
  const QImage picture = Gradient(10, 10);
  host.Put(dispid::GridColor, kBlue);
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::GridLines, true);
  host.Put(dispid::Picture, QVariant::fromValue(picture));
  const QImage view = ViewOf(host);
  ASSERT_EQ(view.size(), QSize(40, 40));  // 600 x 600 twips
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      // Grid lines at 45, 105, ... 585 twips: the last pixel of each cell.
      const bool gridLine = x % 4 == 3 || y % 4 == 3;
      const QRgb expected = gridLine ? kBlueRgb : picture.pixel(x / 4, y / 4);
      ASSERT_EQ(view.pixel(x, y), expected) << x << "," << y;
    }
  }
  // Zoom 2 never shows the grid; zoom 3 does.
  host.Put(dispid::Zooming, 2);
  EXPECT_EQ(ViewOf(host).pixel(1, 1), picture.pixel(0, 0));
  host.Put(dispid::Zooming, 3);
  EXPECT_EQ(ViewOf(host).pixel(2, 0), kBlueRgb);
  // Without grid lines every pixel is the image's.
  host.Put(dispid::GridLines, false);
  EXPECT_EQ(ViewOf(host).pixel(2, 0), picture.pixel(0, 0));
}

TEST_F(ScopelTest, ScrollBarsAppearAndHideWithSize) {
  ScopelHost host(QSize(1000, 400));
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(200, 50)));  // 800 x 200 magnified
  QWidget* control = host.control().widget();
  struct Case {
    QSize size;
    bool horizontal, vertical;
  };
  for (const Case& c : std::vector<Case>{{{1000, 400}, false, false},
                                         {{600, 400}, true, false},
                                         {{600, 150}, true, true},
                                         {{900, 150}, false, true},
                                         {{1000, 400}, false, false}}) {
    SCOPED_TRACE(::testing::Message() << c.size.width() << "x" << c.size.height());
    control->resize(c.size);
    EXPECT_EQ(host.part("pbZoomX")->isVisible(), c.horizontal);
    EXPECT_EQ(host.part("pbZoomY")->isVisible(), c.vertical);
    if (!c.horizontal) {
      EXPECT_EQ(static_cast<QScrollBar*>(host.part("sbZoomX"))->value(), 0);
      EXPECT_EQ(host.Get(dispid::ScrollX).toInt(), 0);
    }
    // The viewport holds whole cells and never more than the image.
    const QSize vp = host.part("pbZoom")->size();
    EXPECT_EQ(vp.width() % 4, 0);
    EXPECT_LE(vp.width(), 800);
    EXPECT_LE(vp.height(), 200);
  }
  EXPECT_EQ(static_cast<QScrollBar*>(host.part("sbZoomX"))->maximum(), 800);
}

TEST_F(ScopelTest, ScrollPositionSurvivesReadAndWriteBackAtZoomFour) {
  ScopelHost host(QSize(400, 300));
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(300, 300)));
  host.Put(dispid::ScrollX, 1500);
  host.Put(dispid::ScrollY, 900);
  const QImage before = ViewOf(host);
  const QVariant x = host.Get(dispid::ScrollX);
  const QVariant y = host.Get(dispid::ScrollY);
  EXPECT_EQ(x.toInt(), 1500);
  EXPECT_EQ(y.toInt(), 900);
  host.Put(dispid::ScrollX, x);
  host.Put(dispid::ScrollY, y);
  EXPECT_EQ(host.Get(dispid::ScrollX), x);
  EXPECT_EQ(ViewOf(host), before);
  // Changing the zoom keeps the left column too.
  const int left = host.part("pbZoom")->grab().toImage().pixel(0, 0);
  host.Put(dispid::Zooming, 6);
  EXPECT_EQ(static_cast<int>(ViewOf(host).pixel(0, 0)), left);
}

TEST_F(ScopelTest, PropertyBagRoundTripIntoAFreshInstanceSkipsABadKey) {
  auto font = std::make_shared<automation::FontObject>();
  font->name = "DejaVu Sans";
  font->size = 12;
  font->bold = true;
  font->weight = 700;
  const QImage picture = Gradient(12, 9);
  const QImage icon = Gradient(8, 8);
  const std::vector<std::pair<automation::DispId, QVariant>> values = {
      {dispid::AutoRedraw, false},    {dispid::BackColor, 0x00FF00u}, {dispid::BackColorBkg, 0x808080u},
      {dispid::BorderStyle, 2},       {dispid::DrawMode, 7},          {dispid::DrawStyle, 2},
      {dispid::FillColor, 0x123456u}, {dispid::FillStyle, 4},         {dispid::ForeColor, kRed},
      {dispid::GridColor, 0x00FFFFu}, {dispid::GridLines, false},     {dispid::MousePointer, 2},
      {dispid::OLEDropMode, 1},       {dispid::Zooming, 3},           {dispid::Enabled, false},
  };
  QByteArray json;
  {
    ScopelHost first(QSize(300, 200));
    for (const auto& [id, value] : values) first.Put(id, value);
    first.Put(dispid::DrawWidth, 3);
    first.Put(dispid::Font, QVariant::fromValue(font));
    first.PutRef(dispid::MouseIcon, QVariant::fromValue(icon));
    first.Put(dispid::Picture, QVariant::fromValue(picture));
    automation::PropertyBag bag;
    first.control().WriteProperties(bag);
    EXPECT_EQ(
        bag.keys(),
        (QStringList{"AutoRedraw", "BackColor", "BackColorBkg", "BorderStyle", "DrawMode", "DrawStyle",
                     "DrawWidth", "Enabled", "FillColor", "FillStyle", "Font", "ForeColor", "GridColor",
                     "GridLines", "MouseIcon", "MousePointer", "OLEDropMode", "Picture", "Zooming"}));
    EXPECT_TRUE(first.changed.contains("Zooming"));
    json = QJsonDocument(bag.toJson()).toJson();
  }
  // One unreadable entry.
  QJsonArray entries = QJsonDocument::fromJson(json).array();
  for (int i = 0; i < entries.size(); ++i) {
    if (entries[i].toArray().at(0).toString() == "DrawWidth")
      entries[i] = QJsonArray{"DrawWidth", "wide"};
  }
  const std::optional<automation::PropertyBag> bag = automation::PropertyBag::fromJson(entries);
  ASSERT_TRUE(bag.has_value());

  ScopelHost second(QSize(300, 200), &*bag);
  for (const auto& [id, value] : values) {
    SCOPED_TRACE(::testing::Message() << "id " << id);
    EXPECT_EQ(second.Get(id).toLongLong(), value.toLongLong());
  }
  EXPECT_EQ(second.Get(dispid::DrawWidth).toInt(), 1) << "the bad key leaves the design value";
  const auto restoredFont = automation::FontOf(second.Get(dispid::Font));
  ASSERT_TRUE(restoredFont);
  EXPECT_EQ(*restoredFont, *font);
  EXPECT_EQ(automation::PictureOf(second.Get(dispid::MouseIcon)), icon);
  EXPECT_EQ(automation::PictureOf(second.Get(dispid::Picture)), picture);
  EXPECT_TRUE(second.changed.isEmpty()) << "restoring is no change";
  EXPECT_EQ(second.part("pbZoom")->property("HelpContextID").toInt(), 4711);
}

TEST_F(ScopelTest, StoredZoomBelowOneReadsAsOne) {
  automation::PropertyBag bag;
  bag.write("Zooming", 0);
  ScopelHost host(QSize(100, 100), &bag);
  EXPECT_EQ(host.Get(dispid::Zooming).toInt(), 1);
}

TEST_F(ScopelTest, NothingOrAnEmptyPictureHidesTheViewAndResetsIt) {
  for (const QVariant& none : {QVariant(), QVariant::fromValue(QImage())}) {
    ScopelHost host(QSize(200, 200));
    host.Put(dispid::Zooming, 4);
    host.Put(dispid::Picture, QVariant::fromValue(Gradient(200, 200)));
    host.Put(dispid::ScrollX, 3000);
    ASSERT_GT(host.Get(dispid::ScrollX).toInt(), 0);
    host.PutRef(dispid::Picture, none);
    EXPECT_FALSE(host.Get(dispid::Picture).isValid());
    EXPECT_FALSE(host.part("pbZoom")->isVisible());
    EXPECT_EQ(host.part("pbZoom")->size(), QSize(0, 0));
    EXPECT_EQ(host.Get(dispid::ImageWidth).toInt(), 0);
    EXPECT_FALSE(host.part("pbZoomX")->isVisible());
    host.Put(dispid::Picture, QVariant::fromValue(Gradient(200, 200)));
    EXPECT_EQ(host.Get(dispid::ScrollX).toInt(), 0) << "a new picture starts at its top left";
  }
}

TEST_F(ScopelTest, UnchangedGridSettingsNeitherRepaintNorMarkChanged) {
  ScopelHost host(QSize(200, 200));
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(20, 20)));
  host.Put(dispid::GridColor, kBlue);
  host.Put(dispid::GridLines, true);
  host.changed.clear();
  host.Call(dispid::SetPoint, {QVariant(), 0, 0, kRed});  // shows until the next redraw
  host.Put(dispid::GridColor, kBlue);
  host.Put(dispid::GridLines, true);
  EXPECT_TRUE(host.changed.isEmpty());
  EXPECT_EQ(ViewOf(host).pixel(0, 0), kRedRgb) << "no redraw happened";
  host.Put(dispid::GridColor, kGreen);
  EXPECT_EQ(host.changed, QStringList{"GridColor"});
  EXPECT_EQ(ViewOf(host).pixel(3, 0), 0xff00ff00u);
}

TEST_F(ScopelTest, MovesOverTheControlAndDropsOnTheStripsUseTheControlsFrame) {
  ScopelHost host(QSize(300, 200));
  host.Put(dispid::Zooming, 2);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(100, 50)));  // 200 x 100: room right and below
  host.Put(dispid::OLEDropMode, 1);
  QWidget* control = host.control().widget();
  const QPointF outside(250, 150);
  QMouseEvent move(QEvent::MouseMove, outside, control->mapToGlobal(outside), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(control, &move);
  ASSERT_FALSE(host.events.empty());
  EXPECT_EQ(host.events.back().id, eventid::MouseMove);
  EXPECT_EQ(host.events.back().args[2].toFloat(), 250 * 15 / 2);  // converted like the viewport's

  // A drop on the horizontal strip arrives shifted by the strip's position, in twips.
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(400, 50)));  // wider than the control
  QWidget* strip = host.part("pbZoomX");
  ASSERT_TRUE(strip->isVisible());
  host.events.clear();
  QMimeData mime;
  mime.setText("x");
  QDragEnterEvent enter(QPoint(2, 3), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(strip, &enter);
  ASSERT_EQ(host.events.size(), 1u);
  EXPECT_EQ(host.events[0].args[4].toFloat(), (strip->x() + 2) * 15.0f);
  EXPECT_EQ(host.events[0].args[5].toFloat(), (strip->y() + 3) * 15.0f);
}

TEST_F(ScopelTest, NewInstanceDefaults) {
  ScopelHost host(QSize(200, 200));
  EXPECT_EQ(host.Get(dispid::Zooming).toInt(), 1);
  EXPECT_TRUE(host.Get(dispid::GridLines).toBool());
  EXPECT_TRUE(host.Get(dispid::DrawImmadiately).toBool());
  EXPECT_FALSE(host.Get(dispid::Picture).isValid());
  EXPECT_EQ(host.Get(dispid::ImageWidth).toInt(), 0);
  EXPECT_FALSE(host.part("pbZoomX")->isVisible());
  EXPECT_FALSE(host.part("pbZoom")->isVisible());
  EXPECT_EQ(host.part("pbZoom")->size(), QSize(0, 0));
}

TEST_F(ScopelTest, RedrawLeavesTheHostsPointerEnabledStateAndFocusAlone) {
  ScopelHost host(QSize(200, 200));
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(30, 30)));
  host.Put(dispid::MousePointer, 2);
  QWidget* viewport = host.part("pbZoom");
  QApplication::setActiveWindow(&host.form());
  viewport->setFocus();
  const bool focused = viewport->hasFocus();
  host.Call(dispid::Refresh);
  host.Put(dispid::GridLines, false);
  EXPECT_EQ(host.Get(dispid::MousePointer).toInt(), 2);
  EXPECT_EQ(viewport->cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(viewport->hasFocus(), focused);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy pointer is gone after the redraw";
  host.Put(dispid::Enabled, false);
  host.Call(dispid::Refresh);
  EXPECT_FALSE(host.Get(dispid::Enabled).toBool()) << "a redraw never enables a disabled control";
}

TEST_F(ScopelTest, FocusGoesBackToTheViewportAfterTheBarMoved) {
  ScopelHost host(QSize(200, 200));
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(200, 200)));
  QApplication::setActiveWindow(&host.form());
  auto* bar = static_cast<QScrollBar*>(host.part("sbZoomX"));
  bar->setFocus();
  ASSERT_TRUE(bar->hasFocus());
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QElapsedTimer wait;
  wait.start();
  while (!host.part("pbZoom")->hasFocus() && wait.elapsed() < 2000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(host.part("pbZoom")->hasFocus());
  EXPECT_GT(host.Get(dispid::ScrollX).toInt(), 0);
}

TEST_F(ScopelTest, AHostsScrollWriteLeavesTheFocusWhereTheHostPutIt) {
  // The magnifier click sets ScrollX and ScrollY and then gives the tree the focus;
  // only a bar the user worked gives the focus back to the viewport.
  ScopelHost host(QSize(200, 200));
  auto* tree = new QLineEdit(&host.form());
  tree->setGeometry(0, 210, 50, 20);
  tree->show();
  host.Put(dispid::Zooming, 4);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(200, 200)));
  QApplication::setActiveWindow(&host.form());
  tree->setFocus();
  ASSERT_TRUE(tree->hasFocus());
  host.Put(dispid::ScrollX, 1500);
  host.Put(dispid::ScrollY, 1500);
  ASSERT_GT(host.Get(dispid::ScrollX).toInt(), 0);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(100, 100)));  // scrolls home first
  QElapsedTimer wait;
  wait.start();
  while (wait.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(tree->hasFocus());
  const auto* timer = host.control().widget()->findChild<QTimer*>("tcScroll");
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());
}

TEST_F(ScopelTest, BorderStyleKeepsTheWorkspaceColourAndLocateCursorMeasuresFromTheViewport) {
  ScopelHost host(QSize(300, 300));
  host.Put(dispid::BackColorBkg, 0x404040u);
  host.Put(dispid::BorderStyle, Flat);
  host.Put(dispid::BorderStyle, ThreeD);
  EXPECT_EQ(host.Get(dispid::BackColorBkg).toUInt(), 0x404040u);
  host.Put(dispid::BorderStyle, 9);  // stored, no change of look
  EXPECT_EQ(host.Get(dispid::BorderStyle).toInt(), 9);
  host.Put(dispid::BorderStyle, ThreeD);
  host.Put(dispid::Zooming, 8);
  host.Put(dispid::Picture, QVariant::fromValue(Gradient(20, 20)));
  QWidget* viewport = host.part("pbZoom");
  EXPECT_EQ(viewport->pos(), QPoint(2, 2)) << "the viewport sits inside the border";
  host.Call(dispid::LocateCursor, {2 * 15, 3 * 15});
  // The cell's fifth pixel, counted from the viewport's own top left.
  EXPECT_EQ(QCursor::pos(), viewport->mapToGlobal(QPoint(2 * 8 + 4, 3 * 8 + 4)));
}

}  // namespace
}  // namespace morvane::scopel::hosting
