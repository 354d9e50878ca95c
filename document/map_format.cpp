#include "document/map_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "common/text_helpers.h"

namespace morvane::document {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
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
    const bool plain = cp >= 0x20 && cp < 0x7F && cp != '&' && cp != '<' && cp != '>' &&
                       cp != '\'' && cp != '"';
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

const std::string* HtmlTag::Attribute(std::string_view lowerName) const {
  for (const HtmlAttribute& a : attributes) {
    if (a.name == lowerName) return &a.value;
  }
  return nullptr;
}

std::vector<HtmlTag> TokenizeTags(std::string_view text) {
  std::vector<HtmlTag> tags;
  const std::size_t n = text.size();
  std::size_t at = 0;
  while (true) {
    at = text.find('<', at);
    if (at == std::string_view::npos || at + 1 >= n) break;
    if (text.compare(at, 4, "<!--") == 0) {
      const std::size_t close = text.find("-->", at + 4);
      if (close == std::string_view::npos) break;
      at = close + 3;
      continue;
    }
    std::size_t p = at + 1;
    const bool closing = text[p] == '/';
    if (closing) ++p;
    if (p >= n || !std::isalpha(static_cast<unsigned char>(text[p]))) {
      ++at;
      continue;
    }
    HtmlTag tag;
    tag.begin = at;
    const std::size_t nameStart = p;
    while (p < n && !IsSpace(text[p]) && text[p] != '>' && text[p] != '/') ++p;
    tag.name = (closing ? "/" : "") + Lower(text.substr(nameStart, p - nameStart));
    // Attributes up to the ">" that ends the tag (one inside a quoted value does not).
    while (p < n) {
      while (p < n && (IsSpace(text[p]) || text[p] == '/')) ++p;
      if (p >= n || text[p] == '>') break;
      const std::size_t attrStart = p;
      while (p < n && !IsSpace(text[p]) && text[p] != '>' && text[p] != '=' &&
             !(text[p] == '/' && p + 1 < n && text[p + 1] == '>')) {
        ++p;
      }
      if (p == attrStart) {
        ++p;  // a stray "=": step over it
        continue;
      }
      HtmlAttribute attribute;
      attribute.name = Lower(text.substr(attrStart, p - attrStart));
      std::size_t q = p;
      while (q < n && IsSpace(text[q])) ++q;
      if (q < n && text[q] == '=') {
        ++q;
        while (q < n && IsSpace(text[q])) ++q;
        if (q < n && (text[q] == '\'' || text[q] == '"')) {
          const char quote = text[q];
          const std::size_t close = text.find(quote, q + 1);
          const std::size_t valueEnd = close == std::string_view::npos ? n : close;
          attribute.value = DecodeHtml(text.substr(q + 1, valueEnd - q - 1));
          p = close == std::string_view::npos ? n : close + 1;
        } else {
          const std::size_t valueStart = q;
          while (q < n && !IsSpace(text[q]) && text[q] != '>') ++q;
          attribute.value = DecodeHtml(text.substr(valueStart, q - valueStart));
          p = q;
        }
      }
      tag.attributes.push_back(std::move(attribute));
    }
    if (p >= n) {
      break;  // a tag that never ends is no tag
    }
    tag.end = p + 1;
    at = tag.end;
    tags.push_back(std::move(tag));
  }
  return tags;
}

std::string MapHeaderLine(std::string_view src, std::string_view name) {
  const std::string escapedName = EscapeHtml(name);
  return "<html><body><img src='" + EscapeHtml(src) + "' border=0 usemap='#" + escapedName +
         "'><map name='" + escapedName + "'>";
}

bool IsOwnMap(std::string_view file, std::string_view headerLine) {
  const std::string trimmed = common::TrimTrailingCrLf(file);
  const std::string_view existing = trimmed;
  if (existing.empty()) return true;
  const std::string header = std::string(headerLine) + "\r\n";
  if (existing.size() < header.size() || !EqualsNoCase(existing.substr(0, header.size()), header)) {
    return false;
  }
  for (std::string_view footer : {kMapFooter, kOldMapFooter}) {
    const std::string tail = "\r\n" + std::string(footer);
    if (existing.size() >= tail.size() &&
        EqualsNoCase(existing.substr(existing.size() - tail.size()), tail)) {
      return true;
    }
  }
  return false;
}

std::optional<std::vector<engine::ContourPoint>> ParseCoords(std::string_view coords) {
  std::vector<std::int32_t> numbers;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = coords.find(',', start);
    std::string_view item = coords.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    while (!item.empty() && IsSpace(item.front())) item.remove_prefix(1);
    while (!item.empty() && IsSpace(item.back())) item.remove_suffix(1);
    if (!item.empty() && item.front() == '+') item.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (item.empty() || ec != std::errc() || end != item.data() + item.size() || value < 0 ||
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
  const std::vector<HtmlTag> tags = TokenizeTags(text);
  auto img = std::find_if(tags.begin(), tags.end(), [&](const HtmlTag& t) {
    if (t.name != "img") return false;
    if (!requiredSrc) return true;
    const std::string* src = t.Attribute("src");
    return src != nullptr && *src == *requiredSrc;
  });
  if (img == tags.end()) return content;
  content.hasImage = true;
  if (const std::string* usemap = img->Attribute("usemap")) content.usemap = *usemap;
  if (const std::string* src = img->Attribute("src")) content.src = *src;
  if (content.usemap.empty()) return content;
  const std::string_view name = std::string_view(content.usemap).substr(1);

  auto map = std::find_if(tags.begin(), tags.end(), [&](const HtmlTag& t) {
    const std::string* n = t.name == "map" ? t.Attribute("name") : nullptr;
    return n != nullptr && EqualsNoCase(*n, name);
  });
  if (map == tags.end()) return content;
  bool anyArea = false;
  for (auto t = map + 1; t != tags.end() && t->name != "/map"; ++t) {
    if (t->name != "area") continue;
    anyArea = true;
    const std::string* href = t->Attribute("href");
    if (href != nullptr && !content.firstHref) content.firstHref = *href;
    const std::string* shape = t->Attribute("shape");
    const std::string* coords = t->Attribute("coords");
    if (shape == nullptr || Lower(*shape) != "polygon" || coords == nullptr || coords->empty()) continue;
    std::optional<std::vector<engine::ContourPoint>> points = ParseCoords(*coords);
    if (!points) continue;
    const std::string* alt = t->Attribute("alt");
    content.polygons.push_back({href ? *href : std::string(), alt ? *alt : std::string(), std::move(*points)});
  }
  content.hasMapBlock = anyArea;
  return content;
}

}  // namespace morvane::document
