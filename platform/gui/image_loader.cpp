#include "platform/gui/image_loader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstddef>

namespace morvane::gui {
namespace {

constexpr int kMaxSide = 16384;  // the largest picture the program is meant to take
// No file of such a picture, stored as plainly as any format allows, is larger; a larger
// file is not read into memory at all.
constexpr qint64 kMaxFileBytes = qint64{1100} * 1024 * 1024;

// Raised once, so a 16k x 16k true-colour picture (1 GiB) still decodes.
void RaiseAllocationLimit() {
  static const bool raised = [] {
    QImageReader::setAllocationLimit(1100);
    return true;
  }();
  (void)raised;
}

std::uint16_t Word(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

std::uint32_t Dword(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint32_t>(Word(b, at)) |
         (static_cast<std::uint32_t>(Word(b, at + 2)) << 16);
}

std::int32_t SignedDword(const QByteArray& b, qsizetype at) {
  return static_cast<std::int32_t>(Dword(b, at));
}

std::int16_t SignedWord(const QByteArray& b, qsizetype at) {
  return static_cast<std::int16_t>(Word(b, at));
}

void PutWord(QByteArray& b, qsizetype at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>(v >> 8);
}

void PutDword(QByteArray& b, qsizetype at, std::uint32_t v) {
  PutWord(b, at, static_cast<std::uint16_t>(v & 0xffff));
  PutWord(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

constexpr std::uint32_t kEmfSignature = 0x464D4520;   // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;

bool IsEmf(const QByteArray& b) { return Dword(b, 0) == 1 && Dword(b, 40) == kEmfSignature; }

bool IsPlaceableWmf(const QByteArray& b) {
  return b.size() >= kPlaceableSize + 18 && Dword(b, 0) == kPlaceableKey;
}

bool IsWmf(const QByteArray& b) {
  if (IsPlaceableWmf(b)) return true;
  const std::uint16_t type = Word(b, 0), headerWords = Word(b, 2), version = Word(b, 4);
  return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// A DIB file may lack the 14-byte file header that a BMP carries: it then begins with
// the size of its info header. The file header is made up so the BMP reader takes it.
QByteArray WithBmpFileHeader(const QByteArray& dib) {
  if (dib.startsWith("BM")) return dib;
  const std::uint32_t infoSize = Dword(dib, 0);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 &&
      infoSize != 108 && infoSize != 124) {
    return dib;
  }
  std::uint32_t bitCount = 0, colours = 0, masks = 0;
  if (infoSize == 12) {
    bitCount = Word(dib, 10);
    colours = bitCount <= 8 ? (1u << bitCount) : 0;
    colours *= 3;  // RGBTRIPLE entries
  } else {
    bitCount = Word(dib, 14);
    const std::uint32_t compression = Dword(dib, 16);
    const std::uint32_t used = Dword(dib, 32);
    colours = (used != 0 ? used : (bitCount <= 8 ? (1u << bitCount) : 0)) * 4;
    if (infoSize == 40 && compression == 3) masks = 12;  // BI_BITFIELDS
  }
  const std::uint32_t offset = 14 + infoSize + masks + colours;
  QByteArray out(14, '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutDword(out, 2, static_cast<std::uint32_t>(14 + dib.size()));
  PutDword(out, 10, offset);
  return out + dib;
}

// Qt's readers hand back what they could decode of a cut-off file, the rest left
// blank; the user is better told that the file is incomplete. Formats not walked
// here are taken as complete.
bool BmpComplete(const QByteArray& b) {
  if (b.size() < 26) return false;
  const std::uint32_t infoSize = Dword(b, 14);
  std::int64_t width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {
    width = Word(b, 18);
    height = Word(b, 20);
    bits = Word(b, 24);
  } else {
    if (b.size() < 54) return false;
    width = SignedDword(b, 18);
    height = SignedDword(b, 22);
    bits = Word(b, 28);
    compression = Dword(b, 30);
  }
  if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
  const std::int64_t row = ((static_cast<std::int64_t>(bits) * std::abs(width) + 31) / 32) * 4;
  return Dword(b, 10) + row * std::abs(height) <= b.size();
}

bool SkipSubBlocks(const QByteArray& b, qsizetype& at) {
  while (at < b.size()) {
    const int n = static_cast<std::uint8_t>(b[at]);
    at += 1 + n;
    if (n == 0) return at <= b.size();
  }
  return false;
}

bool GifComplete(const QByteArray& b) {
  if (b.size() < 13) return false;
  qsizetype at = 13;
  const auto flags = static_cast<std::uint8_t>(b[10]);
  if (flags & 0x80) at += 3 * (qsizetype{2} << (flags & 7));
  while (at < b.size()) {
    const auto kind = static_cast<std::uint8_t>(b[at]);
    if (kind == 0x3B) return true;
    if (kind == 0x21) {
      at += 2;
      if (!SkipSubBlocks(b, at)) return false;
    } else if (kind == 0x2C) {
      if (at + 10 > b.size()) return false;
      const auto local = static_cast<std::uint8_t>(b[at + 9]);
      at += 10;
      if (local & 0x80) at += 3 * (qsizetype{2} << (local & 7));
      at += 1;  // code size
      // The first picture is the one shown: it must be whole.
      return SkipSubBlocks(b, at);
    } else {
      return false;
    }
  }
  return false;
}

bool JpegComplete(const QByteArray& b) {
  const qsizetype scan = b.indexOf("\xFF\xDA");
  return scan >= 0 && b.lastIndexOf("\xFF\xD9") > scan;
}

bool Complete(const QByteArray& bytes, const QByteArray& format) {
  if (format == "bmp") return BmpComplete(bytes);
  if (format == "gif") return GifComplete(bytes);
  if (format == "jpeg" || format == "jpg") return JpegComplete(bytes);
  return true;
}

QImage FlattenOverWhite(const QImage& image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter painter(&out);
  painter.drawImage(0, 0, image);
  painter.end();
  return out;
}

// Draws onto a picture through an inner painter that never antialiases, whatever the
// caller asks for: QtSvg turns antialiasing on for every document it draws, and the
// tracer needs the metafile's colours pure, edge pixels included.
class CrispPaintEngine final : public QPaintEngine {
 public:
  explicit CrispPaintEngine(QImage& target) : QPaintEngine(AllFeatures), target_(target) {}

  bool begin(QPaintDevice*) override {
    if (!inner_.begin(&target_)) return false;
    Crisp();
    return true;
  }
  bool end() override { return inner_.end(); }

  void updateState(const QPaintEngineState& changed) override {
    const DirtyFlags flags = changed.state();
    if (flags & DirtyTransform) inner_.setTransform(changed.transform());
    if (flags & DirtyPen) inner_.setPen(changed.pen());
    if (flags & DirtyBrush) inner_.setBrush(changed.brush());
    if (flags & DirtyBrushOrigin) inner_.setBrushOrigin(changed.brushOrigin());
    if (flags & DirtyFont) inner_.setFont(changed.font());
    if (flags & DirtyBackground) inner_.setBackground(changed.backgroundBrush());
    if (flags & DirtyBackgroundMode) inner_.setBackgroundMode(changed.backgroundMode());
    if (flags & DirtyCompositionMode) inner_.setCompositionMode(changed.compositionMode());
    if (flags & DirtyOpacity) inner_.setOpacity(changed.opacity());
    if (flags & DirtyClipRegion) {
      if (changed.clipOperation() == Qt::NoClip) {
        inner_.setClipping(false);
      } else {
        inner_.setClipRegion(changed.clipRegion(), changed.clipOperation());
      }
    }
    if (flags & DirtyClipPath) {
      if (changed.clipOperation() == Qt::NoClip) {
        inner_.setClipping(false);
      } else {
        inner_.setClipPath(changed.clipPath(), changed.clipOperation());
      }
    }
    if (flags & DirtyClipEnabled) inner_.setClipping(changed.isClipEnabled());
    Crisp();
  }

  void drawPath(const QPainterPath& path) override { inner_.drawPath(path); }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    switch (mode) {
      case PolylineMode:
        inner_.drawPolyline(points, count);
        break;
      case WindingMode:
        inner_.drawPolygon(points, count, Qt::WindingFill);
        break;
      case OddEvenMode:
      case ConvexMode:
        inner_.drawPolygon(points, count, Qt::OddEvenFill);
        break;
    }
  }

  void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override {
    inner_.drawPixmap(r, pixmap, source);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags flags) override {
    inner_.drawImage(r, image, source, flags);
  }

  Type type() const override { return User; }

 private:
  void Crisp() {
    inner_.setRenderHint(QPainter::Antialiasing, false);
    inner_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    inner_.setRenderHint(QPainter::TextAntialiasing, false);
  }

  QImage& target_;
  QPainter inner_;
};

class CrispDevice final : public QPaintDevice {
 public:
  explicit CrispDevice(QImage& target) : target_(target), engine_(target) {}
  ~CrispDevice() override = default;
  QPaintEngine* paintEngine() const override { return &engine_; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return target_.width();
      case PdmHeight: return target_.height();
      case PdmWidthMM: return target_.widthMM();
      case PdmHeightMM: return target_.heightMM();
      case PdmNumColors: return 0;
      case PdmDepth: return target_.depth();
      case PdmDpiX:
      case PdmPhysicalDpiX: return target_.logicalDpiX();
      case PdmDpiY:
      case PdmPhysicalDpiY: return target_.logicalDpiY();
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  QImage& target_;
  mutable CrispPaintEngine engine_;
};

// A placeable WMF is converted by a tool that maps the bounds of what the file draws,
// not the bounds its header declares, onto the picture. A white rectangle over the
// declared bounds, drawn first with objects that are freed again (so the file's own
// object numbers stay), makes the two agree.
QByteArray WithDeclaredBounds(const QByteArray& wmf) {
  const qsizetype header = kPlaceableSize;
  if (Word(wmf, header + 2) != 9) return wmf;
  const std::int16_t left = SignedWord(wmf, 6), top = SignedWord(wmf, 8);
  const std::int16_t right = SignedWord(wmf, 10), bottom = SignedWord(wmf, 12);

  QByteArray records;
  auto record = [&records](std::uint16_t function, std::initializer_list<std::uint16_t> params) {
    QByteArray r(6 + 2 * static_cast<qsizetype>(params.size()), '\0');
    PutDword(r, 0, static_cast<std::uint32_t>(3 + params.size()));
    PutWord(r, 4, function);
    qsizetype at = 6;
    for (std::uint16_t p : params) {
      PutWord(r, at, p);
      at += 2;
    }
    records += r;
  };
  auto w = [](int v) { return static_cast<std::uint16_t>(v); };
  record(0x001E, {});                                  // SaveDC
  record(0x02FC, {0, 0xFFFF, 0x00FF, 0});              // white solid brush -> object 0
  record(0x012D, {0});                                 // select it
  record(0x02FA, {5, 0, 0, 0, 0});                     // null pen -> object 1
  record(0x012D, {1});                                 // select it
  record(0x041B, {w(bottom), w(right), w(top), w(left)});  // Rectangle
  record(0x0127, {0xFFFF});                            // RestoreDC(-1)
  record(0x01F0, {0});                                 // DeleteObject
  record(0x01F0, {1});

  QByteArray out = wmf.left(header + 18) + records + wmf.mid(header + 18);
  const qsizetype h = header;
  PutDword(out, h + 6, Dword(out, h + 6) + static_cast<std::uint32_t>(records.size() / 2));
  PutWord(out, h + 10, std::max<std::uint16_t>(Word(out, h + 10), 2));
  PutDword(out, h + 12, std::max<std::uint32_t>(Dword(out, h + 12), 8));
  return out;
}

// The size the metafile declares for itself, in pixels; empty when it declares none.
QSize DeclaredSize(const QByteArray& bytes, bool emf) {
  if (emf) {
    // Bounds in device pixels, both corners included.
    const qint64 w = qint64{SignedDword(bytes, 16)} - SignedDword(bytes, 8) + 1;
    const qint64 h = qint64{SignedDword(bytes, 20)} - SignedDword(bytes, 12) + 1;
    if (w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide) {
      return QSize(static_cast<int>(w), static_cast<int>(h));
    }
    return {};
  }
  if (!IsPlaceableWmf(bytes)) return {};
  const int inch = Word(bytes, 14);
  if (inch == 0) return {};
  const double w = (double{1} * SignedWord(bytes, 10) - SignedWord(bytes, 6)) * 96.0 / inch;
  const double h = (double{1} * SignedWord(bytes, 12) - SignedWord(bytes, 8)) * 96.0 / inch;
  if (w < 0.5 || h < 0.5 || w > kMaxSide || h > kMaxSide) return {};
  return QSize(static_cast<int>(std::nearbyint(w)), static_cast<int>(std::nearbyint(h)));
}

QString FindProgram(const QString& program) {
  if (program.contains('/')) {
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
  }
  return QStandardPaths::findExecutable(program);
}

struct Converted {
  QImage image;
  QString reason;
};

Converted ConvertMetafile(const QByteArray& bytes, bool emf, const MetafileConverters& tools) {
  const QString program = FindProgram(emf ? tools.emfProgram : tools.wmfProgram);
  if (program.isEmpty()) return {{}, QStringLiteral("EMF/WMF not supported on this system")};

  QTemporaryDir dir;
  if (!dir.isValid()) return {{}, QStringLiteral("no temporary folder for the conversion")};
  const QString input = dir.filePath(emf ? QStringLiteral("in.emf") : QStringLiteral("in.wmf"));
  const QString output = dir.filePath(QStringLiteral("out.svg"));
  {
    QFile file(input);
    const QByteArray data = !emf && IsPlaceableWmf(bytes) ? WithDeclaredBounds(bytes) : bytes;
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
      return {{}, QStringLiteral("cannot write the temporary copy for the conversion")};
    }
  }

  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  const QStringList args = emf ? QStringList{QStringLiteral("-i"), input, QStringLiteral("-o"), output}
                               : QStringList{QStringLiteral("-o"), output, input};
  process.start(program, args);
  if (!process.waitForStarted(tools.timeoutMs)) {
    return {{}, QStringLiteral("the converter %1 could not be started").arg(program)};
  }
  if (!process.waitForFinished(tools.timeoutMs)) {
    process.kill();
    process.waitForFinished(-1);
    return {{}, QStringLiteral("the conversion took longer than %1 seconds")
                    .arg(std::max(1, tools.timeoutMs / 1000))};
  }
  QFile svgFile(output);
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
      !svgFile.open(QIODevice::ReadOnly)) {
    return {{}, QStringLiteral("the metafile could not be converted")};
  }
  QSvgRenderer renderer(svgFile.readAll());
  if (!renderer.isValid()) return {{}, QStringLiteral("the metafile could not be converted")};

  const QRectF box = renderer.viewBoxF();
  QSize size = DeclaredSize(bytes, emf);
  if (size.isEmpty()) {
    size = QSize(static_cast<int>(std::ceil(box.width())), static_cast<int>(std::ceil(box.height())));
  }
  if (size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide) {
    return {{}, QStringLiteral("the metafile declares no usable size")};
  }

  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  CrispDevice device(image);
  QPainter painter(&device);
  // An EMF's drawing is in device pixels already; a WMF's is mapped onto its size.
  const QRectF target = emf ? QRectF(QPointF(0, 0), box.size()) : QRectF(QPointF(0, 0), QSizeF(size));
  renderer.render(&painter, target);
  painter.end();
  return {image, {}};
}

PictureLoad Failed(const QString& path, const QString& reason) {
  return {{}, reason,
          QStringLiteral("Cannot load the image \"%1\": %2.").arg(QFileInfo(path).fileName(), reason)};
}

// The decoding that LoadPicture and LoadRgbPicture share; the picture comes as
// decoded, not yet flattened. With direct, a 32-bit picture is decoded straight into
// direct's memory where the decoder allows; then *decodedInto is set and the image
// returned is null.
PictureLoad DecodePicture(const QString& path, const MetafileConverters& converters, core::RgbImage* direct,
                          bool* decodedInto) {
  RaiseAllocationLimit();
  QFile file(path);
  if (!QFileInfo(path).isFile()) return Failed(path, QStringLiteral("the file does not exist"));
  if (!file.open(QIODevice::ReadOnly)) return Failed(path, file.errorString());
  if (file.size() > kMaxFileBytes) {
    return Failed(path, QStringLiteral("the file is larger than any picture of %1 x %1 pixels").arg(kMaxSide));
  }
  QByteArray bytes = file.readAll();
  file.close();
  if (bytes.isEmpty()) return Failed(path, QStringLiteral("the file is empty"));

  const QString suffix = QFileInfo(path).suffix().toLower();
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
    Converted converted = ConvertMetafile(bytes, emf, converters);
    if (converted.image.isNull()) return Failed(path, converted.reason);
    return {converted.image, {}, {}};
  }

  if (suffix == QLatin1String("dib")) bytes = WithBmpFileHeader(bytes);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (suffix == QLatin1String("dib")) reader.setFormat("bmp");
  const QByteArray format = reader.format().toLower();  // empty once the image is read
  QImage image;
  std::uint32_t* target = nullptr;
  const QSize size = reader.size();
  if (direct != nullptr && reader.imageFormat() == QImage::Format_RGB32 && size.width() > 0 &&
      size.height() > 0 && size.width() <= kMaxSide && size.height() <= kMaxSide) {
    *direct = core::RgbImage(size.width(), size.height());
    target = direct->pixels.data();
    image = QImage(reinterpret_cast<uchar*>(target), size.width(), size.height(), qsizetype{size.width()} * 4,
                   QImage::Format_RGB32);
  }
  const auto readInPlace = [&] {
    return target != nullptr && image.constBits() == reinterpret_cast<const uchar*>(target) &&
           image.format() == QImage::Format_RGB32 && image.size() == size;
  };
  if (!reader.read(&image) || image.isNull()) {
    if (direct != nullptr) *direct = {};
    QString reason = reader.errorString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error")) {
      reason = QStringLiteral("the picture cannot be decoded");
    }
    return Failed(path, reason);
  }
  const bool inPlace = readInPlace();
  if (!inPlace && direct != nullptr) {
    *direct = {};  // the decoder made its own picture: the buffer holds nothing
  }
  const auto failed = [&](const QString& reason) {
    if (direct != nullptr) *direct = {};
    return Failed(path, reason);
  };
  if (!Complete(bytes, format)) {
    return failed(QStringLiteral("the file is incomplete"));
  }
  if (image.width() > kMaxSide || image.height() > kMaxSide) {
    return failed(QStringLiteral("the picture is larger than %1 x %1 pixels").arg(kMaxSide));
  }
  if (inPlace) {
    *decodedInto = true;
    return {};
  }
  return {image, {}, {}};
}

}  // namespace

PictureLoad LoadPicture(const QString& path, const MetafileConverters& converters) {
  PictureLoad load = DecodePicture(path, converters, nullptr, nullptr);
  if (load.ok()) {
    load.image = FlattenOverWhite(load.image);
  }
  return load;
}

PictureLoad LoadRgbPicture(const QString& path, core::RgbImage& image, const MetafileConverters& converters) {
  bool decodedInto = false;
  PictureLoad load = DecodePicture(path, converters, &image, &decodedInto);
  if (decodedInto) {
    return load;
  }
  if (load.ok()) {
    image = ToRgbImage(load.image);
  } else {
    image = {};
  }
  load.image = QImage();
  return load;
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
