#include "audio/MixProduction.h"

#include <algorithm>
#include <new>
#include <optional>
#include <system_error>

#include "audio/AudioDecoder.h"
#include "audio/ProductionFile.h"
#include "audio/ProductionStream.h"
#include "audio/WaveFormat.h"
#include "channel/MediaEntry.h"
#include "common/ByteStream.h"
#include "common/FileNames.h"

namespace corvane {
namespace {

constexpr const char* kProductionTitle = "Audio Production";
constexpr const char* kNoMemoryText = "Not enough free memory available.";
// Room for the header of a list file beyond its samples.
constexpr std::size_t kHeaderAllowance = 1 << 20;

// Reads the file into bytes, no more than maxBytes of it, allocating only
// what the file holds.
bool ReadBounded(const std::filesystem::path& path, std::size_t maxBytes,
                 std::vector<std::uint8_t>& bytes) {
  FileStream file = FileStream::OpenForRead(path);
  if (!file.IsOpen()) return false;
  const auto size = file.Size();
  if (!size) return false;
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(*size, maxBytes)));
  bytes.resize(file.Read(bytes));
  return file.Close();
}

}  // namespace

std::int64_t ProductionCapacity(const ST_AUDIO_TYPE& audio) {
  const std::int64_t rate = std::max(audio.ProjectRate, audio.OutputRate);
  const std::int64_t bytes = (std::int64_t{audio.MaxLength} + 60) * rate * 2;
  return std::clamp<std::int64_t>(bytes, 0, kMaxWaveDataLength);
}

namespace {

// Decodes the entry's file into temp.wav and hands it to read; the codec is
// set back and temp.wav deleted whatever happens.
template <typename Read>
bool WithListFile(const MediaEntry& entry, ST_AUDIO_TYPE& audio, const MixServices& services,
                  Read read) {
  const std::string& name = entry.FileName;
  // A playlist from a damaged or foreign record must not reach outside the folder.
  if (!IsPlainFileName(name)) return false;

  const std::filesystem::path destination = services.workFolder / kListWorkFileName;
  audio.CallCodec.Set("pcm_s16le");
  const ConversionResult result =
      services.converter.Convert(services.mediaFolder / name, destination, audio,
                                 kProcessingFilesCaption, services.progress, {});
  const bool ok = result.Succeeded() && read(destination);
  audio.CallCodec = audio.ProjectCodec;
  std::error_code ignored;
  std::filesystem::remove(destination, ignored);
  return ok;
}

// The header of a list file is read first; this much holds any the
// converter writes.
constexpr std::size_t kHeaderPrefix = 64 * 1024;
// Music goes to the production in pieces that stay in the processor's cache.
constexpr std::size_t kMusicPiece = 256 * 1024;

}  // namespace

bool PrepareListFile(const MediaEntry& entry, ST_AUDIO_TYPE& audio, const MixServices& services,
                     std::vector<std::uint8_t>& input, std::size_t maxBytes) {
  input.clear();
  const bool ok = WithListFile(entry, audio, services, [&](const std::filesystem::path& file) {
    return ReadBounded(file, maxBytes, input);
  });
  if (!ok) input.clear();
  return ok;
}

bool PrepareMusicFile(const MediaEntry& entry, ST_AUDIO_TYPE& audio, const MixServices& services,
                      std::vector<std::uint8_t>& scratch, std::size_t maxBytes,
                      const MusicPlacer& place) {
  return WithListFile(entry, audio, services, [&](const std::filesystem::path& path) {
    FileStream file = FileStream::OpenForRead(path);
    const auto size = file.IsOpen() ? file.Size() : std::nullopt;
    if (!size) return false;
    scratch.resize(static_cast<std::size_t>(std::min<std::uint64_t>(*size, kHeaderPrefix)));
    scratch.resize(file.Read(scratch));
    const auto info = ReadWaveInfo(scratch);
    if (!info) {
      // A header beyond the prefix: the whole file the ordinary way.
      if (scratch.size() == *size || !ReadBounded(path, maxBytes, scratch)) {
        return false;
      }
      const auto samples = WaveSampleBytes(scratch);
      if (!samples) return false;
      place(*samples);
      return true;
    }
    const std::uint64_t present = *size - std::min<std::uint64_t>(*size, info->dataOffset);
    const std::uint64_t length =
        std::min<std::uint64_t>(info->dataLength, present) & ~std::uint64_t{1};
    scratch.resize(kMusicPiece);
    for (std::uint64_t at = 0; at < length;) {
      const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(length - at, kMusicPiece));
      const std::size_t got =
          file.ReadAt(info->dataOffset + at, std::span(scratch.data(), want)) & ~std::size_t{1};
      if (got == 0) break;  // the file ended early: what was there is placed
      place(std::span<const std::uint8_t>(scratch.data(), got));
      at += got;
    }
    return file.Close();
  });
}

bool MixProduction(const ChannelConfig& channel, ST_AUDIO_TYPE& audio, const MixServices& services,
                   std::string& path) {
  path.clear();
  std::error_code ignored;
  std::filesystem::create_directories(services.workFolder, ignored);
  const std::filesystem::path output = services.workFolder / kProductionFileName;
  // An earlier production must not pass for this one if this mix fails.
  std::filesystem::remove(output, ignored);

  const auto tell = [&](const char* text) {
    services.op.Tell(kMixingErrorTitle, text, OperatorIcon::Stop);
    return false;
  };
  const std::int64_t rate = audio.ConversionRate;
  const std::int64_t capacity = ProductionCapacity(audio);
  if (capacity <= 0) return tell(kNoMemoryText);
  if (rate <= 0 || rate > kMaxSampleRate) return tell(kCannotMixText);
  const std::int64_t bytesPerSecond = rate * 2;

  try {
    ProductionFile file;
    if (!file.Open(output, static_cast<std::uint32_t>(rate))) return tell(kCannotMixText);
    ProductionStream stream(bytesPerSecond, capacity, MixSettings::Of(channel), file);
    const std::size_t maxInput = static_cast<std::size_t>(capacity) + kHeaderAllowance;
    // The messages first: the music then streams past them into the file.
    const auto& messages = channel.Messages.entries;
    for (const MediaEntry& entry : messages) {
      DecodedMessage message;
      if (!PrepareListFile(entry, audio, services, message.bytes, maxInput)) {
        return tell(kCannotMixText);
      }
      const auto samples = WaveSampleBytes(message.bytes);
      if (!samples) return tell(kCannotMixText);
      message.offset = static_cast<std::size_t>(samples->data() - message.bytes.data());
      message.length = samples->size();
      stream.AddMessage(std::move(message));
    }
    std::vector<std::uint8_t> scratch;
    const MusicPlacer place = [&](std::span<const std::uint8_t> samples) {
      stream.AddMusic(samples);
    };
    for (const MediaEntry& entry : channel.Music.entries) {
      if (!PrepareMusicFile(entry, audio, services, scratch, maxInput, place))
        return tell(kCannotMixText);
    }
    if (!stream.Finish() || !file.Finish()) return tell(kCannotMixText);
    // A player stops at its capacity anyway; the operator hears where.
    if (stream.WasCut()) {
      services.op.Tell(kProductionTitle,
                       "The production was cut at " +
                           FormatDurationLabel(stream.Length() / bytesPerSecond) +
                           ", the longest the device takes.",
                       OperatorIcon::Information);
    }
  } catch (const std::bad_alloc&) {
    return tell(kNoMemoryText);
  }
  path = output.string();
  return true;
}

}  // namespace corvane
