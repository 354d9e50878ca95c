#pragma once

// The update-check control's stand-in. It is configured with the address of a
// manifest, the settings file and this copy's version; Check fetches the manifest with
// one HTTP GET and compares its version with ours part by part.
//
// The manifest is a small UTF-8 JSON object whose "version" member is the newest
// version's text, digits separated by dots:  {"version": "1.2.0"}

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace morvane::widgets {

// -1: the service cannot be reached (or gave no usable answer in time); 0: this copy
// is up to date; 1: a newer version is available.
enum UpdateAnswer : int { kUpdateUnreachable = -1, kUpToDate = 0, kUpdateAvailable = 1 };

// <0, 0 or >0 as a is older than, the same as or newer than b, comparing the numbers
// between the dots one by one (a missing part counts as 0, so "1.2" equals "1.2.0");
// nothing when either text is not numbers separated by dots.
std::optional<int> CompareVersions(const QString& a, const QString& b);

// The newest version a manifest names; nothing when the text is not such a manifest.
std::optional<QString> ManifestVersion(const QByteArray& manifest);

class UpdateCheck {
 public:
  static constexpr std::chrono::milliseconds kDefaultTimeLimit{10000};

  void Configure(const QString& manifestAddress, const QString& settingsFile, const QString& version);
  QString ManifestAddress() const { return manifestAddress_; }
  QString SettingsFile() const { return settingsFile_; }
  QString Version() const { return version_; }
  // How long a check may take before it answers kUpdateUnreachable.
  void SetTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }

  // Fetches the manifest (events keep being processed meanwhile) and compares; newest
  // receives the manifest's version text when there is one.
  int Check(QString& newest) const;

 private:
  QString manifestAddress_;
  QString settingsFile_;
  QString version_;
  std::chrono::milliseconds timeLimit_ = kDefaultTimeLimit;
};

}  // namespace morvane::widgets
