#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "platform/core/version_record.h"

namespace morvane::kit {

// The About box of a control library (Scopel, Trellan, Vitrane): its caption and
// text, built from a version record, and an extra line below the version when one is
// given.
struct AboutContent {
  QString caption;
  QString text;
};
AboutContent BuildAboutContent(const core::VersionRecord& record, const QString& extraText = {});

// The library's icons by resource id; an unknown id gives a null icon.
using LibraryIcons = QIcon (*)(std::int32_t id);

// Shows the About box of the calling library (its own version record), modal, with
// one OK button and the library's icon 1.
void ShowLibraryAbout(LibraryIcons icons, QWidget* owner = nullptr, const QString& extraText = {});

}  // namespace morvane::kit
