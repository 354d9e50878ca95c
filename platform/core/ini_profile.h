#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::core {

// INI profile files: "[section]" lines, each followed by "key=value" lines. Section and
// key names match without regard to ASCII letter case; the first section of a name and
// its first key of a name count. Lines starting with ";" are comments.
//
// Values read back as they were written: blanks around a value are trimmed when read,
// so a value that begins or ends with a blank, or that is itself wrapped in a pair of
// quotes, is written inside double quotes, and one pair of matching quotes is taken
// off when read. Line breaks and NUL cannot be stored; such writes are refused.
//
// A change rewrites only the lines it concerns; every other line keeps its bytes and
// its line end (new lines end with CR LF). Each line is read as UTF-8 when it is
// valid UTF-8, else as Windows-1252, and written back as UTF-8 when changed.
class IniDocument {
 public:
  static IniDocument Parse(std::string_view bytes);
  std::string Serialize() const;

  // The key's value, or nothing when the section or the key is absent.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets the key, adding it (and its section, at the end) when absent. False, with
  // nothing changed, when a name or the value cannot be stored.
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);

  // Removes every entry of that key from the section. False when there was none.
  bool DeleteKey(std::string_view section, std::string_view key);

  // Removes the section (every section of that name) with all its lines.
  bool DeleteSection(std::string_view section);

  // The section's entries as "key=value" lines in file order, values read as by
  // Value(); a line without "=" comes as it stands. Nothing when the section is absent.
  std::optional<std::vector<std::string>> Section(std::string_view section) const;

  // Replaces the section's lines by these (each "key=value", or a text without "=");
  // the section is added at the end when absent. Blank lines that separate it from the
  // next section stay. False, with nothing changed, when a line cannot be stored.
  bool SetSection(std::string_view section, const std::vector<std::string>& lines);

  std::vector<std::string> SectionNames() const;

 private:
  enum class Kind { kOther, kSection, kEntry };
  struct Line {
    std::string raw;  // bytes as in the file, without the line end
    std::string eol;  // "\r\n", "\n" or "" (last line without a line end)
    Kind kind = Kind::kOther;
    std::string name;                        // section name or key, trimmed, decoded
    std::string text;                        // decoded line
    std::size_t equals = std::string::npos;  // position of "=" in text, for entries
  };

  static Line MakeLine(std::string raw, std::string eol, bool first);
  static Line NewLine(std::string text);
  // [begin, end) of the first section of that name: begin is the header's index.
  std::optional<std::pair<std::size_t, std::size_t>> FindSection(std::string_view name) const;
  std::size_t SectionEnd(std::size_t header) const;
  void TerminateLastLine();

  std::vector<Line> lines_;
};

// True when the two names are equal without regard to ASCII letter case.
bool NamesEqual(std::string_view a, std::string_view b);

// The text as it is written to the file so that it reads back unchanged.
std::string EncodeIniValue(std::string_view value);
// The text of the file's value as it reads: trimmed, one pair of quotes taken off.
std::string DecodeIniValue(std::string_view stored);

// File operations. Each reads the file, changes what it names and replaces the file
// atomically, under an advisory lock on the file's folder held from the read to the
// rename, so that writers in other processes never lose each other's keys; when the
// result has the same bytes, the file is not written at all (its time stays). A
// missing file reads as empty; a file that exists but cannot be read is never
// replaced. Writers return false, with error set, when nothing could be written.
std::optional<std::string> ReadProfileString(const std::string& file, std::string_view section,
                                             std::string_view key);
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error = nullptr);
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error = nullptr);
bool DeleteProfileSection(const std::string& file, std::string_view section,
                          std::string* error = nullptr);
std::optional<std::vector<std::string>> ReadProfileSection(const std::string& file,
                                                           std::string_view section);
bool WriteProfileSection(const std::string& file, std::string_view section,
                         const std::vector<std::string>& lines, std::string* error = nullptr);
std::vector<std::string> ReadProfileSectionNames(const std::string& file);

// Reads the file, lets change edit it and writes it back when its bytes changed, all
// under the lock. change answers false to refuse (nothing is written, and the result
// is false).
bool UpdateProfile(const std::string& file, const std::function<bool(IniDocument&)>& change,
                   std::string* error = nullptr);

// A settings file read once, changed in memory, written once. Reads see the file as
// it was read with this session's own changes on top. Commit writes only what this
// session changed, onto the file as it is at that moment (another process may have
// written other keys since), and leaves the file untouched when that changes no byte.
class ProfileSession {
 public:
  explicit ProfileSession(std::string file);

  const std::string& file() const { return file_; }
  const IniDocument& document() const { return document_; }
  // The file as it was read, without this session's changes.
  const IniDocument& readDocument() const { return read_; }
  // The reason the file could not be read ("" when it could, or is missing); such a
  // file is never replaced.
  const std::string& readError() const { return readError_; }

  // Applies the change now and keeps it for Commit; false, with nothing changed, when
  // change refuses.
  bool Change(std::function<bool(IniDocument&)> change);
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);
  bool HasChanges() const { return !changes_.empty(); }
  // Forgets the kept changes: reads see the file as it was read again.
  void DropChanges();

  // Writes the kept changes (true when there are none) and forgets them. False, with
  // error set, when they could not be written.
  bool Commit(std::string* error = nullptr);

 private:
  std::string file_;
  IniDocument document_;
  IniDocument read_;
  std::string readError_;
  std::vector<std::function<bool(IniDocument&)>> changes_;
};

}  // namespace morvane::core
