// Any bytes as a media package, opened into a folder. The reader must not
// crash, must never write outside the folder it was given, and must leave it
// without files whenever it fails after the package proved authentic.
//
// The first byte picks how the rest is used: as the package file itself, or
// as the plain header and body of a package that this target enciphers and
// seals with correct checksums, so the reader's deeper checks are reached.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "FuzzFolder.h"

#include "common/ByteOrder.h"
#include "common/Progress.h"
#include "package/Crc16Ccitt.h"
#include "package/MediaPackage.h"
#include "package/PackageCipher.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;

constexpr std::uint32_t kKeyLow = 1;  // the device in the file name below

using corvane::fuzz::FuzzFolder;

std::vector<std::uint8_t> Sealed(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() < 256) bytes.resize(256, 0);
  bytes.resize(256 + (bytes.size() - 256 + 7) / 8 * 8, 0);
  WriteBE16(bytes.data() + 254, Crc16Update(kCrc16Start, bytes.data(), 254));
  CipherBuffer(bytes.data(), bytes.size(), kKeyLow, 0, CipherDirection::Encipher);
  const std::uint16_t crc = Crc16Update(kCrc16Start, bytes);
  bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
  bytes.push_back(static_cast<std::uint8_t>(crc));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  if (size == 0) return 0;
  const fs::path package = folder.Path() / "p_0000000000000001.ipc";
  const fs::path destination = folder.Path() / "out";
  const std::vector<std::uint8_t> bytes =
      (data[0] & 1) ? Sealed(data + 1, size - 1) : std::vector<std::uint8_t>(data + 1, data + size);
  {
    std::ofstream out(package, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::error_code ignored;
  fs::create_directories(destination, ignored);

  PackageReadOptions options;
  options.DeviceKey = kKeyLow;
  options.VerifyOnly = (data[0] & 2) != 0;
  PackageReadResult result;
  NoProgress progress;
  const PackageStatus status =
      ReadPackage(package, destination, options, result, progress, TraceLog::Silent());

  // Nothing but the package and the destination may exist in the root.
  for (const auto& entry : fs::directory_iterator(folder.Path())) {
    if (entry.path() != package && entry.path() != destination) std::abort();
  }
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(destination)) {
    if (!entry.is_regular_file()) std::abort();  // no staging folder left behind
    ++files;
  }
  const bool authentic = status != PackageStatus::UpdateFileNotValid &&
                         status != PackageStatus::InvalidAuthorization &&
                         status != PackageStatus::FileCrcError &&
                         status != PackageStatus::ErrorAccessingFile;
  if (status != PackageStatus::Ok && authentic && result.HeaderRead && files != 0) std::abort();
  if (status == PackageStatus::Ok && !options.VerifyOnly) {
    for (const EntryHeader& member : result.Members) {
      if (!fs::exists(destination / member.Name)) std::abort();
    }
    if (!fs::exists(destination / "update.bin")) std::abort();
  }
  fs::remove_all(destination, ignored);
  return 0;
}
