// The fast engine against the literal model, on seeded random images.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "engine/line_cover.h"
#include "platform/raster/raster.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/reference.h"
#include "tests/support/generated_images.h"

namespace morvane::engine::testing {
namespace {

using morvane::testing::Checkerboard;

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

// A run of the fast engine against the model's on one picture.
void ExpectRunAsTheModels(const core::RgbImage& image, float method, bool connected) {
  reference::Model model;
  model.image = image;
  model.approxMethod = method;
  model.connected = connected;
  reference::CreateWholeImage(model);
  FastRun fast(image, method, connected);
  fast.Create();
  EXPECT_EQ(fast.doc.points, model.points);
  EXPECT_EQ(fast.doc.count, model.contourCount);
  EXPECT_EQ(Entries(fast.doc), model.titles);
}

constexpr float kMethods[] = {0, 1, 2, 2.5f, 3};

TEST(ReferenceTest, WholeImageRunsGiveTheSamePointArrays) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 400; ++round) {
    const core::RgbImage image = RandomImage(rng);
    const float method = kMethods[round % 5];
    const bool connected = round % 7 == 3;
    SCOPED_TRACE("round " + std::to_string(round) + " method " + std::to_string(method) + " connected " +
                 std::to_string(connected) + " size " + std::to_string(image.width) + "x" +
                 std::to_string(image.height));
    ExpectRunAsTheModels(image, method, connected);
    if (::testing::Test::HasFailure()) return;
  }
}

// Connected runs over pictures of many small figures, each joined to the nearest point
// of the path collected so far: the pairs tie often, and the path is rotated far from
// where it was extended.
TEST(ReferenceTest, ConnectedRunsOfManyFiguresGiveTheSamePointArrays) {
  std::mt19937 rng(25);
  for (int round = 0; round < 24; ++round) {
    const int w = std::uniform_int_distribution<int>(16, 44)(rng);
    const int h = std::uniform_int_distribution<int>(16, 44)(rng);
    core::RgbImage image(w, h, 0xFFFFFFFFu);
    std::bernoulli_distribution black(std::uniform_real_distribution<double>(0.2, 0.55)(rng));
    for (auto& px : image.pixels) {
      if (black(rng)) px = 0xFF000000u;
    }
    const float method = kMethods[round % 5];
    SCOPED_TRACE("round " + std::to_string(round) + " method " + std::to_string(method) + " size " +
                 std::to_string(w) + "x" + std::to_string(h));
    ExpectRunAsTheModels(image, method, true);
    if (::testing::Test::HasFailure()) return;
  }
}

// Connected runs where the nearest pairs are few or tie everywhere: every picture of
// 3 x 3 pixels and random thin ones; a few small figures far apart on a wide picture,
// where the pair search reaches across many empty cells; and figures on an even
// lattice, where many pairs lie at the same distance and the first by path position
// must win.
TEST(ReferenceTest, ConnectedRunsOfTinySparseAndEvenPicturesGiveTheSamePointArrays) {
  constexpr std::uint32_t kInk = 0xFF000000u;
  for (int bits = 0; bits < 512; ++bits) {
    SCOPED_TRACE(::testing::Message() << "3x3 picture " << bits);
    core::RgbImage image(3, 3, 0xFFFFFFFFu);
    for (int k = 0; k < 9; ++k) {
      if ((bits >> k) & 1) image.pixels[static_cast<std::size_t>(k)] = kInk;
    }
    ExpectRunAsTheModels(image, kMethods[bits % 5], true);
  }
  std::mt19937 rng(2525);
  for (int round = 0; round < 40; ++round) {
    const int length = std::uniform_int_distribution<int>(1, 40)(rng);
    const bool across = round % 2 == 0;
    SCOPED_TRACE(::testing::Message() << "thin round " << round << " length " << length);
    core::RgbImage image(across ? length : 1, across ? 1 : length, 0xFFFFFFFFu);
    std::bernoulli_distribution ink(0.5);
    for (auto& px : image.pixels) {
      if (ink(rng)) px = kInk;
    }
    ExpectRunAsTheModels(image, kMethods[round % 5], true);
  }
  for (int round = 0; round < 12; ++round) {
    const int w = std::uniform_int_distribution<int>(120, 240)(rng);
    const int h = std::uniform_int_distribution<int>(90, 180)(rng);
    const int figures = std::uniform_int_distribution<int>(2, 7)(rng);
    SCOPED_TRACE(::testing::Message() << "sparse round " << round << " " << w << "x" << h);
    core::RgbImage image(w, h, 0xFFFFFFFFu);
    for (int f = 0; f < figures; ++f) {
      const int side = std::uniform_int_distribution<int>(1, 5)(rng);
      const int left = std::uniform_int_distribution<int>(0, w - side)(rng);
      const int top = std::uniform_int_distribution<int>(0, h - side)(rng);
      for (int y = top; y < top + side; ++y) {
        for (int x = left; x < left + side; ++x) image.at(x, y) = kInk;
      }
    }
    ExpectRunAsTheModels(image, kMethods[round % 5], true);
  }
  struct Lattice {
    int w, h, side, every;
  };
  const Lattice lattices[] = {{9, 9, 1, 2},   {20, 14, 1, 2},   {21, 21, 1, 3}, {30, 30, 2, 4},
                              {40, 25, 3, 5}, {64, 64, 10, 16}, {33, 17, 1, 4}, {50, 50, 2, 3}};
  int round = 0;
  for (const Lattice& lattice : lattices) {
    SCOPED_TRACE(::testing::Message() << "lattice " << lattice.w << "x" << lattice.h << " side "
                                      << lattice.side << " every " << lattice.every);
    core::RgbImage image(lattice.w, lattice.h, 0xFFFFFFFFu);
    for (int top = 0; top + lattice.side <= lattice.h; top += lattice.every) {
      for (int left = 0; left + lattice.side <= lattice.w; left += lattice.every) {
        for (int y = top; y < top + lattice.side; ++y) {
          for (int x = left; x < left + lattice.side; ++x) image.at(x, y) = kInk;
        }
      }
    }
    ExpectRunAsTheModels(image, kMethods[round++ % 5], true);
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
    const core::RgbImage image = TopLeft(RandomImage(rng), 14);
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

// The 8-connected figures of a model's mask: a label per pixel (-1 for background),
// and per figure its first pixel in raster order and its size.
struct Figures {
  std::vector<int> label;
  std::vector<ContourPoint> first;
  std::vector<int> size;
};

Figures FindFigures(const reference::Model& m) {
  Figures f;
  f.label.assign(m.mask.size(), -1);
  for (std::int32_t y = 0; y < m.maskH; ++y) {
    for (std::int32_t x = 0; x < m.maskW; ++x) {
      const auto at = static_cast<std::size_t>(y) * m.maskW + x;
      if (m.mask[at] != core::kMaskBlack || f.label[at] >= 0) continue;
      const int id = static_cast<int>(f.first.size());
      f.first.push_back({x, y});
      f.size.push_back(0);
      std::vector<ContourPoint> stack{{x, y}};
      f.label[at] = id;
      while (!stack.empty()) {
        const ContourPoint p = stack.back();
        stack.pop_back();
        ++f.size.back();
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int qx = p.x + dx, qy = p.y + dy;
            if (qx < 0 || qy < 0 || qx >= m.maskW || qy >= m.maskH) continue;
            const auto q = static_cast<std::size_t>(qy) * m.maskW + qx;
            if (m.mask[q] == core::kMaskBlack && f.label[q] < 0) {
              f.label[q] = id;
              stack.push_back({qx, qy});
            }
          }
        }
      }
    }
  }
  return f;
}

// The pixels of a figure that touch its outside, 4-connected, and that the points
// do not pass. The outside is everything not of the figure that the image's frame
// reaches without crossing it.
std::vector<ContourPoint> OutsideBoundaryMissed(const reference::Model& m, const Figures& f, int figure,
                                                const ContourPoints& points) {
  const std::int32_t W = m.maskW + 2, H = m.maskH + 2;
  const auto of = [&](std::int32_t x, std::int32_t y) {  // framed coordinates
    return x >= 1 && y >= 1 && x <= m.maskW && y <= m.maskH &&
           f.label[static_cast<std::size_t>(y - 1) * m.maskW + (x - 1)] == figure;
  };
  std::vector<std::uint8_t> outside(static_cast<std::size_t>(W) * H, 0);
  std::vector<ContourPoint> stack{{0, 0}};
  outside[0] = 1;
  while (!stack.empty()) {
    const ContourPoint p = stack.back();
    stack.pop_back();
    for (const ContourPoint q : {ContourPoint{p.x - 1, p.y}, ContourPoint{p.x + 1, p.y},
                                 ContourPoint{p.x, p.y - 1}, ContourPoint{p.x, p.y + 1}}) {
      if (q.x < 0 || q.y < 0 || q.x >= W || q.y >= H || of(q.x, q.y)) continue;
      auto& o = outside[static_cast<std::size_t>(q.y) * W + q.x];
      if (o == 0) {
        o = 1;
        stack.push_back(q);
      }
    }
  }
  std::vector<ContourPoint> missed;
  for (std::int32_t y = 1; y <= m.maskH; ++y) {
    for (std::int32_t x = 1; x <= m.maskW; ++x) {
      if (!of(x, y)) continue;
      const bool touches = outside[static_cast<std::size_t>(y) * W + x - 1] != 0 ||
                           outside[static_cast<std::size_t>(y) * W + x + 1] != 0 ||
                           outside[static_cast<std::size_t>(y - 1) * W + x] != 0 ||
                           outside[static_cast<std::size_t>(y + 1) * W + x] != 0;
      const ContourPoint pixel{x - 1, y - 1};
      if (touches && std::find(points.begin() + 1, points.end(), pixel) == points.end()) {
        missed.push_back(pixel);
      }
    }
  }
  return missed;
}

// The whole-image run under the earlier and the mended rules. A contour that the
// earlier rule closed properly (back at its start and about to repeat its first step)
// on a figure not traced before stays point for point, and so does such a hole. Under
// the mended rules each 8-connected figure of more than one pixel gets exactly one
// closed contour, started at its first pixel, and a single pixel none. Returns the
// number of contours under the earlier rules.
std::int32_t ExpectCompleteContoursKept(const core::RgbImage& image, const std::string& what) {
  reference::Model before;
  before.image = image;
  before.previousRules = true;
  reference::CreateWholeImage(before);
  reference::Model after;
  after.image = image;
  reference::CreateWholeImage(after);

  reference::Model masked;
  masked.image = image;
  reference::PrepareMask(masked);
  const Figures figures = FindFigures(masked);
  const auto figureOf = [&](const reference::Model::Traced& t) {
    const ContourPoint start = t.points[1];
    return figures.label[static_cast<std::size_t>(start.y) * masked.maskW + start.x];
  };

  // Mended: pass 1 is one trace per figure, in the order of their first pixels.
  std::vector<const reference::Model::Traced*> outlines, holes;
  for (const auto& t : after.traced) (t.pass == 1 ? outlines : holes).push_back(&t);
  EXPECT_EQ(outlines.size(), figures.first.size()) << what;
  if (outlines.size() != figures.first.size()) return before.contourCount;
  for (std::size_t k = 0; k < outlines.size(); ++k) {
    const auto& t = *outlines[k];
    EXPECT_EQ(t.points[1], figures.first[k]) << what << ": figure " << k;
    if (figures.size[k] == 1) {
      EXPECT_FALSE(t.end.closed) << what << ": a single pixel is no figure, at " << t.points[1];
      EXPECT_EQ(UpperBound(t.points), 1) << what;
    } else {
      EXPECT_TRUE(t.end.closed) << what << ": figure at " << t.points[1];
      EXPECT_GE(UpperBound(t.points), 2) << what;
    }
  }
  // Holes: a hole trace either closes or stops at once on a single pixel.
  for (const auto* t : holes) {
    EXPECT_TRUE(t->end.closed || UpperBound(t->points) == 1) << what << ": hole at " << t->points[1];
  }

  // Without corner squaring, each closed outline passes every pixel of its figure that
  // touches the figure's outside (the background around it, or the image border).
  reference::Model bare;
  bare.image = image;
  bare.squareCorners = false;
  reference::CreateWholeImage(bare);
  for (const auto& t : bare.traced) {
    if (t.pass != 1 || !t.end.closed) continue;
    const auto missed = OutsideBoundaryMissed(masked, figures, figureOf(t), t.points);
    EXPECT_TRUE(missed.empty()) << what << ": the outline from " << t.points[1] << " misses "
                                << missed.front();
  }

  // What the earlier rule closed properly stays.
  std::vector<bool> seen(figures.first.size(), false);
  std::size_t hole = 0;
  for (const auto& t : before.traced) {
    if (t.pass == 1) {
      const int figure = figureOf(t);
      const bool firstOfFigure = !seen[static_cast<std::size_t>(figure)];
      seen[static_cast<std::size_t>(figure)] = true;
      if (firstOfFigure && t.end.closed && t.end.repeatsFirstStep) {
        EXPECT_EQ(outlines[static_cast<std::size_t>(figure)]->points, t.points)
            << what << ": figure at " << t.points[1];
      }
    } else {
      // The holes are found in the same order under both rules.
      if (hole == holes.size()) {
        ADD_FAILURE() << what << ": fewer holes than before";
        break;
      }
      if (t.end.closed && t.end.repeatsFirstStep) {
        EXPECT_EQ(holes[hole]->points, t.points) << what << ": hole at " << t.points[1];
      }
      ++hole;
    }
  }
  EXPECT_EQ(hole, holes.size()) << what;
  return before.contourCount;
}

TEST(TracingMendsTest, CompleteContoursStayOnRandomImages) {
  std::mt19937 rng(8111);
  for (int round = 0; round < 400; ++round) {
    const core::RgbImage image = RandomImage(rng);
    ExpectCompleteContoursKept(image, "round " + std::to_string(round));
    if (::testing::Test::HasFailure()) return;
  }
}

// The same for a bare trace from a click: a contour the earlier rule closed properly
// stays; the mended trace closes, or stops at once on a single pixel.
TEST(TracingMendsTest, CompleteClickTracesStay) {
  std::mt19937 rng(5150);
  std::size_t kept = 0, changed = 0;
  for (int round = 0; round < 300; ++round) {
    const core::RgbImage image = RandomImage(rng);
    reference::Model before;
    before.image = image;
    before.previousRules = true;
    reference::PrepareMask(before);
    reference::Model after = before;
    after.previousRules = false;
    std::uniform_int_distribution<int> xs(0, image.width - 1), ys(0, image.height - 1);
    for (int click = 0; click < 6; ++click) {
      const int x = xs(rng), y = ys(rng);
      const bool closedBefore = reference::TraceContourAt(before, x, y);
      const bool closedAfter = reference::TraceContourAt(after, x, y);
      if (UpperBound(after.points) == 0) {
        ASSERT_FALSE(closedBefore);
        continue;
      }
      ASSERT_TRUE(closedAfter || UpperBound(after.points) == 1) << "round " << round;
      if (closedBefore && before.lastTrace.repeatsFirstStep) {
        ASSERT_EQ(after.points, before.points) << "round " << round << " click " << x << "," << y;
        ++kept;
      } else if (closedAfter) {
        ++changed;
      }
    }
  }
  EXPECT_GT(kept, 100u);
  EXPECT_GT(changed, 50u) << "the images hold arms and shared starts";
}

// The images the faults were found on.
core::RgbImage Draw(std::int32_t w, std::int32_t h, std::vector<std::array<int, 4>> squares,
                    std::vector<ContourPoint> pixels) {
  core::RgbImage image(w, h, 0xFFFFFFFFu);
  for (const auto& [x0, y0, x1, y1] : squares) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) image.at(x, y) = 0xFF000000u;
  }
  for (const ContourPoint& p : pixels) image.at(p.x, p.y) = 0xFF000000u;
  return image;
}

TEST(TracingMendsTest, FiguresWithThinJoinsGiveOneContourEach) {
  struct Case {
    const char* what;
    core::RgbImage image;
    int before;    // contours of the whole-image run under the earlier rules
    int contours;  // and now: figures, then holes
    // Two clicks on pixels of one figure, each with background on its left (a click
    // inside a row starts at the row's right end and cuts corners).
    ContourPoint click;
    ContourPoint also;
  };
  const Case cases[] = {
      {"square with a diagonal tail",
       Draw(40, 40, {{5, 5, 34, 34}}, {{35, 35}}),
       0,
       1,
       {5, 20},
       {35, 35}},
      {"square with a two-pixel spur",
       Draw(40, 40, {{5, 5, 34, 34}}, {{35, 20}, {36, 20}}),
       0,
       1,
       {5, 20},
       {36, 20}},
      {"squares touching at a corner",
       Draw(12, 12, {{2, 2, 5, 5}, {6, 6, 9, 9}}, {}),
       2,
       1,
       {2, 3},
       {6, 8}},
      {"a pixel on a square's top-left diagonal",
       Draw(8, 8, {{2, 2, 5, 5}}, {{1, 1}}),
       2,
       1,
       {1, 1},
       {2, 4}},
      // One figure; each white pixel off the border is a hole of its own.
      {"one-pixel checkerboard", Checkerboard(8), 18, 1 + 18, {0, 0}, {5, 7}},
      {"an isolated pixel beside a square", Draw(10, 8, {{4, 2, 7, 5}}, {{1, 1}}), 1, 1, {4, 3}, {4, 5}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpectCompleteContoursKept(c.image, c.what), c.before)
        << c.what << ": the fault, under the earlier rules";

    reference::Model model;
    model.image = c.image;
    model.approxMethod = 1;
    reference::CreateWholeImage(model);
    FastRun fast(c.image, 1, false);
    fast.Create();
    EXPECT_EQ(fast.doc.count, c.contours) << c.what;
    EXPECT_EQ(fast.doc.points, model.points) << c.what;

    // Either click adds the figure, and then the other finds it added.
    FastRun clicks(c.image, 1, false);
    clicks.engine.PrepareMask();
    clicks.window.progress2 = "";
    clicks.engine.AddContourAtPoint(clicks.doc, c.click.x * kTwipsPerPixel, c.click.y * kTwipsPerPixel,
                                    "0");
    EXPECT_EQ(clicks.window.progress2, "") << c.what;
    clicks.window.progress2 = "";
    clicks.engine.AddContourAtPoint(clicks.doc, c.also.x * kTwipsPerPixel, c.also.y * kTwipsPerPixel,
                                    "0");
    EXPECT_EQ(clicks.window.progress2, "Already added.") << c.what;
    EXPECT_EQ(clicks.doc.count, 1) << c.what;
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
    std::vector<raster::PathPixel> drawn;
    raster::LinePath({from.x, from.y}, {to.x, to.y}, false,
                     raster::Clip{centre.x - 14, centre.y - 14, centre.x + 14, centre.y + 14}, drawn);
    return drawn;
  };
  const auto agree = [&](ContourPoint from, ContourPoint to, ContourPoint centre) {
    const auto drawn = drawnAround(from, to, centre);
    for (int y = centre.y - 14; y <= centre.y + 14; ++y) {
      for (int x = centre.x - 14; x <= centre.x + 14; ++x) {
        const bool onLine = std::any_of(drawn.begin(), drawn.end(), [&](const auto& px) {
          return px.p == raster::Px{x, y};
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
