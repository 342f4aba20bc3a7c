#pragma once
// Big- and little-endian reads and writes into byte buffers. Every file
// format goes through these, so the host's byte order never leaks into a file.

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

inline std::uint16_t ReadBE16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t ReadBE32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}
inline std::uint64_t ReadBE64(const std::uint8_t* p) {
  return (std::uint64_t{ReadBE32(p)} << 32) | ReadBE32(p + 4);
}
inline std::uint16_t ReadLE16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadLE32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
inline std::uint64_t ReadLE64(const std::uint8_t* p) {
  return std::uint64_t{ReadLE32(p)} | (std::uint64_t{ReadLE32(p + 4)} << 32);
}

inline void WriteBE16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 8);
  p[1] = static_cast<std::uint8_t>(v);
}
inline void WriteBE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}
inline void WriteBE64(std::uint8_t* p, std::uint64_t v) {
  WriteBE32(p, static_cast<std::uint32_t>(v >> 32));
  WriteBE32(p + 4, static_cast<std::uint32_t>(v));
}
inline void WriteLE16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void WriteLE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}
inline void WriteLE64(std::uint8_t* p, std::uint64_t v) {
  WriteLE32(p, static_cast<std::uint32_t>(v));
  WriteLE32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

}  // namespace corvane
