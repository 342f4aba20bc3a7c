#pragma once
// Helpers the test files share: random bytes, a CRC-16 written apart from the
// code under test, counting a folder's entries, and the records most tests
// start from.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "channel/ChannelConfig.h"
#include "channel/MediaList.h"
#include "session/SessionFolders.h"

namespace corvane::test {

inline std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

// CRC-16/CCITT-FALSE bit by bit.
inline std::uint16_t BitwiseCrc16(const std::uint8_t* data, std::size_t size,
                                  unsigned crc = 0xFFFF) {
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= unsigned{data[i]} << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) : (crc << 1);
    crc &= 0xFFFFu;
  }
  return static_cast<std::uint16_t>(crc);
}

// Files and folders directly inside, so a test can see nothing was left behind.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A channel as the editor starts one: factory settings, empty all-day lists.
inline ChannelConfig FreshChannel() {
  ChannelConfig channel;
  channel.ResetSettings();
  channel.ResetPlaylists();
  return channel;
}

// A list's rows as the operator reads them, markers and all.
inline std::vector<std::string> Rows(const MediaList& list) {
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < list.RowCount(); ++i) rows.emplace_back(list.Row(i));
  return rows;
}

// Session folders inside data, with the temporary folder made.
inline SessionFolders FoldersIn(const std::filesystem::path& data) {
  SessionFolders folders;
  folders.ApplicationFolder = data;
  folders.TempFolder = (data / "temp").string() + "/";
  folders.ProgramFolder = data / "program";
  folders.SilentFile = folders.ProgramFolder / "null.wav";
  std::filesystem::create_directories(folders.TempFolder);
  return folders;
}

}  // namespace corvane::test
