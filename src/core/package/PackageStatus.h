#pragma once
// The status codes of the package formats, shared by the cipher stream, the
// configuration record and the package container. 0 is success.

#include <string_view>

namespace corvane {

enum class PackageStatus : int {
  Ok = 0,
  MemoryAllocationError = 1,
  ErrorAccessingFile = 2,
  ErrorReadingFile = 3,
  ErrorWritingFile = 4,
  FileCrcError = 5,
  InvalidFileLength = 6,
  SystemAlreadyUpdated = 7,
  UpdateFileNotFound = 8,
  UpdateFileNotValid = 9,
  InvalidAuthorization = 10,
  InvalidFilename = 11,
  ConfigurationFileInvalid = 12,
  UserCancelled = 13,
  InvalidDeviceId = 14,
};

// The operator-facing text of a status code; empty for success and for codes
// outside the table.
std::string_view PackageStatusText(int code);
inline std::string_view PackageStatusText(PackageStatus status) {
  return PackageStatusText(static_cast<int>(status));
}

}  // namespace corvane
