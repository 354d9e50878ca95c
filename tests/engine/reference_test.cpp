// The fast engine against the literal model, on seeded random images.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/line_cover.h"
#include "platform/gui/raster.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/reference.h"

namespace morvane::engine::testing {
namespace {

// Random pictures with shapes and noise; near-white pixels (white in the mask, not
// background in the image) make corner squaring depend on the image.
core::RgbImage RandomImage(std::mt19937& rng) {
  std::uniform_int_distribution<int> size(1, 28);
  const int w = size(rng), h = size(rng);
  core::RgbImage image(w, h, 0xFFFFFFFFu);
  const std::uint32_t colours[] = {0xFF000000u, 0xFFC0C0C0u, 0xFFF4F4F4u, 0xFFFFFFFFu};
  std::uniform_int_distribution<int> shapes(0, 6);
  std::uniform_int_distribution<int> pick(0, 3);
  const int count = shapes(rng);
  for (int s = 0; s < count; ++s) {
    const int cx = std::uniform_int_distribution<int>(-2, w + 1)(rng);
    const int cy = std::uniform_int_distribution<int>(-2, h + 1)(rng);
    const int r = std::uniform_int_distribution<int>(1, 8)(rng);
    const bool disc = pick(rng) < 2;
    const std::uint32_t colour = colours[std::uniform_int_distribution<int>(0, 1)(rng)];
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int dx = x - cx, dy = y - cy;
        if (disc ? dx * dx + dy * dy <= r * r : (std::abs(dx) <= r && std::abs(dy) <= r / 2 + 1)) {
          image.at(x, y) = colour;
        }
      }
    }
    if (pick(rng) == 0) {  // punch a hole
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const int dx = x - cx, dy = y - cy;
          if (dx * dx + dy * dy <= (r / 2) * (r / 2)) image.at(x, y) = 0xFFFFFFFFu;
        }
      }
    }
  }
  const double noise = std::uniform_real_distribution<double>(0, 0.5)(rng);
  std::bernoulli_distribution flip(noise);
  for (auto& px : image.pixels) {
    if (flip(rng)) px = colours[pick(rng)];
  }
  return image;
}

struct FastRun {
  explicit FastRun(const core::RgbImage& picture, float method, bool connected)
      : image(picture), engine(window, window, window, window) {
    engine.SetImage(&image);
    engine.LetBackColor(0xFFFFFF);
    engine.ApproxMethod = MethodOf(method);
    engine.Connected = connected;
  }
  void Create() { doc = engine.CreateWholeImageContours("0"); }
  core::RgbImage image;
  FakeWindow window;
  ContourEngine engine;
  ContourSet doc;
};

constexpr float kMethods[] = {0, 1, 2, 2.5f, 3};

TEST(ReferenceTest, WholeImageRunsGiveTheSamePointArrays) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 400; ++round) {
    const core::RgbImage image = RandomImage(rng);
    const float method = kMethods[round % 5];
    const bool connected = round % 7 == 3;
    reference::Model model;
    model.image = image;
    model.approxMethod = method;
    model.connected = connected;
    reference::CreateWholeImage(model);

    FastRun fast(image, method, connected);
    fast.Create();
    ASSERT_EQ(fast.doc.points, model.points)
        << "round " << round << " method " << method << " connected " << connected << " size "
        << image.width << "x" << image.height;
    ASSERT_EQ(fast.doc.count, model.contourCount) << "round " << round;
    ASSERT_EQ(Entries(fast.doc), model.titles) << "round " << round;
  }
}

// Stopped at any step of a run (a start scan, a trace, the pixel count, pass 2's hole
// search, the closing reduction), the fast engine keeps what the model keeps. The fast
// engine lets events through less often (its start scan resumes where the last figure
// started), so the two are compared by the states a stop can leave, in their order.
// Connected runs are left out: there the fast pair search also ends its sweep early.
struct StoppedRun {
  ContourPoints points;
  std::int32_t count = 0;
  std::vector<std::string> titles;
  bool operator==(const StoppedRun&) const = default;
};

template <typename Run>
std::vector<StoppedRun> StatesAStopCanLeave(Run run) {
  std::vector<StoppedRun> states;
  for (std::int64_t stopAt = 1;; ++stopAt) {
    bool reached = false;
    StoppedRun state = run(stopAt, reached);
    if (states.empty() || !(states.back() == state)) states.push_back(std::move(state));
    if (!reached) return states;  // the run ended before this tick: no later stop counts
  }
}

TEST(ReferenceTest, AStopAtAnyStepLeavesTheSameStates) {
  std::mt19937 rng(1207);
  std::size_t states = 0;
  for (int round = 0; round < 60; ++round) {
    core::RgbImage image = RandomImage(rng);
    if (image.width > 14 || image.height > 14) {
      core::RgbImage small(std::min(image.width, 14), std::min(image.height, 14));
      for (std::int32_t y = 0; y < small.height; ++y)
        for (std::int32_t x = 0; x < small.width; ++x) small.at(x, y) = image.at(x, y);
      image = small;
    }
    const float method = kMethods[round % 5];
    const auto model = StatesAStopCanLeave([&](std::int64_t stopAt, bool& reached) {
      reference::Model m;
      m.image = image;
      m.approxMethod = method;
      m.stopAtTick = stopAt;
      reference::CreateWholeImage(m);
      reached = m.ticks >= stopAt;
      return StoppedRun{m.points, m.contourCount, m.titles};
    });
    const auto fast = StatesAStopCanLeave([&](std::int64_t stopAt, bool& reached) {
      FastRun f(image, method, false);
      f.window.onTick = [&f, stopAt](std::int64_t tick) {
        if (tick >= stopAt) f.window.stop = true;
      };
      f.Create();
      reached = f.window.ticks >= stopAt;
      return StoppedRun{f.doc.points, f.doc.count, Entries(f.doc)};
    });
    states += model.size();
    ASSERT_EQ(fast.size(), model.size()) << "round " << round << " method " << method;
    for (std::size_t k = 0; k < model.size(); ++k) {
      ASSERT_EQ(fast[k].points, model[k].points) << "round " << round << " state " << k;
      ASSERT_EQ(fast[k].count, model[k].count) << "round " << round << " state " << k;
      ASSERT_EQ(fast[k].titles, model[k].titles) << "round " << round << " state " << k;
    }
  }
  EXPECT_GT(states, 150u) << "the images give stops something to cut short";
}

TEST(ReferenceTest, ClickTracesAndAddsGiveTheSamePointArrays) {
  std::mt19937 rng(4242);
  for (int round = 0; round < 300; ++round) {
    const core::RgbImage image = RandomImage(rng);
    const float method = kMethods[round % 5];
    reference::Model model;
    model.image = image;
    model.approxMethod = method;
    reference::PrepareMask(model);
    FastRun fast(image, method, false);
    fast.engine.PrepareMask();
    std::uniform_int_distribution<int> xs(-1, image.width), ys(-1, image.height);
    for (int click = 0; click < 4; ++click) {
      const int x = xs(rng), y = ys(rng);
      // The bare trace first, then an add on top of what was added before.
      reference::Model traced = model;
      const bool found = reference::TraceContourAt(traced, x, y);
      ASSERT_EQ(fast.engine.TraceContourAt(x, y), found) << "round " << round;
      ASSERT_EQ(fast.engine.Traced(), traced.points) << "round " << round << " click " << x << "," << y;

      const std::string status = reference::AddContourAtPoint(model, x, y);
      fast.window.progress2 = "";
      fast.engine.AddContourAtPoint(fast.doc, x * kTwipsPerPixel, y * kTwipsPerPixel, "0");
      ASSERT_EQ(fast.window.progress2, status) << "round " << round;
      ASSERT_EQ(fast.doc.points, model.points) << "round " << round << " click " << x << "," << y;
    }
  }
}

// Many equal distances: the pair taken must be the first in the search order.
TEST(ReferenceTest, NearestPairsAndTheirTies) {
  std::mt19937 rng(31);
  for (int round = 0; round < 2000; ++round) {
    const int spread = 1 + round % 12;
    std::uniform_int_distribution<int> coord(0, spread), size(0, 14), sep(0, 5);
    const auto randomArray = [&] {
      ContourPoints points = EmptyContourPoints();
      const int n = size(rng);
      for (int k = 0; k < n; ++k) {
        points.push_back(sep(rng) == 0 ? Separator(k) : ContourPoint{coord(rng), coord(rng)});
      }
      return points;
    };
    ContourPoints existing = randomArray(), newer = randomArray();
    reference::Model model;
    model.maskW = 1 + round % 9;  // a small diagonal leaves some pairs out of reach
    model.maskH = 1 + round % 5;
    ContourPoints modelExisting = existing, modelNewer = newer;
    const std::int32_t expected = reference::ConnectToPrevious(model, modelExisting, modelNewer);

    FastRun fast(core::RgbImage(model.maskW, model.maskH), 1, false);
    fast.engine.PrepareMask();
    ASSERT_EQ(fast.engine.ConnectToPrevious(existing, newer), expected) << "round " << round;
    ASSERT_EQ(existing, modelExisting) << "round " << round;
    ASSERT_EQ(newer, modelNewer) << "round " << round;
  }
}

// The line-of-sight test answers as the picture box's own line drawing.
TEST(ReferenceTest, LineCoverAgreesWithTheDrawnLine) {
  const auto drawnAround = [](ContourPoint from, ContourPoint to, ContourPoint centre) {
    std::vector<gui::raster::PathPixel> drawn;
    gui::raster::LinePath({from.x, from.y}, {to.x, to.y}, false,
                          gui::raster::Clip{centre.x - 14, centre.y - 14, centre.x + 14, centre.y + 14},
                          drawn);
    return drawn;
  };
  const auto agree = [&](ContourPoint from, ContourPoint to, ContourPoint centre) {
    const auto drawn = drawnAround(from, to, centre);
    for (int y = centre.y - 14; y <= centre.y + 14; ++y) {
      for (int x = centre.x - 14; x <= centre.x + 14; ++x) {
        const bool onLine = std::any_of(drawn.begin(), drawn.end(), [&](const auto& px) {
          return px.p == gui::raster::Px{x, y};
        });
        if (LineCovers(from, to, {x, y}) != onLine) {
          ADD_FAILURE() << from << " " << to << " " << ContourPoint{x, y};
          return false;
        }
      }
    }
    return true;
  };
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-12, 12);
  for (int round = 0; round < 3000; ++round) {
    ASSERT_TRUE(agree({coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {0, 0}));
  }
  // Far apart, where products leave 32 bits and the ends are held.
  ASSERT_TRUE(agree({0, 0}, {100000000, -30000001}, {50000000, -15000000}));
  ASSERT_TRUE(agree({0, 0}, {2000000000, -2000000000}, {100000000, -100000000}));
  ASSERT_TRUE(agree({-3, 5}, {2000000000, 7}, {134217727, 6}));
}

}  // namespace
}  // namespace morvane::engine::testing
