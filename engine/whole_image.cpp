// File > Create: every figure of the image, then every hole.
#include <algorithm>
#include <cmath>

#include "engine/contour_engine.h"

namespace morvane::engine {

bool ContourEngine::FindNextRegionPixel(ContourPoint& p) {
  // Background is the mask's white, whatever colour the user picked.
  return ScanRaster(std::int64_t{p.x} + 1, p.y, kMaskWhite, p);
}

std::int32_t ContourEngine::CountRegionPixels() {
  blackPerRow_.assign(static_cast<std::size_t>(maskH_), 0);
  for (std::int32_t row = 0; row < maskH_; ++row) {
    const std::uint8_t* line = &mask_.bits[Index(0, row)];
    std::int32_t white = 0;
    for (std::int32_t x = 0; x < maskW_; ++x) {
      white += line[x] == kMaskWhite ? 1 : 0;
    }
    blackPerRow_[static_cast<std::size_t>(row)] = maskW_ - white;
  }
  return SumRegionPixels();
}

std::int32_t ContourEngine::SumRegionPixels() {
  run_.SetProgress(kProgressStep, 0);
  const double area = static_cast<double>(maskW_) * static_cast<double>(maskH_);
  std::int64_t count = 0;
  int shown = 0;
  for (std::int32_t row = 0; row < maskH_; ++row) {
    count += blackPerRow_[static_cast<std::size_t>(row)];
    run_.ShowElapsedTime();
    const int percent =
        static_cast<int>(std::nearbyint(static_cast<double>(maskW_) * row * 100.0 / area));
    if (percent != shown) {
      shown = percent;
      run_.SetProgress(kProgressStep, percent);
    }
  }
  run_.HideProgress(kProgressStep);
  return static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

std::int64_t ContourEngine::CountFigureEdges() const {
  // Across each row, and between it and the row above; the first row's top edges, the
  // last row's bottom edges and the edges at both ends of a row face the border. Each
  // loop compares bytes in a straight line, which the compiler does many at a time.
  const auto black = [](std::uint8_t v) { return v == kMaskBlack ? 1 : 0; };
  std::int64_t edges = 0;
  for (std::int32_t y = 0; y < maskH_; ++y) {
    const std::uint8_t* row = &mask_.bits[Index(0, y)];
    std::int32_t count = black(row[0]) + black(row[maskW_ - 1]);
    for (std::int32_t x = 1; x < maskW_; ++x) {
      count += black(row[x]) ^ black(row[x - 1]);
    }
    if (y == 0) {
      count += blackPerRow_[0];
    } else {
      const std::uint8_t* above = row - maskW_;
      for (std::int32_t x = 0; x < maskW_; ++x) {
        count += black(row[x]) ^ black(above[x]);
      }
    }
    edges += count;
  }
  if (maskH_ > 0) {
    edges += blackPerRow_[static_cast<std::size_t>(maskH_) - 1];
  }
  return edges;
}

ContourEngine::TraceResult ContourEngine::TraceFigure(const ContourPoint& from, std::size_t figure) {
  // As a trace from `from` on a mask whose traced figures were painted out would go:
  // its raster scan to the figure's first pixel ticks once for each row it reads, the
  // row of the find too, even after a stop; from a black top-left corner it reads none.
  picture_.ShowImage();
  ResetPoints(traced_);
  const std::vector<ContourPoint>& starts = survey_.Starts();
  const bool found = figure < starts.size();
  const std::int64_t rows =
      found && starts[figure] == from ? 0 : std::int64_t{found ? starts[figure].y + 1 : maskH_} - from.y;
  TickPastStops(rows);
  if (!found) {
    return TraceResult::NoFigure;
  }
  return Follow(starts[figure], kMaskPainted);
}

ContourSet ContourEngine::CreateWholeImageContours(std::string_view format) {
  // The run's owner has shown the plain image again; the document keeps its contours
  // until the result is handed over.
  ContourPoints& points = traced_;
  ContourSet run;
  run_.SetProgress(kProgressWholeImage, 0);
  status_.SetStatusText(StatusField::Progress2, "");
  // A large mask is given back before the points are expanded: the next run prepares
  // its own, and the points in full would otherwise come on top of it. Until then such
  // a run keeps its points packed, an eighth of the memory. A smaller run collects them
  // as they are, in memory kept from run to run, and its mask stays, so that repeated
  // runs reuse the pages.
  constexpr std::int64_t kLargeFrom = std::int64_t{32} << 20;  // pixels, one mask byte each
  const bool large =
      image_ != nullptr && static_cast<std::int64_t>(image_->width) * image_->height >= kLargeFrom;
  ContourPoints& collected = collected_;
  ResetPoints(collected);
  PackedPoints& packed = packed_;
  packed.Reset();
  // With Connected the contours collect in one path instead of the array, whose store
  // takes over the array's memory.
  ConnectedPath& path = connectedPath_;
  if (Connected) {
    path.Reset(image_ != nullptr ? image_->width : 0, image_ != nullptr ? image_->height : 0, collected);
  }

  std::int32_t total = 0;
  int shown = 0;
  bool stopped = false;
  for (int pass = 1; pass <= 2 && !stopped; ++pass) {
    if (pass == 1) {
      // The mask's rows were counted, and its figures found, as they were written.
      PrepareSurveyedMask();
      total = SumRegionPixels();
      if (Connected) {
        // The path's room, from the contours' length, before the mask is painted on.
        path.Reserve(CountFigureEdges());
      }
    }
    // Pass 1 goes from figure to figure in the order of their first pixels. Pass 2
    // scans on from the last hole; the outer background counts as figure there.
    ContourPoint p{0, 0};
    std::size_t figure = 0;
    bool firstHole = true;
    for (;;) {
      if (pass == 2) {
        if (firstHole) {
          firstHole = false;
        } else {
          FillHole(p.x, p.y);
        }
        if (!FindNextRegionPixel(p)) {
          break;
        }
        if (run_.StopRequested()) {
          stopped = true;
          break;
        }
      }
      const TraceResult result = pass == 1 ? TraceFigure(p, figure++) : Trace(p.x, p.y, kMaskOuter);
      if (result == TraceResult::NoFigure) {
        break;
      }
      const ContourPoint start = points[1];
      if (pass == 1) {
        p = start;
      }
      if (result == TraceResult::DeadEnd) {
        // An isolated pixel or a figure that cannot be closed: go on to the next.
        if (run_.StopRequested()) {
          stopped = true;
          break;
        }
        continue;
      }
      if (run_.StopRequested()) {
        stopped = true;
        break;
      }
      if (Connected) {
        // The whole image becomes one polygon that visits each figure in turn.
        if (path.Size() > 0) {
          ConnectPath(path, points);
          if (run_.StopRequested()) {
            stopped = true;
            break;
          }
        }
        path.AppendFigure(points);
        run.count = 1;
      } else {
        ++run.count;
        if (large) {
          packed.append(points.data() + 1, points.data() + points.size());
          packed.push_back(Separator(run.count));
        } else {
          collected.insert(collected.end(), points.begin() + 1, points.end());
          collected.push_back(Separator(run.count));
        }
      }
      const std::size_t held = large ? packed.size() : collected.size();
      const std::int32_t size =
          Connected ? path.Size()
                    : static_cast<std::int32_t>(std::min<std::size_t>(held - 1, INT32_MAX));
      const int percent = total > 0 ? static_cast<int>(std::nearbyint(static_cast<double>(size) * 100.0 /
                                                                      static_cast<double>(total)))
                                    : 100;
      if (percent != shown) {
        shown = percent;
        run_.SetProgress(kProgressWholeImage, percent);
      }
    }
    if (run_.StopRequested()) {
      stopped = true;
    }
  }

  // End of run, also when stopped: what was collected becomes the result.
  if (large) {
    mask_ = core::Mask();
    maskW_ = 0;
    maskH_ = 0;
  }
  // The titles are only numbers in a row, made now rather than grown beside the mask.
  run.titles.reserve(static_cast<std::size_t>(run.count));
  for (std::int32_t number = 0; number < run.count; ++number) {
    run.titles.push_back(UntitledContour(number, format));
  }
  if (Connected) {
    path.MoveTo(collected);
  } else if (large) {
    packed.MoveTo(collected);
  }
  // Reduced where they were collected; only the survivors are copied out.
  std::int32_t n = SimplifyContour(collected, true);
  if (UpperBound(collected) > 0) {
    if (n >= 1 && collected[static_cast<std::size_t>(n)] == collected[1]) {
      --n;
    }
    if (n >= 1 && IsSeparator(collected[static_cast<std::size_t>(n)])) {
      --n;
    }
  } else {
    n = UpperBound(collected);
  }
  run.points.assign(collected.begin(), collected.begin() + n + 1);
  // The memory is kept for the next run only while it is modest.
  constexpr std::size_t kKeepPoints = std::size_t{1} << 22;
  if (large || collected.capacity() > kKeepPoints) {
    ContourPoints().swap(collected);
  }
  // The shortcut holds for this run's mask only.
  exactBackground_ = false;
  run_.HideProgress(kProgressWholeImage);
  return run;
}

}  // namespace morvane::engine
