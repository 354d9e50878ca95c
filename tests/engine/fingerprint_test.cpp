// The engine's output held against fingerprints taken from the engine before its speed
// work: the bench's image families at small sizes, and random multi-colour pictures
// with anti-aliased edges (many colours, near-background fringes, other background
// colours, stops at random ticks, clicks that join), so that every path of the tracing,
// the pair search and the reduction runs. A fingerprint covers the point array, the
// contour count, the titles, the number of ticks and every progress call.
//
// To take new fingerprints after a deliberate change of output, run with
// MORVANE_PRINT_FINGERPRINTS=1 and paste the table printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/support/generated_images.h"
#include "tests/engine/engine_fixture.h"

namespace morvane::engine::testing {
namespace {

using morvane::testing::Checkerboard;
using morvane::testing::Comb;
using morvane::testing::DiscsAndRings;
using morvane::testing::Draw;
using morvane::testing::HugeDisc;
using morvane::testing::Noise;
using morvane::testing::Spiral;

struct Fnv {
  std::uint64_t hash = 1469598103934665603ull;
  void Add(std::int64_t v) {
    for (int k = 0; k < 8; ++k) {
      hash ^= static_cast<std::uint64_t>(v >> (8 * k)) & 0xFFu;
      hash *= 1099511628211ull;
    }
  }
  void Add(const std::string& text) {
    Add(static_cast<std::int64_t>(text.size()));
    for (const char c : text) Add(c);
  }
};

struct TracedRun {
  explicit TracedRun(const core::RgbImage& picture)
      : image(picture), engine(window, window, window, window) {
    engine.SetImage(&image);
  }
  void Create() { doc = engine.CreateWholeImageContours("0"); }
  std::uint64_t Fingerprint() const {
    Fnv f;
    for (const ContourPoint& p : doc.points) {
      f.Add(p.x);
      f.Add(p.y);
    }
    f.Add(doc.count);
    for (const std::string& t : Entries(doc)) f.Add(t);
    f.Add(window.ticks);
    for (const auto& [index, percent] : window.progress) {
      f.Add(index);
      f.Add(percent);
    }
    for (const int index : window.hidden) f.Add(index);
    f.Add(window.progress2);
    return f.hash;
  }
  core::RgbImage image;
  FakeWindow window;
  ContourEngine engine;
  ContourSet doc;
};

bool Printing() { return std::getenv("MORVANE_PRINT_FINGERPRINTS") != nullptr; }

// Compares, or with printing on prints the table row.
void Check(const std::string& name, std::uint64_t got,
           const std::vector<std::pair<std::string, std::uint64_t>>& table, std::size_t& row) {
  if (Printing()) {
    std::printf("    {\"%s\", 0x%016llxull},\n", name.c_str(), static_cast<unsigned long long>(got));
    return;
  }
  ASSERT_LT(row, table.size()) << name;
  ASSERT_EQ(table[row].first, name);
  EXPECT_EQ(got, table[row].second) << name;
  ++row;
}

// A picture of shapes in many colours over a ground colour, each edge pixel blended by
// how much of it the shape covers (4 x 4 samples), as a scanner or a smoothing painter
// leaves it.
core::RgbImage AntiAliasedImage(std::mt19937& rng, std::uint32_t ground) {
  const int w = Draw(rng, 8, 72), h = Draw(rng, 8, 72);
  core::RgbImage image(w, h, 0xFF000000u | ground);
  const int shapes = Draw(rng, 1, 9);
  for (int s = 0; s < shapes; ++s) {
    const double cx = Draw(rng, -4, w + 4), cy = Draw(rng, -4, h + 4);
    const double r = Draw(rng, 2, 20) + Draw(rng, 0, 3) / 4.0;
    const double inner = Draw(rng, 0, 2) == 0 ? r / 2 : -1;  // a ring
    const int kind = Draw(rng, 0, 2);                        // disc, square, bar
    std::uint32_t colour = static_cast<std::uint32_t>(rng()) & 0xFFFFFFu;
    if (Draw(rng, 0, 1) == 0) colour = Draw(rng, 0, 1) == 0 ? 0x000000u : 0xFFFFFFu;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        int covered = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) {
            const double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
            const double d2 = dx * dx + dy * dy;
            bool in = false;
            if (kind == 0) in = d2 <= r * r && d2 > inner * inner;
            if (kind == 1)
              in = std::abs(dx) <= r && std::abs(dy) <= r &&
                   !(std::abs(dx) < inner && std::abs(dy) < inner);
            if (kind == 2) in = std::abs(dx - dy) <= r / 3 && std::abs(dx + dy) <= 2 * r;
            covered += in ? 1 : 0;
          }
        }
        if (covered == 0) continue;
        const std::uint32_t under = image.at(x, y);
        std::uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          const int a = static_cast<int>((colour >> shift) & 0xFF),
                    b = static_cast<int>((under >> shift) & 0xFF);
          out |= static_cast<std::uint32_t>((a * covered + b * (16 - covered) + 8) / 16) << shift;
        }
        image.at(x, y) = out;
      }
    }
  }
  return image;
}

const std::vector<std::pair<std::string, std::uint64_t>> kFamilies = {
#include "tests/engine/fingerprints_families.inc"
};

const std::vector<std::pair<std::string, std::uint64_t>> kRandom = {
#include "tests/engine/fingerprints_random.inc"
};

const std::vector<std::pair<std::string, std::uint64_t>> kStops = {
#include "tests/engine/fingerprints_stops.inc"
};

constexpr ReductionMethod kMethods[] = {ReductionMethod::LineFit, ReductionMethod::DirectionChange,
                                        ReductionMethod::LineOfSightWithNeighbours,
                                        ReductionMethod::DirectionChangeThenLineOfSight};

TEST(FingerprintTest, BenchFamiliesTraceAsBefore) {
  struct Family {
    const char* name;
    core::RgbImage image;
  };
  const Family families[] = {
      {"blobs512", DiscsAndRings(512)},   {"noise30", Noise(96, 30)}, {"noise50", Noise(96, 50)},
      {"checkerboard", Checkerboard(64)}, {"disc", HugeDisc(200)},    {"spiral", Spiral(160)},
      {"comb", Comb(160, 160, 19, 4)},
  };
  std::size_t row = 0;
  for (const Family& family : families) {
    for (const ReductionMethod method : kMethods) {
      for (const bool connected : {false, true}) {
        TracedRun run(family.image);
        run.engine.LetBackColor(0xFFFFFF);
        run.engine.ApproxMethod = method;
        run.engine.Connected = connected;
        run.Create();
        Check(std::string(family.name) + " method " + std::to_string(static_cast<int>(method)) +
                  (connected ? " connected" : ""),
              run.Fingerprint(), kFamilies, row);
      }
    }
  }
  if (!Printing()) {
    EXPECT_EQ(row, kFamilies.size());
  }
}

TEST(FingerprintTest, AntiAliasedPicturesTraceAsBefore) {
  std::mt19937 rng(5150);
  const std::int32_t systemColour = static_cast<std::int32_t>(0x8000000Fu);
  std::size_t row = 0;
  for (int round = 0; round < 120; ++round) {
    // Mostly white ground; also palette and off-palette grounds, and a system colour
    // as the background, which matches no pixel.
    const int groundKind = Draw(rng, 0, 5);
    const std::uint32_t ground = groundKind <= 2   ? 0xFFFFFFu
                                 : groundKind == 3 ? 0xC0C0C0u
                                 : groundKind == 4 ? (static_cast<std::uint32_t>(rng()) & 0xFFFFFFu)
                                                   : 0x000080u;
    const core::RgbImage image = AntiAliasedImage(rng, ground);
    const std::int32_t back =
        Draw(rng, 0, 9) == 0
            ? systemColour
            : static_cast<std::int32_t>(((ground & 0xFF) << 16) | (ground & 0xFF00) | (ground >> 16));
    const ReductionMethod method = kMethods[round % 4];
    const bool connected = round % 3 == 1;
    const auto setUp = [&](TracedRun& run) {
      run.engine.LetBackColor(back);
      run.engine.ApproxMethod = method;
      run.engine.Connected = connected;
    };
    const std::string name = "round " + std::to_string(round);

    TracedRun whole(image);
    setUp(whole);
    whole.Create();
    Check(name + " create", whole.Fingerprint(), kRandom, row);

    // The same run stopped at a tick somewhere inside it.
    const std::int64_t stopAt =
        1 + static_cast<std::int64_t>(rng() % static_cast<std::uint32_t>(whole.window.ticks + 1));
    TracedRun stopped(image);
    setUp(stopped);
    stopped.window.onTick = [&stopped, stopAt](std::int64_t tick) {
      if (tick >= stopAt) stopped.window.stop = true;
    };
    stopped.Create();
    Check(name + " stopped", stopped.Fingerprint(), kRandom, row);

    // Clicks on an empty document: with Connected the second and later ones join.
    TracedRun clicks(image);
    setUp(clicks);
    clicks.engine.PrepareMask();
    for (int k = 0; k < 4; ++k) {
      const int x = Draw(rng, 0, image.width - 1), y = Draw(rng, 0, image.height - 1);
      clicks.engine.AddContourAtPoint(clicks.doc, x * kTwipsPerPixel, y * kTwipsPerPixel, "0");
    }
    Check(name + " clicks", clicks.Fingerprint(), kRandom, row);
  }
  if (!Printing()) {
    EXPECT_EQ(row, kRandom.size());
  }
}

// Connected runs stopped at every tick, each stop's state folded into one
// fingerprint per picture: a stop lands where it landed, the pair searches' swept
// points included.
TEST(FingerprintTest, ConnectedRunsStopAtEveryTickAsBefore) {
  std::mt19937 rng(8128);
  std::size_t row = 0;
  for (int round = 0; round < 8; ++round) {
    const core::RgbImage image = TopLeft(AntiAliasedImage(rng, 0xFFFFFFu), 24);
    const ReductionMethod method = kMethods[round % 4];
    Fnv all;
    for (std::int64_t stopAt = 1;; ++stopAt) {
      TracedRun run(image);
      run.engine.LetBackColor(0xFFFFFF);
      run.engine.ApproxMethod = method;
      run.engine.Connected = true;
      run.window.onTick = [&run, stopAt](std::int64_t tick) {
        if (tick >= stopAt) run.window.stop = true;
      };
      run.Create();
      all.Add(static_cast<std::int64_t>(run.Fingerprint()));
      if (run.window.ticks < stopAt) break;  // the run ended before this tick
    }
    Check("round " + std::to_string(round), all.hash, kStops, row);
  }
  if (!Printing()) {
    EXPECT_EQ(row, kStops.size());
  }
}

}  // namespace
}  // namespace morvane::engine::testing
