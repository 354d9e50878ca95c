#pragma once

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

namespace morvane::gui::loader {

constexpr int kMaxSide = 16384;  // the largest picture the program is meant to take
// No file of such a picture, stored as plainly as any format allows, is larger; a larger
// file is not read into memory at all.
constexpr qint64 kMaxFileBytes = qint64{1100} * 1024 * 1024;

// Raised once to exactly what the largest picture takes at 32 bits a pixel (1 GiB), so
// a 16k x 16k picture decodes and nothing larger is allocated by a reader.
void RaiseAllocationLimit();

// Qt's readers hand back what they could decode of a cut-off file, the rest left
// blank; the user is better told that the file is incomplete. Formats not walked
// here are taken as complete.
bool Complete(const QByteArray& bytes, const QByteArray& format);

// The size the picture declares for itself; empty when it declares none readable here.
QSize DeclaredPictureSize(const QByteArray& bytes, const QByteArray& format);

// False when the pixel data does not decode to the whole picture it declares.
bool DataSound(const QByteArray& bytes, const QByteArray& format);

}  // namespace morvane::gui::loader
