// Point reduction.
#include <algorithm>
#include <cmath>

#include "common/line_helpers.h"
#include "engine/contour_engine.h"
#include "engine/line_cover.h"

namespace morvane::engine {

namespace {

constexpr double kPi = static_cast<double>(3.1416f);
// A turn below this (about 10 degrees) is no corner.
constexpr double kMinTurn = 0.17453332;

int Sign(std::int64_t v) { return (v > 0) - (v < 0); }

std::int64_t Abs64(std::int64_t v) { return v < 0 ? -v : v; }

// The slopes of a traced contour are mostly +1 and -1.
const double kAtanOne = std::atan(1.0);
const double kAtanMinusOne = std::atan(-1.0);

}  // namespace

double SegmentAngle(const ContourPoint& i, const ContourPoint& j) {
  if (i.x == j.x && i.y == j.y) {
    return 0;
  }
  if (i.x == j.x) {
    return j.y < i.y ? (1 + 0.5) * kPi : 0.5 * kPi;
  }
  if (i.y == j.y) {
    return j.x < i.x ? kPi : 0;
  }
  const std::int64_t dy = std::int64_t{j.y} - i.y;
  const std::int64_t dx = std::int64_t{j.x} - i.x;
  if (dy == dx) {
    return kAtanOne;
  }
  if (dy == -dx) {
    return kAtanMinusOne;
  }
  return std::atan(static_cast<double>(dy) / static_cast<double>(dx));
}

double SegmentAngle(const ContourPoints& points, std::int32_t i, std::int32_t j) {
  return SegmentAngle(points[static_cast<std::size_t>(i)], points[static_cast<std::size_t>(j)]);
}

template <typename Step>
void ContourEngine::RunReductionSteps(std::int32_t first, std::int32_t upper, Step step) {
  // The bar moves by whole percents; looking a thousand times per run is enough. The
  // steps between two looks run without a call out, which keeps the loop's state in
  // registers, and tick in one call. The loops never read the stop flag: a stop seen
  // inside a stretch only leaves its remaining ticks to be given.
  ProgressGate gate;
  for (std::int32_t c = first; c <= upper;) {
    const std::int32_t last = std::min(upper, std::max(c, gate.next - 1));
    for (std::int32_t k = c; k <= last; ++k) {
      step(k);
    }
    TickPastStops(last - c + 1);
    c = last + 1;
    // The step at c - 1 ticks as c, the next one's index.
    if (c < gate.next) {
      continue;
    }
    gate.next = c + std::max(1, upper / 1000);
    const int percent =
        static_cast<int>(std::nearbyint(static_cast<double>(c) * 100.0 / static_cast<double>(upper)));
    if (percent != gate.shown) {
      gate.shown = percent;
      run_.SetProgress(kProgressStep, percent);
    }
  }
}

std::int32_t ContourEngine::SimplifyContour(ContourPoints& points, bool closed, ReductionMethod method) {
  if (method != ReductionMethod::DirectionChangeThenLineOfSight) {
    return ReduceOnce(points, closed, method);
  }
  // Direction change first, then line of sight alone on what is left; each pass is a
  // whole reduction of its own, on a closed contour.
  const std::int32_t upper = UpperBound(points);
  if (upper < 3 || run_.StopRequested()) {
    return upper;
  }
  run_.SetProgress(kProgressStep, 0);
  for (const ReductionMethod pass : {ReductionMethod::DirectionChange, ReductionMethod::LineOfSight}) {
    const std::int32_t n = ReduceOnce(points, true, pass);
    if (n != UpperBound(points)) {
      CutPoints(points, n);
    }
  }
  removed_.assign(points.size(), 0);
  const std::int32_t count = CleanUp(points, closed, UpperBound(points));
  run_.HideProgress(kProgressStep);
  return count;
}

std::int32_t ContourEngine::ReduceOnce(ContourPoints& points, bool closed, ReductionMethod method) {
  std::int32_t upper = UpperBound(points);
  if (upper < 3 || run_.StopRequested()) {
    return upper;
  }
  run_.SetProgress(kProgressStep, 0);
  removed_.assign(static_cast<std::size_t>(upper) + 1, 0);
  SimplifyOnce(points, closed, upper, removed_, method);
  const std::int32_t count = CleanUp(points, closed, upper);
  run_.HideProgress(kProgressStep);
  return count;
}

std::int32_t ContourEngine::CleanUp(ContourPoints& points, bool closed, std::int32_t upper) {
  // A closing repetition of the first point goes, and of two equal consecutive points
  // only the second stays; survivors move to the front.
  ContourPoint* const at = points.data();
  std::uint8_t* const gone = removed_.data();
  if (closed && upper >= 1 && gone[1] == 0 && gone[upper] == 0 && at[1] == at[upper]) {
    gone[upper] = 1;
  }
  // Whether a point stays is data the branch predictor cannot guess: every point is
  // written to the next free place, which it keeps only when it stays, and the test is
  // made of bitwise operations. The point and flag read ahead are carried over, as the
  // store may alias them.
  std::int32_t count = 0;
  if (upper >= 1) {
    ContourPoint q = at[1];
    int qGone = gone[1];
    for (std::int32_t k = 1; k < upper; ++k) {
      const ContourPoint next = at[k + 1];
      const int nextGone = gone[k + 1];
      const int equal = (q.x == next.x) & (q.y == next.y);
      const int stays = (qGone == 0) & ((nextGone != 0) | (equal ^ 1));
      at[count + 1] = q;
      count += stays;
      q = next;
      qGone = nextGone;
    }
    at[count + 1] = q;
    count += qGone == 0 ? 1 : 0;
  }
  return count;
}

void ContourEngine::SimplifyOnce(ContourPoints& points, bool closed, std::int32_t& upper,
                                 std::vector<std::uint8_t>& removed, ReductionMethod method) {
  // Raw pointers and points carried in locals: a byte store through removed may alias
  // anything, so the vectors' data and the points would be loaded again after each.
  const ContourPoint* const at = points.data();
  std::uint8_t* const gone = removed.data();
  const std::int32_t u = upper;
  // Step c looks at the points a, b = c - 1 and c; a is the last point kept before b.
  // Every flag is 0 when the pass starts, so a step stores its decision either way.
  std::int32_t a = 1;
  ContourPoint pa = at[1];
  ContourPoint pb = at[2];

  if (method == ReductionMethod::LineFit) {
    float la = 0, lb = 0;  // kept between calls, as a coincident pair leaves them
    RunReductionSteps(3, u, [&](std::int32_t c) {
      const ContourPoint pc = at[c];
      bool drop = false;
      if (!IsSeparator(pb) && Sign(std::int64_t{pa.x} - pb.x) * Sign(std::int64_t{pb.x} - pc.x) >= 0 &&
          Sign(std::int64_t{pa.y} - pb.y) * Sign(std::int64_t{pb.y} - pc.y) >= 0) {
        const std::int64_t deviation =
            common::LineThroughPoints(pa, pb, la, lb)
                ? Abs64(std::int64_t{common::LineValueAt(pc.x, la, lb)} - pc.y)
                : Abs64(std::int64_t{common::LineValueAt(pc.y, la, lb)} - pc.x);
        drop = deviation < 2;
      }
      gone[c - 1] = drop ? 1 : 0;
      if (!drop) {
        a = c - 1;
        pa = pb;
      }
      pb = pc;
    });
    if (closed) {
      common::LineThroughPoints(at[a], at[1], la, lb);
      if (Abs64(std::int64_t{common::LineValueAt(at[u].x, la, lb)} - at[u].y) < 2) {
        gone[1] = 1;
      }
    }
  } else if (method == ReductionMethod::DirectionChange) {
    double ab = 0;
    bool abKnown = false;  // the angle a-b is the b-c of the step before
    RunReductionSteps(3, u, [&](std::int32_t c) {
      const ContourPoint pc = at[c];
      if (!IsSeparator(pb)) {
        if (!abKnown) {
          ab = SegmentAngle(pa, pb);
        }
        const double bc = SegmentAngle(pb, pc);
        const bool drop = static_cast<double>(static_cast<float>(std::fabs(ab - bc))) < kMinTurn;
        gone[c - 1] = drop ? 1 : 0;
        if (!drop) {
          a = c - 1;
          pa = pb;
        }
        ab = bc;
        abKnown = !drop;
      } else {
        a = c - 1;
        pa = pb;
        abKnown = false;
      }
      pb = pc;
    });
    if (closed) {
      if (std::fabs(SegmentAngle(at[a], at[upper]) - SegmentAngle(at[upper], at[1])) < kMinTurn) {
        gone[upper] = 1;
        upper = a;
      }
      std::int32_t k = upper;
      for (std::int32_t m = 2; m <= upper - 1; ++m) {
        if (gone[m] == 0 && at[m].x > 0) {
          k = m;
          break;
        }
      }
      if (std::fabs(SegmentAngle(at[upper], at[1]) - SegmentAngle(at[1], at[k])) < kMinTurn) {
        gone[1] = 1;
      }
    }
  } else if (method == ReductionMethod::LineOfSightWithNeighbours ||
             method == ReductionMethod::LineOfSight) {
    // The scratch picture has the image's size: only pixels inside it are drawn.
    const std::int32_t w = image_ != nullptr ? image_->width : 0;
    const std::int32_t h = image_ != nullptr ? image_->height : 0;
    const auto drawn = [w, h](const ContourPoint& from, const ContourPoint& to, const ContourPoint& q) {
      return q.x >= 0 && q.y >= 0 && q.x < w && q.y < h && LineCovers(from, to, q);
    };
    const bool neighbourTest = method == ReductionMethod::LineOfSightWithNeighbours;
    RunReductionSteps(3, u, [&](std::int32_t c) {
      const ContourPoint pc = at[c];
      bool drop = false;
      if (!IsSeparator(pb)) {
        drop = drawn(pa, pc, pb);
        if (!drop && neighbourTest && pb.x >= -1 && pb.x <= w && pb.y >= -1 && pb.y <= h) {
          const std::array<ContourPoint, 4> around = {
              ContourPoint{pb.x - 1, pb.y}, ContourPoint{pb.x, pb.y + 1}, ContourPoint{pb.x + 1, pb.y},
              ContourPoint{pb.x, pb.y - 1}};
          for (const ContourPoint& q : around) {
            if (ImageIsBackground(q.x, q.y) && drawn(pa, pc, q)) {
              drop = true;
              break;
            }
          }
        }
      }
      gone[c - 1] = drop ? 1 : 0;
      if (!drop) {
        a = c - 1;
        pa = pb;
      }
      pb = pc;
    });
  }
}

}  // namespace morvane::engine
