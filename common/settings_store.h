#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/currency.h"
#include "platform/core/file_system.h"
#include "platform/core/ini_profile.h"

namespace morvane::common {

// The settings file: INI sections of "key=value" lines (see platform/core/ini_profile.h),
// addressed by its full path. Nothing is cached between calls. A missing file or
// section reads as the defaults; the writers leave the file untouched when the stored
// value is already equal, so a settings file written at every exit keeps its bytes and
// its time while nothing changed. Values read back exactly as written ("=" and blanks
// included); only line breaks and NUL cannot be stored, and such a write is refused.

// A list a section is read into or written from: a list box or combo box. Lists
// without item data (file and folder lists) keep the defaults below.
class ItemList {
 public:
  virtual ~ItemList() = default;
  virtual void Clear() = 0;
  // Adds an item and answers its index.
  virtual int AddItem(const std::string& text) = 0;
  virtual int ListCount() const = 0;
  virtual std::string List(int index) const = 0;
  virtual bool HasItemData() const { return false; }
  virtual void SetItemData(int /*index*/, std::int32_t /*data*/) {}
  virtual std::int32_t ItemData(int /*index*/) const { return 0; }
};

// The items of a tool-bar button's menu: a text and a tag each.
class ButtonMenuItems {
 public:
  virtual ~ButtonMenuItems() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& text, const std::string& tag) = 0;
  virtual int Count() const = 0;
  virtual std::string Text(int index) const = 0;  // index from 0
  virtual std::string Tag(int index) const = 0;
};

// The settings file read once at the start, its keys set as the program goes, and
// written once: only the keys this session set go onto the file as it is at Commit,
// under a lock that other writers wait for, so two programs writing at once lose none
// of each other's keys. Each member follows the rules of the function of the same name
// below (which are each a session of one call).
//
// A program that writes every key at the end takes a baseline first: what it would
// write right after reading. A value then written equal to the baseline is no change of
// this program's, and goes onto the file only while the file still holds what it held
// when it was read: a key, or a section, that another program changed meanwhile keeps
// that change. A value that differs from the baseline is written as it is (the last
// writer's wins).
class SettingsSession {
 public:
  explicit SettingsSession(std::string file);

  const std::string& file() const { return profile_.file(); }

  std::string ReadIniString(std::string_view section, std::string_view key,
                            std::string_view defaultValue = "") const;
  Currency ReadIniNumber(std::string_view section, std::string_view key, Currency defaultValue = 0,
                         std::int32_t* count = nullptr) const;
  std::string ReadIniSection(std::string_view section, ItemList& target,
                             std::optional<std::string_view> separator = std::nullopt) const;
  std::string ReadIniSection(std::string_view section, ButtonMenuItems& target,
                             std::optional<std::string_view> separator = std::nullopt) const;
  std::string ReadIniSection(std::string_view section, std::vector<std::string>& target,
                             std::optional<std::string_view> separator = std::nullopt) const;
  std::string ReadIniSection(std::string_view section,
                             std::optional<std::string_view> separator = std::nullopt) const;

  bool WriteIniString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteIniNumber(std::string_view section, std::string_view key, Currency value);
  bool WriteIniSection(std::string_view section, std::string_view lines,
                       std::optional<std::string_view> separator = std::nullopt);
  bool WriteIniSection(std::string_view section, const std::vector<std::string>& values);
  bool WriteIniSection(std::string_view section, const ItemList& source,
                       std::optional<std::string_view> separator = std::nullopt);
  bool WriteIniSection(std::string_view section, const ButtonMenuItems& source,
                       std::optional<std::string_view> separator = std::nullopt);

  // Takes what the writes since the last Commit would store as the baseline, and
  // forgets those writes: reads see the file as it was read again.
  void TakeBaseline();

  // Writes what was set since the last Commit; the file is untouched when that changes
  // no byte. keepTime keeps the file's last-write time as it was. False when it could
  // not be written; error() then says why and the old file stays whole.
  bool Commit(bool keepTime = false);
  const std::string& error() const { return error_; }

 private:
  // The section's values, or nothing when the file is not there (and nothing was set).
  std::optional<std::vector<std::string>> SectionValues(std::string_view section) const;
  bool WriteLines(std::string_view section, const std::vector<std::string>& lines);
  // Keeps the change; one that leaves the key (or, without a key, the section) as the
  // baseline has it is applied only to a file that holds what it held when read.
  bool Change(std::string_view section, std::optional<std::string_view> key, bool likeBaseline,
              std::function<bool(core::IniDocument&)> change);

  core::ProfileSession profile_;
  std::optional<core::IniDocument> baseline_;
  bool existed_ = false;
  std::string error_;
};

// The key's value, or defaultValue when the file, section or key is absent. Blanks
// around a stored value are trimmed.
std::string ReadIniString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view defaultValue = "");

// The number that the key's value begins with ("12abc" is 12, "&H10" 16, ".5" and "0.5"
// both a half). defaultValue when the file, section or key is absent or empty, and also
// when the stored text is no number or out of range, so a damaged settings file never
// stops start-up. count, when given, receives the length of the text read (the
// default's text with its leading blank when the key is absent); it is left alone when
// the file, section or key name is empty.
Currency ReadIniNumber(const std::string& file, std::string_view section, std::string_view key,
                       Currency defaultValue = 0, std::int32_t* count = nullptr);

// Stores the value unless it is already stored; an empty value keeps the key, empty.
// keepTime keeps the file's last-write time as it was. False when nothing could be
// written (no file name, a value that cannot be stored, a failed write); the old file
// then stays whole.
bool WriteIniString(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value, bool keepTime = false);

// Stores the number as plain decimal text (15, -3, 82.2667, 0.5) unless a value other
// than 0 is already stored; 0 is always written, so an absent key is created with 0.
bool WriteIniNumber(const std::string& file, std::string_view section, std::string_view key,
                    Currency value, bool keepTime = false);

// Reads a whole section. Each entry's value is the text after its first "=" (the whole
// line when it has none). A missing file gives "" and leaves the target as it was.
//
// Into a list: the list is cleared; with a separator, each value is split at its first
// occurrence into item text and item data (the leading number of the part after it);
// non-empty item texts are added. Answers the item texts, empty ones included, joined
// by CR LF.
std::string ReadIniSection(const std::string& file, std::string_view section, ItemList& target,
                           std::optional<std::string_view> separator = std::nullopt);
// Into a button menu: as for a list, the part after the separator becoming the tag.
std::string ReadIniSection(const std::string& file, std::string_view section, ButtonMenuItems& target,
                           std::optional<std::string_view> separator = std::nullopt);
// Into values: one element per entry, and one empty element for an empty section.
// Answers the values joined by the separator (CR LF when none is given).
std::string ReadIniSection(const std::string& file, std::string_view section,
                           std::vector<std::string>& target,
                           std::optional<std::string_view> separator = std::nullopt);
// Only the joined values.
std::string ReadIniSection(const std::string& file, std::string_view section,
                           std::optional<std::string_view> separator = std::nullopt);

// Replaces a section's entries. From a text: its lines, cut at the separator (CR LF when
// none is given) up to the first empty line, become "0=first line", "1=second line" and
// so on; each line is a value of its own, "=" in it included, so it reads back as
// written. An empty text empties the section.
bool WriteIniSection(const std::string& file, std::string_view section, std::string_view lines,
                     std::optional<std::string_view> separator = std::nullopt, bool keepTime = false);
// From values (an array, or the captions of a menu item array): "i=value" from 0. No
// values write nothing at all.
bool WriteIniSection(const std::string& file, std::string_view section,
                     const std::vector<std::string>& values, bool keepTime = false);
// From a list: "i=List(i)" from 0, followed by the separator and the item data when a
// separator is given and the list has item data.
bool WriteIniSection(const std::string& file, std::string_view section, const ItemList& source,
                     std::optional<std::string_view> separator = std::nullopt, bool keepTime = false);
// From a button menu: "i=Text" from 1, followed by the separator and the tag when a
// separator is given and the tag is not empty; "-" items are skipped and keep their
// number.
bool WriteIniSection(const std::string& file, std::string_view section, const ButtonMenuItems& source,
                     std::optional<std::string_view> separator = std::nullopt, bool keepTime = false);

// Selectors of the file-time helpers.
inline constexpr int kCreationTime = 0;
inline constexpr int kLastAccessTime = 1;
inline constexpr int kLastWriteTime = 2;

// One of a file's times to the second; nothing when the file cannot be read or the
// selector is unknown.
std::optional<core::FileTime> GetFileTimeAsDate(const std::string& path, int selector);

// Sets the last-access or last-write time (to the second). A creation time cannot be set
// on Linux; that selector changes nothing. keepOrder has nothing to keep then either.
// False when nothing was set.
bool SetFileTimeFromDate(const std::string& path, core::FileTime time, int selector,
                         bool keepOrder = false);

}  // namespace morvane::common
