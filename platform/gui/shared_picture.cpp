#include "platform/gui/shared_picture.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace morvane::gui {

namespace {

// Below this a picture takes ordinary memory: few pages, and a large page would be
// mostly waste.
constexpr std::size_t kLargeFrom = std::size_t{8} << 20;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

struct Mapping {
  void* base;
  std::size_t length;
};

void ReleaseShared(void* owner) { delete static_cast<std::shared_ptr<const core::RgbImage>*>(owner); }

void ReleaseMapping(void* info) {
  const auto* mapping = static_cast<Mapping*>(info);
  ::munmap(mapping->base, mapping->length);
  delete mapping;
}

}  // namespace

QImage SharedPicture(std::shared_ptr<const core::RgbImage> image) {
  if (image == nullptr || image->empty() ||
      image->pixels.size() != core::RgbImage::Area(image->width, image->height)) {
    return {};
  }
  const core::RgbImage& pixels = *image;
  auto* owner = new std::shared_ptr<const core::RgbImage>(std::move(image));
  QImage picture(reinterpret_cast<const uchar*>(pixels.pixels.data()), pixels.width, pixels.height,
                 qsizetype{pixels.width} * 4, QImage::Format_RGB32, ReleaseShared, owner);
  if (picture.isNull()) ReleaseShared(owner);  // Qt took no ownership
  return picture;
}

QImage NewLargePicture(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  if (bytes < kLargeFrom) return QImage(width, height, QImage::Format_RGB32);
  // One large page more than needed, so that the pixels can begin on a page boundary.
  const std::size_t length = bytes + kLargePage;
  void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return QImage(width, height, QImage::Format_RGB32);
  const auto start = (reinterpret_cast<std::uintptr_t>(base) + kLargePage - 1) & ~(kLargePage - 1);
  auto* pixels = reinterpret_cast<uchar*>(start);
  ::madvise(pixels, bytes, MADV_HUGEPAGE);  // a request: without large pages all works the same
  auto* mapping = new Mapping{base, length};
  QImage picture(pixels, width, height, qsizetype{width} * 4, QImage::Format_RGB32, ReleaseMapping, mapping);
  if (picture.isNull()) ReleaseMapping(mapping);
  return picture;
}

}  // namespace morvane::gui
