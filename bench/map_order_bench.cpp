// The order a map writes its contours in (inner ones first), on generated documents.
// Run on demand:  build/release/bin/bench_map_order
// "per_contour" is the time per contour, so growth with the count shows.
#include <benchmark/benchmark.h>

#include <cmath>
#include <span>
#include <vector>

#include "document/area_order.h"

namespace {

using morvane::engine::ContourPoint;
using Outline = std::vector<ContourPoint>;

Outline Square(int left, int top, int size) {
  return {{left, top}, {left + size, top}, {left + size, top + size}, {left, top + size}};
}

// A border of many vertices around a country map: cells in a grid, each with a hole.
std::vector<Outline> CountryMap(int cells, int borderVertices) {
  std::vector<Outline> outlines;
  const int side = static_cast<int>(std::ceil(std::sqrt(cells)));
  const int extent = side * 20 + 40;
  Outline border;
  for (int k = 0; k < borderVertices; ++k) {
    const double a = 2 * M_PI * k / borderVertices;
    const double r = extent * (0.75 + 0.02 * std::sin(40 * a));
    border.push_back({static_cast<int>(extent + r * std::cos(a)), static_cast<int>(extent + r * std::sin(a))});
  }
  outlines.push_back(border);
  for (int k = 0; k < cells; ++k) {
    const int x = extent / 2 + (k % side) * 10, y = extent / 2 + (k / side) * 10;
    outlines.push_back(Square(x, y, 8));
    outlines.push_back(Square(x + 2, y + 2, 4));
  }
  return outlines;
}

// Text: rows of small letters, most with a hole or two, no border.
std::vector<Outline> Text(int letters) {
  std::vector<Outline> outlines;
  for (int k = 0; k < letters; ++k) {
    const int x = (k % 400) * 9, y = (k / 400) * 14;
    outlines.push_back(Square(x, y, 7));
    if (k % 3 != 0) outlines.push_back(Square(x + 2, y + 2, 2));
  }
  return outlines;
}

void Run(benchmark::State& state, const std::vector<Outline>& outlines) {
  const std::vector<std::span<const ContourPoint>> spans(outlines.begin(), outlines.end());
  for (auto _ : state) benchmark::DoNotOptimize(morvane::document::InnermostFirst(spans));
  state.counters["per_contour"] = benchmark::Counter(
      static_cast<double>(outlines.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void CountryMapBench(benchmark::State& state) {
  Run(state, CountryMap(static_cast<int>(state.range(0)), 20000));
}
BENCHMARK(CountryMapBench)->Arg(1000)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

void TextBench(benchmark::State& state) { Run(state, Text(static_cast<int>(state.range(0)))); }
BENCHMARK(TextBench)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
