// Labelling a mask as it is written.
#include "engine/mask_survey.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/core/pixel_buffer.h"

namespace morvane::engine {

namespace {

constexpr std::int32_t kNone = -1;

std::size_t WordsFor(std::int32_t w) { return (static_cast<std::size_t>(w) + 63) / 64; }

// The white pixels of a mask row as bits, 64 to a word, pixel x at bit x % 64 of word
// x / 64; bits past the row are clear. White is the only value with its high bit set,
// and one multiplication gathers the high bits of eight bytes.
void GatherWhite(const std::uint8_t* row, std::int32_t w, std::uint64_t* words) {
  // Each word is built in a register and stored once: a store through the word pointer
  // could alias the row's bytes, which the compiler would then read again.
  // The gathering takes the first byte in memory for the low one.
  const auto whole = std::endian::native == std::endian::little ? static_cast<std::size_t>(w) / 64 : 0;
  for (std::size_t i = 0; i < whole; ++i) {
    std::uint64_t word = 0;
    for (std::size_t b = 0; b < 8; ++b) {
      std::uint64_t v;
      std::memcpy(&v, row + 64 * i + 8 * b, 8);
      word |= (((v & 0x8080808080808080ull) * 0x0002040810204081ull) >> 56) << (8 * b);
    }
    words[i] = word;
  }
  for (std::size_t i = whole; i < WordsFor(w); ++i) {
    std::uint64_t word = 0;
    for (std::size_t x = i * 64; x < std::min<std::size_t>(i * 64 + 64, static_cast<std::size_t>(w));
         ++x) {
      word |= static_cast<std::uint64_t>(row[x] >> 7) << (x % 64);
    }
    words[i] = word;
  }
}

// Calls run(begin, end) for each run of set bits of a row w bits long, left to right:
// one count of trailing zeros per end, instead of a byte scan that stops at each.
template <typename Visit>
void ForEachRun(const std::uint64_t* words, std::int32_t w, Visit run) {
  const std::size_t count = WordsFor(w);
  std::uint64_t carry = 0;  // the last bit of the word before
  std::int32_t begin = kNone;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t word = words[i];
    std::uint64_t edges = word ^ ((word << 1) | carry);
    carry = word >> 63;
    while (edges != 0) {
      const auto x = static_cast<std::int32_t>(i * 64) + __builtin_ctzll(edges);
      edges &= edges - 1;
      if (begin == kNone) {
        begin = x;
      } else {
        run(begin, x);
        begin = kNone;
      }
    }
  }
  if (begin != kNone) {
    run(begin, w);
  }
}

}  // namespace

std::int32_t MaskSurvey::Sets::Add() {
  const auto node = static_cast<std::int32_t>(parent.size());
  parent.push_back(node);
  return node;
}

std::int32_t MaskSurvey::Sets::Find(std::int32_t k) {
  while (parent[static_cast<std::size_t>(k)] != k) {
    parent[static_cast<std::size_t>(k)] =
        parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(k)])];
    k = parent[static_cast<std::size_t>(k)];
  }
  return k;
}

std::int32_t MaskSurvey::Sets::Join(std::int32_t root, std::int32_t node) {
  const std::int32_t other = Find(node);
  if (root == kNone || root == other) {
    return other;
  }
  parent[static_cast<std::size_t>(std::max(root, other))] = std::min(root, other);
  return std::min(root, other);
}

void MaskSurvey::Begin(std::int32_t w, std::int32_t h) {
  w_ = w;
  h_ = h;
  white_.assign(WordsFor(w), 0);
  background_.parent.assign(1, 0);
  pendingNodes_.clear();
  rowPending_.assign(static_cast<std::size_t>(std::max(h, 0)), 0);
  whiteAbove_.clear();
  figures_.parent.clear();
  firstPixels_.clear();
  blackAbove_.clear();
  starts_.clear();
}

std::int32_t MaskSurvey::AddRow(std::uint8_t* row, std::int32_t y) {
  const std::int32_t w = w_;
  GatherWhite(row, w, white_.data());
  std::int32_t blackCount = w;
  for (const std::uint64_t word : white_) {
    blackCount -= std::popcount(word);
  }

  whiteHere_.clear();
  blackHere_.clear();
  bool pending = false;
  std::size_t kw = 0;  // the first white run above that may still touch
  std::size_t kb = 0;  // and black
  const bool edgeRow = y == 0 || y == h_ - 1;
  // White, 4-connected: a run joins the runs above that share a column with it.
  const auto white = [&](std::int32_t x, std::int32_t end) {
    std::int32_t root = edgeRow || x == 0 || end == w ? 0 : kNone;
    for (; kw < whiteAbove_.size() && whiteAbove_[kw].end <= x; ++kw) {
    }
    for (std::size_t j = kw; j < whiteAbove_.size() && whiteAbove_[j].begin < end; ++j) {
      root = background_.Join(root, whiteAbove_[j].node);
    }
    if (root == kNone) {
      root = background_.Add();
    }
    if (root != 0) {
      pendingNodes_.push_back(root);
      pending = true;
    }
    whiteHere_.push_back({x, end, root});
  };
  // Black, 8-connected: a run also joins the runs above that reach a pixel past its ends.
  const auto black = [&](std::int32_t x, std::int32_t end) {
    std::int32_t root = kNone;
    for (; kb < blackAbove_.size() && blackAbove_[kb].end < x; ++kb) {
    }
    for (std::size_t j = kb; j < blackAbove_.size() && blackAbove_[j].begin <= end; ++j) {
      root = figures_.Join(root, blackAbove_[j].node);
    }
    if (root == kNone) {
      root = figures_.Add();
      firstPixels_.push_back({x, y});
    }
    blackHere_.push_back({x, end, root});
  };
  // The runs of the two colours take turns: one walk over the row's edges finds both.
  ForEachRun(white_.data(), w, [&, last = 0](std::int32_t x, std::int32_t end) mutable {
    if (x > last) {
      black(last, x);
    }
    white(x, end);
    last = end;
  });
  // The black run after the last white one (or the whole row, when it has no white).
  const std::int32_t lastWhiteEnd = whiteHere_.empty() ? 0 : whiteHere_.back().end;
  if (lastWhiteEnd < w) {
    black(lastWhiteEnd, w);
  }
  // Every white run joined to the outside turns outer: the whole row's white in one pass
  // the compiler vectorises, and then the few pending runs white again.
  for (std::int32_t x = 0; x < w; ++x) {
    row[x] = row[x] == kMaskWhite ? std::uint8_t{kMaskOuter} : row[x];
  }
  if (pending) {
    rowPending_[static_cast<std::size_t>(y)] = 1;
    for (const Run& run : whiteHere_) {
      if (run.node != 0) {
        std::memset(row + run.begin, kMaskWhite, static_cast<std::size_t>(run.end - run.begin));
      }
    }
  }
  whiteAbove_.swap(whiteHere_);
  blackAbove_.swap(blackHere_);
  return blackCount;
}

void MaskSurvey::Finish(std::uint8_t* bits) {
  // The pending runs are the only white left in their rows; those that reached the
  // outside further down are outer too.
  const auto stride = static_cast<std::size_t>(w_);
  std::size_t next = 0;
  for (std::int32_t y = 0; y < h_; ++y) {
    if (rowPending_[static_cast<std::size_t>(y)] == 0) {
      continue;
    }
    std::uint8_t* row = bits + static_cast<std::size_t>(y) * stride;
    GatherWhite(row, w_, white_.data());
    ForEachRun(white_.data(), w_, [&](std::int32_t x, std::int32_t end) {
      if (background_.Find(pendingNodes_[next++]) == 0) {
        std::memset(row + x, kMaskOuter, static_cast<std::size_t>(end - x));
      }
    });
  }
  // A figure's root is its first node, made by its top-left run.
  for (std::size_t node = 0; node < figures_.parent.size(); ++node) {
    if (figures_.parent[node] == static_cast<std::int32_t>(node)) {
      starts_.push_back(firstPixels_[node]);
    }
  }
  ReleaseRuns();
}

void MaskSurvey::ReleaseRuns() {
  std::vector<std::uint64_t>().swap(white_);
  std::vector<std::int32_t>().swap(background_.parent);
  std::deque<std::int32_t>().swap(pendingNodes_);
  std::vector<std::uint8_t>().swap(rowPending_);
  std::vector<Run>().swap(whiteAbove_);
  std::vector<Run>().swap(whiteHere_);
  std::vector<std::int32_t>().swap(figures_.parent);
  std::vector<ContourPoint>().swap(firstPixels_);
  std::vector<Run>().swap(blackAbove_);
  std::vector<Run>().swap(blackHere_);
}

}  // namespace morvane::engine
