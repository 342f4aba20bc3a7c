#pragma once
// Whole-file reads and writes for the small fixed-layout settings files.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

// Reads at most maxBytes from the start of the file; nothing when it cannot
// be opened or read. The bound keeps a huge or endless file from being loaded.
std::optional<std::vector<std::uint8_t>> ReadFileUpTo(const std::filesystem::path& path,
                                                       std::size_t maxBytes);

// Writes the bytes to a temporary file beside the target and renames it over
// the target, so an interrupted write leaves the previous file whole. Creates
// the target's folder when missing. False when any step failed.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

}  // namespace corvane
