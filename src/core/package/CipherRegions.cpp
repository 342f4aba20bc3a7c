#include "package/CipherRegions.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <new>

#include "package/Crc16Ccitt.h"
#include "package/cipher/TeaBlocks.h"
#include "package/cipher/WorkerPool.h"

namespace corvane {
namespace {

// Plaintext per piece: a multiple of the format's 1024-byte pieces, small
// enough that a piece stays in the core's cache from read to write.
constexpr std::size_t kPieceBytes = 256 * 1024;
constexpr std::size_t kNoFailure = std::numeric_limits<std::size_t>::max();

struct Piece {
  std::size_t region;
  std::uint64_t plainOffset;
  std::size_t plainSize;
  std::size_t cipherSize;
};

struct Job {
  FileStream& package;
  const std::vector<CipherRegion>& regions;
  std::vector<Piece> pieces;
  std::uint32_t key[4];
  const tea::Kernel& kernel;
  bool encipher;
  Progress& progress;
  std::vector<std::vector<std::uint8_t>> buffers;  // one per part
  std::vector<std::uint16_t> crcs;                 // per piece
  std::vector<PackageStatus> failures;             // per piece
  std::atomic<std::size_t> next{0};
  // Pieces are written strictly in order: `written` is the one whose turn it
  // is. Both change under `turnLock`.
  std::mutex turnLock{};
  std::condition_variable turnChanged{};
  std::size_t written = 0;
  std::atomic<std::size_t> firstFailure{kNoFailure};
};

void NoteFailure(Job& job, std::size_t piece) {
  {
    const std::lock_guard lock(job.turnLock);
    if (piece < job.firstFailure.load()) job.firstFailure.store(piece);
  }
  job.turnChanged.notify_all();
}

void PassTurn(Job& job, std::size_t piece) {
  {
    const std::lock_guard lock(job.turnLock);
    job.written = piece + 1;
  }
  job.turnChanged.notify_all();
}

// Read, transform and checksum a piece in the buffer.
PackageStatus PreparePiece(Job& job, const Piece& piece, std::uint8_t* data, std::uint16_t& crc) {
  const CipherRegion& region = job.regions[piece.region];
  if (job.encipher) {
    if (region.member->ReadAt(piece.plainOffset, std::span(data, piece.plainSize)) != piece.plainSize) {
      return PackageStatus::ErrorReadingFile;
    }
    std::fill(data + piece.plainSize, data + piece.cipherSize, 0);
    job.kernel.encipher(job.key, data, piece.cipherSize / 8);
    crc = Crc16Update(0, data, piece.cipherSize);
    return PackageStatus::Ok;
  }
  const std::uint64_t at = region.packageOffset + piece.plainOffset;
  if (job.package.ReadAt(at, std::span(data, piece.cipherSize)) != piece.cipherSize) {
    return PackageStatus::ErrorReadingFile;
  }
  crc = Crc16Update(0, data, piece.cipherSize);
  if (region.member != nullptr) job.kernel.decipher(job.key, data, piece.cipherSize / 8);
  return PackageStatus::Ok;
}

PackageStatus WritePiece(Job& job, const Piece& piece, const std::uint8_t* data) {
  const CipherRegion& region = job.regions[piece.region];
  if (job.encipher) {
    const std::span bytes(data, piece.cipherSize);
    return job.package.WriteAt(region.packageOffset + piece.plainOffset, bytes) == bytes.size()
               ? PackageStatus::Ok
               : PackageStatus::ErrorWritingFile;
  }
  if (region.member == nullptr) return PackageStatus::Ok;
  const std::span bytes(data, piece.plainSize);
  return region.member->WriteAt(piece.plainOffset, bytes) == bytes.size()
             ? PackageStatus::Ok
             : PackageStatus::ErrorWritingFile;
}

// Waits until every piece before `i` is written; false when one of them failed.
bool AwaitTurn(Job& job, std::size_t i) {
  std::unique_lock lock(job.turnLock);
  job.turnChanged.wait(lock, [&] { return job.written == i || job.firstFailure.load() < i; });
  return job.written == i;
}

void Work(void* context, unsigned part) {
  Job& job = *static_cast<Job*>(context);
  std::uint8_t* buffer = job.buffers[part].data();
  for (;;) {
    const std::size_t i = job.next.fetch_add(1);
    if (i >= job.pieces.size()) break;
    // After a failure only the pieces before it still matter.
    if (job.firstFailure.load() < i) continue;
    const Piece& piece = job.pieces[i];
    PackageStatus status = PreparePiece(job, piece, buffer, job.crcs[i]);
    if (status == PackageStatus::Ok) {
      if (!AwaitTurn(job, i)) continue;
      status = WritePiece(job, piece, buffer);
    }
    job.failures[i] = status;
    if (status != PackageStatus::Ok) {
      NoteFailure(job, i);
      continue;
    }
    PassTurn(job, i);
    // Only the calling thread may talk to the screen.
    if (part == 0) job.progress.SetPosition(static_cast<int>((i + 1) * 100 / job.pieces.size()));
  }
}

// Pieces end where the file being written has its piece boundaries: the
// package's when enciphering, each member's own when deciphering. Writes
// then cover whole pages of the page cache instead of straddling them. The
// cipher's blocks are independent, so any multiple of 8 bytes may end a piece.
std::vector<Piece> CutIntoPieces(const std::vector<CipherRegion>& regions, bool alignToPackage) {
  std::vector<Piece> pieces;
  for (std::size_t r = 0; r < regions.size(); ++r) {
    const std::uint64_t length = regions[r].plainLength;
    const std::uint64_t ciphered = CipheredLength(length);
    const std::uint64_t skew = alignToPackage ? regions[r].packageOffset % kPieceBytes : 0;
    for (std::uint64_t offset = 0; offset < length;) {
      const std::uint64_t room = kPieceBytes - (offset == 0 ? skew : 0);
      const auto plainSize = static_cast<std::size_t>(std::min<std::uint64_t>(room, length - offset));
      const bool last = offset + plainSize == length;
      const auto cipherSize = last ? static_cast<std::size_t>(ciphered - offset) : plainSize;
      pieces.push_back({r, offset, plainSize, cipherSize});
      offset += plainSize;
    }
  }
  return pieces;
}

}  // namespace

CipherRegionsResult CipherRegions(FileStream& package, const std::vector<CipherRegion>& regions,
                                  std::uint32_t keyLow, std::uint32_t keyHigh,
                                  CipherDirection direction, Progress& progress) {
  CipherRegionsResult result;
  result.crcs.assign(regions.size(), 0);
  tea::WorkerPool& pool = tea::WorkerPool::Shared();
  Job job{package,
          regions,
          CutIntoPieces(regions, direction == CipherDirection::Encipher),
          {kCipherKeyWord0, kCipherKeyWord1, keyHigh, keyLow},
          tea::FastestKernel(),
          direction == CipherDirection::Encipher,
          progress,
          {},
          {},
          {}};
  if (job.pieces.empty()) return result;
  const unsigned parts = static_cast<unsigned>(std::min<std::size_t>(pool.Width(), job.pieces.size()));
  try {
    job.buffers.assign(parts, std::vector<std::uint8_t>(kPieceBytes + 8));
  } catch (const std::bad_alloc&) {
    result.status = PackageStatus::MemoryAllocationError;
    return result;
  }
  job.crcs.assign(job.pieces.size(), 0);
  job.failures.assign(job.pieces.size(), PackageStatus::Ok);
  progress.SetRange(0, 100);
  if (parts < 2 || !pool.TryRun(parts, &Work, &job)) Work(&job, 0);

  const std::size_t failed = job.firstFailure.load();
  if (failed != kNoFailure) {
    result.status = job.failures[failed];
    return result;
  }
  for (std::size_t i = 0; i < job.pieces.size(); ++i) {
    const Piece& piece = job.pieces[i];
    result.crcs[piece.region] = Crc16Combine(result.crcs[piece.region], job.crcs[i], piece.cipherSize);
  }
  return result;
}

}  // namespace corvane
