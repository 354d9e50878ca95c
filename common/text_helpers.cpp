#include "common/text_helpers.h"

#include <algorithm>

#include "platform/core/text_codec.h"

namespace morvane::common {
namespace {

bool IgnoresCase(int compare) { return compare == 1 || compare == 2; }

bool MatchAt(std::string_view text, std::size_t at, std::string_view what, bool ignoreCase) {
  if (at > text.size() || text.size() - at < what.size()) return false;
  const std::string_view part = text.substr(at, what.size());
  return ignoreCase ? core::EqualsIgnoreAsciiCase(part, what) : part == what;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::size_t SkipBlanks(std::string_view s, std::size_t i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

// Index just after the "=" of attribute name in tag, or npos. The name counts at the
// start of the text or after "<" or a blank, never inside a quoted value, and only when
// blanks and "=" follow it.
std::size_t AttributeValueStart(std::string_view tag, std::string_view name) {
  if (name.empty()) return std::string_view::npos;
  char quote = 0;
  bool valueStarts = false;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    const char c = tag[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (valueStarts) {
      if (IsBlank(c)) continue;
      valueStarts = false;
      if (IsQuote(c)) {
        quote = c;
        continue;
      }
    }
    if (c == '=') {
      valueStarts = true;
      continue;
    }
    const bool boundary = i == 0 || tag[i - 1] == '<' || IsBlank(tag[i - 1]);
    if (boundary && MatchAt(tag, i, name, true)) {
      const std::size_t j = SkipBlanks(tag, i + name.size());
      if (j < tag.size() && tag[j] == '=') return j + 1;
    }
  }
  return std::string_view::npos;
}

// Index just after the ":" of property name in a style text, or npos; the name counts
// at the start or after ";" or a blank, followed by blanks and ":".
std::size_t StylePropertyStart(std::string_view style, std::string_view name) {
  if (name.empty()) return std::string_view::npos;
  for (std::size_t i = 0; i < style.size(); ++i) {
    const bool boundary = i == 0 || style[i - 1] == ';' || IsBlank(style[i - 1]);
    if (boundary && MatchAt(style, i, name, true)) {
      const std::size_t j = SkipBlanks(style, i + name.size());
      if (j < style.size() && style[j] == ':') return j + 1;
    }
  }
  return std::string_view::npos;
}

// Text before the first c, or all of it.
std::string_view Before(std::string_view s, char c) { return s.substr(0, s.find(c)); }

std::string StyleValue(std::string_view tag, std::string_view name) {
  const std::size_t at = AttributeValueStart(tag, "style");
  if (at == std::string_view::npos) return {};
  std::string_view s = TrimBlanks(tag.substr(at));
  if (s.empty() || !IsQuote(s.front())) return {};
  const char q = s.front();
  s = Before(s.substr(1), q);
  const std::size_t k = StylePropertyStart(s, name);
  if (k == std::string_view::npos) return {};
  s = TrimBlanks(s.substr(k));
  if (!s.empty() && IsQuote(s.front())) {
    s = Before(s.substr(1), s.front());
  } else {
    s = Before(s, ';');
  }
  return std::string(TrimBlanks(s));
}

}  // namespace

std::size_t InStr(std::size_t start, std::string_view text, std::string_view what, int compare) {
  if (text.empty()) return 0;
  if (start < 1) start = 1;
  if (start > text.size()) return 0;
  if (what.empty()) return start;
  const bool ignoreCase = IgnoresCase(compare);
  for (std::size_t i = start - 1; i + what.size() <= text.size(); ++i) {
    if (MatchAt(text, i, what, ignoreCase)) return i + 1;
  }
  return 0;
}

std::size_t InStrRev(std::string_view text, std::string_view what, std::size_t start, int compare) {
  if (text.empty()) return 0;
  if (start == 0 || start > text.size()) start = text.size();
  if (what.empty()) return start;
  if (what.size() > start) return 0;
  const bool ignoreCase = IgnoresCase(compare);
  for (std::size_t i = start - what.size() + 1; i-- > 0;) {
    if (MatchAt(text, i, what, ignoreCase)) return i + 1;
  }
  return 0;
}

std::string StrBefore(std::string_view text, std::string_view delimiter, bool emptyIfAbsent,
                      int compare) {
  if (delimiter.empty()) return std::string(text);
  const std::size_t p = InStr(1, text, delimiter, compare);
  if (p > 0) return std::string(text.substr(0, p - 1));
  return emptyIfAbsent ? std::string() : std::string(text);
}

std::string StrAfter(std::string_view text, std::string_view delimiter, std::size_t length,
                     bool emptyIfAbsent, int compare) {
  const std::size_t p = InStr(1, text, delimiter, compare);
  if (p > 0) {
    const std::string_view rest = text.substr(p - 1 + delimiter.size());
    return std::string(length != 0 ? rest.substr(0, length) : rest);
  }
  return emptyIfAbsent ? std::string() : std::string(text);
}

std::string StrAfterLast(std::string_view text, std::string_view delimiter, bool emptyIfAbsent,
                         int compare) {
  if (delimiter.empty()) return {};
  const std::size_t p = InStrRev(text, delimiter, 0, compare);
  if (p >= 1) return std::string(text.substr(p - 1 + delimiter.size()));
  return emptyIfAbsent ? std::string() : std::string(text);
}

std::string StrBetween(std::string_view text, std::string_view startDelimiter,
                       std::string_view endDelimiter, int compare, bool excludeDelimiters) {
  if (text.empty() || startDelimiter.empty() || endDelimiter.empty()) return {};
  const std::size_t p1 = InStr(1, text, startDelimiter, compare);
  if (p1 == 0) return {};
  const std::size_t afterStart = p1 + startDelimiter.size();
  const std::size_t p2 = InStr(afterStart, text, endDelimiter, compare);
  const std::size_t from = excludeDelimiters ? afterStart : p1;  // 1-based
  if (p2 == 0) return from > text.size() ? std::string() : std::string(text.substr(from - 1));
  const std::size_t to = excludeDelimiters ? p2 - 1 : p2 + endDelimiter.size() - 1;  // inclusive
  if (to < from) return {};
  return std::string(text.substr(from - 1, to - from + 1));
}

std::size_t InStrAny(std::int32_t start, std::string_view text, std::string_view set, int compare,
                     bool reverse) {
  if (text.empty() || set.empty()) return 0;
  if (!IgnoresCase(compare)) compare = kBinaryCompare;
  std::size_t best = reverse ? 0 : text.size() + 1;
  for (std::size_t i = 0; i < set.size();) {
    const std::size_t n = std::min<std::size_t>(
        static_cast<std::size_t>(core::Utf8SequenceLength(static_cast<unsigned char>(set[i]))),
        set.size() - i);
    const std::string_view ch = set.substr(i, n);
    i += n;
    if (reverse) {
      const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start);
      best = std::max(best, InStrRev(text, ch, from, compare));
    } else {
      const std::size_t p =
          InStr(static_cast<std::size_t>(std::max<std::int32_t>(start, 1)), text, ch, compare);
      if (p >= 1 && p <= best) best = p;
    }
  }
  return best > text.size() ? 0 : best;
}

std::string TrimTrailingCrLf(std::string_view text) {
  while (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") text.remove_suffix(2);
  return std::string(text);
}

std::string TokenReader::First(std::string_view text, std::string_view delimiter) {
  std::int32_t start = 0;
  return Next(text, delimiter, &start);
}

std::string TokenReader::Next(std::string_view text, std::optional<std::string_view> delimiter,
                              std::int32_t* position, bool anyCharacter) {
  if (text.empty()) return {};
  if (delimiter) delimiter_ = std::string(*delimiter);
  if (delimiter_.empty()) return {};
  bool restOfText = false;
  if (position) {
    if (*position < 0) {
      restOfText = true;
    } else {
      position_ = *position;
    }
  }
  if (position_ < 1) position_ = 1;
  const auto length = static_cast<std::int64_t>(text.size());
  if (position_ > length) {
    position_ = 0;
    return {};
  }
  const auto from = static_cast<std::size_t>(position_);
  std::size_t end = 0;
  std::size_t step = 0;
  if (!restOfText) {
    if (anyCharacter) {
      end = InStrAny(position_, text, delimiter_, kBinaryCompare, false);
      if (end > 0) {
        step = static_cast<std::size_t>(
            core::Utf8SequenceLength(static_cast<unsigned char>(text[end - 1])));
      }
    } else {
      end = InStr(from, text, delimiter_);
      step = delimiter_.size();
    }
  }
  std::string token;
  if (end > 0) {
    token = std::string(text.substr(from - 1, end - from));
    position_ = static_cast<std::int32_t>(std::min<std::size_t>(end + step, INT32_MAX));
  } else {
    token = std::string(text.substr(from - 1));
    position_ = static_cast<std::int32_t>(std::min<std::int64_t>(length + 1, INT32_MAX));
  }
  if (position) *position = position_;
  return token;
}

namespace {
TokenReader& SharedReader() {
  static TokenReader reader;
  return reader;
}
}  // namespace

std::string GetFirstToken(std::string_view text, std::string_view delimiter) {
  return SharedReader().First(text, delimiter);
}

std::string GetNextToken(std::string_view text, std::optional<std::string_view> delimiter,
                         std::int32_t* position, bool anyCharacter) {
  return SharedReader().Next(text, delimiter, position, anyCharacter);
}

std::string GetStyleValue(std::string_view tag, std::string_view name, bool styleFirst) {
  if (tag.empty()) return {};
  if (styleFirst) {
    std::string fromStyle = StyleValue(tag, name);
    if (!fromStyle.empty()) return fromStyle;
  }
  const std::size_t at = AttributeValueStart(tag, name);
  if (at == std::string_view::npos) return {};
  const std::string_view r = TrimBlanks(tag.substr(at));
  const std::size_t gt = r.find('>');
  const std::size_t g = gt == std::string_view::npos ? 0 : gt + 1;  // 1-based, 0 = none
  if (!r.empty() && IsQuote(r.front())) {
    const std::string_view rest = r.substr(1);
    const std::size_t close = rest.find(r.front());
    const std::size_t e = close == std::string_view::npos ? 0 : close + 1;
    if (e == 0 || e > g) return {};
    return std::string(rest.substr(0, e - 1));
  }
  std::size_t s = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (IsBlank(r[i])) {
      s = i + 1;
      break;
    }
  }
  if (s == 0 || s > g) s = g;
  return s > 0 ? std::string(r.substr(0, s - 1)) : std::string(r);
}

}  // namespace morvane::common
