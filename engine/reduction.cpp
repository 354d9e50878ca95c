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

void ContourEngine::ReductionStep(std::int32_t c, std::int32_t upper, ProgressGate& gate) {
  run_.ShowElapsedTime();
  // The bar moves by whole percents; looking a thousand times per run is enough.
  if (c < gate.next) {
    return;
  }
  gate.next = c + std::max(1, upper / 1000);
  const int percent =
      static_cast<int>(std::nearbyint(static_cast<double>(c) * 100.0 / static_cast<double>(upper)));
  if (percent != gate.shown) {
    gate.shown = percent;
    run_.SetProgress(kProgressStep, percent);
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
  std::vector<std::uint8_t>& removed = removed_;
  const auto at = [&points](std::int32_t k) -> ContourPoint& {
    return points[static_cast<std::size_t>(k)];
  };
  const auto gone = [&removed](std::int32_t k) { return removed[static_cast<std::size_t>(k)] != 0; };
  if (closed && upper >= 1 && !gone(1) && !gone(upper) && at(1) == at(upper)) {
    removed[static_cast<std::size_t>(upper)] = 1;
  }
  std::int32_t count = 0;
  for (std::int32_t k = 1; k <= upper; ++k) {
    if (k < upper && !gone(k) && !gone(k + 1) && at(k) == at(k + 1)) {
      removed[static_cast<std::size_t>(k)] = 1;
    }
    if (!gone(k)) {
      at(++count) = at(k);
    }
  }
  return count;
}

void ContourEngine::SimplifyOnce(ContourPoints& points, bool closed, std::int32_t& upper,
                                 std::vector<std::uint8_t>& removed, ReductionMethod method) {
  const auto at = [&points](std::int32_t k) -> const ContourPoint& {
    return points[static_cast<std::size_t>(k)];
  };
  const auto remove = [&removed](std::int32_t k) { removed[static_cast<std::size_t>(k)] = 1; };
  const std::int32_t u = upper;
  std::int32_t a = 1, b = 2, c = 3;
  ProgressGate shown;

  if (method == ReductionMethod::LineFit) {
    float la = 0, lb = 0;  // kept between calls, as a coincident pair leaves them
    while (c <= u) {
      const ContourPoint& pa = at(a);
      const ContourPoint& pb = at(b);
      const ContourPoint& pc = at(c);
      bool drop = false;
      if (!IsSeparator(pb) && Sign(std::int64_t{pa.x} - pb.x) * Sign(std::int64_t{pb.x} - pc.x) >= 0 &&
          Sign(std::int64_t{pa.y} - pb.y) * Sign(std::int64_t{pb.y} - pc.y) >= 0) {
        const std::int64_t deviation =
            common::LineThroughPoints(pa, pb, la, lb)
                ? Abs64(std::int64_t{common::LineValueAt(pc.x, la, lb)} - pc.y)
                : Abs64(std::int64_t{common::LineValueAt(pc.y, la, lb)} - pc.x);
        drop = deviation < 2;
      }
      if (drop) {
        remove(b);
      } else {
        a = b;
      }
      b = c;
      ++c;
      ReductionStep(c, u, shown);
    }
    if (closed) {
      common::LineThroughPoints(at(a), at(1), la, lb);
      if (Abs64(std::int64_t{common::LineValueAt(at(u).x, la, lb)} - at(u).y) < 2) {
        remove(1);
      }
    }
  } else if (method == ReductionMethod::DirectionChange) {
    double ab = 0;
    bool abKnown = false;  // the angle a-b is the b-c of the step before
    while (c <= u) {
      if (!IsSeparator(at(b))) {
        if (!abKnown) {
          ab = SegmentAngle(at(a), at(b));
        }
        const double bc = SegmentAngle(at(b), at(c));
        if (static_cast<double>(static_cast<float>(std::fabs(ab - bc))) < kMinTurn) {
          remove(b);
          abKnown = false;
        } else {
          a = b;
          ab = bc;
          abKnown = true;
        }
      } else {
        a = b;
        abKnown = false;
      }
      b = c;
      ++c;
      ReductionStep(c, u, shown);
    }
    if (closed) {
      if (std::fabs(SegmentAngle(at(a), at(upper)) - SegmentAngle(at(upper), at(1))) < kMinTurn) {
        remove(upper);
        upper = a;
      }
      std::int32_t k = upper;
      for (std::int32_t m = 2; m <= upper - 1; ++m) {
        if (removed[static_cast<std::size_t>(m)] == 0 && at(m).x > 0) {
          k = m;
          break;
        }
      }
      if (std::fabs(SegmentAngle(at(upper), at(1)) - SegmentAngle(at(1), at(k))) < kMinTurn) {
        remove(1);
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
    while (c <= u) {
      const ContourPoint& pa = at(a);
      const ContourPoint& pb = at(b);
      const ContourPoint& pc = at(c);
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
      if (drop) {
        remove(b);
      } else {
        a = b;
      }
      b = c;
      ++c;
      ReductionStep(c, u, shown);
    }
  }
}

}  // namespace morvane::engine
