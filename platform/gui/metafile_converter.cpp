#include "platform/gui/metafile_converter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/gui/picture_bytes.h"
#include "platform/gui/picture_checks.h"

namespace morvane::gui::loader {
namespace {

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;

bool IsPlaceableWmf(const QByteArray& b) {
  return b.size() >= kPlaceableSize + 18 && Dword(b, 0) == kPlaceableKey;
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
      case PolylineMode: inner_.drawPolyline(points, count); break;
      case WindingMode: inner_.drawPolygon(points, count, Qt::WindingFill); break;
      case OddEvenMode:
      case ConvexMode: inner_.drawPolygon(points, count, Qt::OddEvenFill); break;
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
  record(0x001E, {});                                      // SaveDC
  record(0x02FC, {0, 0xFFFF, 0x00FF, 0});                  // white solid brush -> object 0
  record(0x012D, {0});                                     // select it
  record(0x02FA, {5, 0, 0, 0, 0});                         // null pen -> object 1
  record(0x012D, {1});                                     // select it
  record(0x041B, {w(bottom), w(right), w(top), w(left)});  // Rectangle
  record(0x0127, {0xFFFF});                                // RestoreDC(-1)
  record(0x01F0, {0});                                     // DeleteObject
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

// The converter runs in a process group of its own, with a limit on the size of file it
// may write; whatever it and the programs it starts leave running is killed with the
// group once it ends or runs out of time.
class ConverterRun {
 public:
  explicit ConverterRun(qint64 maxFileBytes) {
    process_.setStandardOutputFile(QProcess::nullDevice());  // a flood of output costs nothing
    process_.setStandardErrorFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    process_.setChildProcessModifier([maxFileBytes, parent] {
      // Killed with us: a converter must not outlive a program that was killed while
      // it waited (and it may have died before this line).
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      if (::getppid() != parent) ::_exit(127);
      ::setpgid(0, 0);
      const struct rlimit limit { static_cast<rlim_t>(maxFileBytes), static_cast<rlim_t>(maxFileBytes) };
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
  }
  ~ConverterRun() { KillGroup(); }
  ConverterRun(const ConverterRun&) = delete;
  ConverterRun& operator=(const ConverterRun&) = delete;

  bool Start(const QString& program, const QStringList& args, int timeoutMs) {
    process_.start(program, args);
    if (!process_.waitForStarted(timeoutMs)) return false;
    group_ = static_cast<pid_t>(process_.processId());
    return true;
  }
  // False when it ran out of time (and was killed).
  bool Finish(int timeoutMs) {
    if (process_.waitForFinished(timeoutMs)) {
      KillGroup();
      return true;
    }
    KillGroup();
    process_.waitForFinished(-1);
    return false;
  }
  bool Succeeded() const {
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
  }

 private:
  void KillGroup() {
    if (group_ > 0) ::kill(-group_, SIGKILL);
    group_ = 0;
  }

  QProcess process_;
  pid_t group_ = 0;
};

// A conversion's temporary folder carries the process's id, so that one whose process
// is gone (killed while it converted) is known for a leftover.
constexpr char kConversionFolderPrefix[] = "morvane-convert-";

}  // namespace

bool IsEmf(const QByteArray& b) { return Dword(b, 0) == 1 && Dword(b, 40) == kEmfSignature; }

bool IsWmf(const QByteArray& b) {
  if (IsPlaceableWmf(b)) return true;
  const std::uint16_t type = Word(b, 0), headerWords = Word(b, 2), version = Word(b, 4);
  return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

void SweepStaleConversionFolders() {
  namespace fs = std::filesystem;
  const fs::path temp = QFile::encodeName(QDir::tempPath()).toStdString();
  const std::string_view prefix = kConversionFolderPrefix;
  std::error_code error;
  for (fs::directory_iterator it(temp, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    pid_t pid = 0;
    const auto [at, failed] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (failed != std::errc() || at == rest.data() || at == rest.data() + rest.size() || *at != '-' ||
        pid <= 0 || pid == ::getpid()) {
      continue;
    }
    struct stat info {};
    if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;  // its process still runs
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

Converted ConvertMetafile(const QByteArray& bytes, bool emf, const MetafileConverters& tools,
                          const PictureLimits& limits) {
  const QString program = FindProgram(emf ? tools.emfProgram : tools.wmfProgram);
  if (program.isEmpty()) return {{}, QStringLiteral("EMF/WMF not supported on this system")};

  QTemporaryDir dir(QDir::tempPath() + QLatin1Char('/') + QLatin1String(kConversionFolderPrefix) +
                    QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
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

  QByteArray svg;
  {
    // One byte over the limit is allowed to be written, so an SVG cut off at the limit
    // is told from one that fits.
    ConverterRun run(limits.maxSvgBytes + 1);
    const QStringList args = emf ? QStringList{QStringLiteral("-i"), input, QStringLiteral("-o"), output}
                                 : QStringList{QStringLiteral("-o"), output, input};
    if (!run.Start(program, args, tools.timeoutMs)) {
      return {{}, QStringLiteral("the converter %1 could not be started").arg(program)};
    }
    if (!run.Finish(tools.timeoutMs)) {
      return {{},
              QStringLiteral("the conversion took longer than %1 seconds")
                  .arg(std::max(1, tools.timeoutMs / 1000))};
    }
    const QFileInfo info(output);
    if (info.exists() && info.size() > limits.maxSvgBytes) {
      return {{},
              QStringLiteral("the converted picture is larger than %1 MB")
                  .arg(limits.maxSvgBytes / (1024 * 1024))};
    }
    QFile svgFile(output);
    if (!run.Succeeded() || !info.isFile() || !svgFile.open(QIODevice::ReadOnly)) {
      return {{}, QStringLiteral("the metafile could not be converted")};
    }
    svg = svgFile.read(limits.maxSvgBytes);
  }
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {{}, QStringLiteral("the metafile could not be converted")};

  const QRectF box = renderer.viewBoxF();
  QSize size = DeclaredSize(bytes, emf);
  if (size.isEmpty()) {
    size = QSize(static_cast<int>(std::ceil(std::min<qreal>(box.width(), INT_MAX))),
                 static_cast<int>(std::ceil(std::min<qreal>(box.height(), INT_MAX))));
  }
  if (size.isEmpty() || size.width() > limits.maxSide || size.height() > limits.maxSide) {
    return {{}, QStringLiteral("the metafile declares no usable size")};
  }

  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return {{}, QStringLiteral("not enough memory for the picture")};
  image.fill(Qt::white);
  CrispDevice device(image);
  QPainter painter(&device);
  // An EMF's drawing is in device pixels already; a WMF's is mapped onto its size.
  const QRectF target = emf ? QRectF(QPointF(0, 0), box.size()) : QRectF(QPointF(0, 0), QSizeF(size));
  renderer.render(&painter, target);
  painter.end();
  return {image, {}};
}

}  // namespace morvane::gui::loader
