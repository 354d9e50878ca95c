// A small host with crossing, dashed and sunken-container bars, grabbed to a PNG for
// a look by eye; run by hand under Xvfb, not a test.
#include <QApplication>
#include <QFrame>
#include <QTimer>

#include "controls/trellan/trellan.h"

using morvane::trellan::Trellan;

namespace {

QFrame* Panel(QWidget* parent, const char* name, const QColor& color) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, color);
  panel->setPalette(palette);
  return panel;
}

Trellan* Bar(QWidget* parent, const char* name, QRect geometry, const char* first, const char* second,
             int junctions, int dash = 0) {
  auto* bar = new Trellan(parent);
  bar->setObjectName(QLatin1String(name));
  bar->InitProperties();
  // Turning a bar moves it, so the orientation comes first.
  bar->LetOrientation(geometry.height() > geometry.width() ? 2 : 1);
  bar->setGeometry(geometry);
  bar->LetDrawJunctions(junctions);
  bar->LetDashSize(dash);
  bar->LetGuidedControl(0, QLatin1String(first));
  bar->LetGuidedControl(1, QLatin1String(second));
  return bar;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("trellan.png");
  QWidget form;
  form.setObjectName(QStringLiteral("fwDemo"));
  form.resize(480, 320);

  // Left: a sunken picture-box-like container split by a vertical bar.
  auto* box = new QFrame(&form);
  box->setObjectName(QStringLiteral("picBox"));
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setLineWidth(2);
  box->setGeometry(8, 8, 200, 304);
  Panel(box, "boxLeft", QColor(0xE0, 0xF0, 0xFF));
  Panel(box, "boxRight", QColor(0xFF, 0xF0, 0xE0));
  Bar(box, "ucBox", QRect(90, 0, 8, 300), "boxLeft", "boxRight", 3);

  // Right: a vertical bar crossed by a horizontal one, and a dashed bar below.
  auto* right = new QFrame(&form);
  right->setObjectName(QStringLiteral("fraRight"));
  right->setGeometry(216, 8, 256, 304);
  Panel(right, "upper", QColor(0xFF, 0xFF, 0xFF));
  Panel(right, "lower", QColor(0xC0, 0xC0, 0xE0));
  auto* upper = right->findChild<QWidget*>(QStringLiteral("upper"));
  upper->setGeometry(0, 0, 256, 200);
  Bar(right, "ucDashed", QRect(0, 200, 256, 6), "upper", "lower", 0, 60);
  // Guides nothing: it only crosses the upright bar.
  Bar(upper, "ucCross", QRect(0, 90, 256, 8), "", "", 3);
  Panel(upper, "u1", QColor(0xF8, 0xE0, 0xE0));
  Panel(upper, "u2", QColor(0xE0, 0xE0, 0xF8));
  Bar(upper, "ucUpright", QRect(120, 0, 8, 200), "u1", "u2", 3);

  form.show();
  QTimer::singleShot(300, [&] {
    form.grab().save(out);
    app.quit();
  });
  return app.exec();
}
