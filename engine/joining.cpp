// Adding contours at a click, joining and cutting them, and finding points.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "engine/contour_engine.h"
#include "engine/distance.h"
#include "platform/core/units.h"

namespace morvane::engine {

namespace {

constexpr const char* kNoFigure = "No figure found.";
constexpr const char* kAlreadyAdded = "Already added.";
constexpr const char* kSameContour = "The same contour.";
constexpr const char* kDifferentContours = "Different contours.";

bool SeparatorBetween(const ContourPoints& points, std::int32_t p, std::int32_t q) {
  for (std::int32_t k = p; k <= q; ++k) {
    if (IsSeparator(points[static_cast<std::size_t>(k)])) {
      return true;
    }
  }
  return false;
}

}  // namespace

AddOutcome ContourEngine::AddContourAtPoint(ContourSet& contours, std::int32_t x, std::int32_t y,
                                            std::string_view format) {
  const std::int32_t px = x / kTwipsPerPixel;
  const std::int32_t py = y / kTwipsPerPixel;

  if (!TraceContourAt(px, py)) {
    status_.SetStatusText(StatusField::Progress2, kNoFigure);
    return AddOutcome::NotAdded;
  }
  ContourPoints& points = traced_;
  const std::int32_t n = SimplifyContour(points, true);
  if (n != UpperBound(points)) {
    CutPoints(points, n);
  }
  if (UpperBound(points) == 0) {
    // A degenerate figure can reduce to nothing.
    status_.SetStatusText(StatusField::Progress2, kNoFigure);
    return AddOutcome::NotAdded;
  }
  StartAtNearestOrigin(points);

  // Every contour added at a click starts at its point nearest to the origin, so a
  // figure traced twice starts where a stored contour does.
  ContourPoints saved;
  CopyPoints(contours.points, saved);
  const std::int32_t savedUpper = UpperBound(saved);
  for (std::int32_t k = 0; k < savedUpper; ++k) {
    if ((k == 0 || IsSeparator(saved[static_cast<std::size_t>(k)])) &&
        PointsEqual(saved[static_cast<std::size_t>(k) + 1], points[1])) {
      status_.SetStatusText(StatusField::Progress2, kAlreadyAdded);
      return AddOutcome::NotAdded;
    }
  }

  bool join = false;
  PointPair pair{0, 0};
  if (Connected) {
    const std::int32_t index = ConnectToPrevious(saved, points);
    // With nothing to connect to, the contour is added plainly.
    if (index > 0) {
      pair = {index, savedUpper + 2};
      join = true;
    }
  }
  saved.push_back(Separator(contours.count));
  ++contours.count;
  saved.insert(saved.end(), points.begin() + 1, points.end());
  contours.points = std::move(saved);
  if (!join) {
    contours.titles.push_back(UntitledContour(contours.count - 1, format));
    return AddOutcome::Added;
  }
  JoinContours(contours, pair);
  return AddOutcome::Joined;
}

void ContourEngine::StartAtNearestOrigin(ContourPoints& points) {
  const std::int32_t upper = UpperBound(points);
  std::int32_t best = 0;
  float bestDistance = 0;
  for (std::int32_t k = 1; k <= upper; ++k) {
    const float d = FloatDistance(SquaredDistance(points[static_cast<std::size_t>(k)], {}));
    if (best == 0 || d < bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  if (best > 1) {
    RotateContour(points, best, false);
  }
}

float ContourEngine::PairLimit() const {
  // No pair as far apart as the picture's diagonal is taken. The picture boxes have the
  // image's size whether or not a mask has been built; without an image any pair is.
  return image_ != nullptr && !image_->empty() ? FloatDistance(SquaredSum(image_->width, image_->height))
                                               : std::numeric_limits<float>::infinity();
}

void ContourEngine::ShowSweptPairs(std::int32_t eu, std::int32_t nu, std::int32_t i0, std::int32_t j0) {
  // The second sweep of the pair search ticks once per existing point up to the pair's
  // (all of them when there is none), without looking at the stop flag, and at every
  // step-th point, a gate, moves the bar when the percentage changes. The bar's moves
  // are made first, then the ticks go in one call: the same moves and ticks, and the
  // bar stands where the sweep leaves it while the ticks let events through.
  const std::int32_t last = i0 > 0 ? i0 : eu;
  const std::int64_t step = std::max(1, eu / 1000);
  const double pairs = static_cast<double>(eu) * static_cast<double>(nu);
  const auto percentAt = [step, pairs](std::int64_t gate, std::int32_t j) {
    return pairs > 0 ? static_cast<int>(std::nearbyint(static_cast<double>(1 + gate * step) *
                                                       static_cast<double>(j) * 100.0 / pairs))
                     : 100;
  };
  int shown = 0;
  const auto show = [&](int percent) {
    if (percent != shown) {
      shown = percent;
      run_.SetProgress(kProgressStep, percent);
    }
  };
  // Where the sweep stopped in newer: past its end at every gate but the pair's. The
  // pair's own gate, when the pair lies on one, is the last; before it the percentage
  // only grows.
  const std::int64_t gates = last >= 1 ? (last - 1) / step + 1 : 0;
  const bool pairOnGate = i0 > 0 && (i0 - 1) % step == 0;
  const std::int64_t growing = pairOnGate ? gates - 1 : gates;
  const std::int32_t past = nu + 1;
  const double perGate = pairs > 0 ? static_cast<double>(step) * past * 100.0 / pairs : 100;
  if (growing > 0 && perGate < 0.999) {
    // Growing by less than one from gate to gate (the margin covers the rounding), the
    // percentage takes every whole value up to the last growing gate's, one after
    // another: those are the moves.
    const int reached = percentAt(growing - 1, past);
    for (int percent = 1; percent <= reached; ++percent) {
      show(percent);
    }
  } else {
    // Only a short sweep moves the bar by a whole percent or more per gate.
    for (std::int64_t gate = 0; gate < growing; ++gate) {
      show(percentAt(gate, past));
    }
  }
  if (pairOnGate) {
    show(percentAt(gates - 1, j0));
  }
  TickPastStops(last);
}

std::int32_t ContourEngine::ConnectToPrevious(ContourPoints& existing, ContourPoints& newer) {
  // The pair taken is the first, in the order existing by new, whose float distance is
  // the smallest and below the mask's diagonal. It is found in two sweeps that skip
  // every existing point whose distance to the new points' bounding box already rules
  // it out: first the smallest squared distance, then the first pair at that float
  // distance. Float roots grow with the squared distance, so both skips are exact.
  run_.SetProgress(kProgressStep, 0);
  const std::int32_t eu = UpperBound(existing);
  const std::int32_t nu = UpperBound(newer);
  const float limit = PairLimit();
  const PointBox box = PointBox::Of(newer);

  // The smallest squared distance. The latest points lie nearest to a new figure
  // most often, so the sweep runs backwards to tighten the bound early.
  std::uint64_t least = UINT64_MAX;
  if (!box.Empty()) {
    for (std::int32_t i = eu; i >= 1 && least > 0; --i) {
      const ContourPoint e = existing[static_cast<std::size_t>(i)];
      if (IsSeparator(e) || box.SquaredTo(e) >= least) {
        continue;
      }
      for (std::int32_t j = 1; j <= nu; ++j) {
        const ContourPoint& q = newer[static_cast<std::size_t>(j)];
        if (!IsSeparator(q)) {
          least = std::min(least, SquaredDistance(e, q));
        }
      }
    }
  }
  const float best = least == UINT64_MAX ? limit : FloatDistance(least);

  std::int32_t i0 = 0, j0 = 0;
  if (best < limit) {
    const double beyond = BeyondSquared(best);
    for (std::int32_t i = 1; i <= eu && i0 == 0; ++i) {
      const ContourPoint e = existing[static_cast<std::size_t>(i)];
      if (IsSeparator(e) || !(static_cast<double>(box.SquaredTo(e)) < beyond)) {
        continue;
      }
      for (std::int32_t j = 1; j <= nu; ++j) {
        const ContourPoint& q = newer[static_cast<std::size_t>(j)];
        if (!IsSeparator(q) && FloatDistance(SquaredDistance(e, q)) == best) {
          i0 = i;
          j0 = j;
          break;
        }
      }
    }
    ShowSweptPairs(eu, nu, i0, j0);
  }
  if (i0 > 0) {
    RotateContour(existing, i0, true);
    RotateContour(newer, j0, false);
  }
  run_.HideProgress(kProgressStep);
  return i0;
}

void ContourEngine::ConnectPath(ConnectedPath& path, ContourPoints& newer) {
  // ConnectToPrevious (path, newer), the path standing for the existing array, which
  // holds one contour.
  run_.SetProgress(kProgressStep, 0);
  const ConnectedPath::Pair pair = path.FindNearestPair(newer, PairLimit());
  if (pair.swept) {
    ShowSweptPairs(path.Size(), UpperBound(newer), pair.position, pair.newer);
  }
  if (pair.position > 0) {
    path.RotateTo(pair.stored);
    RotateContour(newer, pair.newer, false);
  }
  run_.HideProgress(kProgressStep);
}

bool ContourEngine::OrderPointPair(const ContourPoints& points, PointPair pair, std::int32_t& p,
                                   std::int32_t& q) {
  p = std::min(pair[0], pair[1]);
  q = std::max(pair[0], pair[1]);
  if (p == q) {
    return false;
  }
  // Only two points of the array make a pair; a separator or a position outside is none.
  return p >= 1 && q <= UpperBound(points) && !IsSeparator(points[static_cast<std::size_t>(p)]) &&
         !IsSeparator(points[static_cast<std::size_t>(q)]);
}

bool ContourEngine::JoinContours(ContourSet& contours, PointPair pair) {
  ContourPoints& points = contours.points;
  const std::int32_t upper = UpperBound(points);
  std::int32_t p = 0, q = 0;
  if (!OrderPointPair(points, pair, p, q)) {
    return false;
  }
  if (!SeparatorBetween(points, p, q)) {
    status_.SetStatusText(StatusField::Progress2, kSameContour);
    return false;
  }

  std::int32_t qFirst = 0, qLast = 0, pFirst = 0, pLast = 0;
  GetContourRange(points, q, qFirst, &qLast);
  GetContourRange(points, p, pFirst, &pLast);
  const std::int32_t qNumber = points[static_cast<std::size_t>(qFirst) - 1].x;
  if (qNumber >= 0 && static_cast<std::size_t>(qNumber) < contours.titles.size()) {
    contours.titles.erase(contours.titles.begin() + qNumber);
  }
  const auto slice = [&points](std::int32_t first, std::int32_t last) {
    ContourPoints part = EmptyContourPoints();
    part.insert(part.end(), points.begin() + first, points.begin() + last + 1);
    return part;
  };
  ContourPoints a = slice(pFirst, pLast);
  ContourPoints b = slice(qFirst, qLast);
  ConnectToPrevious(a, b);

  // Around the first figure, across to the second, around it and back the same way.
  ContourPoints joined(points.begin(), points.begin() + pFirst);
  joined.insert(joined.end(), a.begin() + 1, a.end());
  joined.push_back(a[1]);
  joined.insert(joined.end(), b.begin() + 1, b.end());
  joined.push_back(b[1]);
  // What followed p's contour, less q's contour and the separator in front of it.
  for (std::int32_t k = pLast + 1; k <= upper; ++k) {
    if (k < qFirst - 1 || k > qLast) {
      joined.push_back(points[static_cast<std::size_t>(k)]);
    }
  }
  points = std::move(joined);
  RenumberContours(points, contours.count);
  return true;
}

bool ContourEngine::CutBetweenPoints(ContourSet& contours, PointPair pair) {
  ContourPoints& points = contours.points;
  std::int32_t p = 0, q = 0;
  if (!OrderPointPair(points, pair, p, q)) {
    return false;
  }
  if (SeparatorBetween(points, p, q)) {
    status_.SetStatusText(StatusField::Progress2, kDifferentContours);
    return false;
  }
  points.erase(points.begin() + p + 1, points.begin() + q);
  return true;
}

std::int32_t ContourEngine::FindNearestPoint(const ContourSet& contours, float x, float y) {
  const ContourPoints& points = contours.points;
  const std::int32_t upper = UpperBound(points);
  if (upper == 0) {
    return 0;
  }
  // Rounded to a whole number of twips first; a click beyond the 32-bit range is held
  // at its edge.
  const auto toPixel = [](float v) {
    return std::int64_t{core::RoundToInt32(static_cast<double>(v)) / kTwipsPerPixel};
  };
  const std::int64_t px = toPixel(x);
  const std::int64_t py = toPixel(y);
  std::int32_t best = 0;
  double bestDistance = 0;
  for (std::int32_t k = 1; k <= upper; ++k) {
    const ContourPoint& pt = points[static_cast<std::size_t>(k)];
    const double dx = static_cast<double>(pt.x - px);
    const double dy = static_cast<double>(pt.y - py);
    const double d = std::nearbyint(std::sqrt(dx * dx + dy * dy));
    if (best == 0 || d < bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  std::int32_t first = 0;
  GetContourRange(points, best, first);
  const std::int32_t number = points[static_cast<std::size_t>(first) - 1].x;
  if (number >= 0 && static_cast<std::size_t>(number) < contours.titles.size()) {
    titles_.SelectTitle(number);
  }
  const ContourPoint& pt = points[static_cast<std::size_t>(best)];
  picture_.LocateCursor(static_cast<double>(pt.x) * kTwipsPerPixel,
                        static_cast<double>(pt.y) * kTwipsPerPixel);
  return best;
}

}  // namespace morvane::engine
