#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "platform/core/pixel_buffer.h"

namespace morvane::gui {

// What a load gives: a Format_RGB32 picture (transparent parts flattened over white)
// or, when the file cannot be read, a null image and a message that names the file
// and the reason.
struct PictureLoad {
  QImage image;
  QString reason;   // "" on success, e.g. "EMF/WMF not supported on this system"
  QString message;  // the reason with the file's name, for the user

  bool ok() const { return !image.isNull(); }
};

// Where the metafile converters are found and how long one may run. Tests point the
// programs elsewhere to see a missing tool or a converter that hangs.
struct MetafileConverters {
  QString emfProgram = QStringLiteral("emf2svg-conv");
  QString wmfProgram = QStringLiteral("wmf2svg");
  int timeoutMs = 20000;
};

// Loads an image file the way the picture boxes take it: GIF, JPEG, BMP (and whatever
// else Qt reads, decided by the content, so a wrong extension does no harm), DIB as
// BMP (also a bare DIB without a file header), EMF and WMF converted to SVG in a child
// process and drawn without antialiasing at the metafile's own size.
PictureLoad LoadPicture(const QString& path, const MetafileConverters& converters = {});

// LoadPicture into the engine's plain buffer, without a second 32-bit copy of a large
// picture: a 32-bit one is decoded straight into the buffer where the decoder allows,
// any other is flattened band by band. On failure the buffer is empty and the load
// carries the reason; its image is null either way.
PictureLoad LoadRgbPicture(const QString& path, core::RgbImage& image, const MetafileConverters& converters = {});

// The picture as the engine's plain buffer (0xffRRGGBB rows).
core::RgbImage ToRgbImage(const QImage& image);

// The plain buffer back as a picture, for the view.
QImage FromRgbImage(const core::RgbImage& image);

}  // namespace morvane::gui
