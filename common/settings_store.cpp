#include "common/settings_store.h"

#include <chrono>
#include <functional>

#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "platform/core/ini_profile.h"

namespace morvane::common {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Runs write, then puts the file's last-write time back when asked to. The time is only
// kept for a file that existed before.
bool KeepingTime(const std::string& file, bool keepTime, const std::function<bool()>& write) {
  std::optional<core::FileTime> before;
  if (keepTime && FileExists(file)) before = core::GetFileTime(file, core::FileTimeKind::kLastWrite);
  const bool written = write();
  if (written && before) core::SetFileTime(file, core::FileTimeKind::kLastWrite, *before);
  return written;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

// Item text and data text of a value: split at the separator's first occurrence when a
// separator is given.
std::pair<std::string, std::string> SplitItem(const std::string& value,
                                              std::optional<std::string_view> separator) {
  if (!separator) return {value, {}};
  return {StrBefore(value, *separator, false), StrAfter(value, *separator, 0, true)};
}

// Reads section values into a list-like target: clear, then add each non-empty item
// text with its data text. Answers the item texts, empty ones included, joined by
// CR LF; "" without touching the target when the file is missing.
std::string ReadItems(const std::optional<std::vector<std::string>>& values,
                      std::optional<std::string_view> separator, const std::function<void()>& clear,
                      const std::function<void(const std::string&, const std::string&)>& add) {
  if (!values) return {};
  clear();
  std::vector<std::string> texts;
  for (const std::string& value : *values) {
    auto [text, data] = SplitItem(value, separator);
    if (!text.empty()) add(text, data);
    texts.push_back(std::move(text));
  }
  return Join(texts, kCrLf);
}

}  // namespace

SettingsSession::SettingsSession(std::string file)
    : profile_(std::move(file)), existed_(FileExists(profile_.file())) {}

std::optional<std::vector<std::string>> SettingsSession::SectionValues(std::string_view section) const {
  // An absent section in an existing file reads as empty.
  if (!existed_ && !profile_.HasChanges()) return std::nullopt;
  std::vector<std::string> values;
  for (const std::string& line :
       profile_.document().Section(section).value_or(std::vector<std::string>{})) {
    values.push_back(StrAfter(line, "=", 0, false));
  }
  return values;
}

std::string SettingsSession::ReadIniString(std::string_view section, std::string_view key,
                                           std::string_view defaultValue) const {
  if (file().empty() || section.empty() || key.empty()) return std::string(defaultValue);
  return profile_.document().Value(section, key).value_or(std::string(defaultValue));
}

Currency SettingsSession::ReadIniNumber(std::string_view section, std::string_view key,
                                        Currency defaultValue, std::int32_t* count) const {
  if (file().empty() || section.empty() || key.empty()) return defaultValue;
  const auto stored = profile_.document().Value(section, key);
  if (count) {
    // The old platform wrote a non-negative default with a blank in front.
    const std::string text = stored ? *stored : (defaultValue < 0 ? "" : " ") + defaultValue.ToText();
    *count = static_cast<std::int32_t>(text.size());
  }
  if (!stored) return defaultValue;
  return Currency::Parse(*stored).value_or(defaultValue);
}

std::string SettingsSession::ReadIniSection(std::string_view section, ItemList& target,
                                            std::optional<std::string_view> separator) const {
  return ReadItems(
      SectionValues(section), separator, [&] { target.Clear(); },
      [&](const std::string& text, const std::string& data) {
        const int index = target.AddItem(text);
        if (!target.HasItemData()) return;
        // Data that is no number reads as 0; a number out of range is skipped.
        const Currency n = data.empty() ? Currency(0) : Currency::Parse(data).value_or(0);
        if (n >= Currency(INT32_MIN) && n <= Currency(INT32_MAX)) {
          target.SetItemData(index, n.ToInt32());
        }
      });
}

std::string SettingsSession::ReadIniSection(std::string_view section, ButtonMenuItems& target,
                                            std::optional<std::string_view> separator) const {
  return ReadItems(
      SectionValues(section), separator, [&] { target.Clear(); },
      [&](const std::string& text, const std::string& tag) { target.Add(text, tag); });
}

std::string SettingsSession::ReadIniSection(std::string_view section, std::vector<std::string>& target,
                                            std::optional<std::string_view> separator) const {
  const auto values = SectionValues(section);
  if (!values) return {};
  target = values->empty() ? std::vector<std::string>{std::string()} : *values;
  return Join(*values, separator.value_or(kCrLf));
}

std::string SettingsSession::ReadIniSection(std::string_view section,
                                            std::optional<std::string_view> separator) const {
  const auto values = SectionValues(section);
  if (!values) return {};
  return Join(*values, separator.value_or(kCrLf));
}

void SettingsSession::TakeBaseline() {
  baseline_ = profile_.document();
  profile_.DropChanges();
}

bool SettingsSession::Change(std::string_view section, std::optional<std::string_view> key,
                             bool likeBaseline, std::function<bool(core::IniDocument&)> change) {
  if (!likeBaseline) return profile_.Change(std::move(change));
  // What the file held when read, to tell whether another program has written it since.
  const core::IniDocument& read = profile_.readDocument();
  if (key) {
    return profile_.Change(
        [section = std::string(section), key = std::string(*key), held = read.Value(section, *key),
         change](core::IniDocument& doc) { return doc.Value(section, key) != held || change(doc); });
  }
  return profile_.Change(
      [section = std::string(section), held = read.Section(section), change](core::IniDocument& doc) {
        return doc.Section(section) != held || change(doc);
      });
}

bool SettingsSession::WriteIniString(std::string_view section, std::string_view key,
                                     std::string_view value) {
  if (file().empty()) return false;
  const bool likeBaseline = baseline_ && baseline_->Value(section, key) == value;
  return Change(section, key, likeBaseline,
                [section = std::string(section), key = std::string(key), value = std::string(value)](
                    core::IniDocument& doc) { return doc.SetValue(section, key, value); });
}

bool SettingsSession::WriteIniNumber(std::string_view section, std::string_view key, Currency value) {
  if (file().empty()) return false;
  bool likeBaseline = false;
  if (baseline_) {
    const auto stored = baseline_->Value(section, key);
    likeBaseline = stored && Currency::Parse(*stored) == value;
  }
  // Decided again on the file as it is when written: another writer may have stored
  // the same number in other digits meanwhile, and those bytes stay.
  return Change(section, key, likeBaseline,
                [section = std::string(section), key = std::string(key), value](core::IniDocument& doc) {
                  if (value != 0) {
                    const auto stored = doc.Value(section, key);
                    if (stored && Currency::Parse(*stored) == value) return true;
                  }
                  return doc.SetValue(section, key, value.ToText());
                });
}

bool SettingsSession::WriteLines(std::string_view section, const std::vector<std::string>& lines) {
  if (file().empty()) return false;
  bool likeBaseline = false;
  if (baseline_) {
    // The lines as a file holds them, to compare with the baseline's.
    core::IniDocument written;
    likeBaseline =
        written.SetSection(section, lines) && written.Section(section) == baseline_->Section(section);
  }
  return Change(section, std::nullopt, likeBaseline,
                [section = std::string(section), lines](core::IniDocument& doc) {
                  return doc.SetSection(section, lines);
                });
}

bool SettingsSession::WriteIniSection(std::string_view section, std::string_view lines,
                                      std::optional<std::string_view> separator) {
  const std::string_view sep = separator.value_or(kCrLf);
  std::vector<std::string> entries;
  TokenReader reader;
  const std::string text(lines);
  for (std::string line = reader.First(text, sep); !line.empty(); line = reader.Next(text)) {
    entries.push_back(std::to_string(entries.size()) + "=" + line);
  }
  return WriteLines(section, entries);
}

bool SettingsSession::WriteIniSection(std::string_view section, const std::vector<std::string>& values) {
  if (values.empty()) return false;
  std::vector<std::string> entries;
  for (std::size_t i = 0; i < values.size(); ++i) entries.push_back(std::to_string(i) + "=" + values[i]);
  return WriteLines(section, entries);
}

bool SettingsSession::WriteIniSection(std::string_view section, const ItemList& source,
                                      std::optional<std::string_view> separator) {
  std::vector<std::string> entries;
  for (int i = 0; i < source.ListCount(); ++i) {
    std::string line = std::to_string(i) + "=" + source.List(i);
    if (separator && source.HasItemData())
      line += std::string(*separator) + std::to_string(source.ItemData(i));
    entries.push_back(std::move(line));
  }
  return WriteLines(section, entries);
}

bool SettingsSession::WriteIniSection(std::string_view section, const ButtonMenuItems& source,
                                      std::optional<std::string_view> separator) {
  std::vector<std::string> entries;
  for (int i = 0; i < source.Count(); ++i) {
    const std::string text = source.Text(i);
    if (text == "-") continue;
    std::string line = std::to_string(i + 1) + "=" + text;
    const std::string tag = source.Tag(i);
    if (separator && !tag.empty()) line += std::string(*separator) + tag;
    entries.push_back(std::move(line));
  }
  return WriteLines(section, entries);
}

bool SettingsSession::Commit(bool keepTime) {
  if (file().empty()) {
    error_ = "No settings file given";
    return false;
  }
  if (!profile_.HasChanges()) return true;
  error_.clear();
  const bool written = KeepingTime(file(), keepTime, [&] { return profile_.Commit(&error_); });
  existed_ = existed_ || written;
  return written;
}

// Each of the functions below is a session of one call.

std::string ReadIniString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  if (file.empty()) return std::string(defaultValue);
  return SettingsSession(file).ReadIniString(section, key, defaultValue);
}

Currency ReadIniNumber(const std::string& file, std::string_view section, std::string_view key,
                       Currency defaultValue, std::int32_t* count) {
  if (file.empty()) return defaultValue;
  return SettingsSession(file).ReadIniNumber(section, key, defaultValue, count);
}

bool WriteIniString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniString(section, key, value) && session.Commit(keepTime);
}

bool WriteIniNumber(const std::string& file, std::string_view section, std::string_view key,
                    Currency value, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniNumber(section, key, value) && session.Commit(keepTime);
}

std::string ReadIniSection(const std::string& file, std::string_view section, ItemList& target,
                           std::optional<std::string_view> separator) {
  return SettingsSession(file).ReadIniSection(section, target, separator);
}

std::string ReadIniSection(const std::string& file, std::string_view section, ButtonMenuItems& target,
                           std::optional<std::string_view> separator) {
  return SettingsSession(file).ReadIniSection(section, target, separator);
}

std::string ReadIniSection(const std::string& file, std::string_view section,
                           std::vector<std::string>& target, std::optional<std::string_view> separator) {
  return SettingsSession(file).ReadIniSection(section, target, separator);
}

std::string ReadIniSection(const std::string& file, std::string_view section,
                           std::optional<std::string_view> separator) {
  return SettingsSession(file).ReadIniSection(section, separator);
}

bool WriteIniSection(const std::string& file, std::string_view section, std::string_view lines,
                     std::optional<std::string_view> separator, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniSection(section, lines, separator) && session.Commit(keepTime);
}

bool WriteIniSection(const std::string& file, std::string_view section,
                     const std::vector<std::string>& values, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniSection(section, values) && session.Commit(keepTime);
}

bool WriteIniSection(const std::string& file, std::string_view section, const ItemList& source,
                     std::optional<std::string_view> separator, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniSection(section, source, separator) && session.Commit(keepTime);
}

bool WriteIniSection(const std::string& file, std::string_view section, const ButtonMenuItems& source,
                     std::optional<std::string_view> separator, bool keepTime) {
  SettingsSession session(file);
  return session.WriteIniSection(section, source, separator) && session.Commit(keepTime);
}

std::optional<core::FileTime> GetFileTimeAsDate(const std::string& path, int selector) {
  if (selector < kCreationTime || selector > kLastWriteTime) return std::nullopt;
  const auto time = core::GetFileTime(path, static_cast<core::FileTimeKind>(selector));
  if (!time) return std::nullopt;
  return std::chrono::floor<std::chrono::seconds>(*time);
}

bool SetFileTimeFromDate(const std::string& path, core::FileTime time, int selector,
                         bool /*keepOrder*/) {
  if (selector != kLastAccessTime && selector != kLastWriteTime) return false;
  return core::SetFileTime(path, static_cast<core::FileTimeKind>(selector),
                           std::chrono::floor<std::chrono::seconds>(time));
}

}  // namespace morvane::common
