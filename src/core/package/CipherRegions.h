#pragma once
// Enciphers or deciphers the members of a package between files, in pieces
// spread over every core. Each piece is read straight into the mapped
// destination, transformed and checksummed there, so no thread waits for
// another's write; the bytes are exactly those of the format's 1024-byte stream, whose
// pieces are independent blocks with padding only at a member's end.

#include <cstdint>
#include <vector>

#include "common/ByteStream.h"
#include "common/Progress.h"
#include "package/PackageCipher.h"
#include "package/PackageStatus.h"

namespace corvane {

// One member: `plainLength` bytes in its own file, CipheredLength of them in
// the package at `packageOffset`.
struct CipherRegion {
  FileStream* member = nullptr;        // enciphering: the member's file
  std::uint8_t* memberBytes = nullptr;  // deciphering: where its plain bytes go; null to only verify
  std::uint64_t plainLength = 0;
  std::uint64_t packageOffset = 0;
};

struct CipherRegionsResult {
  PackageStatus status = PackageStatus::Ok;
  std::size_t failedRegion = 0;  // the first region that failed, when status is not Ok
  // Per region, the checksum of its ciphered bytes started from 0.
  std::vector<std::uint16_t> crcs;
};

// Encipher: member files into the package's mapped bytes. Decipher: the
// package file into the members' mapped bytes (or, with none, only
// checksums the ciphered bytes). The reported failure is that of the first
// region in order.
CipherRegionsResult CipherRegions(FileStream& package, std::uint8_t* packageBytes,
                                  const std::vector<CipherRegion>& regions, std::uint32_t keyLow,
                                  std::uint32_t keyHigh, CipherDirection direction,
                                  Progress& progress);

}  // namespace corvane
