// Shows Scopel in a test window, the way the main window uses it: a sample picture at
// zoom 6 with the grid, a contour drawn on it with its vertices marked, and saves a
// screenshot. Run under Xvfb: scopel_screenshot out.png [small]
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <vector>

#include "controls/scopel/scopel_typelib.h"
#include "tests/controls/scopel/scopel_host.h"

using namespace morvane::scopel;

namespace {

// A red disc and a blue bar on white.
QImage SamplePicture() {
  QImage image(60, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 30, 30));
  p.drawEllipse(QPoint(18, 18), 11, 11);
  p.setBrush(QColor(30, 60, 200));
  p.drawRect(36, 8, 14, 24);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/scopel.png");
  hosting::RegisterScopel();
  // A second argument "small" makes the window smaller than the magnified picture.
  const bool small = argc > 2 && QString::fromLocal8Bit(argv[2]) == QLatin1String("small");
  hosting::ScopelHost host(small ? QSize(300, 200) : QSize(640, 420));
  host.form().setWindowTitle(QStringLiteral("Scopel"));
  host.Put(dispid::GridColor, 0xC0C0C0u);
  host.Put(dispid::ForeColor, 0x00A000u);  // contour lines
  host.Put(dispid::FillColor, 0x000000u);  // vertex marks
  host.Put(dispid::BorderStyle, ThreeD);
  host.Put(dispid::Zooming, 6);
  host.Put(dispid::GridLines, true);
  host.Put(dispid::Picture, QVariant::fromValue(SamplePicture()));

  // The blue bar's outline as a closed polygon, in image twips.
  const std::vector<QPoint> contour = {{36, 8}, {49, 8}, {49, 31}, {36, 31}};
  host.Put(dispid::DrawImmadiately, false);
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const QPoint a = contour[i], b = contour[(i + 1) % contour.size()];
    host.Call(dispid::DrawLine,
              {QVariant(), a.x() * 15, a.y() * 15, QVariant(), b.x() * 15, b.y() * 15});
  }
  host.Put(dispid::DrawImmadiately, true);
  host.Call(dispid::Refresh);
  if (small) host.Put(dispid::ScrollX, 30 * 15);
  for (const QPoint& v : contour) {
    host.Call(dispid::SetPoint, {QVariant(), v.x() * 15, v.y() * 15, host.Get(dispid::FillColor)});
  }

  QElapsedTimer wait;
  wait.start();
  while (wait.elapsed() < 500) {
    app.processEvents();
    QThread::msleep(10);
  }
  const QPixmap shot = host.form().screen()->grabWindow(host.form().winId());
  if (!shot.save(out)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s %dx%d\n", qPrintable(out), shot.width(), shot.height());
  return 0;
}
