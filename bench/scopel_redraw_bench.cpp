// The magnified redraw of Scopel: a 1000 x 800 viewport at zoom 8 with the grid, over
// pictures of growing size, so that the cost can be seen to follow the viewport and
// not the picture. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <map>
#include <memory>

#include "controls/scopel/scopel_typelib.h"
#include "tests/controls/scopel/scopel_host.h"

using namespace morvane::scopel;

namespace {

QImage Picture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) line[x] = qRgb(x * 7, y * 13, (x ^ y) & 255);
  }
  return image;
}

// One host per picture size, kept across runs.
hosting::ScopelHost& HostFor(int w, int h) {
  static std::map<std::pair<int, int>, std::unique_ptr<hosting::ScopelHost>> hosts;
  auto& host = hosts[{w, h}];
  if (!host) {
    host = std::make_unique<hosting::ScopelHost>(QSize(1000, 800));
    host->Put(dispid::Zooming, 8);
    host->Put(dispid::GridLines, true);
    host->Put(dispid::Picture, QVariant::fromValue(Picture(w, h)));
    // Somewhere in the middle of the picture.
    host->Put(dispid::ScrollX, w * 15 / 2);
    host->Put(dispid::ScrollY, h * 15 / 2);
  }
  return *host;
}

void BM_RedrawZoom8(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  const int h = w * 3 / 4;
  hosting::ScopelHost& host = HostFor(w, h);
  const QSize viewport = host.part("pbZoom")->size();
  for (auto _ : state) {
    host.Call(dispid::Refresh);
  }
  state.counters["viewport_w"] = viewport.width();
  state.counters["viewport_h"] = viewport.height();
  state.counters["image_px"] = static_cast<double>(w) * h;
}
BENCHMARK(BM_RedrawZoom8)->Arg(200)->Arg(1000)->Arg(4000)->Arg(12000)->Unit(benchmark::kMillisecond);

// One line drawn and the view redrawn: the redraw commits only the drawn area into the
// picture, so this too stays bounded by the viewport and the drawing.
void BM_DrawLineThenRedrawZoom8(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0));
  hosting::ScopelHost& host = HostFor(w, w * 3 / 4);
  for (auto _ : state) {
    host.Call(dispid::DrawLine, {QVariant(), 0, 0, QVariant(), 150, 150, 0xFFu});
  }
}
BENCHMARK(BM_DrawLineThenRedrawZoom8)->Arg(200)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// A scroll step: the bar moves, the offsets follow and the view is redrawn.
void BM_ScrollStepZoom8(benchmark::State& state) {
  hosting::ScopelHost& host = HostFor(4000, 3000);
  int x = 0;
  for (auto _ : state) {
    x = (x + 15 * 50) % (4000 * 15);
    host.Put(dispid::ScrollX, x);
  }
}
BENCHMARK(BM_ScrollStepZoom8)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  hosting::RegisterScopel();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
