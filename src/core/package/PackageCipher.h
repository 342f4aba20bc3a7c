#pragma once
// The package cipher: TEA with 32 cycles over big-endian 8-byte blocks, keyed
// by two fixed words and the 64-bit device key. Blocks are independent, so the
// bulk transform may process many at once; the bytes are always those of the
// block-by-block definition.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/ByteStream.h"
#include "package/PackageStatus.h"

namespace corvane {

enum class CipherDirection : int { Decipher = 0, Encipher = 1 };

// The two fixed key words are part of the package format: players expect them.
inline constexpr std::uint32_t kCipherKeyWord0 = 0x3C5A97E2u;
inline constexpr std::uint32_t kCipherKeyWord1 = 0x71D04B6Fu;

// Smallest work buffer CipherStream accepts: one 1024-byte piece plus padding.
inline constexpr std::size_t kCipherStreamMinBuffer = 1024 + 8;

class PackageCipher {
 public:
  PackageCipher(std::uint32_t keyLow, std::uint32_t keyHigh);

  // One 8-byte block in place.
  void EncipherBlock(std::uint8_t* block) const;
  void DecipherBlock(std::uint8_t* block) const;

  // ceil(size / 8) blocks in place; the buffer must hold that many whole
  // blocks. Large buffers use the processor's vector units and all cores.
  void Transform(std::uint8_t* data, std::size_t size, CipherDirection direction) const;

  const std::uint32_t* Key() const { return key_; }

 private:
  std::uint32_t key_[4];
};

// Transforms ceil(length / 8) blocks of the buffer in place.
void CipherBuffer(std::uint8_t* buffer, std::size_t length, std::uint32_t keyLow,
                  std::uint32_t keyHigh, CipherDirection direction);

// Enciphers length plaintext bytes from source into 8*floor(length/8)+8
// bytes at destination, or deciphers that many back into length bytes.
// workBuffer must hold at least kCipherStreamMinBuffer bytes; a larger one
// lets the transform read and write in bigger pieces with the same result.
// Returns Ok, ErrorReadingFile on a short read or ErrorWritingFile on a short
// write; after a short read the destination holds every whole 1024-byte piece
// read before it. A work buffer below the minimum gives MemoryAllocationError
// without touching either stream.
PackageStatus CipherStream(ByteSource& source, ByteSink& destination, std::uint64_t length,
                           std::span<std::uint8_t> workBuffer, std::uint32_t keyLow,
                           std::uint32_t keyHigh, CipherDirection direction);

// Number of bytes CipherStream writes when enciphering length bytes.
constexpr std::uint64_t CipheredLength(std::uint64_t length) {
  return length == 0 ? 0 : (length / 8) * 8 + 8;
}

// Prefixes "0" characters until the text is 16 long; longer texts are kept.
void LeftPadTo16(std::string& text);

// The 64-bit key of a device ID or provider key text: left-padded to 16,
// characters 1-8 the high word, 9-16 the low word. A character that is not a
// hexadecimal digit ends its half's number.
std::uint64_t HexKeyFromText(std::string_view text);

}  // namespace corvane
