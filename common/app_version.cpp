#include "common/app_version.h"

namespace morvane::common {

std::string GetAppVersion(bool shortForm, const core::VersionRecord& record) {
  std::string text = std::to_string(record.major) + ".";
  if (shortForm) {
    text += record.minor >= 1 ? std::to_string(record.minor) : "00";
    if (record.revision >= 1) text += "." + std::to_string(record.revision);
    return text;
  }
  // Two digits from minor + 100 and four from revision + 10000, their first digit
  // dropped; a minor number of 100 or more so keeps only its last two digits, as the
  // version texts stored so far have it.
  text += std::to_string(record.minor + 100).substr(1);
  if (record.revision >= 1) text += "." + std::to_string(record.revision + 10000).substr(1);
  return text;
}

std::string GetAppVersion(bool shortForm) { return GetAppVersion(shortForm, core::ThisVersionRecord()); }

}  // namespace morvane::common
