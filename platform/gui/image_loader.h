#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <string>

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

// What a load may cost. A picture's size is checked against maxSide before anything is
// decoded; a converter's SVG may hold at most maxSvgBytes.
struct PictureLimits {
  int maxSide = 16384;
  qint64 maxSvgBytes = qint64{64} << 20;
  // Qt's GIF reader takes no picture of 2^28 pixels or more, though the largest promised
  // one has exactly that many; larger GIFs are decoded by the loader itself.
  qint64 gifReaderMaxPixels = (qint64{1} << 28) - 1;
};

// Loads an image file the way the picture boxes take it: GIF, JPEG, BMP (and whatever
// else Qt reads, decided by the content, so a wrong extension does no harm), DIB as
// BMP (also a bare DIB without a file header), EMF and WMF converted to SVG in a child
// process and drawn without antialiasing at the metafile's own size.
// The path is the file system's bytes: names that are not valid UTF-8 open too. A
// folder, a pipe or a device, a file that cannot be read and one that is missing each
// get their own reason. Pixel data that does not decode to the whole picture is "the
// image data is damaged".
PictureLoad LoadPicture(const std::string& path, const MetafileConverters& converters = {});
PictureLoad LoadPicture(const QString& path, const MetafileConverters& converters = {});

// The same for a file's bytes already read; fileName gives the extension and the name
// in the message.
PictureLoad LoadPictureData(QByteArray bytes, const QString& fileName,
                            const MetafileConverters& converters = {}, const PictureLimits& limits = {});

// LoadPicture into the engine's plain buffer, without a second 32-bit copy of a large
// picture: a 32-bit one is decoded straight into the buffer where the decoder allows,
// any other is flattened band by band. On failure the buffer is empty and the load
// carries the reason; its image is null either way.
PictureLoad LoadRgbPicture(const std::string& path, core::RgbImage& image,
                           const MetafileConverters& converters = {});
PictureLoad LoadRgbPicture(const QString& path, core::RgbImage& image,
                           const MetafileConverters& converters = {});

// The picture as the engine's plain buffer (0xffRRGGBB rows).
core::RgbImage ToRgbImage(const QImage& image);

// The plain buffer back as a picture, for the view.
QImage FromRgbImage(const core::RgbImage& image);

}  // namespace morvane::gui
