#include "platform/core/ini_profile.h"

#include "platform/core/file_system.h"
#include "platform/core/text_codec.h"

namespace morvane::core {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool ValidSectionName(std::string_view name) {
  return !name.empty() && name == Trim(name) && name.find(']') == std::string_view::npos &&
         !HasLineBreakOrNul(name);
}

bool ValidKey(std::string_view key) {
  return !key.empty() && key == Trim(key) && key.find('=') == std::string_view::npos &&
         key.front() != '[' && key.front() != ';' && !HasLineBreakOrNul(key);
}

// A section line as it is written: "key=value" with the value encoded, or a text
// without "=" as it stands. Nothing for a line that would read back differently.
std::optional<std::string> SectionLineText(std::string_view line) {
  if (HasLineBreakOrNul(line)) return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    const std::string_view t = Trim(line);
    if (!ValidKey(t)) return std::nullopt;
    return std::string(t);
  }
  const std::string_view key = Trim(line.substr(0, eq));
  if (!ValidKey(key)) return std::nullopt;
  return std::string(key) + "=" + EncodeIniValue(line.substr(eq + 1));
}

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) { return EqualsIgnoreAsciiCase(a, b); }

std::string EncodeIniValue(std::string_view value) {
  if (value.empty()) return {};
  const bool blankAtEnds = IsBlank(value.front()) || IsBlank(value.back());
  const bool wrapped = value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
  if (blankAtEnds || wrapped) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

std::string DecodeIniValue(std::string_view stored) {
  std::string_view v = Trim(stored);
  if (v.size() >= 2 && IsQuote(v.front()) && v.front() == v.back()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

IniDocument::Line IniDocument::MakeLine(std::string raw, std::string eol, bool first) {
  Line line;
  line.text = DecodeText(first ? StripUtf8Bom(raw) : std::string_view(raw));
  line.raw = std::move(raw);
  line.eol = std::move(eol);
  const std::string_view t = Trim(line.text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    std::string_view name = t.substr(1);
    name = name.substr(0, name.find(']'));
    line.kind = Kind::kSection;
    line.name = std::string(Trim(name));
    return line;
  }
  line.kind = Kind::kEntry;
  line.equals = line.text.find('=');
  line.name = std::string(Trim(std::string_view(line.text).substr(0, line.equals)));
  return line;
}

IniDocument::Line IniDocument::NewLine(std::string text) {
  return MakeLine(std::move(text), std::string(kCrLf), false);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    std::string eol;
    if (lf != std::string_view::npos) {
      eol = "\n";
      if (end > start && bytes[end - 1] == '\r') {
        --end;
        eol = "\r\n";
      }
    }
    doc.lines_.push_back(
        MakeLine(std::string(bytes.substr(start, end - start)), std::move(eol), doc.lines_.empty()));
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.raw;
    out += line.eol;
  }
  return out;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::kSection) ++i;
  return i;
}

std::optional<std::pair<std::size_t, std::size_t>> IniDocument::FindSection(
    std::string_view name) const {
  name = Trim(name);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && NamesEqual(lines_[i].name, name)) {
      return std::make_pair(i, SectionEnd(i));
    }
  }
  return std::nullopt;
}

void IniDocument::TerminateLastLine() {
  if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = std::string(kCrLf);
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  key = Trim(key);
  for (std::size_t i = range->first + 1; i < range->second; ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kEntry && NamesEqual(line.name, key)) {
      if (line.equals == std::string::npos) return std::string();
      return DecodeIniValue(std::string_view(line.text).substr(line.equals + 1));
    }
  }
  return std::nullopt;
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!ValidSectionName(section) || !ValidKey(key) || HasLineBreakOrNul(value)) return false;
  const std::string encoded = EncodeIniValue(value);
  auto range = FindSection(section);
  if (!range) {
    TerminateLastLine();
    lines_.push_back(NewLine("[" + std::string(section) + "]"));
    lines_.push_back(NewLine(std::string(key) + "=" + encoded));
    return true;
  }
  std::size_t insertAt = range->first + 1;
  for (std::size_t i = range->first + 1; i < range->second; ++i) {
    Line& line = lines_[i];
    if (line.kind != Kind::kEntry) continue;
    insertAt = i + 1;
    if (!NamesEqual(line.name, key)) continue;
    const std::string_view text(line.text);
    const std::string current =
        line.equals == std::string::npos ? std::string() : DecodeIniValue(text.substr(line.equals + 1));
    if (current == value) return true;  // already so; the line keeps its bytes
    // Keep the key as the file spells it, and the blanks after "="; only the value
    // changes.
    std::string prefix;
    if (line.equals == std::string::npos) {
      prefix = line.text + "=";
    } else {
      std::size_t valueStart = line.equals + 1;
      while (valueStart < text.size() && IsBlank(text[valueStart])) ++valueStart;
      prefix = line.text.substr(0, valueStart);
    }
    Line updated = MakeLine(prefix + encoded, line.eol, false);
    if (updated.raw != line.raw) line = std::move(updated);
    return true;
  }
  if (insertAt > 0) {
    Line& before = lines_[insertAt - 1];
    if (before.eol.empty()) before.eol = std::string(kCrLf);
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                NewLine(std::string(key) + "=" + encoded));
  return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return false;
  key = Trim(key);
  bool removed = false;
  std::size_t end = range->second;
  for (std::size_t i = range->first + 1; i < end;) {
    if (lines_[i].kind == Kind::kEntry && NamesEqual(lines_[i].name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      --end;
      removed = true;
    } else {
      ++i;
    }
  }
  return removed;
}

bool IniDocument::DeleteSection(std::string_view section) {
  bool removed = false;
  while (const auto range = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
    removed = true;
  }
  return removed;
}

std::optional<std::vector<std::string>> IniDocument::Section(std::string_view section) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  std::vector<std::string> out;
  for (std::size_t i = range->first + 1; i < range->second; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::kEntry) continue;
    if (line.equals == std::string::npos) {
      out.push_back(line.name);
    } else {
      out.push_back(line.name + "=" +
                    DecodeIniValue(std::string_view(line.text).substr(line.equals + 1)));
    }
  }
  return out;
}

bool IniDocument::SetSection(std::string_view section, const std::vector<std::string>& lines) {
  section = Trim(section);
  if (!ValidSectionName(section)) return false;
  std::vector<Line> fresh;
  fresh.reserve(lines.size());
  for (const std::string& text : lines) {
    auto written = SectionLineText(text);
    if (!written) return false;
    fresh.push_back(NewLine(std::move(*written)));
  }
  auto range = FindSection(section);
  if (!range) {
    TerminateLastLine();
    lines_.push_back(NewLine("[" + std::string(section) + "]"));
    lines_.insert(lines_.end(), fresh.begin(), fresh.end());
    return true;
  }
  // The section's own lines go; trailing blank lines that part it from the next
  // section stay where they are.
  std::size_t keepFrom = range->second;
  while (keepFrom > range->first + 1 && Trim(lines_[keepFrom - 1].text).empty()) --keepFrom;
  const std::size_t first = range->first + 1;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
               lines_.begin() + static_cast<std::ptrdiff_t>(keepFrom));
  if (!fresh.empty() && lines_[range->first].eol.empty()) {
    lines_[range->first].eol = std::string(kCrLf);
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first), fresh.begin(), fresh.end());
  return true;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != Kind::kSection) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || NamesEqual(n, line.name);
    if (!seen) names.push_back(line.name);
  }
  return names;
}

namespace {

// Settings files hold a few kilobytes; anything far larger is not one, and reads as
// defaults instead of filling the memory.
constexpr std::size_t kMaxProfileBytes = std::size_t{64} << 20;

}  // namespace

bool UpdateProfile(const std::string& file, const std::function<bool(IniDocument&)>& change,
                   std::string* error) {
  if (file.empty()) {
    if (error) *error = "No settings file given";
    return false;
  }
  const FolderLock lock(file);
  const FileContents old = ReadFileBytes(file, kMaxProfileBytes);
  if (old.status == FileContents::kFailed) {
    if (error) *error = old.error;
    return false;
  }
  IniDocument doc = IniDocument::Parse(old.bytes);
  if (!change(doc)) {
    if (error) *error = "The name or value cannot be stored in a settings file";
    return false;
  }
  const std::string bytes = doc.Serialize();
  if (old.status == FileContents::kOk && bytes == old.bytes) return true;
  if (old.status == FileContents::kMissing && bytes.empty()) return true;
  return WriteFileAtomic(file, bytes, error, ReadOnlyFiles::kReplace);
}

ProfileSession::ProfileSession(std::string file) : file_(std::move(file)) {
  if (file_.empty()) return;
  const FileContents contents = ReadFileBytes(file_, kMaxProfileBytes);
  if (contents.status == FileContents::kFailed) readError_ = contents.error;
  document_ = IniDocument::Parse(contents.bytes);
  read_ = document_;
}

void ProfileSession::DropChanges() {
  changes_.clear();
  document_ = read_;
}

bool ProfileSession::Change(std::function<bool(IniDocument&)> change) {
  IniDocument changed = document_;
  if (!change(changed)) return false;
  document_ = std::move(changed);
  changes_.push_back(std::move(change));
  return true;
}

bool ProfileSession::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  return Change([section = std::string(section), key = std::string(key), value = std::string(value)](
                    IniDocument& doc) { return doc.SetValue(section, key, value); });
}

bool ProfileSession::Commit(std::string* error) {
  if (changes_.empty()) return true;
  const auto changes = std::move(changes_);
  changes_.clear();
  return UpdateProfile(
      file_,
      [&changes](IniDocument& doc) {
        // What was storable when it was set stays storable on any file.
        for (const auto& change : changes) change(doc);
        return true;
      },
      error);
}

namespace {

std::optional<IniDocument> Load(const std::string& file) {
  if (file.empty()) return std::nullopt;
  const FileContents contents = ReadFileBytes(file, kMaxProfileBytes);
  if (contents.status != FileContents::kOk) return std::nullopt;
  return IniDocument::Parse(contents.bytes);
}

}  // namespace

std::optional<std::string> ReadProfileString(const std::string& file, std::string_view section,
                                             std::string_view key) {
  const auto doc = Load(file);
  if (!doc) return std::nullopt;
  return doc->Value(section, key);
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
  return UpdateProfile(
      file, [&](IniDocument& doc) { return doc.SetValue(section, key, value); }, error);
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key,
                      std::string* error) {
  return UpdateProfile(
      file,
      [&](IniDocument& doc) {
        doc.DeleteKey(section, key);
        return true;
      },
      error);
}

bool DeleteProfileSection(const std::string& file, std::string_view section, std::string* error) {
  return UpdateProfile(
      file,
      [&](IniDocument& doc) {
        doc.DeleteSection(section);
        return true;
      },
      error);
}

std::optional<std::vector<std::string>> ReadProfileSection(const std::string& file,
                                                           std::string_view section) {
  const auto doc = Load(file);
  if (!doc) return std::nullopt;
  return doc->Section(section);
}

bool WriteProfileSection(const std::string& file, std::string_view section,
                         const std::vector<std::string>& lines, std::string* error) {
  return UpdateProfile(
      file, [&](IniDocument& doc) { return doc.SetSection(section, lines); }, error);
}

std::vector<std::string> ReadProfileSectionNames(const std::string& file) {
  const auto doc = Load(file);
  if (!doc) return {};
  return doc->SectionNames();
}

}  // namespace morvane::core
