#pragma once
// The media package (".ipc"): the one file a player loads. An enciphered
// header, then every member as an enciphered entry header and content, then
// a checksum over the whole file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Progress.h"
#include "common/TraceLog.h"
#include "package/KeyText.h"
#include "package/PackageHeader.h"
#include "package/PackageStatus.h"

namespace corvane {

struct PackageContents {
  std::string DeviceId;     // keys the cipher; "0000000000000000" for all devices
  std::string ProviderKey;  // "0000000000000000" for none
  bool Unlock = false;
  std::int32_t Model = 0;
  AudioSettings Audio;
  LocalDateTime Created;
  std::vector<std::filesystem::path> Members;  // in package order
};

// Writes the package beside its final name and moves it into place only when
// it is complete, so a failed write leaves no partial package and any file
// already at packagePath untouched.
PackageStatus WritePackage(const std::filesystem::path& packagePath, const PackageContents& contents,
                           Progress& progress);

struct PackageReadOptions {
  std::string AssignedProviderKey = kAllZeroKey;
  std::uint64_t DeviceKey = 0;  // the value the caller took from the file name
  // Runs every check without writing anything.
  bool VerifyOnly = false;
  // While verifying, keeps the content of the first member of this name (up
  // to kMaxExtractedMember bytes) in the result.
  std::string ExtractMember;
};

inline constexpr std::uint32_t kMaxExtractedMember = 64u << 20;

struct PackageReadResult {
  // The plain header. Its provider key is handed over only once the package
  // passed authorization: a key read from a package the caller may not open
  // would open it.
  PackageHeader Header;
  bool HeaderRead = false;  // the header deciphered and its checksum matched
  bool HasProviderKey = false;  // the header names a provider key, shown or not
  std::vector<EntryHeader> Members;
  std::vector<std::uint8_t> Extracted;
  bool HasExtracted = false;
};

// Verifies the package and unpacks its members into the destination folder,
// replacing the files there. On any failure after the package was found
// authentic the destination holds no files; nothing is ever written outside
// it.
PackageStatus ReadPackage(const std::filesystem::path& packagePath,
                          const std::filesystem::path& destination, const PackageReadOptions& options,
                          PackageReadResult& result, Progress& progress, const TraceLog& trace);

// The exact size of a package whose members have these plain lengths.
std::uint64_t PackageSize(const std::vector<std::uint64_t>& memberLengths);

}  // namespace corvane
