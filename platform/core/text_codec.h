#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::core {

// Text inside the program is UTF-8. Files written by the old program, or by editors
// on Windows, are often Windows-1252; those bytes are recognised by their not being
// valid UTF-8 and converted on the way in.

// True when bytes form well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Each byte as its Windows-1252 character, in UTF-8. The five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// number, so no byte is lost.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 text as it is when valid, else the bytes read as Windows-1252.
std::string DecodeText(std::string_view bytes);

// The text with a leading UTF-8 byte-order mark removed.
std::string_view StripUtf8Bom(std::string_view bytes);

// The text's lines, read with LF or CR LF as line end (a lone CR stays in the line).
// A final line end does not start another line; "" gives no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// Every line end (LF or CR LF) written as CR LF; a lone CR stays as it is.
std::string ToCrLf(std::string_view text);

// ASCII letters compared without regard to case; every other byte as it is.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Number of bytes of the UTF-8 sequence that starts with lead (1 for a byte that
// cannot start one), so callers can step over whole characters.
int Utf8SequenceLength(unsigned char lead);

}  // namespace morvane::core
