#pragma once

#include <QByteArray>

#include <cstdint>

namespace morvane::gui::loader {

// Little-endian fields of a picture file's bytes (BigWord: big-endian); a field that
// reaches past the end reads as 0.
inline std::uint16_t Word(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

inline std::uint32_t Dword(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint32_t>(Word(b, at)) | (static_cast<std::uint32_t>(Word(b, at + 2)) << 16);
}

inline std::int32_t SignedDword(const QByteArray& b, qsizetype at) {
  return static_cast<std::int32_t>(Dword(b, at));
}

inline std::int16_t SignedWord(const QByteArray& b, qsizetype at) {
  return static_cast<std::int16_t>(Word(b, at));
}

inline std::uint16_t BigWord(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return static_cast<std::uint16_t>((static_cast<std::uint8_t>(b[at]) << 8) |
                                    static_cast<std::uint8_t>(b[at + 1]));
}

inline void PutWord(QByteArray& b, qsizetype at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>(v >> 8);
}

inline void PutDword(QByteArray& b, qsizetype at, std::uint32_t v) {
  PutWord(b, at, static_cast<std::uint16_t>(v & 0xffff));
  PutWord(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace morvane::gui::loader
