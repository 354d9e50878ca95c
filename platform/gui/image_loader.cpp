#include "platform/gui/image_loader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/core/file_system.h"
#include "platform/gui/bmp_decoder.h"
#include "platform/gui/gif_decoder.h"
#include "platform/gui/metafile_converter.h"
#include "platform/gui/picture_checks.h"

namespace morvane::gui {
namespace {

using namespace loader;

// Transparent parts over white. A picture with alpha is blended in its own memory: the
// largest picture takes a gigabyte, and a second one is not needed.
QImage FlattenOverWhite(QImage image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  if (image.format() != QImage::Format_ARGB32) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return {};
  }
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      if (a == 255) continue;
      auto blend = [a](std::uint32_t c) { return (c * a + 255 * (255 - a) + 127) / 255; };
      row[x] = 0xff000000u | (blend((p >> 16) & 0xff) << 16) | (blend((p >> 8) & 0xff) << 8) |
               blend(p & 0xff);
    }
  }
  image.reinterpretAsFormat(QImage::Format_RGB32);
  return image;
}

QString OutOfMemory() { return QStringLiteral("not enough memory for the picture"); }

PictureLoad Failed(const QString& name, const QString& reason) {
  return {{}, reason, QStringLiteral("Cannot load the image \"%1\": %2.").arg(name, reason)};
}

QString FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

QString TooLarge(int maxSide) {
  return QStringLiteral("the picture is larger than %1 x %1 pixels").arg(maxSide);
}

// A failure when the path names no regular file or one too large for any picture.
std::optional<PictureLoad> CheckPictureFile(const std::string& path, const QString& name) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || path.empty()) {
      return Failed(name, QStringLiteral("the file does not exist"));
    }
    return Failed(name, QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (S_ISDIR(info.st_mode)) return Failed(name, QStringLiteral("it is a folder, not a file"));
  if (!S_ISREG(info.st_mode)) return Failed(name, QStringLiteral("it is not a regular file"));
  if (info.st_size > kMaxFileBytes) {
    return Failed(name,
                  QStringLiteral("the file is larger than any picture of %1 x %1 pixels").arg(kMaxSide));
  }
  return std::nullopt;
}

// The file's bytes, once CheckPictureFile has passed; a failure when they cannot be read.
std::optional<PictureLoad> ReadPictureFile(const std::string& path, const QString& name,
                                           std::string& bytes) {
  core::FileContents contents = core::ReadFileBytes(path, static_cast<std::size_t>(kMaxFileBytes));
  if (contents.status != core::FileContents::kOk) {
    const std::string prefix = path + ": ";
    std::string reason = contents.error;
    if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
    return Failed(name, QString::fromStdString(reason));
  }
  bytes = std::move(contents.bytes);
  return std::nullopt;
}

// The file's bytes for the decoder without a copy: one copy of a large file is enough.
// The decoders only read them, and nothing they make points into them.
QByteArray Unowned(const std::string& bytes) {
  return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string NativePath(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return std::string(native.constData(), static_cast<std::size_t>(native.size()));
}

// Before the first decode of a run: the readers may allocate the largest picture, and
// what killed runs left of their conversions is cleared away.
void PrepareDecoding() {
  RaiseAllocationLimit();
  static const bool swept = [] {
    SweepStaleConversionFolders();
    return true;
  }();
  (void)swept;
}

// Decodes through Qt's reader, into direct's memory where the picture is 32-bit and
// the reader allows; target is then set to that memory. A failure when the reader
// gives no picture.
std::optional<PictureLoad> ReadThroughReader(QImageReader& reader, const QString& fileName,
                                             const PictureLimits& limits, core::RgbImage* direct,
                                             QImage& image, std::uint32_t*& target) {
  const QSize size = reader.size();
  if (direct != nullptr && reader.imageFormat() == QImage::Format_RGB32 && size.width() > 0 &&
      size.height() > 0 && size.width() <= limits.maxSide && size.height() <= limits.maxSide) {
    *direct = core::RgbImage(size.width(), size.height());
    target = direct->pixels.data();
    image = QImage(reinterpret_cast<uchar*>(target), size.width(), size.height(),
                   qsizetype{size.width()} * 4, QImage::Format_RGB32);
  }
  if (!reader.read(&image) || image.isNull()) {
    QString reason = reader.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error")) {
      reason = QStringLiteral("the picture cannot be decoded");
    }
    if (direct != nullptr) *direct = {};
    return Failed(fileName, reason);
  }
  const bool inPlace = target != nullptr && image.constBits() == reinterpret_cast<const uchar*>(target) &&
                       image.format() == QImage::Format_RGB32 && image.size() == size;
  if (!inPlace) {
    target = nullptr;
    if (direct != nullptr) *direct = {};  // the decoder made its own picture: the buffer holds nothing
  }
  return std::nullopt;
}

// The checks after a decode, and the picture handed on: null with *decodedInto set
// when it was decoded into direct (target).
PictureLoad Decoded(QImage image, const std::uint32_t* target, bool complete, const QString& fileName,
                    const PictureLimits& limits, core::RgbImage* direct, bool* decodedInto) {
  const auto failed = [&](const QString& reason) {
    if (direct != nullptr) *direct = {};
    return Failed(fileName, reason);
  };
  if (!complete) return failed(QStringLiteral("the file is incomplete"));
  if (image.width() > limits.maxSide || image.height() > limits.maxSide) {
    return failed(TooLarge(limits.maxSide));
  }
  if (target != nullptr) {
    *decodedInto = true;
    return {};
  }
  return {image, {}, {}};
}

// The decoding that LoadPictureData and LoadRgbPicture share; the picture comes as
// decoded, not yet flattened. With direct, a 32-bit picture is decoded straight into
// direct's memory where the decoder allows; then *decodedInto is set and the image
// returned is null. On failure direct is empty.
PictureLoad DecodePictureData(QByteArray bytes, const QString& fileName,
                              const MetafileConverters& converters, const PictureLimits& limits,
                              core::RgbImage* direct, bool* decodedInto) {
  PrepareDecoding();
  if (direct != nullptr) *direct = {};
  if (bytes.isEmpty()) return Failed(fileName, QStringLiteral("the file is empty"));

  const QString suffix = QFileInfo(fileName).suffix().toLower();
  bool emf = IsEmf(bytes);
  bool wmf = !emf && IsWmf(bytes);
  if (!emf && !wmf && (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf"))) {
    // The name counts only when the content is no picture that Qt knows.
    QBuffer probe(&bytes);
    probe.open(QIODevice::ReadOnly);
    if (QImageReader::imageFormat(&probe).isEmpty()) {
      emf = suffix == QLatin1String("emf");
      wmf = !emf;
    }
  }
  if (emf || wmf) {
    Converted converted = ConvertMetafile(bytes, emf, converters, limits);
    if (converted.image.isNull()) return Failed(fileName, converted.reason);
    return {converted.image, {}, {}};
  }

  if (suffix == QLatin1String("dib")) bytes = WithBmpFileHeader(bytes);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (suffix == QLatin1String("dib")) reader.setFormat("bmp");
  const QByteArray format = reader.format().toLower();  // empty once the image is read
  const QSize declared = DeclaredPictureSize(bytes, format);
  if (declared.width() > limits.maxSide || declared.height() > limits.maxSide) {
    return Failed(fileName, TooLarge(limits.maxSide));
  }
  const QString damaged = QStringLiteral("the image data is damaged");
  const bool complete = Complete(bytes, format);
  if (complete && !DataSound(bytes, format)) return Failed(fileName, damaged);
  QImage image;
  std::uint32_t* target = nullptr;
  if (format == "gif" && qint64{declared.width()} * declared.height() > limits.gifReaderMaxPixels) {
    image = DecodeLargeGif(bytes);
    if (image.isNull()) return Failed(fileName, damaged);
  } else if (format == "bmp" && IsRunLengthBmp(bytes)) {
    // Left in its palette: it is flattened a band at a time like any other.
    RunLengthPicture runs = DecodeRunLengthBmp(bytes);
    if (runs.damaged) return Failed(fileName, damaged);
    if (runs.image.isNull()) return Failed(fileName, OutOfMemory());
    image = std::move(runs.image);
  } else if (std::optional<PictureLoad> failure =
                 ReadThroughReader(reader, fileName, limits, direct, image, target)) {
    return *std::move(failure);
  }
  return Decoded(std::move(image), target, complete, fileName, limits, direct, decodedInto);
}

// How much of a file is read first to tell whether it is streamed: far more than the
// headers and palette of any BMP.
constexpr qint64 kHeadBytes = 64 * 1024;

// An uncompressed BMP is decoded from the file, its rows read as they are decoded, so
// that no copy of the file stands beside the picture. The same checks come first as
// for the file's bytes in memory, from its headers and its size. Nothing (nullopt)
// when the file is no such BMP or no larger than its head: it is then read whole.
std::optional<PictureLoad> DecodeStreamedBmp(const std::string& path, const QString& fileName,
                                             core::RgbImage* direct, bool* decodedInto) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  // A metafile's name on a BMP is for the whole read to judge.
  if (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf")) return std::nullopt;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;  // the whole read tells why
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= kHeadBytes ||
      info.st_size > kMaxFileBytes) {
    return std::nullopt;
  }
  const QByteArray head = file.read(kHeadBytes);
  if (head.size() != kHeadBytes || !head.startsWith("BM") || IsRunLengthBmp(head) || !file.seek(0)) {
    return std::nullopt;
  }
  PrepareDecoding();
  if (direct != nullptr) *direct = {};
  QImageReader reader(&file);
  if (suffix == QLatin1String("dib")) reader.setFormat("bmp");
  if (reader.format().toLower() != "bmp") return std::nullopt;
  const PictureLimits limits;
  const QSize declared = DeclaredPictureSize(head, "bmp");
  if (declared.width() > limits.maxSide || declared.height() > limits.maxSide) {
    return Failed(fileName, TooLarge(limits.maxSide));
  }
  const qint64 size = info.st_size;
  bool complete = BmpComplete(head, size);
  QImage image;
  std::uint32_t* target = nullptr;
  if (std::optional<PictureLoad> failure = ReadThroughReader(reader, fileName, limits, direct, image, target)) {
    return *std::move(failure);
  }
  // A file cut shorter while it was read has left rows out.
  if (::fstat(fd, &info) != 0 || info.st_size < size) complete = false;
  return Decoded(std::move(image), target, complete, fileName, limits, direct, decodedInto);
}

// A file's picture, decoded as DecodePictureData decodes it.
PictureLoad DecodePictureFile(const std::string& path, const QString& name,
                              const MetafileConverters& converters, core::RgbImage* direct,
                              bool* decodedInto) {
  if (std::optional<PictureLoad> failure = CheckPictureFile(path, name)) return *std::move(failure);
  if (std::optional<PictureLoad> streamed = DecodeStreamedBmp(path, name, direct, decodedInto)) {
    return *std::move(streamed);
  }
  std::string bytes;
  if (std::optional<PictureLoad> failure = ReadPictureFile(path, name, bytes))
    return *std::move(failure);
  // The bytes go before the caller flattens the picture.
  return DecodePictureData(Unowned(bytes), name, converters, {}, direct, decodedInto);
}

// A decoded picture as the picture boxes take it: transparent parts over white.
PictureLoad Flattened(PictureLoad load, const QString& fileName) {
  if (!load.ok()) return load;
  load.image = FlattenOverWhite(std::move(load.image));
  if (load.image.isNull()) return Failed(fileName, OutOfMemory());
  return load;
}

}  // namespace

PictureLoad LoadPicture(const std::string& path, const MetafileConverters& converters) {
  const QString name = FileNameOf(path);
  return Flattened(DecodePictureFile(path, name, converters, nullptr, nullptr), name);
}

PictureLoad LoadPicture(const QString& path, const MetafileConverters& converters) {
  return LoadPicture(NativePath(path), converters);
}

PictureLoad LoadPictureData(QByteArray bytes, const QString& fileName,
                            const MetafileConverters& converters, const PictureLimits& limits) {
  return Flattened(DecodePictureData(std::move(bytes), fileName, converters, limits, nullptr, nullptr),
                   fileName);
}

PictureLoad LoadRgbPicture(const std::string& path, core::RgbImage& image,
                           const MetafileConverters& converters) {
  image = {};
  const QString name = FileNameOf(path);
  bool decodedInto = false;
  PictureLoad load = DecodePictureFile(path, name, converters, &image, &decodedInto);
  if (decodedInto || !load.ok()) return load;
  image = ToRgbImage(load.image);
  load.image = QImage();
  if (image.empty()) return Failed(name, OutOfMemory());
  return load;
}

PictureLoad LoadRgbPicture(const QString& path, core::RgbImage& image,
                           const MetafileConverters& converters) {
  return LoadRgbPicture(NativePath(path), image, converters);
}

core::RgbImage ToRgbImage(const QImage& image) {
  if (image.isNull()) return {};
  core::RgbImage out(image.width(), image.height());
  // Any other format is flattened a band of rows at a time, so that no whole 32-bit
  // copy stands beside the buffer.
  constexpr int kBand = 256;
  for (int top = 0; top < image.height(); top += kBand) {
    const int rows = std::min(kBand, image.height() - top);
    const QImage band = image.format() == QImage::Format_RGB32
                            ? image
                            : FlattenOverWhite(image.copy(0, top, image.width(), rows));
    if (band.isNull()) return {};  // no memory for the band
    const int first = image.format() == QImage::Format_RGB32 ? top : 0;
    for (int y = 0; y < rows; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(band.constScanLine(first + y));
      std::copy(row, row + image.width(),
                out.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * image.width());
    }
  }
  return out;
}

QImage FromRgbImage(const core::RgbImage& image) {
  if (image.empty()) return {};
  QImage out(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
    const auto first = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
    std::copy(first, first + image.width, row);
  }
  return out;
}

}  // namespace morvane::gui
