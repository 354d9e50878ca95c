// The engine on generated images. Run on demand:
//   build/release/bin/morvane_bench [--benchmark_filter=...]
//   build/release/bin/morvane_bench --growth | --connected [FAMILY] | --fingerprints
//   build/release/bin/morvane_bench --write-image FAMILY SIZE FILE  (an image for morvane-trace)
// "per_MP" is the time per megapixel, so growth with the image size shows.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/support/generated_images.h"
#include "engine/contour_engine.h"
#include "engine/silent_roles.h"

namespace {

using morvane::core::RgbImage;
using morvane::engine::ContourEngine;
using morvane::engine::ContourPoints;
using morvane::engine::ContourSet;
using morvane::engine::ReductionMethod;

using morvane::testing::Checkerboard;
using morvane::testing::Comb;
using morvane::testing::DiscsAndRings;
using morvane::testing::HugeDisc;
using morvane::testing::Noise;
using morvane::testing::Spiral;
using morvane::testing::SquareGrid;

// No method of reduction: the traced points stay.
constexpr auto kUnreduced = static_cast<ReductionMethod>(7);

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
  state.counters["per_MP"] = benchmark::Counter(
      mp, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["points"] = static_cast<double>(doc.points.size() - 1);
  state.counters["contours"] = doc.count;
}

// Whole-image Create on an image, timed per run.
void TimeCreate(benchmark::State& state, const RgbImage& image, bool connected = false) {
  Rig rig(&image);
  rig.engine.Connected = connected;
  for (auto _ : state) {
    rig.Create();
    benchmark::DoNotOptimize(rig.doc.points.data());
  }
  ReportPerMegapixel(state, image, rig.doc);
}

int Size(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_CreateDiscsAndRings(benchmark::State& state) { TimeCreate(state, DiscsAndRings(Size(state))); }
BENCHMARK(BM_CreateDiscsAndRings)->Arg(1024)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_CreateHugeFigure(benchmark::State& state) { TimeCreate(state, Comb(2048, 2048, 255, 4)); }
BENCHMARK(BM_CreateHugeFigure)->Unit(benchmark::kMillisecond);

void BM_CreateNoise(benchmark::State& state) {
  TimeCreate(state, Noise(Size(state), static_cast<int>(state.range(1))));
}
BENCHMARK(BM_CreateNoise)->ArgsProduct({{256, 1024}, {30, 50}})->Unit(benchmark::kMillisecond);

void BM_CreateCheckerboard(benchmark::State& state) { TimeCreate(state, Checkerboard(Size(state))); }
BENCHMARK(BM_CreateCheckerboard)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_CreateGrid(benchmark::State& state) { TimeCreate(state, SquareGrid(Size(state))); }
BENCHMARK(BM_CreateGrid)->Arg(2048)->Arg(8192)->Unit(benchmark::kMillisecond);

// Connected: every new figure is joined to the nearest point collected so far.
void BM_CreateConnected(benchmark::State& state) { TimeCreate(state, DiscsAndRings(Size(state)), true); }
BENCHMARK(BM_CreateConnected)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond);

void BM_CreateConnectedNoise(benchmark::State& state) {
  TimeCreate(state, Noise(Size(state), static_cast<int>(state.range(1))), true);
}
BENCHMARK(BM_CreateConnectedNoise)->ArgsProduct({{256, 1024}, {30, 50}})->Unit(benchmark::kMillisecond);

void BM_CreateConnectedGrid(benchmark::State& state) {
  TimeCreate(state, SquareGrid(Size(state)), true);
}
BENCHMARK(BM_CreateConnectedGrid)->Arg(2048)->Arg(8192)->Unit(benchmark::kMillisecond);

void BM_CreateConnectedCheckerboard(benchmark::State& state) {
  TimeCreate(state, Checkerboard(Size(state)), true);
}
BENCHMARK(BM_CreateConnectedCheckerboard)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_CreateSpiral(benchmark::State& state) { TimeCreate(state, Spiral(Size(state))); }
BENCHMARK(BM_CreateSpiral)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_CreateHugeDisc(benchmark::State& state) { TimeCreate(state, HugeDisc(Size(state))); }
BENCHMARK(BM_CreateHugeDisc)->Arg(4096)->Unit(benchmark::kMillisecond);

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

// The growth table: each family over its sizes, the time per pixel and per pixel plus
// boundary point (the points traced before the reduction), and how the latter grows
// from one size to the next: 1.00 is linear.
struct Family {
  const char* name;
  std::vector<int> sizes;
  RgbImage (*make)(int);
  bool connected = false;
};

double BestCreateMs(Rig& rig, int repeats) {
  double best = 1e300;
  for (int k = 0; k < repeats; ++k) {
    const auto started = std::chrono::steady_clock::now();
    rig.Create();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    best = std::min(best, took.count());
  }
  return best;
}

const std::vector<Family>& Families() {
  static const std::vector<Family> families = {
      {"blobs", {512, 1024, 2048, 4096, 8192}, [](int n) { return DiscsAndRings(n); }},
      {"blobs connected", {512, 1024, 2048, 4096}, [](int n) { return DiscsAndRings(n); }, true},
      {"noise 30%", {256, 512, 1024, 2048}, [](int n) { return Noise(n, 30); }},
      {"noise 50%", {256, 512, 1024, 2048}, [](int n) { return Noise(n, 50); }},
      {"noise 30% conn.", {256, 512, 1024, 2048}, [](int n) { return Noise(n, 30); }, true},
      {"noise 50% conn.", {256, 512, 1024, 2048}, [](int n) { return Noise(n, 50); }, true},
      {"grid", {1024, 2048, 4096, 8192}, [](int n) { return SquareGrid(n); }},
      {"grid connected", {1024, 2048, 4096, 8192}, [](int n) { return SquareGrid(n); }, true},
      {"checkerboard", {64, 128, 256, 512, 1024, 2048}, [](int n) { return Checkerboard(n); }},
      {"huge disc", {1024, 2048, 4096}, [](int n) { return HugeDisc(n); }},
      {"spiral", {512, 1024, 2048}, [](int n) { return Spiral(n); }},
      {"comb", {512, 1024, 2048}, [](int n) { return Comb(n, n, n / 8 - 1, 4); }},
  };
  return families;
}

void PrintGrowth() {
  std::printf("%-16s %6s %12s %10s %10s %12s %8s\n", "family", "size", "boundary", "ms", "ns/pixel",
              "ns/(px+pt)", "growth");
  for (const Family& family : Families()) {
    double previous = 0;
    for (const int size : family.sizes) {
      const RgbImage image = family.make(size);
      Rig rig(&image);
      rig.engine.Connected = family.connected;
      const double pixels = static_cast<double>(size) * size;
      const double ms = BestCreateMs(rig, pixels <= 4e6 ? 3 : 1);
      // The boundary length: the points of the same run left unreduced.
      Rig probe(&image, kUnreduced);
      probe.Create();
      const double points = static_cast<double>(probe.doc.points.size() - 1);
      const double perUnit = ms * 1e6 / (pixels + points);
      char growth[16] = "";
      if (previous > 0) std::snprintf(growth, sizeof growth, "%.2f", perUnit / previous);
      std::printf("%-16s %6d %12.0f %10.1f %10.2f %12.2f %8s\n", family.name, size, points, ms,
                  ms * 1e6 / pixels, perUnit, growth);
      std::fflush(stdout);
      previous = perUnit;
    }
  }
}

// Connected against the plain run on the same images, each family over its sizes:
// "figures" is the number of contours the plain run gives (figures and holes), each
// of which the Connected run joins to the path. A family name, or the start of one,
// keeps the table to those rows.
void PrintConnectedTable(const std::string& only) {
  struct Row {
    const char* name;
    std::vector<int> sizes;
    RgbImage (*make)(int);
  };
  const Row rows[] = {
      {"blobs", {1024, 2048, 4096, 8192}, [](int n) { return DiscsAndRings(n); }},
      {"noise 30%", {512, 1024, 2048, 4096}, [](int n) { return Noise(n, 30); }},
      {"noise 50%", {512, 1024, 2048, 4096}, [](int n) { return Noise(n, 50); }},
      {"grid", {1024, 2048, 4096, 8192}, [](int n) { return SquareGrid(n); }},
      {"checkerboard", {256, 512, 1024, 2048}, [](int n) { return Checkerboard(n); }},
  };
  std::printf("%-14s %6s %10s %10s %12s %7s\n", "family", "size", "figures", "plain s", "connected s",
              "ratio");
  for (const Row& row : rows) {
    if (std::string(row.name).rfind(only, 0) != 0) continue;
    for (const int size : row.sizes) {
      const RgbImage image = row.make(size);
      const int repeats = static_cast<double>(size) * size <= 4.2e6 ? 3 : 2;
      Rig plain(&image);
      const double plainMs = BestCreateMs(plain, repeats);
      Rig connected(&image);
      connected.engine.Connected = true;
      const double connectedMs = BestCreateMs(connected, repeats);
      std::printf("%-14s %6d %10d %10.3f %12.3f %7.2f\n", row.name, size, plain.doc.count, plainMs / 1e3,
                  connectedMs / 1e3, connectedMs / plainMs);
      std::fflush(stdout);
    }
  }
}

// A hash of each family's output at each size, to compare two builds of the engine.
void PrintFingerprints() {
  for (const Family& family : Families()) {
    for (const int size : family.sizes) {
      const RgbImage image = family.make(size);
      Rig rig(&image);
      rig.engine.Connected = family.connected;
      rig.Create();
      std::uint64_t hash = 1469598103934665603ull;
      const auto add = [&hash](std::int64_t v) {
        hash = (hash ^ static_cast<std::uint64_t>(v)) * 1099511628211ull;
      };
      for (const auto& p : rig.doc.points) {
        add(p.x);
        add(p.y);
      }
      add(rig.doc.count);
      add(static_cast<std::int64_t>(rig.doc.titles.size()));
      std::printf("%-16s %6d %016llx\n", family.name, size, static_cast<unsigned long long>(hash));
      std::fflush(stdout);
    }
  }
}

// Writes a family's image in the format its file name says, for the command-line tool.
bool WriteImage(const RgbImage& image, const char* path) {
  QImage out(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width,
                reinterpret_cast<std::uint32_t*>(out.scanLine(y)));
  }
  return out.save(QString::fromLocal8Bit(path));
}

}  // namespace

// --growth and --connected print their tables instead of running the benchmarks.
int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--growth") {
      PrintGrowth();
      return 0;
    }
    if (std::string(argv[i]) == "--connected") {
      PrintConnectedTable(i + 1 < argc ? argv[i + 1] : "");
      return 0;
    }
    if (std::string(argv[i]) == "--write-image" && i + 3 < argc) {
      for (const Family& family : Families()) {
        if (family.name == std::string(argv[i + 1])) {
          return WriteImage(family.make(std::atoi(argv[i + 2])), argv[i + 3]) ? 0 : 1;
        }
      }
      return 1;
    }
    if (std::string(argv[i]) == "--fingerprints") {
      PrintFingerprints();
      return 0;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
