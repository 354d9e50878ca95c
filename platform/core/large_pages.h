#pragma once

// Memory written for the first time costs a page fault for every 4 KB page, which can
// cost more than the writing itself. A large buffer written from the front asks for its
// room to come in 2 MB pages, where the system grants them on request; it is a hint,
// and the room stays what it was.

#include <sys/mman.h>

#include <cstdint>
#include <vector>

namespace morvane::core {

template <typename T>
void AskForLargePages(const std::vector<T>& buffer) {
  constexpr std::uintptr_t kLargePage = std::uintptr_t{1} << 21;
  const auto from = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t begin = (from + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (from + buffer.capacity() * sizeof(T)) & ~(kLargePage - 1);
  if (buffer.data() != nullptr && end > begin) {
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
}

}  // namespace morvane::core
