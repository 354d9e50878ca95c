#pragma once

#include <QString>

#include "platform/core/version_record.h"

namespace morvane::scopel {

// The library's version as Version gives it: a blank, the major number, "." and the
// minor number as two digits, and "." with the revision as four digits when it is 1
// or more (" 1.02", " 1.02.0005").
QString VersionText(const core::VersionRecord& record);
QString VersionText();

// The About box's caption and text, built from a version record.
struct AboutContent {
  QString caption;
  QString text;
};
AboutContent BuildAboutContent(const core::VersionRecord& record);

// Shows the About box of this library, modal, with one OK button.
void ShowScopelAbout();

}  // namespace morvane::scopel
