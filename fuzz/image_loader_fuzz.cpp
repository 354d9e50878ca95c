// Feeds arbitrary bytes to the image loader as a picture file: format sniffing, the
// size checks made before decoding, the GIF and run-length BMP data checks, the
// loader's own GIF decoder and the flattening over white. Metafiles go to a stand-in
// converter that answers with a small SVG. Loading must not crash or hang, and a
// picture that loads is RGB32 within the limits.
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/gui/image_loader.h"

namespace {

using namespace morvane::gui;

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Setup {
  std::unique_ptr<QGuiApplication> application;
  QTemporaryDir folder;
  MetafileConverters converters;
};

Setup* TheSetup() {
  static Setup* setup = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "image_loader_fuzz";
    static char* argv[] = {name, nullptr};
    auto* s = new Setup;
    s->application = std::make_unique<QGuiApplication>(argc, argv);
    const QString program = s->folder.filePath("convert.sh");
    QFile script(program);
    script.open(QIODevice::WriteOnly);
    // Both argument orders: the SVG goes to the argument after -o.
    script.write(
        "#!/bin/sh\nwhile [ $# -gt 0 ]; do [ \"$1\" = -o ] && out=$2; shift; done\n"
        "echo \"<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
        "<rect x='2' y='2' width='9' height='7' fill='red'/></svg>\" > \"$out\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    s->converters.emfProgram = program;
    s->converters.wmfProgram = program;
    s->converters.timeoutMs = 5000;
    return s;
  }();
  return setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Setup* setup = TheSetup();
  // Small limits keep each input cheap; the checks are the same at any limit. GIFs of
  // more than 64 x 64 pixels go through the loader's own decoder.
  PictureLimits limits;
  limits.maxSide = 512;
  limits.maxSvgBytes = 4096;
  limits.gifReaderMaxPixels = 64 * 64;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // The name's extension decides DIB and the metafile fallback: try both ways.
  for (const char* name : {"in.gif", "in.dib", "in.wmf"}) {
    const PictureLoad load =
        LoadPictureData(bytes, QString::fromLatin1(name), setup->converters, limits);
    if (!load.ok()) {
      Check(!load.reason.isEmpty());
      continue;
    }
    Check(load.image.format() == QImage::Format_RGB32);
    Check(load.image.width() <= limits.maxSide && load.image.height() <= limits.maxSide);
  }
  return 0;
}
