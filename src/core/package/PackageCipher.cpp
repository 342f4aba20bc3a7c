#include "package/PackageCipher.h"

#include <algorithm>

#include "package/cipher/TeaBlocks.h"

namespace corvane {
namespace {

// The stream is defined in pieces of this many plaintext bytes; only the last
// piece is padded, by 1 to 8 bytes up to a whole block.
constexpr std::size_t kPiece = 1024;
constexpr std::size_t kMaxPad = 8;

std::size_t PadFor(std::size_t finalChunk) { return kMaxPad - finalChunk % kMaxPad; }

// The plaintext a buffer holds per batch: whole pieces, leaving room for the
// padding of a final piece. With the smallest buffer it is one piece, and the
// reads and writes are exactly those of the piece-by-piece definition; larger
// batches change only how many pieces travel per call.
std::size_t BatchFor(std::size_t bufferSize) { return (bufferSize - kMaxPad) / kPiece * kPiece; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::uint32_t HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
  return static_cast<std::uint32_t>(c - 'A' + 10);
}

// Eight characters as a hexadecimal number that ends at the first character
// that is not a digit.
std::uint32_t ParseHalf(std::string_view eight) {
  std::uint32_t value = 0;
  for (char c : eight) {
    if (!IsHexDigit(c)) break;
    value = (value << 4) | HexDigitValue(c);
  }
  return value;
}

}  // namespace

PackageCipher::PackageCipher(std::uint32_t keyLow, std::uint32_t keyHigh)
    : key_{kCipherKeyWord0, kCipherKeyWord1, keyHigh, keyLow} {}

void PackageCipher::EncipherBlock(std::uint8_t* block) const { tea::EncipherOne(key_, block); }

void PackageCipher::DecipherBlock(std::uint8_t* block) const { tea::DecipherOne(key_, block); }

void PackageCipher::Transform(std::uint8_t* data, std::size_t size,
                              CipherDirection direction) const {
  const std::size_t blocks = size / 8 + (size % 8 != 0 ? 1 : 0);
  if (blocks == 0) return;
  tea::TransformBlocks(tea::FastestKernel(), key_, data, blocks, direction);
}

void CipherBuffer(std::uint8_t* buffer, std::size_t length, std::uint32_t keyLow,
                  std::uint32_t keyHigh, CipherDirection direction) {
  PackageCipher(keyLow, keyHigh).Transform(buffer, length, direction);
}

PackageStatus CipherStream(ByteSource& source, ByteSink& destination, std::uint64_t length,
                           std::span<std::uint8_t> workBuffer, std::uint32_t keyLow,
                           std::uint32_t keyHigh, CipherDirection direction) {
  if (length == 0) return PackageStatus::Ok;
  if (workBuffer.size() < kCipherStreamMinBuffer) return PackageStatus::MemoryAllocationError;

  const PackageCipher cipher(keyLow, keyHigh);
  const bool enciphering = direction == CipherDirection::Encipher;
  const std::size_t batch = BatchFor(workBuffer.size());
  std::uint64_t remaining = length;
  while (remaining > 0) {
    std::size_t plain = batch;        // plaintext bytes of this batch
    std::size_t ciphered = batch;
    std::size_t wholePieces = batch;  // bytes in pieces that are not the final one
    if (remaining <= batch) {
      plain = static_cast<std::size_t>(remaining);
      const std::size_t finalChunk = plain % kPiece == 0 ? kPiece : plain % kPiece;
      ciphered = plain + PadFor(finalChunk);
      wholePieces = plain - finalChunk;
    }
    remaining -= plain;

    const std::size_t wanted = enciphering ? plain : ciphered;
    const std::size_t got = source.Read(workBuffer.first(wanted));
    if (got < wanted) {
      // The pieces read in full before the short one would each have been
      // written before the failing read; keep the destination as that left it.
      const std::size_t complete = std::min(got / kPiece * kPiece, wholePieces);
      if (complete > 0) {
        cipher.Transform(workBuffer.data(), complete, direction);
        if (destination.Write(workBuffer.first(complete)) < complete)
          return PackageStatus::ErrorWritingFile;
      }
      return PackageStatus::ErrorReadingFile;
    }

    if (enciphering) std::fill(workBuffer.begin() + plain, workBuffer.begin() + ciphered, 0);
    cipher.Transform(workBuffer.data(), ciphered, direction);
    const std::size_t out = enciphering ? ciphered : plain;
    if (destination.Write(workBuffer.first(out)) < out) return PackageStatus::ErrorWritingFile;
  }
  return PackageStatus::Ok;
}

void LeftPadTo16(std::string& text) {
  if (text.size() < 16) text.insert(0, 16 - text.size(), '0');
}

std::uint64_t HexKeyFromText(std::string_view text) {
  // Callers pass at most 16 characters. Of a longer text only the first 16
  // count, so characters past the key never change it.
  std::string padded(text.substr(0, 16));
  LeftPadTo16(padded);
  const std::uint32_t high = ParseHalf(std::string_view(padded).substr(0, 8));
  const std::uint32_t low = ParseHalf(std::string_view(padded).substr(8, 8));
  return (std::uint64_t{high} << 32) | low;
}

}  // namespace corvane
