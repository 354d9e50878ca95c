// Shapes a real X window with the control and looks at the screen: a frameless form
// with a 360 x 360 picture whose magenta pixels are the key, over a root window of a
// known colour. A capture of the root window must show the root colour through a cut
// pixel and the picture at a kept one. Writes the capture to the path given as the
// first argument. Run under Xvfb by run_xvfb_host.sh.

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdio>

#include "controls/vitrane/vitrane_typelib.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/control_site.h"

namespace {

using namespace morvane;

constexpr QRgb kRoot = 0xff2080c0;        // the root window's colour
constexpr QRgb kKey = 0xffff00ff;         // magenta: cut away
constexpr QRgb kDisc = 0xffffa000;        // the picture's disc
constexpr QRgb kFrameColor = 0xff006000;  // the picture's ring, where the title area lies

// The picture: a disc with a ring on a magenta key, and a magenta hole in the middle.
QImage Picture() {
  QImage image(360, 360, QImage::Format_RGB32);
  image.fill(kKey);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgb(kFrameColor));
  p.drawEllipse(0, 0, 360, 360);
  p.setBrush(QColor::fromRgb(kDisc));
  p.drawEllipse(30, 30, 300, 300);
  p.fillRect(160, 160, 40, 40, QColor::fromRgb(kKey));
  return image;
}

void PaintRoot(QRgb color) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const std::uint32_t pixel = color & 0xffffffu;
  xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXEL, &pixel);
  xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
  xcb_flush(connection);
}

void Settle(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

struct Probe {
  const char* what;
  QPoint at;  // screen pixel
  QRgb expected;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    std::fprintf(stderr, "needs the xcb platform, got %s\n",
                 qPrintable(QGuiApplication::platformName()));
    return 2;
  }
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("vitrane_xvfb.png");
  PaintRoot(kRoot);

  automation::MemoryClassStore store;
  automation::ClassRegistry registry(store, {QStringLiteral(MORVANE_BINARY_DIR "/bin")});
  QWidget form(nullptr, Qt::Window | Qt::FramelessWindowHint);
  form.setObjectName(QStringLiteral("frmAbout"));
  form.setStyleSheet(QStringLiteral("background: #ffffff"));
  form.resize(400, 400);
  const QPoint origin(100, 50);
  form.move(origin);
  automation::ControlSite site(QStringLiteral("liAbout"), &form);
  automation::Control* control = registry.create(QString::fromLatin1(vitrane::kClassId), &form);
  control->setSite(&site);
  control->InitProperties();
  control->putRef(vitrane::dispid::Picture, QVariant::fromValue(Picture()));
  control->put(vitrane::dispid::Style, vitrane::VitraneParentUntitled);
  form.show();
  Settle(800);

  const QImage shot =
      QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  shot.save(out);
  const Probe probes[] = {
      {"corner of the picture (cut)", origin + QPoint(3, 3), kRoot},
      {"hole in the middle (cut)", origin + QPoint(180, 180), kRoot},
      {"form beyond the picture (cut)", origin + QPoint(380, 380), kRoot},
      {"disc (kept)", origin + QPoint(100, 180), kDisc},
      {"ring (kept)", origin + QPoint(180, 10), kFrameColor},
      {"right-most column of the ring (kept)", origin + QPoint(359, 180), kFrameColor},
      {"outside the form", QPoint(20, 20), kRoot},
  };
  int failures = 0;
  for (const Probe& probe : probes) {
    const QRgb got = shot.pixel(probe.at) | 0xff000000u;
    const bool ok = got == probe.expected;
    std::printf("%-40s (%d, %d): %06x %s\n", probe.what, probe.at.x(), probe.at.y(), got & 0xffffffu,
                ok ? "ok" : "WRONG");
    if (!ok) ++failures;
  }
  delete control->widget();
  std::printf("capture: %s\n", qPrintable(out));
  return failures == 0 ? 0 : 1;
}
