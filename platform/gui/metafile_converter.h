#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/gui/image_loader.h"

namespace morvane::gui::loader {

// Told by their headers: an EMF, a WMF (placeable or not).
bool IsEmf(const QByteArray& b);
bool IsWmf(const QByteArray& b);

struct Converted {
  QImage image;
  QString reason;
};

// Removes the conversion folders of processes that are gone: this user's real folders
// (no links), named with a process id that no process has any more.
void SweepStaleConversionFolders();

// The metafile drawn onto a white picture of its own size through the converter the
// tools name; a null image and the reason when it cannot be.
Converted ConvertMetafile(const QByteArray& bytes, bool emf, const MetafileConverters& tools,
                          const PictureLimits& limits);

}  // namespace morvane::gui::loader
