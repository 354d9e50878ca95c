// The window region of a full-screen picture with a ragged outline: every row has its
// own runs, so no two rows share a band and the region has the most rectangles such a
// shape can give.
#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <random>

#include "controls/vitrane/vitrane_model.h"

namespace {

QImage RaggedPicture(int width, int height) {
  const QRgb key = qRgb(255, 0, 255);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(key);
  std::mt19937 random(20260);
  std::uniform_int_distribution<int> jitter(-6, 6);
  int left = width / 8;
  int right = width - width / 8;
  for (int y = 0; y < height; ++y) {
    left = std::clamp(left + jitter(random), 0, width / 3);
    right = std::clamp(right + jitter(random), 2 * width / 3, width);
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = left; x < right; ++x) line[x] = qRgb(40, 90, 200);
    // A few holes of their own in each row.
    for (int hole = 0; hole < 4; ++hole) {
      const int at =
          left + static_cast<int>(random() % static_cast<unsigned>(std::max(1, right - left - 8)));
      for (int x = at; x < at + 3 && x < right; ++x) line[x] = key;
    }
  }
  return image;
}

void BM_RegionOfRaggedPicture(benchmark::State& state) {
  const QImage picture = RaggedPicture(1920, 1080);
  std::size_t rects = 0;
  for (auto _ : state) {
    const std::optional<QRegion> region = morvane::vitrane::RegionOfPicture(picture, qRgb(255, 0, 255));
    rects = static_cast<std::size_t>(region->rectCount());
    benchmark::DoNotOptimize(rects);
  }
  state.counters["rects"] = static_cast<double>(rects);
}
BENCHMARK(BM_RegionOfRaggedPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
