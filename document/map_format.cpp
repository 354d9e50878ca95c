#include "document/map_format.h"

#include <cctype>
#include <charconv>
#include <limits>

#include "common/text_helpers.h"
#include "platform/core/text_codec.h"

namespace morvane::document {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = core::AsciiLower(c);
  return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Decodes one UTF-8 character at at; an invalid sequence takes one byte and gives U+FFFD.
char32_t NextCodePoint(std::string_view s, std::size_t& at) {
  const auto b0 = static_cast<unsigned char>(s[at]);
  int length = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++at;
    return b0;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    ++at;
    return kReplacement;
  }
  if (at + static_cast<std::size_t>(length) > s.size()) {
    ++at;
    return kReplacement;
  }
  for (int k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[at + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++at;
    return kReplacement;
  }
  at += static_cast<std::size_t>(length);
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string EscapeHtml(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, at);
    const bool plain =
        cp >= 0x20 && cp < 0x7F && cp != '&' && cp != '<' && cp != '>' && cp != '\'' && cp != '"';
    if (plain) {
      out += static_cast<char>(cp);
    } else {
      out += "&#";
      out += std::to_string(static_cast<std::uint32_t>(cp));
      out += ';';
    }
  }
  return out;
}

std::string DecodeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '\0') {  // as a browser reads it
      AppendUtf8(out, kReplacement);
      ++at;
      continue;
    }
    if (c != '&') {
      out += c;
      ++at;
      continue;
    }
    // A reference is short: looking further for its ";" would make a text of many
    // "&" take quadratic time.
    const std::size_t within = text.substr(at + 1, 32).find(';');
    const std::size_t semi = within == std::string_view::npos ? within : at + 1 + within;
    if (semi == std::string_view::npos) {
      out += c;
      ++at;
      continue;
    }
    const std::string_view body = text.substr(at + 1, semi - at - 1);
    bool decoded = true;
    if (body.size() >= 2 && body[0] == '#') {
      const bool hex = body[1] == 'x' || body[1] == 'X';
      const std::string_view digits = body.substr(hex ? 2 : 1);
      std::uint32_t value = 0;
      const auto [end, ec] =
          std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
      if (digits.empty() || ec == std::errc::invalid_argument || end != digits.data() + digits.size()) {
        decoded = false;
      } else {
        const bool valid = ec == std::errc() && value != 0 && value <= 0x10FFFF &&
                           !(value >= 0xD800 && value <= 0xDFFF);
        AppendUtf8(out, valid ? static_cast<char32_t>(value) : kReplacement);
      }
    } else if (body == "amp") {
      out += '&';
    } else if (body == "lt") {
      out += '<';
    } else if (body == "gt") {
      out += '>';
    } else if (body == "quot") {
      out += '"';
    } else if (body == "apos") {
      out += '\'';
    } else {
      decoded = false;
    }
    if (decoded) {
      at = semi + 1;
    } else {
      out += c;
      ++at;
    }
  }
  return out;
}

namespace {

// Walks the attributes of a tag from p, the first byte after its name, and hands each
// to visit(name, raw value) until visit answers true. Answers where the walk stopped:
// at the ">" that ends the tag (one inside a quoted value does not), at the attribute
// visit took, or npos when the tag never ends.
template <typename Visit>
std::size_t WalkAttributes(std::string_view text, std::size_t p, Visit visit) {
  const std::size_t n = text.size();
  while (p < n) {
    while (p < n && (IsSpace(text[p]) || text[p] == '/')) ++p;
    if (p >= n) break;
    if (text[p] == '>') return p;
    const std::size_t nameStart = p;
    while (p < n && !IsSpace(text[p]) && text[p] != '>' && text[p] != '=' &&
           !(text[p] == '/' && p + 1 < n && text[p + 1] == '>')) {
      ++p;
    }
    if (p == nameStart) {
      ++p;  // a stray "=": step over it
      continue;
    }
    const std::string_view name = text.substr(nameStart, p - nameStart);
    std::string_view value;
    std::size_t q = p;
    while (q < n && IsSpace(text[q])) ++q;
    if (q < n && text[q] == '=') {
      ++q;
      while (q < n && IsSpace(text[q])) ++q;
      if (q < n && (text[q] == '\'' || text[q] == '"')) {
        const std::size_t close = text.find(text[q], q + 1);
        const std::size_t valueEnd = close == std::string_view::npos ? n : close;
        value = text.substr(q + 1, valueEnd - q - 1);
        p = close == std::string_view::npos ? n : close + 1;
      } else {
        const std::size_t valueStart = q;
        while (q < n && !IsSpace(text[q]) && text[q] != '>') ++q;
        value = text.substr(valueStart, q - valueStart);
        p = q;
      }
    }
    if (visit(name, value)) return nameStart;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<std::string> HtmlTag::Attribute(std::string_view lowerName) const {
  std::optional<std::string> found;
  WalkAttributes(text_, attributes_, [&](std::string_view attribute, std::string_view value) {
    if (!core::EqualsIgnoreAsciiCase(attribute, lowerName)) return false;
    found = DecodeHtml(value);
    return true;
  });
  return found;
}

bool TagReader::Next(HtmlTag& tag) {
  const std::string_view text = text_;
  const std::size_t n = text.size();
  while (true) {
    at_ = text.find('<', at_);
    if (at_ == std::string_view::npos || at_ + 1 >= n) {
      at_ = n;
      return false;
    }
    if (text.compare(at_, 4, "<!--") == 0) {
      const std::size_t close = text.find("-->", at_ + 4);
      if (close == std::string_view::npos) {
        at_ = n;
        return false;
      }
      at_ = close + 3;
      continue;
    }
    std::size_t p = at_ + 1;
    const bool closing = text[p] == '/';
    if (closing) ++p;
    if (p >= n || !std::isalpha(static_cast<unsigned char>(text[p]))) {
      ++at_;
      continue;
    }
    const std::size_t nameStart = p;
    while (p < n && !IsSpace(text[p]) && text[p] != '>' && text[p] != '/') ++p;
    const std::size_t close =
        WalkAttributes(text, p, [](std::string_view, std::string_view) { return false; });
    if (close == std::string_view::npos) {
      at_ = n;
      return false;
    }
    tag.name = (closing ? "/" : "") + Lower(text.substr(nameStart, p - nameStart));
    tag.begin = at_;
    tag.end = close + 1;
    tag.text_ = text;
    tag.attributes_ = p;
    at_ = tag.end;
    return true;
  }
}

std::string OldMapHeaderLine(std::string_view src, std::string_view name) {
  const std::string n(name);
  return "<html><body><img src='" + std::string(src) + "' border=0 usemap='#" + n + "'><map name='" + n +
         "'>";
}

std::string MapHeaderLine(std::string_view src, std::string_view name) {
  return OldMapHeaderLine(EscapeHtml(src), EscapeHtml(name));
}

bool IsOwnMap(std::string_view file, std::string_view headerLine) {
  const std::string trimmed = common::TrimTrailingCrLf(file);
  const std::string_view existing = trimmed;
  if (existing.empty()) return true;
  const std::string header = std::string(headerLine) + "\r\n";
  if (existing.size() < header.size() ||
      !core::EqualsIgnoreAsciiCase(existing.substr(0, header.size()), header)) {
    return false;
  }
  for (std::string_view footer : {kMapFooter, kOldMapFooter}) {
    const std::string tail = "\r\n" + std::string(footer);
    if (existing.size() >= tail.size() &&
        core::EqualsIgnoreAsciiCase(existing.substr(existing.size() - tail.size()), tail)) {
      return true;
    }
  }
  return false;
}

std::optional<std::int32_t> HrefNumber(std::string_view href) {
  if (href.size() < 2 || href.size() > 10 || href.front() != '#') return std::nullopt;
  std::int32_t number = 0;
  for (const char c : href.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::optional<std::vector<engine::ContourPoint>> ParseCoords(std::string_view coords) {
  std::vector<std::int32_t> numbers;
  std::size_t start = 0;
  // x may be negative (a shift moves points left of the image); y may not, since a
  // point whose y is negative reads as a separator.
  while (true) {
    const std::size_t comma = coords.find(',', start);
    std::string_view item =
        coords.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    while (!item.empty() && IsSpace(item.front())) item.remove_prefix(1);
    while (!item.empty() && IsSpace(item.back())) item.remove_suffix(1);
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
    const bool isY = numbers.size() % 2 == 1;
    if (item.empty() || ec != std::errc() || end != item.data() + item.size() ||
        value < (isY ? 0 : std::numeric_limits<std::int32_t>::min()) ||
        value > std::numeric_limits<std::int32_t>::max()) {
      return std::nullopt;
    }
    numbers.push_back(static_cast<std::int32_t>(value));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (numbers.empty() || numbers.size() % 2 != 0) return std::nullopt;
  std::vector<engine::ContourPoint> points;
  points.reserve(numbers.size() / 2);
  for (std::size_t i = 0; i < numbers.size(); i += 2) points.push_back({numbers[i], numbers[i + 1]});
  return points;
}

MapContent ReadMapText(std::string_view text, const std::optional<std::string>& requiredSrc) {
  MapContent content;
  HtmlTag tag;
  bool found = false;
  for (TagReader tags(text); !found && tags.Next(tag);) {
    found = tag.name == "img" && (!requiredSrc || tag.Attribute("src") == requiredSrc);
  }
  if (!found) return content;
  content.hasImage = true;
  content.usemap = tag.Attribute("usemap").value_or(std::string());
  content.src = tag.Attribute("src").value_or(std::string());
  if (content.usemap.empty()) return content;
  const std::string_view name = std::string_view(content.usemap).substr(1);

  // The map may stand anywhere in the page, before the img tag too.
  TagReader tags(text);
  found = false;
  while (!found && tags.Next(tag)) {
    if (tag.name != "map") continue;
    const std::optional<std::string> mapName = tag.Attribute("name");
    found = mapName && core::EqualsIgnoreAsciiCase(*mapName, name);
  }
  if (!found) return content;
  bool anyArea = false;
  while (tags.Next(tag) && tag.name != "/map") {
    if (tag.name != "area") continue;
    anyArea = true;
    std::optional<std::string> href = tag.Attribute("href");
    if (href && !content.firstHref) content.firstHref = href;
    if (href && !content.firstNumberHref && HrefNumber(*href)) content.firstNumberHref = href;
    const std::optional<std::string> shape = tag.Attribute("shape");
    if (!shape || Lower(*shape) != "polygon") continue;
    const std::optional<std::string> coords = tag.Attribute("coords");
    if (!coords || coords->empty()) continue;
    std::optional<std::vector<engine::ContourPoint>> points = ParseCoords(*coords);
    if (!points) continue;
    content.polygons.push_back({href.value_or(std::string()),
                                tag.Attribute("alt").value_or(std::string()), std::move(*points)});
  }
  content.hasMapBlock = anyArea;
  return content;
}

}  // namespace morvane::document
