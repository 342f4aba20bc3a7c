#pragma once
// Enciphers or deciphers the members of a package between files, in pieces
// spread over every core. Each piece is read into a core's own buffer,
// transformed and checksummed there, and written out in file order, so the
// output grows front to back like any sequential copy; the bytes are exactly
// those of the format's 1024-byte stream, whose pieces are independent blocks
// with padding only at a member's end.

#include <cstdint>
#include <vector>

#include "common/ByteStream.h"
#include "common/Progress.h"
#include "package/PackageCipher.h"
#include "package/PackageStatus.h"

namespace corvane {

// One member: `plainLength` bytes in its own file, CipheredLength of them in
// the package at `packageOffset`. Enciphering reads the member's file;
// deciphering writes it, or with no file only checksums the ciphered bytes.
struct CipherRegion {
  FileStream* member = nullptr;
  std::uint64_t plainLength = 0;
  std::uint64_t packageOffset = 0;
};

struct CipherRegionsResult {
  PackageStatus status = PackageStatus::Ok;
  // Per region, the checksum of its ciphered bytes started from 0.
  std::vector<std::uint16_t> crcs;
};

// Encipher: member files into the package. Decipher: the package into the
// member files. The reported failure is that of the first region in order.
CipherRegionsResult CipherRegions(FileStream& package, const std::vector<CipherRegion>& regions,
                                  std::uint32_t keyLow, std::uint32_t keyHigh,
                                  CipherDirection direction, Progress& progress);

}  // namespace corvane
