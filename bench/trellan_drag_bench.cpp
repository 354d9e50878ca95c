// One drag step of a vertical splitter between two guided widgets: the bar follows
// the pointer, the guided widgets are laid out again and everything is repainted.
// Also counts the splitter's work while nothing happens.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QTreeWidget>

#include "controls/trellan/trellan.h"

namespace {

using morvane::trellan::Trellan;

struct Scene {
  QWidget form;
  Trellan* bar;
  Scene() {
    form.setObjectName(QStringLiteral("fwMain"));
    form.resize(800, 600);
    auto* tree = new QTreeWidget(&form);
    tree->setObjectName(QStringLiteral("tvCoord"));
    auto* view = new QFrame(&form);
    view->setObjectName(QStringLiteral("ucScopel"));
    bar = new Trellan(&form);
    bar->setObjectName(QStringLiteral("ucTrellan"));
    bar->InitProperties();
    bar->setGeometry(200, 0, 6, 600);
    bar->LetGuidedControl(0, QStringLiteral("tvCoord"));
    bar->LetGuidedControl(1, QStringLiteral("ucScopel"));
    form.show();
    QApplication::processEvents();
  }
};

void BM_DragStep(benchmark::State& state) {
  Scene scene;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 10), scene.bar->mapToGlobal(QPointF(3, 10)),
                    Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(scene.bar, &press);
  int dx = 1;
  for (auto _ : state) {
    dx = -dx;
    const QPointF local(3 + dx, 10);
    QMouseEvent move(QEvent::MouseMove, local, scene.bar->mapToGlobal(local), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(scene.bar, &move);
    scene.bar->ArrangeGuidedControls(false);
    scene.form.repaint();
  }
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

void BM_IdlePolls(benchmark::State& state) {
  Scene scene;
  const int before = scene.bar->PollCount();
  for (auto _ : state) QApplication::processEvents();
  state.counters["polls"] = scene.bar->PollCount() - before;
}
BENCHMARK(BM_IdlePolls)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
