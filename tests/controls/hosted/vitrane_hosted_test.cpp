// The image control from libVitrane.so, as a host that has only the library and its
// public header meets it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QPalette>
#include <QRegion>
#include <QTest>

#include <functional>
#include <vector>

#include "controls/vitrane/vitrane_typelib.h"
#include "tests/controls/hosted/library_host.h"

namespace morvane::vitrane {
namespace {

using testing::LibraryHost;
using testing::Settle;

// One character a pixel: 'M' magenta, 'R' red, 'W' white, 'F' the palette's button
// face, 'K' black. Rows separated by '|'.
QRgb ArtColor(char c) {
  switch (c) {
    case 'M': return qRgb(255, 0, 255);
    case 'R': return qRgb(255, 0, 0);
    case 'K': return qRgb(0, 0, 0);
    case 'F': return QApplication::palette().color(QPalette::Active, QPalette::Button).rgb();
    default: return qRgb(255, 255, 255);
  }
}

QImage Art(const char* art) {
  const QStringList rows = QString::fromLatin1(art).split(QLatin1Char('|'));
  QImage image(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
  for (int y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < rows[y].size(); ++x) image.setPixel(x, y, ArtColor(rows[y][x].toLatin1()));
  }
  return image;
}

QRegion PixelsOf(const char* art, const char* kept) {
  const QStringList rows = QString::fromLatin1(art).split(QLatin1Char('|'));
  QRegion region;
  for (int y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < rows[y].size(); ++x) {
      if (QByteArray(kept).contains(rows[y][x].toLatin1())) region += QRect(x, y, 1, 1);
    }
  }
  return region;
}

QVariant Pic(const QImage& image) { return QVariant::fromValue(image); }

// ---- a frame between the form and the control ----

constexpr const char* kShape = "MRRM|RRRR|MRRM";

struct FrameRow {
  const char* name;
  std::function<QWidget*(QWidget& form)> container;  // null: the form itself
  std::int32_t wantStyle;
};

TEST(HostedVitrane, InAFrameOnAFormItShapesTheForm) {
  const FrameRow rows[] = {
      {"on the form", nullptr, VitraneParentTitled},
      {"in a frame at the form's corner",
       [](QWidget& form) {
         auto* frame = new QFrame(&form);
         frame->setGeometry(0, 0, 100, 100);
         return frame;
       },
       VitraneParentTitled},
      {"in a frame inside the form",
       [](QWidget& form) {
         auto* frame = new QFrame(&form);
         frame->setGeometry(10, 5, 100, 100);
         return frame;
       },
       VitraneParentTitled},
      {"in a frame in a frame",
       [](QWidget& form) {
         auto* outer = new QFrame(&form);
         outer->setGeometry(3, 4, 120, 120);
         auto* inner = new QFrame(outer);
         inner->setGeometry(2, 1, 100, 100);
         return static_cast<QWidget*>(inner);
       },
       VitraneParentTitled},
      {"on another hosted control",
       [](QWidget& form) {
         // A user control is the parent then, not the form.
         automation::Control* other =
             testing::LibraryRegistry().create(QString::fromLatin1(kClassId), &form);
         other->InitProperties();
         other->widget()->setGeometry(0, 0, 100, 100);
         return other->widget();
       },
       Normal},
  };
  for (const FrameRow& row : rows) {
    SCOPED_TRACE(row.name);
    LibraryHost host(kClassId, QStringLiteral("liImage"), QSize(200, 150));
    if (row.container) host.PutInto(row.container(host.form()));
    host.control().InitProperties();
    host.Set(dispid::Picture, Pic(Art(kShape)));
    host.widget()->move(7, 7);
    host.form().show();
    Settle();
    host.Let(dispid::Style, VitraneParentTitled);
    Settle();
    EXPECT_EQ(host.Get(dispid::Style).toInt(), row.wantStyle);
    if (row.wantStyle == Normal) {
      EXPECT_TRUE(host.form().mask().isEmpty());
      continue;
    }
    // The control lies at its container's corner, and the form keeps exactly the
    // pixels it shows, where it shows them.
    EXPECT_EQ(host.widget()->pos(), QPoint(0, 0));
    EXPECT_EQ(host.widget()->mask(), PixelsOf(kShape, "R"));
    EXPECT_EQ(host.form().mask(),
              PixelsOf(kShape, "R").translated(host.widget()->mapTo(&host.form(), QPoint(0, 0))));
  }
}

// ---- a system colour as the mask colour ----

struct MaskRow {
  std::uint32_t maskColor;
  const char* kept;  // the pixels shown, and kept by the form
};

TEST(HostedVitrane, ASystemMaskColourCutsTheShapeAndTheFormAlike) {
  // The corner is white, so a system colour read as "the corner's colour" would cut
  // the white and keep the button face.
  constexpr const char* kArt = "WFFW|FRRF|WKKW";
  const MaskRow rows[] = {
      {0x8000000Fu, "WRK"},  // button face, through the palette
      {0x00FF00FFu, "WFRK"},  // magenta: none in the picture
      {0x000000FFu, "WFK"},   // red
      {0x00FFFFFFu, "FRK"},   // white
  };
  for (const MaskRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << std::hex << row.maskColor);
    LibraryHost host(kClassId, QStringLiteral("liImage"), QSize(200, 150));
    host.control().InitProperties();
    host.Set(dispid::Picture, Pic(Art(kArt)));
    host.Let(dispid::MaskColor, QVariant::fromValue(row.maskColor));
    host.form().show();
    Settle();
    ASSERT_EQ(host.Get(dispid::MaskColor).value<std::uint32_t>(), row.maskColor);
    EXPECT_EQ(host.widget()->mask(), PixelsOf(kArt, row.kept));
    host.Let(dispid::Style, VitraneParentTitled);
    EXPECT_EQ(host.form().mask(), PixelsOf(kArt, row.kept));
    // Cut again: the same.
    host.Call(dispid::Refresh);
    EXPECT_EQ(host.form().mask(), PixelsOf(kArt, row.kept));
  }
}

// ---- what makes a click ----

struct ClickRow {
  const char* name;
  std::function<void(QWidget*)> input;
  int clicks;
  int doubleClicks;
};

TEST(HostedVitrane, ClickIsALeftPressAndReleaseOnTheControl) {
  const ClickRow rows[] = {
      {"left click", [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(1, 1)); }, 1, 0},
      {"right click", [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(1, 1)); }, 0, 0},
      {"left press, release outside",
       [](QWidget* w) {
         QTest::mousePress(w, Qt::LeftButton, {}, QPoint(1, 1));
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(w->width() + 20, 1));
       },
       0, 0},
      {"double click",
       [](QWidget* w) {
         QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(1, 1));
         QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(1, 1));
         QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(1, 1));
       },
       1, 1},
  };
  for (const ClickRow& row : rows) {
    SCOPED_TRACE(row.name);
    LibraryHost host(kClassId, QStringLiteral("liImage"), QSize(200, 150));
    host.control().InitProperties();
    host.Set(dispid::Picture, Pic(Art("RRRR|RRRR|RRRR")));
    host.form().show();
    Settle();
    host.events.clear();
    row.input(host.widget());
    EXPECT_EQ(host.Count(eventid::Click), row.clicks);
    EXPECT_EQ(host.Count(eventid::DblClick), row.doubleClicks);
  }
}

// ---- FillColor is the effects' colour ----

TEST(HostedVitrane, TheUnionIsDrawnInFillColor) {
  const struct {
    std::uint32_t fillColor;
    QRgb chequer;
  } rows[] = {{0x000000, qRgb(0, 0, 0)}, {0xFF0000, qRgb(0, 0, 255)}, {0x00FF00, qRgb(0, 255, 0)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << std::hex << row.fillColor);
    LibraryHost host(kClassId, QStringLiteral("liImage"));
    host.control().InitProperties();
    host.Set(dispid::Picture, Pic(Art("RWRW|WRWR")));
    host.Let(dispid::DrawEffect, deUnion);
    host.Let(dispid::FillColor, QVariant::fromValue(row.fillColor));
    const QImage shown = host.Get(dispid::Image).value<QImage>();
    EXPECT_EQ(shown.pixel(0, 0), row.chequer);
    EXPECT_EQ(shown.pixel(1, 1), row.chequer);
    EXPECT_EQ(shown.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(0, 1), qRgb(255, 255, 255));
  }
}

TEST(HostedVitrane, VersionHasNoLeadingBlank) {
  LibraryHost host(kClassId, QStringLiteral("liImage"));
  host.control().InitProperties();
  EXPECT_EQ(host.Get(dispid::Version).toString(), "1.00");
}

}  // namespace
}  // namespace morvane::vitrane
