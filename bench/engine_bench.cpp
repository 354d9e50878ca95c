// The engine on generated images. Run on demand:
//   build/release/bin/morvane_bench [--benchmark_filter=...]
// "per_MP" is the time per megapixel, so growth with the image size shows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"
#include "engine/contour_engine.h"
#include "engine/silent_roles.h"
#include "bench/bench_images.h"

namespace {

using morvane::core::RgbImage;
using morvane::engine::ContourEngine;
using morvane::engine::ContourPoints;
using morvane::engine::ContourSet;
using morvane::engine::ReductionMethod;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

using morvane::bench::DiscsAndRings;

// One figure shaped like a comb: teeth `tooth` pixels wide with gaps as wide hanging
// from a spine, so that its boundary is very long.
RgbImage Comb(int width, int height, int teeth, int tooth) {
  RgbImage image(width, height, kWhite);
  const int right = std::min(width - 4, 4 + 2 * tooth * teeth);
  for (int x = 4; x < right; ++x) {
    for (int y = 4; y < 8; ++y) image.at(x, y) = kBlack;
  }
  for (int t = 0; t < teeth; ++t) {
    const int x0 = 4 + 2 * tooth * t;
    for (int y = 8; y < height - 4; ++y) {
      for (int x = x0; x < x0 + tooth && x < width - 4; ++x) image.at(x, y) = kBlack;
    }
  }
  return image;
}

RgbImage Noise(int size) {
  RgbImage image(size, size, kWhite);
  std::mt19937 rng(99);
  std::bernoulli_distribution black(0.5);
  for (auto& px : image.pixels) px = black(rng) ? kBlack : kWhite;
  return image;
}

// Black and white pixels alternating in both directions: every black pixel touches
// others only at its corners.
RgbImage Checkerboard(int size) {
  RgbImage image(size, size, kWhite);
  for (int y = 0; y < size; ++y) {
    for (int x = (y & 1); x < size; x += 2) image.at(x, y) = kBlack;
  }
  return image;
}

struct Rig {
  explicit Rig(const RgbImage* image,
               ReductionMethod method = ReductionMethod::DirectionChangeThenLineOfSight)
      : engine(window, window, window, window) {
    engine.SetImage(image);
    engine.LetBackColor(0xFFFFFF);
    engine.ApproxMethod = method;
  }
  void Create() { doc = engine.CreateWholeImageContours("0"); }
  morvane::engine::SilentWindow window;
  ContourEngine engine;
  ContourSet doc;
};

void ReportPerMegapixel(benchmark::State& state, const RgbImage& image, const ContourSet& doc) {
  const double mp = static_cast<double>(image.width) * image.height / 1e6;
  state.counters["per_MP"] =
      benchmark::Counter(mp, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["points"] = static_cast<double>(doc.points.size() - 1);
  state.counters["contours"] = doc.count;
}

void BM_CreateDiscsAndRings(benchmark::State& state) {
  const RgbImage image = DiscsAndRings(static_cast<int>(state.range(0)));
  Rig rig(&image);
  for (auto _ : state) {
    rig.Create();
    benchmark::DoNotOptimize(rig.doc.points.data());
  }
  ReportPerMegapixel(state, image, rig.doc);
}
BENCHMARK(BM_CreateDiscsAndRings)->Arg(1024)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_CreateHugeFigure(benchmark::State& state) {
  const RgbImage image = Comb(2048, 2048, 255, 4);
  Rig rig(&image);
  for (auto _ : state) {
    rig.Create();
  }
  ReportPerMegapixel(state, image, rig.doc);
}
BENCHMARK(BM_CreateHugeFigure)->Unit(benchmark::kMillisecond);

void BM_CreateNoise(benchmark::State& state) {
  const RgbImage image = Noise(static_cast<int>(state.range(0)));
  Rig rig(&image);
  for (auto _ : state) {
    rig.Create();
  }
  ReportPerMegapixel(state, image, rig.doc);
}
BENCHMARK(BM_CreateNoise)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_CreateCheckerboard(benchmark::State& state) {
  const RgbImage image = Checkerboard(static_cast<int>(state.range(0)));
  Rig rig(&image);
  for (auto _ : state) {
    rig.Create();
  }
  ReportPerMegapixel(state, image, rig.doc);
}
BENCHMARK(BM_CreateCheckerboard)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

// A click into a comb whose boundary is about 50 000 pixels long.
void BM_ClickAdd(benchmark::State& state) {
  const RgbImage image = Comb(1024, 1024, 25, 4);
  Rig rig(&image);
  rig.engine.PrepareMask();
  for (auto _ : state) {
    rig.doc = ContourSet();
    rig.engine.AddContourAtPoint(rig.doc, 5 * 15, 5 * 15, "0");
  }
  Rig probe(&image);
  probe.engine.PrepareMask();
  probe.engine.TraceContourAt(5, 5);  // no reduction: the traced length
  state.counters["boundary"] = static_cast<double>(probe.engine.Traced().size() - 1);
  state.counters["points"] = static_cast<double>(rig.doc.points.size() - 1);
}
BENCHMARK(BM_ClickAdd)->Unit(benchmark::kMillisecond);

void BM_PrepareMask(benchmark::State& state) {
  const RgbImage image = DiscsAndRings(static_cast<int>(state.range(0)));
  Rig rig(&image);
  for (auto _ : state) {
    rig.engine.PrepareMask();
  }
  ReportPerMegapixel(state, image, rig.doc);
}
BENCHMARK(BM_PrepareMask)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);

// Each reduction method on the comb's traced contour.
void BM_Reduce(benchmark::State& state) {
  const RgbImage image = Comb(1024, 1024, 25, 4);
  struct Method {
    ReductionMethod method;
    const char* label;
  };
  const Method methods[] = {{ReductionMethod::LineFit, "0"},
                            {ReductionMethod::DirectionChange, "1"},
                            {ReductionMethod::LineOfSightWithNeighbours, "2"},
                            {ReductionMethod::LineOfSight, "2.5"},
                            {ReductionMethod::DirectionChangeThenLineOfSight, "3"}};
  const Method& method = methods[state.range(0)];
  Rig rig(&image, method.method);
  rig.engine.PrepareMask();
  rig.engine.TraceContourAt(5, 5);
  const ContourPoints traced = rig.engine.Traced();
  ContourPoints points;
  std::int32_t n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    points = traced;
    state.ResumeTiming();
    n = rig.engine.SimplifyContour(points, true);
  }
  state.counters["in"] = static_cast<double>(traced.size() - 1);
  state.counters["out"] = n;
  state.SetLabel(std::string("method ") + method.label);
}
BENCHMARK(BM_Reduce)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
