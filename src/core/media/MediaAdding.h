#pragma once
// Adding a file to one of the channel editor's lists. Every file enters the
// same way: refused when it would stand for the default music, reused when a
// file of its name was converted already, converted into the project's codec
// in the temporary folder, checked against the list's capacity and the
// device's room, and listed with the unsaved marker. A file converted but not
// listed never stays behind.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "audio/AudioConversion.h"
#include "channel/ChannelConfig.h"
#include "channel/MediaList.h"
#include "channel/PlayTime.h"
#include "operator/Operator.h"

namespace corvane {

enum class AddOutcome { Continue, Stop };

// Told before each file of a batch: its position (from 1), the batch's size
// and the file.
using AddingFileNotice =
    std::function<void(std::size_t number, std::size_t count, const std::filesystem::path&)>;

// Everything an addition reads and changes.
struct MediaAddition {
  EditedLists lists;
  MediaListKind target;
  const ChannelConfig& otherChannel;  // its stored lists also name files
  const ST_AUDIO_TYPE& audio;         // codec, extension and the lists' capacities
  std::filesystem::path tempFolder;
  PlayTimeAccount& account;
  // The figures of the device's room, read at the moment of the check.
  std::function<PlayTimeFigures()> figures;
  AudioConverter& converter;
  Progress& progress;
  Operator& op;
  AddingFileNotice beforeEachFile = nullptr;
  // Where converted files are brought; none keeps their loudness as it is.
  std::optional<LoudnessTarget> loudness = std::nullopt;
};

// One file. `copy` keeps the source's stream as it is (the default music
// some models take as a file); otherwise it is converted.
AddOutcome AddMediaFile(MediaAddition& addition, const std::filesystem::path& source, bool copy);

// Several files in order, up to the first that ends the batch; how many were
// listed.
std::size_t AddMediaFiles(MediaAddition& addition, std::span<const std::filesystem::path> sources);

}  // namespace corvane
