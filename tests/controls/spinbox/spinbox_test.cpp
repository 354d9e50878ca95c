#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

#include "controls/kit/control_kit.h"
#include "platform/widgets/automation/control_events.h"
#include "controls/spinbox/spinbox.h"
#include "controls/spinbox/spinbox_typelib.h"
#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/variant_args.h"
#include "tests/support/fake_services.h"
#include "tests/support/drop_events.h"
#include "tests/support/hosted_control.h"

namespace morvane::spinbox {
namespace {

using automation::AutomationError;
using automation::ControlSite;
using automation::FunctionSink;
using automation::PropertyBag;
using kit::TextWidthTwips;
using kit::VersionText;
using morvane::testing::SendDrop;

// A spin box on a host form, with its events and announcements recorded.
struct Hosted : testing::HostedControl<SpinBox> {
  SpinBox* box = &control();

  Hosted(std::int16_t min, std::int16_t max) : HostedControl(QStringLiteral("sbDigits")) {
    box->LetMin(-32768);
    box->LetMax(max);
    box->LetMin(min);
    Forget();
  }
  int changes() const { return Count(eventid::Change); }
  QString text() const { return box->textBox()->text(); }
};

TEST(SpinBox, TypedTextIsReadClampedAndRewritten) {
  const QString huge = QString(400, QLatin1Char('9'));
  const struct {
    std::int16_t min, max;
    QString typed;
    QString after;
  } cases[] = {
      {1, 6, "", "1"},
      {-5, 5, "", "0"},
      {-5, 5, "abc", "0"},
      {1, 6, "  3", "3"},
      {1, 6, "+4", "4"},
      {-5, 5, "-3", "-3"},
      {-5, 5, " -3x", "-3"},
      {-5, 5, "- 3", "0"},
      {1, 6, "-5", "1"},
      {0, 100, "12abc", "12"},
      {0, 100, "1e5", "1"},
      {0, 100, "2.5", "2"},
      {0, 100, "3.5", "4"},
      {0, 100, ".5", "0"},
      {-5, 5, "-2.5", "-2"},
      {0, 100, "7.", "7"},
      {1, 6, "99999999999999999999", "6"},
      {1, 6, "-99999999999999999999", "1"},
      {1, 6, huge, "6"},
      {1, 6, "-" + huge, "1"},
      {-32768, 32767, "4294967296", "32767"},
      {5, 3, "4", "3"},
      {5, 3, "100", "3"},
      {5, 3, "-100", "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.left(30).toStdString() + " in " + std::to_string(c.min) + ".." +
                 std::to_string(c.max));
    Hosted h(c.min, c.max);
    h.box->textBox()->setText(QStringLiteral("x"));  // so that the typed text is a change
    h.box->textBox()->setText(c.typed);
    EXPECT_EQ(h.text(), c.after);
    EXPECT_EQ(h.box->Value(), c.after.toInt());
    EXPECT_EQ(h.box->scrollBar()->value(), c.min + c.max - c.after.toInt()) << "the bar runs inverted";
  }
}

TEST(SpinBox, WrittenValuesAreClampedAndMoveTheBar) {
  const struct {
    std::int16_t min, max;
    QVariant written;
    QString text;
    int position;
  } cases[] = {
      {1, 6, 100, "6", 1},    {1, 6, -5, "1", 6}, {1, 6, 4, "4", 3},      {1, 6, 2.5, "2", 5},
      {1, 6, 1e12, "6", 1},  // any size of number is clamped, not an overflow
      {1, 6, -1e300, "1", 6}, {5, 3, 4, "3", 5},  {5, 3, -40000, "3", 5}, {5, 3, 40000, "3", 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written.toString().toStdString());
    Hosted h(c.min, c.max);
    h.box->put(dispid::Value, c.written);
    EXPECT_EQ(h.text(), c.text);
    EXPECT_EQ(h.box->get(dispid::Value).toInt(), c.text.toInt());
    EXPECT_EQ(h.box->scrollBar()->value(), c.position);
    EXPECT_EQ(h.box->get(dispid::Min).toInt(), c.min) << "Min > Max is kept as written";
    EXPECT_EQ(h.box->get(dispid::Max).toInt(), c.max);
  }
}

TEST(SpinBox, ChangeEventsFollowEachChangeOfTheText) {
  Hosted h(1, 6);
  h.box->LetValue(6);
  h.Forget();
  // Typing 7 after the 6 gives 67, rewritten to 6: the host sees two changes.
  h.box->textBox()->setCursorPosition(1);
  QTest::keyClick(h.box->textBox(), Qt::Key_7);
  EXPECT_EQ(h.text(), "6");
  EXPECT_EQ(h.changes(), 2);

  h.Forget();
  h.box->LetValue(6);  // unchanged
  EXPECT_EQ(h.changes(), 0);
  EXPECT_EQ(h.changed, QStringList{"Value"}) << "a write announces, changed or not";
  h.box->LetValue(3);
  EXPECT_EQ(h.changes(), 1);

  // An edit that needs no correction is one change.
  Hosted wide(0, 100);
  wide.box->LetValue(1);
  wide.Forget();
  wide.box->textBox()->setCursorPosition(1);
  QTest::keyClick(wide.box->textBox(), Qt::Key_2);
  EXPECT_EQ(wide.text(), "12");
  EXPECT_EQ(wide.changes(), 1);
  EXPECT_EQ(wide.box->textBox()->cursorPosition(), 2) << "a canonical text is not rewritten";

  // Deleting the whole text of a 1..6 box leaves 1.
  h.box->textBox()->selectAll();
  QTest::keyClick(h.box->textBox(), Qt::Key_Delete);
  EXPECT_EQ(h.text(), "1");
}

TEST(SpinBox, ARangeThatMovesTheValueRaisesOneChange) {
  // Min or Max written past the value moves it once: one new text, one Change, and the
  // bar at its inverted place. A range that keeps the value raises none.
  const struct {
    const char* what;
    bool setMin;
    std::int16_t bound;
    QString text;
    int changes;
    int position;
  } cases[] = {
      {"Min above the value", true, 70, "70", 1, 100 + 70 - 70},
      {"Min above Max", true, 200, "100", 1, 100 + 200 - 100},
      {"Max below the value", false, 30, "30", 1, 30 + 0 - 30},
      {"Max below Min", false, -20, "-20", 1, 0 - 20 + 20},
      {"Max that keeps the value", false, 90, "50", 0, 90 + 0 - 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Hosted h(0, 100);
    h.box->LetValue(50);
    h.Forget();
    if (c.setMin) {
      h.box->LetMin(c.bound);
    } else {
      h.box->LetMax(c.bound);
    }
    EXPECT_EQ(h.text(), c.text);
    EXPECT_EQ(h.changes(), c.changes);
    EXPECT_EQ(h.box->scrollBar()->value(), c.position);
  }
}

TEST(SpinBox, AHostsErrorNeverUnwindsThroughQtsEventDispatch) {
  // Typing, the bar's arrows and Alt+Down reach the host as Change events and as the
  // Value announcement; a host whose handlers fail sees its errors reported, and the
  // control goes on with the corrected text.
  std::vector<int> reported;
  automation::SetErrorHandler([&](const AutomationError& e) { reported.push_back(e.number()); });
  Hosted h(1, 6);
  h.box->LetValue(3);
  h.site().setChangedHandler(
      [](const QString&) { throw AutomationError(automation::kErrInvalidPropertyValue); });
  FunctionSink failing(
      [](automation::DispId, QVariantList&) { throw std::runtime_error("host failed"); });
  h.box->events().advise(&failing);
  EXPECT_NO_THROW(QTest::keyClick(h.box->textBox(), Qt::Key_9));
  EXPECT_EQ(h.text(), "6");
  EXPECT_NO_THROW(h.box->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd));
  EXPECT_EQ(h.text(), "5");
  EXPECT_NO_THROW(QTest::keyClick(h.box->textBox(), Qt::Key_Down, Qt::AltModifier));
  EXPECT_EQ(h.text(), "6");
  EXPECT_FALSE(reported.empty());
  // A host's own write still hears of its failure.
  EXPECT_THROW(h.box->put(dispid::Value, 2), AutomationError);
  automation::SetErrorHandler({});
}

TEST(SpinBox, BarArrowsRaiseAndLowerTheValue) {
  Hosted h(1, 6);
  h.box->LetValue(3);
  h.Forget();
  h.box->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the upper arrow
  EXPECT_EQ(h.text(), "4");
  EXPECT_EQ(h.changes(), 1);
  h.box->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  h.box->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(h.text(), "2");
  for (int i = 0; i < 10; ++i) h.box->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(h.text(), "6");
}

TEST(SpinBox, AltArrowsStepTheValueByTheSmallChange) {
  const struct {
    std::int16_t min, max, step;
    int start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString after;
  } cases[] = {
      {1, 6, 1, 3, Qt::Key_Up, Qt::AltModifier, "2"},  // Alt+Up lowers, unlike the upper arrow
      {1, 6, 1, 3, Qt::Key_Down, Qt::AltModifier, "4"},
      {1, 6, 1, 1, Qt::Key_Up, Qt::AltModifier, "1"},  // Min - 1 is clamped back
      {1, 6, 1, 6, Qt::Key_Down, Qt::AltModifier, "6"},
      {0, 100, 10, 55, Qt::Key_Up, Qt::AltModifier, "45"},
      {0, 100, 10, 95, Qt::Key_Down, Qt::AltModifier, "100"},
      {1, 6, 1, 3, Qt::Key_Up, Qt::AltModifier | Qt::ControlModifier, "2"},
      {1, 6, 1, 3, Qt::Key_Up, Qt::NoModifier, "3"},
      {1, 6, 1, 3, Qt::Key_Down, Qt::ShiftModifier, "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after.toStdString());
    Hosted h(c.min, c.max);
    h.box->LetSmallChange(c.step);
    h.box->LetValue(c.start);
    h.Forget();
    QTest::keyClick(h.box->textBox(), c.key, c.modifiers);
    EXPECT_EQ(h.text(), c.after);
    ASSERT_FALSE(h.events.empty());
    EXPECT_EQ(h.events.back().id, eventid::KeyUp);
    // KeyDown of the arrow (after those of the modifier keys), with the key code and
    // the shift state.
    const auto down = std::find_if(h.events.rbegin(), h.events.rend(),
                                   [](const auto& e) { return e.id == eventid::KeyDown; });
    ASSERT_NE(down, h.events.rend());
    EXPECT_EQ(down->args.value(0).toInt(), c.key == Qt::Key_Up ? 38 : 40);
    EXPECT_EQ(down->args.value(1).toInt(), automation::ShiftMask(c.modifiers));
  }
}

TEST(SpinBox, CtrlAWithOrWithoutShiftSelectsTheWholeText) {
  for (Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
    Hosted h(0, 1000);
    h.box->LetValue(123);
    h.box->textBox()->setCursorPosition(1);
    QTest::keyClick(h.box->textBox(), Qt::Key_A, modifiers);
    EXPECT_EQ(h.box->SelStart(), 0);
    EXPECT_EQ(h.box->SelLength(), 3);
    EXPECT_EQ(h.text(), "123");
  }
}

// Right-clicks the text box as the window system does: the press, then the menu request.
// Returns whether the text box's own menu opened.
bool RightClick(SpinBox& box, Qt::KeyboardModifiers modifiers) {
  QLineEdit* edit = box.textBox();
  bool opened = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      opened = qobject_cast<QMenu*>(popup) != nullptr;
      popup->close();
    }
  });
  const QPoint at(3, 3);
  QTest::mousePress(edit, Qt::RightButton, modifiers, at);
  QContextMenuEvent request(QContextMenuEvent::Mouse, at, edit->mapToGlobal(at), modifiers);
  QApplication::sendEvent(edit, &request);
  QTest::mouseRelease(edit, Qt::RightButton, modifiers, at);
  QApplication::processEvents();
  return opened;
}

TEST(SpinBox, CustomMenuKeepsTheBuiltInMenuClosedOnAPlainRightClick) {
  const struct {
    bool customMenu;
    Qt::KeyboardModifiers modifiers;
    bool builtInMenu;
  } cases[] = {
      {true, Qt::NoModifier, false},
      {true, Qt::ShiftModifier, true},
      {false, Qt::NoModifier, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.customMenu << " " << c.modifiers.toInt());
    Hosted h(0, 1000);
    h.form().show();
    h.box->LetCustomMenu(c.customMenu);
    h.box->LetValue(456);
    h.box->textBox()->setSelection(1, 2);
    h.Forget();
    EXPECT_EQ(RightClick(*h.box, c.modifiers), c.builtInMenu);
    if (!c.builtInMenu) {
      EXPECT_EQ(h.box->SelStart(), 1);
      EXPECT_EQ(h.box->SelLength(), 2);
    }
    const auto down = std::find_if(h.events.begin(), h.events.end(),
                                   [](const auto& e) { return e.id == eventid::MouseDown; });
    ASSERT_NE(down, h.events.end()) << "the host hears the click to show its own menu";
    EXPECT_EQ(down->args.value(0).toInt(), 2);
    // Twips of the control: the text box lies 2 pixels below the control's top.
    EXPECT_FLOAT_EQ(down->args.value(2).toFloat(), 3 * 15.0f);
    EXPECT_FLOAT_EQ(down->args.value(3).toFloat(), 5 * 15.0f);
  }
}

TEST(SpinBox, ManualDropModeReportsDropsAndLeavesTheText) {
  const struct {
    std::int32_t mode;
    bool reported;
  } cases[] = {{0, false}, {1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    Hosted h(0, 100);
    h.box->LetValue(12);
    h.box->LetOLEDropMode(c.mode);
    EXPECT_EQ(h.box->textBox()->acceptDrops(), c.mode != 0);
    h.Forget();
    QMimeData data;
    data.setText(QStringLiteral("99"));
    SendDrop(h.box->textBox(), data, QPoint(4, 5), Qt::CopyAction, Qt::ShiftModifier);
    EXPECT_EQ(h.text(), "12") << "the host decides what a drop does";
    const auto dropped = std::find_if(h.events.begin(), h.events.end(),
                                      [](const auto& e) { return e.id == eventid::OLEDragDrop; });
    ASSERT_EQ(dropped != h.events.end(), c.reported);
    if (!c.reported) continue;
    // The drop's data as the hosting layer's data object, as every control hands it.
    const auto dataObject = dropped->args.value(0).value<automation::DataObject>();
    EXPECT_EQ(dataObject.GetData(automation::kFormatText).toString(), "99");
    EXPECT_EQ(dropped->args.value(1).toInt(), 1);  // copy
    EXPECT_EQ(dropped->args.value(2).toInt(), 1);  // left button
    EXPECT_EQ(dropped->args.value(3).toInt(), 1);  // Shift
    EXPECT_FLOAT_EQ(dropped->args.value(5).toFloat(), 7 * 15.0f);
    const auto over = std::find_if(h.events.begin(), h.events.end(),
                                   [](const auto& e) { return e.id == eventid::OLEDragOver; });
    ASSERT_NE(over, h.events.end());
    EXPECT_EQ(over->args.value(6).toInt(), 0) << "entering";
  }
}

TEST(SpinBox, PropertyBagRoundTrip) {
  Hosted a(-10, 250);
  a.box->LetSmallChange(5);
  a.box->LetBackColor(0x00336699u);
  a.box->LetForeColor(0x80000012u);
  a.box->LetCustomMenu(true);
  a.box->LetMousePointer(3);
  a.box->LetOLEDropMode(1);
  auto font = std::make_shared<automation::FontObject>();
  font->size = 14;
  font->bold = true;
  a.box->SetFont(font);
  a.box->LetValue(-7);
  a.box->LetEnabled(false);
  PropertyBag written;
  a.box->WriteProperties(written);
  EXPECT_EQ(written.keys(), (QStringList{"BackColor", "CustomMenu", "Enabled", "Font", "ForeColor",
                                         "Max", "Min", "MouseIcon", "MousePointer", "OLEDragMode",
                                         "OLEDropMode", "SmallChange", "Value"}));
  const auto stored =
      PropertyBag::fromJson(QJsonDocument::fromJson(QJsonDocument(written.toJson()).toJson()).array());
  ASSERT_TRUE(stored.has_value());

  Hosted b(0, 100);
  b.box->ReadProperties(*stored);
  EXPECT_EQ(b.box->Min(), -10);
  EXPECT_EQ(b.box->Max(), 250);
  EXPECT_EQ(b.box->SmallChange(), 5);
  EXPECT_EQ(b.box->BackColor(), 0x00336699u);
  EXPECT_EQ(b.box->ForeColor(), 0x80000012u);
  EXPECT_TRUE(b.box->CustomMenu());
  EXPECT_EQ(b.box->MousePointer(), 3);
  EXPECT_EQ(b.box->OLEDropMode(), 1);
  EXPECT_EQ(*b.box->Font(), *font);
  EXPECT_NE(b.box->Font(), font) << "the stored font is a font of its own";
  EXPECT_FALSE(b.box->Enabled());
  EXPECT_EQ(b.text(), "-7");
  EXPECT_EQ(b.changes(), 1) << "the stored text reaches the host as a change";
  PropertyBag again;
  b.box->WriteProperties(again);
  EXPECT_EQ(again, written);
}

TEST(SpinBox, PropertyBagGapsAndBrokenKeys) {
  // Without "Value" the text is empty, which the change handler turns into the clamped 0.
  for (const auto& [min, max, text] : {std::tuple{1, 6, "1"}, std::tuple{-3, 3, "0"}}) {
    Hosted h(0, 100);
    h.box->LetValue(50);
    PropertyBag bag;
    bag.write("Min", min);
    bag.write("Max", max);
    h.box->ReadProperties(bag);
    EXPECT_EQ(h.text(), text);
    EXPECT_EQ(h.box->CustomMenu(), false);
    EXPECT_EQ(h.box->BackColor(), 0x80000005u);
    EXPECT_EQ(h.box->ForeColor(), 0x80000008u);
  }
  // A key that cannot be read or applied is skipped; the rest are read.
  const auto bag = PropertyBag::fromJson(QJsonDocument::fromJson(R"([["Max", "many"], ["Min", 2],
      ["MousePointer", 50], ["Font", {"type": "font"}], ["SmallChange", 3], ["Value", "4"]])")
                                             .array());
  ASSERT_TRUE(bag.has_value());
  Hosted h(0, 9);
  const auto fontBefore = h.box->Font();
  h.box->ReadProperties(*bag);
  EXPECT_EQ(h.box->Max(), 9);
  EXPECT_EQ(h.box->Min(), 2);
  EXPECT_EQ(h.box->MousePointer(), 0);
  EXPECT_EQ(h.box->Font(), fontBefore);
  EXPECT_EQ(h.box->SmallChange(), 3);
  EXPECT_EQ(h.text(), "4");
}

TEST(SpinBox, LayoutFitsTheDigitsOfMaxAndFollowsTheFont) {
  const struct {
    std::int16_t max;
    int nines;
  } cases[] = {{-5, 1}, {1, 1}, {10, 1}, {31, 1}, {32, 2}, {100, 2}, {316, 2}, {317, 3}, {32767, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.max);
    Hosted h(-10, c.max);
    h.form().show();
    h.box->resize(1, 1);
    const int nine = TextWidthTwips(h.box->Font()->ToQFont(), "9");
    EXPECT_EQ(h.box->textBox()->width(), static_cast<int>(std::nearbyint(c.nines * nine / 15.0)));
    EXPECT_EQ(h.box->scrollBar()->x(), h.box->textBox()->width() + 2);
    EXPECT_GE(h.box->width(), h.box->scrollBar()->x() + h.box->scrollBar()->width());
  }
  Hosted h(1, 6);
  h.form().show();
  h.box->resize(200, 5);
  const int height = h.box->height();
  EXPECT_EQ(h.box->width(), 200) << "a wider control keeps its width";
  EXPECT_EQ(h.box->textBox()->geometry(), QRect(0, 2, h.box->scrollBar()->x() - 2, height - 4));
  auto big = std::make_shared<automation::FontObject>(*h.box->Font());
  big->size *= 2;
  h.box->SetFont(big);
  EXPECT_GT(h.box->height(), height);
  EXPECT_EQ(h.box->width(), 200);
}

TEST(SpinBox, AroundTheFieldAndArrowsTheFormShows) {
  struct Case {
    const char* what;
    QColor form;
    std::uint32_t backColor;
  };
  const Case cases[] = {
      {"grey form, default text colour", QColor(0xc0, 0xc0, 0xc0), 0x80000005u},
      {"dark form, a chosen text colour", QColor(0x20, 0x40, 0x60), 0x00336699u},
  };
  for (const Case& c : cases) {
    Hosted h(0, 10);
    QPalette palette = h.form().palette();
    palette.setColor(QPalette::Window, c.form);
    h.form().setPalette(palette);
    h.form().setAutoFillBackground(true);
    h.box->LetBackColor(c.backColor);
    h.form().resize(200, 60);
    h.box->move(10, 10);
    h.form().show();
    const QImage shot = h.form().grab().toImage();
    const QLineEdit* field = h.box->textBox();
    // The strip above the field, and the gap between the field and the arrows.
    const QPoint above = h.box->mapTo(&h.form(), QPoint(field->width() / 2, 0));
    const QPoint between = h.box->mapTo(&h.form(), QPoint(field->width() + 1, h.box->height() / 2));
    EXPECT_EQ(QColor(shot.pixel(above)), c.form) << c.what;
    EXPECT_EQ(QColor(shot.pixel(between)), c.form) << c.what;
  }
}

TEST(SpinBox, DispatchRangesAndErrors) {
  Hosted h(1, 6);
  const struct {
    automation::DispId id;
    QVariant value;
    int error;
  } cases[] = {
      {dispid::Max, 40000, automation::kErrOverflow},
      {dispid::MousePointer, 50, automation::kErrInvalidPropertyValue},
      {dispid::MousePointer, 70000, automation::kErrOverflow},
      {dispid::OLEDropMode, 3, automation::kErrInvalidPropertyValue},
      {dispid::Value, "abc", automation::kErrTypeMismatch},
      {dispid::hWnd, 1, automation::kErrNoSuchMember},
  };
  for (const auto& c : cases) {
    try {
      h.box->put(c.id, c.value);
      ADD_FAILURE() << c.id;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.error) << c.id;
    }
  }
  EXPECT_EQ(h.box->idOfName(u"value"), dispid::Value);
  EXPECT_EQ(h.box->get(dispid::Version).toString(), " 1.05.0007");
  h.site().setToolTipText("digits");
  h.box->call(dispid::SetToolTipText);
  EXPECT_EQ(h.box->textBox()->toolTip(), "digits");
  h.box->call(dispid::SetToolTipText, {QStringLiteral("own")});
  EXPECT_EQ(h.box->textBox()->toolTip(), "own");
  EXPECT_GT(h.box->call(dispid::TextWidth, {QStringLiteral("99")}).toInt(),
            h.box->call(dispid::TextWidth, {QStringLiteral("9")}).toInt());
}

TEST(SpinBox, VersionAndAboutText) {
  const struct {
    int major, minor, revision;
    const char* text;
  } cases[] = {
      {1, 5, 0, " 1.05"}, {1, 5, 7, " 1.05.0007"}, {1, 5, 12, " 1.05.0012"}, {2, 10, 0, " 2.10"}};
  for (const auto& c : cases) {
    core::VersionRecord record;
    record.major = c.major;
    record.minor = c.minor;
    record.revision = c.revision;
    EXPECT_EQ(VersionText(record), c.text);
  }
  testing::FakeServices services;
  Hosted h(1, 6);
  h.box->call(dispid::AboutBox);
  ASSERT_EQ(services.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(services.messageBoxes.shown[0].text, "MorvaneTest\r\n\r\nVersion 1.05.0007");
  EXPECT_EQ(services.messageBoxes.shown[0].style, core::kMbIconInformation);
  EXPECT_EQ(services.messageBoxes.shown[0].title, "About...");
}

TEST(SpinBox, FormsCreateItByClassIdOrProgId) {
  RegisterSpinBoxClass();
  automation::MemoryClassStore store;
  automation::ClassRegistry registry(store, {});
  QWidget form;
  for (const char* name :
       {kProgId, kClassId, "{72e7eb02-2278-4c35-b4ee-10f659070c5d}", "morvane.spinbox"}) {
    automation::Control* control = registry.create(name, &form);
    ASSERT_NE(dynamic_cast<SpinBox*>(control), nullptr) << name;
    EXPECT_EQ(control->widget()->parentWidget(), &form);
  }
  EXPECT_THROW(registry.create("Morvane.NoSuchBox", &form), AutomationError);
}

}  // namespace
}  // namespace morvane::spinbox
