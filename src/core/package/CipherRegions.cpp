#include "package/CipherRegions.h"

#include <algorithm>
#include <atomic>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

#include "package/Crc16Ccitt.h"
#include "package/cipher/TeaBlocks.h"
#include "package/cipher/WorkerPool.h"

namespace corvane {
namespace {

// Plaintext per piece: a multiple of the format's 1024-byte pieces, small
// enough that a piece stays in the core's cache from read to write.
constexpr std::size_t kPieceBytes = 256 * 1024;

enum class PieceState : std::uint8_t { Waiting, Done, Failed, Skipped };

struct Piece {
  std::size_t region;
  std::uint64_t plainOffset;
  std::size_t plainSize;
  std::size_t cipherSize;
};

struct Job {
  FileStream& package;
  std::uint8_t* packageBytes;
  const std::vector<CipherRegion>& regions;
  std::vector<Piece> pieces;
  std::uint32_t key[4];
  const tea::Kernel& kernel;
  bool encipher;
  Progress& progress;
  std::vector<std::vector<std::uint8_t>> buffers;  // one per part
  std::vector<std::uint16_t> crcs;                 // per piece
  std::vector<PieceState> states;                  // per piece
  std::vector<PackageStatus> failures;             // per piece
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> finished{0};
  std::atomic<bool> stop{false};
};

// Makes the mapped pages of a piece present in one call, instead of one
// fault per page in the middle of the read that fills them. Only a hint.
void Prefault(std::uint8_t* data, std::size_t size) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(data) + size;
#ifdef MADV_POPULATE_WRITE
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)begin;
  (void)end;
#endif
}

PackageStatus RunPiece(Job& job, const Piece& piece, std::vector<std::uint8_t>& buffer,
                       std::uint16_t& crc) {
  const CipherRegion& region = job.regions[piece.region];
  const std::uint64_t at = region.packageOffset + piece.plainOffset;
  if (job.encipher) {
    std::uint8_t* data = job.packageBytes + at;
    Prefault(data, piece.cipherSize);
    if (region.member->ReadAt(piece.plainOffset, std::span(data, piece.plainSize)) != piece.plainSize) {
      return PackageStatus::ErrorReadingFile;
    }
    std::fill(data + piece.plainSize, data + piece.cipherSize, 0);
    job.kernel.encipher(job.key, data, piece.cipherSize / 8);
    crc = Crc16Update(0, data, piece.cipherSize);
    return PackageStatus::Ok;
  }
  // A piece without padding lands straight in the member; the last one,
  // longer than what is kept, goes through the buffer.
  std::uint8_t* target = region.memberBytes == nullptr ? nullptr : region.memberBytes + piece.plainOffset;
  std::uint8_t* data = (target != nullptr && piece.cipherSize == piece.plainSize) ? target : buffer.data();
  if (data == target) Prefault(data, piece.cipherSize);
  if (job.package.ReadAt(at, std::span(data, piece.cipherSize)) != piece.cipherSize) {
    return PackageStatus::ErrorReadingFile;
  }
  crc = Crc16Update(0, data, piece.cipherSize);
  if (target == nullptr) return PackageStatus::Ok;
  job.kernel.decipher(job.key, data, piece.cipherSize / 8);
  if (data != target) std::copy_n(data, piece.plainSize, target);
  return PackageStatus::Ok;
}

void Work(void* context, unsigned part) {
  Job& job = *static_cast<Job*>(context);
  for (;;) {
    const std::size_t i = job.next.fetch_add(1);
    if (i >= job.pieces.size()) break;
    // After a failure only the pieces before it still matter.
    if (job.stop.load()) {
      job.states[i] = PieceState::Skipped;
      continue;
    }
    const PackageStatus status = RunPiece(job, job.pieces[i], job.buffers[part], job.crcs[i]);
    job.states[i] = status == PackageStatus::Ok ? PieceState::Done : PieceState::Failed;
    job.failures[i] = status;
    if (status != PackageStatus::Ok) job.stop.store(true);
    const std::size_t finished = job.finished.fetch_add(1) + 1;
    // Only the calling thread may talk to the screen.
    if (part == 0) {
      job.progress.SetPosition(static_cast<int>(finished * 100 / job.pieces.size()));
    }
  }
}

std::vector<Piece> CutIntoPieces(const std::vector<CipherRegion>& regions) {
  std::vector<Piece> pieces;
  for (std::size_t r = 0; r < regions.size(); ++r) {
    const std::uint64_t length = regions[r].plainLength;
    const std::uint64_t ciphered = CipheredLength(length);
    for (std::uint64_t offset = 0; offset < length; offset += kPieceBytes) {
      const auto plainSize = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, length - offset));
      const bool last = offset + plainSize == length;
      const auto cipherSize = last ? static_cast<std::size_t>(ciphered - offset) : plainSize;
      pieces.push_back({r, offset, plainSize, cipherSize});
    }
  }
  return pieces;
}

}  // namespace

CipherRegionsResult CipherRegions(FileStream& package, std::uint8_t* packageBytes,
                                  const std::vector<CipherRegion>& regions, std::uint32_t keyLow,
                                  std::uint32_t keyHigh, CipherDirection direction,
                                  Progress& progress) {
  CipherRegionsResult result;
  result.crcs.assign(regions.size(), 0);
  tea::WorkerPool& pool = tea::WorkerPool::Shared();
  Job job{package,
          packageBytes,
          regions,
          CutIntoPieces(regions),
          {kCipherKeyWord0, kCipherKeyWord1, keyHigh, keyLow},
          tea::FastestKernel(),
          direction == CipherDirection::Encipher,
          progress,
          {},
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
  job.states.assign(job.pieces.size(), PieceState::Waiting);
  job.failures.assign(job.pieces.size(), PackageStatus::Ok);
  progress.SetRange(0, 100);
  if (parts < 2 || !pool.TryRun(parts, &Work, &job)) Work(&job, 0);

  for (std::size_t i = 0; i < job.pieces.size(); ++i) {
    const Piece& piece = job.pieces[i];
    if (job.states[i] != PieceState::Done) {
      // Pieces are taken in order, so the first one not done is the failure.
      result.status = job.failures[i];
      result.failedRegion = piece.region;
      return result;
    }
    result.crcs[piece.region] = Crc16Combine(result.crcs[piece.region], job.crcs[i], piece.cipherSize);
  }
  return result;
}

}  // namespace corvane
