#include "package/MediaPackage.h"

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <limits>
#include <new>
#include <system_error>

#include "common/ByteOrder.h"
#include "package/ChecksumStreams.h"
#include "package/PackageCipher.h"
#include "session/SessionFolders.h"

namespace corvane {
namespace {

// Large pieces let the cipher use every core; the bytes are the same as with
// the format's 1024-byte pieces.
constexpr std::size_t kWorkBufferSize = (std::size_t{4} << 20) + 8;
constexpr const char* kNoKey = "0000000000000000";

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

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = ".";
  name += target.filename().string();
  name += ".partial-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  return target.parent_path() / name;
}

std::string DateText(const LocalDateTime& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.Year, date.Month, date.Day);
  return text;
}

PackageStatus WriteBody(FileStream& out, const PackageContents& contents,
                        std::span<std::uint8_t> work, Progress& progress) {
  const auto key = KeyWords(HexKeyFromText(contents.DeviceId));
  PackageHeader header;
  header.Key = HexKeyFromText(contents.DeviceId);
  header.ProviderKey.Set(contents.ProviderKey);
  header.MemberCount = static_cast<std::uint32_t>(contents.Members.size());
  header.Model = contents.Model;
  header.Date.Set(DateText(contents.Created));
  header.Unlock = contents.Unlock ? 1 : 0;
  header.Audio = contents.Audio;
  auto plain = EncodePackageHeader(header);
  CipherBuffer(plain.data(), plain.size(), key.low, key.high, CipherDirection::Encipher);

  ChecksummingSink sink(out);
  if (sink.Write(plain) != plain.size()) return PackageStatus::ErrorWritingFile;

  progress.SetRange(0, static_cast<int>(contents.Members.size()));
  for (std::size_t i = 0; i < contents.Members.size(); ++i) {
    FileStream member = FileStream::OpenForRead(contents.Members[i]);
    const auto length = member.IsOpen() ? member.Size() : std::nullopt;
    if (!length) return PackageStatus::ErrorAccessingFile;
    // The entry header holds a 32-bit length; a larger member cannot be stored.
    if (*length > std::numeric_limits<std::uint32_t>::max()) return PackageStatus::InvalidFileLength;
    auto entry = EncodeEntryHeader(static_cast<std::uint32_t>(*length), MemberName(contents.Members[i]));
    CipherBuffer(entry.data(), entry.size(), key.low, key.high, CipherDirection::Encipher);
    if (sink.Write(entry) != entry.size()) return PackageStatus::ErrorWritingFile;
    const PackageStatus status =
        CipherStream(member, sink, *length, work, key.low, key.high, CipherDirection::Encipher);
    if (status != PackageStatus::Ok) return status;
    progress.SetPosition(static_cast<int>(i + 1));
  }

  std::uint8_t trailer[2];
  WriteBE16(trailer, sink.Crc());
  return out.Write(trailer) == 2 ? PackageStatus::Ok : PackageStatus::ErrorWritingFile;
}

// Reads and checksums `count` bytes without keeping them.
bool Skip(ByteSource& source, std::uint64_t count, std::span<std::uint8_t> work) {
  while (count > 0) {
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(count, work.size()));
    if (source.Read(work.first(piece)) != piece) return false;
    count -= piece;
  }
  return true;
}

// A private folder inside the destination that members are unpacked into
// until the whole package has proved sound.
class StagingFolder {
 public:
  explicit StagingFolder(const std::filesystem::path& destination) {
    std::string pattern = (destination / ".unpacking-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;
  ~StagingFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  bool Exists() const { return !path_.empty(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct UnpackState {
  ChecksummingSource& body;
  std::span<std::uint8_t> work;
  CipherKeyWords key;
  const std::filesystem::path& destination;
  const StagingFolder* staging;  // null when only verifying
  const std::string& extract;    // a member to keep while verifying
  const TraceLog& trace;
};

PackageStatus UnpackMembers(UnpackState& s, std::uint32_t count, std::int64_t bytesLeft,
                            PackageReadResult& result, Progress& progress) {
  progress.SetRange(0, static_cast<int>(std::min<std::uint32_t>(count, 1u << 30)));
  for (std::uint32_t i = 0; i < count; ++i) {
    std::array<std::uint8_t, kEntryHeaderSize> plain;
    if (s.body.Read(plain) != plain.size()) return PackageStatus::ErrorReadingFile;
    CipherBuffer(plain.data(), plain.size(), s.key.low, s.key.high, CipherDirection::Decipher);
    EntryHeader entry = DecodeEntryHeader(plain);
    s.trace.Line("Copying File: %s\n", (s.destination / entry.Name).c_str());
    // A name with a folder part could land outside the destination.
    if (!IsSafeMemberName(entry.Name)) return PackageStatus::UpdateFileNotValid;
    bytesLeft -= static_cast<std::int64_t>(kEntryHeaderSize + CipheredLength(entry.Length));
    if (bytesLeft < 0) return PackageStatus::InvalidFileLength;
    if (s.staging == nullptr && !result.HasExtracted && entry.Name == s.extract &&
        entry.Length <= kMaxExtractedMember) {
      MemorySink kept;
      const PackageStatus status = CipherStream(s.body, kept, entry.Length, s.work, s.key.low,
                                                s.key.high, CipherDirection::Decipher);
      if (status != PackageStatus::Ok) return status;
      result.Extracted = std::move(kept.bytes);
      result.HasExtracted = true;
    } else if (s.staging == nullptr) {
      if (!Skip(s.body, CipheredLength(entry.Length), s.work)) return PackageStatus::ErrorReadingFile;
    } else {
      FileStream file = FileStream::CreateForWrite(s.staging->Path() / entry.Name);
      if (!file.IsOpen()) return PackageStatus::ErrorAccessingFile;
      const PackageStatus status = CipherStream(s.body, file, entry.Length, s.work, s.key.low,
                                                s.key.high, CipherDirection::Decipher);
      if (status != PackageStatus::Ok) return status;
      if (!file.Close()) return PackageStatus::ErrorWritingFile;
    }
    result.Members.push_back(std::move(entry));
    progress.SetPosition(static_cast<int>(i + 1));
  }
  return bytesLeft == 0 ? PackageStatus::Ok : PackageStatus::InvalidFileLength;
}

// Moves the unpacked members into the destination, after emptying it, and
// leaves the marker of a finished update.
PackageStatus CommitUnpacked(const StagingFolder& staging, const std::filesystem::path& destination,
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

}  // namespace

std::uint64_t PackageSize(const std::vector<std::uint64_t>& memberLengths) {
  std::uint64_t size = kPackageHeaderSize + 2;
  for (const std::uint64_t length : memberLengths) size += kEntryHeaderSize + CipheredLength(length);
  return size;
}

PackageStatus WritePackage(const std::filesystem::path& packagePath, const PackageContents& contents,
                           Progress& progress) {
  std::vector<std::uint8_t> work;
  try {
    work.resize(kWorkBufferSize);
  } catch (const std::bad_alloc&) {
    return PackageStatus::MemoryAllocationError;
  }
  const std::filesystem::path temporary = TemporaryBeside(packagePath);
  FileStream out = FileStream::CreateForWrite(temporary);
  if (!out.IsOpen()) return PackageStatus::ErrorAccessingFile;

  PackageStatus status = WriteBody(out, contents, work, progress);
  if (!out.Close() && status == PackageStatus::Ok) status = PackageStatus::ErrorWritingFile;
  std::error_code error;
  if (status == PackageStatus::Ok) {
    std::filesystem::rename(temporary, packagePath, error);
    if (error) status = PackageStatus::ErrorWritingFile;
  }
  if (status != PackageStatus::Ok) std::filesystem::remove(temporary, error);
  return status;
}

PackageStatus ReadPackage(const std::filesystem::path& packagePath,
                          const std::filesystem::path& destination, const PackageReadOptions& options,
                          PackageReadResult& result, Progress& progress, const TraceLog& trace) {
  result = {};
  trace.Line("Update file found...\n");
  FileStream in = FileStream::OpenForRead(packagePath);
  const auto size = in.IsOpen() ? in.Size() : std::nullopt;
  if (!size) return PackageStatus::ErrorAccessingFile;
  std::vector<std::uint8_t> work;
  try {
    work.resize(kWorkBufferSize);
  } catch (const std::bad_alloc&) {
    return PackageStatus::MemoryAllocationError;
  }

  std::array<std::uint8_t, kPackageHeaderSize> raw;
  if (in.Read(raw) != raw.size()) return PackageStatus::ErrorReadingFile;
  const auto key = KeyWords(PackageKeyFromFileName(packagePath.filename().string()).value_or(0));
  auto plain = raw;
  CipherBuffer(plain.data(), plain.size(), key.low, key.high, CipherDirection::Decipher);
  const auto header = DecodePackageHeader(plain);
  if (!header) return PackageStatus::UpdateFileNotValid;
  result.Header = *header;
  result.HeaderRead = true;

  const FixedText<17> assigned(options.AssignedProviderKey);
  const bool allowed = header->ProviderKey.View() == kNoKey ||
                       (header->Key == options.DeviceKey && header->ProviderKey == assigned);
  if (!allowed) return PackageStatus::InvalidAuthorization;
  trace.Line("Valid CRV Security...\n");

  std::uint8_t stored[2];
  if (in.ReadAt(*size - 2, stored) != 2) return PackageStatus::ErrorReadingFile;
  const std::uint16_t storedCrc = ReadBE16(stored);
  trace.Line("Verifying CRC...\n");
  // The checksum covers everything before the last two bytes, the header too.
  const std::uint64_t covered = *size - 2;
  const std::uint64_t inHeader = std::min<std::uint64_t>(covered, kPackageHeaderSize);
  ChecksummingSource body(in, covered - inHeader, Crc16Update(kCrc16Start, raw.data(), inHeader));

  trace.Line("Starting Update...\n");
  std::error_code ignored;
  if (!options.VerifyOnly) std::filesystem::create_directories(destination, ignored);
  std::optional<StagingFolder> staging;
  if (!options.VerifyOnly) {
    staging.emplace(destination);
    if (!staging->Exists()) return PackageStatus::ErrorAccessingFile;
  }
  UnpackState state{body,        work, key, destination, staging ? &*staging : nullptr,
                    options.ExtractMember, trace};
  PackageStatus status =
      UnpackMembers(state, header->MemberCount, static_cast<std::int64_t>(covered) -
                                                    static_cast<std::int64_t>(kPackageHeaderSize),
                    result, progress);
  // Whatever the members left unread still counts for the checksum, which
  // decides first: a damaged file is reported as damaged, not as its symptom.
  const bool drained = Skip(body, covered - inHeader - body.Position(), work);
  if (body.Crc() != storedCrc) return PackageStatus::FileCrcError;
  if (status == PackageStatus::Ok && !drained) status = PackageStatus::ErrorReadingFile;
  if (status == PackageStatus::Ok && staging) {
    status = CommitUnpacked(*staging, destination, *header, storedCrc);
  }
  if (status != PackageStatus::Ok) {
    if (!options.VerifyOnly) ClearFolderFiles(destination);
    trace.Line("Update Error...\n");
    return status;
  }
  trace.Line("Update Success...\n");
  return PackageStatus::Ok;
}

}  // namespace corvane
