#include "package/MediaPackage.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <new>
#include <system_error>

#include "common/ByteOrder.h"
#include "common/FileNames.h"
#include "common/PrivateFolder.h"
#include "common/ReplacingFile.h"
#include "package/CipherRegions.h"
#include "package/Crc16Ccitt.h"
#include "package/KeyText.h"
#include "package/PackageCipher.h"
#include "session/SessionFolders.h"

namespace corvane {
namespace {

using Block256 = std::array<std::uint8_t, kEntryHeaderSize>;

struct CipherKeyWords {
  std::uint32_t low;
  std::uint32_t high;
};
CipherKeyWords KeyWords(std::uint64_t key) {
  return {static_cast<std::uint32_t>(key), static_cast<std::uint32_t>(key >> 32)};
}

// The member's name inside the package: the path's last part, after a
// backslash or a slash.
std::string MemberName(const std::filesystem::path& path) {
  const std::string text = path.string();
  std::size_t cut = text.find_last_of('\\');
  if (cut == std::string::npos) cut = text.find_last_of('/');
  return cut == std::string::npos ? text : text.substr(cut + 1);
}

std::string DateText(const LocalDateTime& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.Year, date.Month, date.Day);
  return text;
}

PackageStatus WriteBody(FileStream& out, const PackageContents& contents, Progress& progress) {
  const std::uint64_t keyValue = HexKeyFromText(contents.DeviceId);
  const auto key = KeyWords(keyValue);
  PackageHeader header;
  header.Key = keyValue;
  header.ProviderKey.Set(contents.ProviderKey);
  header.MemberCount = static_cast<std::uint32_t>(contents.Members.size());
  header.Model = contents.Model;
  header.Date.Set(DateText(contents.Created));
  header.Unlock = contents.Unlock ? 1 : 0;
  header.Audio = contents.Audio;
  auto plain = EncodePackageHeader(header);
  CipherBuffer(plain.data(), plain.size(), key.low, key.high, CipherDirection::Encipher);

  // Every member is opened first: the package's layout follows from their
  // lengths, and then all of it can be filled in at once.
  std::vector<FileStream> members;
  members.reserve(contents.Members.size());
  std::vector<CipherRegion> regions;
  std::vector<Block256> entries;
  std::uint64_t size = kPackageHeaderSize;
  for (const auto& path : contents.Members) {
    members.push_back(FileStream::OpenForRead(path));
    const auto length = members.back().IsOpen() ? members.back().Size() : std::nullopt;
    if (!length) return PackageStatus::ErrorAccessingFile;
    // The entry header holds a 32-bit length; a larger member cannot be stored.
    if (*length > std::numeric_limits<std::uint32_t>::max()) return PackageStatus::InvalidFileLength;
    entries.push_back(EncodeEntryHeader(static_cast<std::uint32_t>(*length), MemberName(path)));
    CipherBuffer(entries.back().data(), kEntryHeaderSize, key.low, key.high, CipherDirection::Encipher);
    regions.push_back({&members.back(), *length, size + kEntryHeaderSize});
    size += kEntryHeaderSize + CipheredLength(*length);
  }

  // The headers go first, so the members' pieces fill the file front to back
  // around them.
  if (out.WriteAt(0, plain) != plain.size()) return PackageStatus::ErrorWritingFile;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (out.WriteAt(regions[i].packageOffset - kEntryHeaderSize, entries[i]) != kEntryHeaderSize) {
      return PackageStatus::ErrorWritingFile;
    }
  }
  const CipherRegionsResult result =
      CipherRegions(out, regions, key.low, key.high, CipherDirection::Encipher, progress);
  if (result.status != PackageStatus::Ok) return result.status;

  std::uint16_t crc = Crc16Update(kCrc16Start, plain);
  for (std::size_t i = 0; i < regions.size(); ++i) {
    crc = Crc16Update(crc, entries[i]);
    crc = Crc16Combine(crc, result.crcs[i], CipheredLength(regions[i].plainLength));
  }
  std::uint8_t stored[2];
  WriteBE16(stored, crc);
  return out.WriteAt(size, stored) == sizeof stored ? PackageStatus::Ok : PackageStatus::ErrorWritingFile;
}

struct MemberLayout {
  EntryHeader entry;
  Block256 raw;  // as stored, for the checksum
  std::uint64_t contentOffset;
};

// Reads the entry headers in order. Stops at the first that is unreadable,
// names a file outside the folder, or claims more than the file holds.
PackageStatus WalkEntries(FileStream& in, std::uint32_t count, std::uint64_t covered,
                          CipherKeyWords key, const std::filesystem::path& destination,
                          const TraceLog& trace, std::vector<MemberLayout>& members) {
  std::uint64_t offset = kPackageHeaderSize;
  for (std::uint32_t i = 0; i < count; ++i) {
    MemberLayout member;
    if (in.ReadAt(offset, member.raw) != kEntryHeaderSize) return PackageStatus::ErrorReadingFile;
    Block256 plain = member.raw;
    CipherBuffer(plain.data(), plain.size(), key.low, key.high, CipherDirection::Decipher);
    member.entry = DecodeEntryHeader(plain);
    trace.Line("Copying File: %s\n", (destination / member.entry.Name).c_str());
    // A name with a folder part could land outside the destination.
    if (!IsPlainFileName(member.entry.Name)) return PackageStatus::UpdateFileNotValid;
    member.contentOffset = offset + kEntryHeaderSize;
    offset = member.contentOffset + CipheredLength(member.entry.Length);
    if (offset > covered) return PackageStatus::InvalidFileLength;
    members.push_back(std::move(member));
  }
  return offset == covered ? PackageStatus::Ok : PackageStatus::InvalidFileLength;
}

// The checksum of the first `covered` bytes, read straight through.
std::optional<std::uint16_t> ChecksumOf(FileStream& in, std::uint64_t covered) {
  std::vector<std::uint8_t> buffer(std::size_t{4} << 20);
  std::uint16_t crc = kCrc16Start;
  for (std::uint64_t at = 0; at < covered;) {
    const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), covered - at));
    if (in.ReadAt(at, std::span(buffer.data(), piece)) != piece) return std::nullopt;
    crc = Crc16Update(crc, buffer.data(), piece);
    at += piece;
  }
  return crc;
}

// Moves the unpacked members into the destination, after emptying it, and
// leaves the marker of a finished update.
PackageStatus CommitUnpacked(const PrivateFolder& staging, const std::filesystem::path& destination,
                             const PackageHeader& header, std::uint16_t storedCrc) {
  ClearFolderFiles(destination);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(staging.Path(), error)) {
    std::filesystem::rename(entry.path(), destination / entry.path().filename(), error);
    if (error) return PackageStatus::ErrorWritingFile;
  }
  if (error) return PackageStatus::ErrorReadingFile;
  std::uint8_t marker[11];
  std::memcpy(marker, header.Date.bytes.data(), 9);
  WriteBE16(marker + 9, storedCrc);
  FileStream file = FileStream::CreateForWrite(destination / "update.bin");
  const bool written = file.IsOpen() && file.Write(marker) == sizeof marker;
  return file.Close() && written ? PackageStatus::Ok : PackageStatus::ErrorWritingFile;
}

// Deciphers one member into memory while only verifying.
void Extract(FileStream& in, const std::vector<MemberLayout>& members, const std::string& name,
             CipherKeyWords key, PackageReadResult& result) {
  for (const MemberLayout& member : members) {
    if (member.entry.Name != name || member.entry.Length > kMaxExtractedMember) continue;
    std::vector<std::uint8_t> bytes(CipheredLength(member.entry.Length));
    if (in.ReadAt(member.contentOffset, bytes) != bytes.size()) return;
    CipherBuffer(bytes.data(), bytes.size(), key.low, key.high, CipherDirection::Decipher);
    bytes.resize(member.entry.Length);
    result.Extracted = std::move(bytes);
    result.HasExtracted = true;
    return;
  }
}

}  // namespace

std::uint64_t PackageSize(const std::vector<std::uint64_t>& memberLengths) {
  std::uint64_t size = kPackageHeaderSize + 2;
  for (const std::uint64_t length : memberLengths) size += kEntryHeaderSize + CipheredLength(length);
  return size;
}

PackageStatus WritePackage(const std::filesystem::path& packagePath, const PackageContents& contents,
                           Progress& progress) {
  ReplacingFile out(packagePath);
  if (!out.IsOpen()) return PackageStatus::ErrorAccessingFile;
  PackageStatus status;
  try {
    status = WriteBody(out.Stream(), contents, progress);
  } catch (const std::bad_alloc&) {
    status = PackageStatus::MemoryAllocationError;
  }
  if (status == PackageStatus::Ok && !out.Commit()) status = PackageStatus::ErrorWritingFile;
  return status;
}

namespace {

PackageStatus ReadBody(FileStream& in, std::uint64_t size, const std::filesystem::path& packagePath,
                       const std::filesystem::path& destination, const PackageReadOptions& options,
                       PackageReadResult& result, Progress& progress, const TraceLog& trace) {
  Block256 raw;
  if (in.ReadAt(0, raw) != raw.size()) return PackageStatus::ErrorReadingFile;
  const auto key = KeyWords(PackageKeyFromFileName(packagePath.filename().string()).value_or(0));
  Block256 plain = raw;
  CipherBuffer(plain.data(), plain.size(), key.low, key.high, CipherDirection::Decipher);
  const auto header = DecodePackageHeader(plain);
  if (!header) return PackageStatus::UpdateFileNotValid;
  result.Header = *header;
  result.Header.ProviderKey = {};
  result.HeaderRead = true;
  result.HasProviderKey = header->ProviderKey.View() != kAllZeroKey;

  const FixedText<17> assigned(options.AssignedProviderKey);
  const bool allowed = !result.HasProviderKey ||
                       (header->Key == options.DeviceKey && header->ProviderKey == assigned);
  if (!allowed) return PackageStatus::InvalidAuthorization;
  result.Header.ProviderKey = header->ProviderKey;
  trace.Line("Valid CRV Security...\n");

  std::uint8_t stored[2];
  if (in.ReadAt(size - 2, stored) != 2) return PackageStatus::ErrorReadingFile;
  const std::uint16_t storedCrc = ReadBE16(stored);
  const std::uint64_t covered = size - 2;
  trace.Line("Verifying CRC...\n");
  trace.Line("Starting Update...\n");

  std::vector<MemberLayout> members;
  const PackageStatus layout =
      WalkEntries(in, header->MemberCount, covered, key, destination, trace, members);
  for (const auto& member : members) result.Members.push_back(member.entry);

  // Members wait in a private folder inside the destination until the whole
  // package has proved sound.
  std::optional<PrivateFolder> staging;
  std::error_code ignored;
  if (!options.VerifyOnly) {
    std::filesystem::create_directories(destination, ignored);
    staging.emplace(destination, kUnpackingFolderPrefix);
    if (!staging->Exists()) return PackageStatus::ErrorAccessingFile;
  }
  // A later member of the same name replaces an earlier one, so only the
  // last of each name is written; the others are only checksummed.
  std::map<std::string, std::size_t> lastOfName;
  for (std::size_t i = 0; i < members.size(); ++i) lastOfName[members[i].entry.Name] = i;
  std::vector<FileStream> files;
  files.reserve(members.size());
  std::vector<CipherRegion> regions;
  PackageStatus creation = PackageStatus::Ok;
  for (std::size_t i = 0; i < members.size(); ++i) {
    FileStream* target = nullptr;
    if (staging && lastOfName[members[i].entry.Name] == i) {
      files.push_back(FileStream::CreateForWrite(staging->Path() / members[i].entry.Name));
      if (!files.back().IsOpen()) {
        creation = PackageStatus::ErrorAccessingFile;
        break;
      }
      target = &files.back();
    }
    regions.push_back({target, members[i].entry.Length, members[i].contentOffset});
  }
  const CipherRegionsResult unpacked =
      CipherRegions(in, regions, key.low, key.high, CipherDirection::Decipher, progress);
  for (FileStream& file : files) {
    if (!file.Close() && creation == PackageStatus::Ok) creation = PackageStatus::ErrorWritingFile;
  }

  // The checksum decides first: a damaged file is reported as damaged, not as
  // one of its symptoms. When the members covered the whole file their
  // pieces' checksums make up the file's; otherwise it is read once more.
  std::optional<std::uint16_t> crc;
  if (layout == PackageStatus::Ok && creation == PackageStatus::Ok &&
      unpacked.status == PackageStatus::Ok) {
    crc = Crc16Update(kCrc16Start, raw);
    for (std::size_t i = 0; i < members.size(); ++i) {
      crc = Crc16Update(*crc, members[i].raw);
      crc = Crc16Combine(*crc, unpacked.crcs[i], CipheredLength(members[i].entry.Length));
    }
  } else {
    crc = ChecksumOf(in, covered);
  }
  if (!crc) return PackageStatus::ErrorReadingFile;
  if (*crc != storedCrc) return PackageStatus::FileCrcError;

  // Otherwise the first member that failed, in the order they stand.
  PackageStatus status = unpacked.status;
  if (status == PackageStatus::Ok) status = creation;
  if (status == PackageStatus::Ok) status = layout;
  if (status == PackageStatus::Ok && staging) {
    status = CommitUnpacked(*staging, destination, *header, storedCrc);
  }
  if (status != PackageStatus::Ok) {
    if (!options.VerifyOnly) ClearFolderFiles(destination);
    trace.Line("Update Error...\n");
    return status;
  }
  if (options.VerifyOnly && !options.ExtractMember.empty()) {
    Extract(in, members, options.ExtractMember, key, result);
  }
  trace.Line("Update Success...\n");
  return PackageStatus::Ok;
}

}  // namespace

PackageStatus ReadPackage(const std::filesystem::path& packagePath,
                          const std::filesystem::path& destination, const PackageReadOptions& options,
                          PackageReadResult& result, Progress& progress, const TraceLog& trace) {
  result = {};
  trace.Line("Update file found...\n");
  FileStream in = FileStream::OpenForRead(packagePath);
  const auto size = in.IsOpen() ? in.Size() : std::nullopt;
  if (!size) return PackageStatus::ErrorAccessingFile;
  if (*size < kPackageHeaderSize) return PackageStatus::ErrorReadingFile;
  try {
    return ReadBody(in, *size, packagePath, destination, options, result, progress, trace);
  } catch (const std::bad_alloc&) {
    return PackageStatus::MemoryAllocationError;
  }
}

}  // namespace corvane
