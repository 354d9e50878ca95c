#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::common {

// Texts are UTF-8. Positions count bytes from 1, and 0 means not found; a delimiter is
// matched as a whole, so a match never splits a character.
//
// Compare modes: exact (by byte) or text (ASCII letters without regard to case).
inline constexpr int kBinaryCompare = 0;
inline constexpr int kTextCompare = 1;

// The position of what in text at or after position start (1-based); 0 when absent. An
// empty what is found at start (when start lies within the text).
std::size_t InStr(std::size_t start, std::string_view text, std::string_view what,
                  int compare = kBinaryCompare);
// The position of the last what in text that begins at or before start (0 = anywhere).
std::size_t InStrRev(std::string_view text, std::string_view what, std::size_t start = 0,
                     int compare = kBinaryCompare);

// The text before the first delimiter. An empty delimiter gives the whole text; an
// absent one the whole text, or "" with emptyIfAbsent.
std::string StrBefore(std::string_view text, std::string_view delimiter, bool emptyIfAbsent = false,
                      int compare = kBinaryCompare);

// The text after the first delimiter, length bytes of it (0 = to the end). An empty
// delimiter is found before the first character; an absent one gives the whole text, or
// "" with emptyIfAbsent.
std::string StrAfter(std::string_view text, std::string_view delimiter, std::size_t length = 0,
                     bool emptyIfAbsent = false, int compare = kBinaryCompare);

// The text after the last delimiter; absent: the whole text, or "" with emptyIfAbsent.
// An empty delimiter is found after the last character, which gives "".
std::string StrAfterLast(std::string_view text, std::string_view delimiter, bool emptyIfAbsent = false,
                         int compare = kBinaryCompare);

// From the first startDelimiter to the next endDelimiter after it, both included, or
// with excludeDelimiters only what lies between them. Without an end delimiter after the
// start one, to the end of the text. "" when a text is empty or the start is absent.
std::string StrBetween(std::string_view text, std::string_view startDelimiter,
                       std::string_view endDelimiter, int compare = kBinaryCompare,
                       bool excludeDelimiters = false);

// The position of the first character of text at or after start that is one of the
// characters of set (each UTF-8 character of set counts); with reverse, the last one at
// or before start (start -1: from the end). 0 when there is none.
std::size_t InStrAny(std::int32_t start, std::string_view text, std::string_view set,
                     int compare = kBinaryCompare, bool reverse = false);

// The text without its trailing CR LF pairs (a lone CR or LF at the end stays).
std::string TrimTrailingCrLf(std::string_view text);

// Walks a text token by token. The walked text is passed again on every call.
class TokenReader {
 public:
  // Starts a new walk at the first character.
  std::string First(std::string_view text, std::string_view delimiter = "\r\n");

  // The next token: the text from the current position to the next delimiter (a given
  // delimiter becomes the current one). position, when given, sets where to start (a
  // negative one asks for the rest of the text) and receives the position after the
  // token. With anyCharacter, any one character of the delimiter ends the token. Past
  // the end: "" and the walk starts over at the next call.
  std::string Next(std::string_view text, std::optional<std::string_view> delimiter = std::nullopt,
                   std::int32_t* position = nullptr, bool anyCharacter = false);

 private:
  std::string delimiter_;
  std::int32_t position_ = 0;
};

// The same walk on one reader shared by the whole program: one walk must end before
// another starts. Code that walks inside a walk uses a TokenReader of its own.
std::string GetFirstToken(std::string_view text, std::string_view delimiter = "\r\n");
std::string GetNextToken(std::string_view text, std::optional<std::string_view> delimiter = std::nullopt,
                         std::int32_t* position = nullptr, bool anyCharacter = false);

// The value of attribute name in an HTML tag text, "" when it has none. The name counts
// only as an attribute of its own: at the start of the text or after "<" or a blank,
// outside a quoted value, followed by optional blanks and "=" (so a title "Shapes" or
// "coords 2" is not taken for an attribute). A quoted value runs to the same quote and
// counts only when a ">" follows it; an unquoted one ends at the first blank or ">".
// With styleFirst, a property of the same name in the tag's style attribute
// ("style='width: 5'") wins when it is there and not empty.
std::string GetStyleValue(std::string_view tag, std::string_view name, bool styleFirst = false);

}  // namespace morvane::common
