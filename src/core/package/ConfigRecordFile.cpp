#include "package/ConfigRecordFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "channel/MediaEntry.h"
#include "common/ByteOrder.h"
#include "common/ReplacingFile.h"
#include "package/Crc16Ccitt.h"

namespace corvane {
namespace {

constexpr std::size_t kSettingsPartSize = 58;
constexpr std::size_t kPlaylistFixedSize = 67;
constexpr std::size_t kScheduledFixedSize = 137;
constexpr std::size_t kLabelFieldSize = 9;
constexpr std::size_t kLabelLength = kLabelFieldSize - 1;
constexpr std::size_t kMaxCount = 0xFFFF;

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, std::span<const std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// ---------------------------------------------------------------- writing

void PutHeader(Bytes& out, const DeviceConfigRecord& h) {
  std::array<std::uint8_t, kConfigHeaderSize> b{};
  WriteLE16(&b[0], h.FileVersion);
  WriteLE32(&b[2], h.ntp_time);
  WriteLE32(&b[6], h.unnamed_6);
  WriteLE32(&b[10], h.stale_date);
  std::memcpy(&b[14], h.time_zone.bytes.data(), h.time_zone.bytes.size());
  WriteLE32(&b[54], h.device_ip);
  WriteLE32(&b[58], h.device_gateway);
  WriteLE32(&b[62], h.device_netmask);
  WriteLE32(&b[66], h.server_ip);
  WriteLE32(&b[70], h.server_gateway);
  WriteLE32(&b[74], h.server_netmask);
  WriteLE16(&b[78], h.server_port);
  WriteLE32(&b[80], h.authorization_ip);
  WriteLE32(&b[84], h.authorization_gateway);
  WriteLE32(&b[88], h.authorization_netmask);
  WriteLE16(&b[92], h.authorization_port);
  WriteLE32(&b[94], h.update_ntp_time);
  b[98] = h.update_type;
  b[99] = h.update_interval;
  b[100] = h.authorization_type;
  b[101] = h.authorization_interval;
  WriteLE16(&b[102], h.stale_days);
  std::copy(h.reserved.begin(), h.reserved.end(), &b[104]);
  Append(out, b);
}

void PutSettings(Bytes& out, const ChannelConfig& c) {
  std::array<std::uint8_t, kSettingsPartSize> b{};
  b[0] = c.MasterVolume;
  b[1] = c.CrossFadeVolume;
  b[2] = static_cast<std::uint8_t>(c.Treble);
  b[3] = static_cast<std::uint8_t>(c.Bass);
  b[4] = c.LocalVolumeEnabled;
  b[5] = c.ExtAudioEnabled;
  WriteLE16(&b[6], c.Time_Between_Messages);
  b[8] = c.MusicVolume;
  b[9] = c.MessageVolume;
  b[10] = c.Auto_Add_Default_Music;
  WriteLE16(&b[11], c.Time_Between_Repeats);
  b[13] = c.LimitLengthEnabled;
  std::copy(c.reserved.begin(), c.reserved.end(), &b[14]);
  Append(out, b);
}

// Label, length byte, name and its NUL. Whatever the entry holds is
// written within the field sizes.
void PutEntryText(Bytes& out, const MediaEntry& entry) {
  std::array<std::uint8_t, kLabelFieldSize> label{};
  std::memcpy(label.data(), entry.Label.data(), std::min(entry.Label.size(), kLabelLength));
  Append(out, label);

  // The reader stops at the first NUL, so nothing after one would come back.
  std::string_view name = entry.FileName;
  name = name.substr(0, std::min(name.find('\0'), kMaxConfigNameLength));
  out.push_back(static_cast<std::uint8_t>(name.size() + 1));
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(0);
}

void PutPlaylist(Bytes& out, const PlaylistRecord& list) {
  const std::size_t count = std::min(list.entries.size(), kMaxCount);
  std::array<std::uint8_t, kPlaylistFixedSize> b{};
  WriteLE32(&b[0], list.ListStart_time);
  WriteLE32(&b[4], list.ListStop_time);
  WriteLE32(&b[8], list.Media_Duration);
  b[12] = list.PlaylistShuffleEnabled;
  WriteLE32(&b[13], list.ActiveDays);
  std::copy(list.reserved.begin(), list.reserved.end(), &b[17]);
  WriteLE16(&b[65], static_cast<std::uint16_t>(count));
  Append(out, b);
  for (std::size_t i = 0; i < count; ++i) PutEntryText(out, list.entries[i]);
}

void PutScheduled(Bytes& out, const ScheduledRecord& list) {
  const std::size_t count = std::min(list.entries.size(), kMaxCount);
  std::array<std::uint8_t, kScheduledFixedSize> b{};
  WriteLE32(&b[0], list.Media_Duration);
  std::copy(list.reserved.begin(), list.reserved.end(), &b[4]);
  WriteLE16(&b[135], static_cast<std::uint16_t>(count));
  Append(out, b);
  for (std::size_t i = 0; i < count; ++i) {
    PutEntryText(out, list.entries[i]);
    // A record out of step has fewer times or words than entries; the
    // missing ones go out as 0 rather than reading past the array.
    std::array<std::uint8_t, 8> times{};
    WriteLE32(&times[0], i < list.PA_ListStartTime.size() ? list.PA_ListStartTime[i] : 0);
    WriteLE32(&times[4], i < list.PA_ActiveDays.size() ? list.PA_ActiveDays[i] : 0);
    Append(out, times);
  }
}

void PutChannel(Bytes& out, const ChannelConfig& channel) {
  PutSettings(out, channel);
  PutPlaylist(out, channel.Music);
  PutPlaylist(out, channel.Messages);
  PutScheduled(out, channel.Scheduled);
}

// ---------------------------------------------------------------- reading

// Buffers the source so the byte-pair steps over the tail do not become one
// read each, and checksums what the record parts take.
class RecordInput {
 public:
  explicit RecordInput(ByteSource& source) : source_(source) {}

  // Fills all of into, checksumming it; false on a short read.
  bool Take(std::span<std::uint8_t> into) {
    const std::size_t got = TakeUnchecked(into);
    crc_ = Crc16Update(crc_, into.data(), got);
    return got == into.size();
  }
  // Up to into.size() bytes, not checksummed; fewer only at the end.
  std::size_t TakeUnchecked(std::span<std::uint8_t> into) {
    std::size_t done = 0;
    while (done < into.size()) {
      if (start_ == end_ && !Refill()) break;
      const std::size_t n = std::min(into.size() - done, end_ - start_);
      std::memcpy(into.data() + done, buffer_.data() + start_, n);
      start_ += n;
      done += n;
    }
    return done;
  }
  void Checksum(std::span<const std::uint8_t> bytes) { crc_ = Crc16Update(crc_, bytes); }
  std::uint16_t Crc() const { return crc_; }

 private:
  bool Refill() {
    if (ended_) return false;
    start_ = 0;
    end_ = source_.Read(buffer_);
    // A source delivers less than asked only at its end or on an error.
    ended_ = end_ < buffer_.size();
    return end_ > 0;
  }

  ByteSource& source_;
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
  std::uint16_t crc_ = kCrc16Start;
};

// Text up to the first NUL, never beyond the field.
std::string_view TextIn(std::span<const std::uint8_t> field) {
  const char* text = reinterpret_cast<const char*>(field.data());
  return {text, strnlen(text, field.size())};
}

unsigned Byte(std::int8_t value) { return static_cast<std::uint8_t>(value); }

bool ReadHeader(RecordInput& in, const TraceLog& trace, DeviceConfigRecord& h) {
  std::array<std::uint8_t, kConfigHeaderSize> b{};
  if (!in.Take(b)) return false;
  h.FileVersion = ReadLE16(&b[0]);
  h.ntp_time = ReadLE32(&b[2]);
  h.unnamed_6 = ReadLE32(&b[6]);
  h.stale_date = ReadLE32(&b[10]);
  // Kept byte for byte, terminator or not, so it is written back unchanged.
  std::memcpy(h.time_zone.bytes.data(), &b[14], h.time_zone.bytes.size());
  h.device_ip = ReadLE32(&b[54]);
  h.device_gateway = ReadLE32(&b[58]);
  h.device_netmask = ReadLE32(&b[62]);
  h.server_ip = ReadLE32(&b[66]);
  h.server_gateway = ReadLE32(&b[70]);
  h.server_netmask = ReadLE32(&b[74]);
  h.server_port = ReadLE16(&b[78]);
  h.authorization_ip = ReadLE32(&b[80]);
  h.authorization_gateway = ReadLE32(&b[84]);
  h.authorization_netmask = ReadLE32(&b[88]);
  h.authorization_port = ReadLE16(&b[92]);
  h.update_ntp_time = ReadLE32(&b[94]);
  h.update_type = b[98];
  h.update_interval = b[99];
  h.authorization_type = b[100];
  h.authorization_interval = b[101];
  h.stale_days = ReadLE16(&b[102]);
  std::copy_n(&b[104], h.reserved.size(), h.reserved.begin());

  const std::string_view zone = h.time_zone.View();
  trace.Line("FileVersion = %02x\n", unsigned{h.FileVersion});
  trace.Line("ntp_time = %04x\n", h.ntp_time);
  trace.Line("time_zone = %.*s\n", static_cast<int>(zone.size()), zone.data());
  trace.Line("stale_date = %04x\n", h.stale_date);
  trace.Line("device_ip = %04x\n", h.device_ip);
  trace.Line("device_gateway = %04x\n", h.device_gateway);
  trace.Line("device_netmask = %04x\n", h.device_netmask);
  trace.Line("server_ip = %04x\n", h.server_ip);
  trace.Line("server_gateway = %04x\n", h.server_gateway);
  trace.Line("server_netmask = %04x\n", h.server_netmask);
  trace.Line("server_port = %02x\n", unsigned{h.server_port});
  trace.Line("authorization_ip = %04x\n", h.authorization_ip);
  trace.Line("authorization_gateway = %04x\n", h.authorization_gateway);
  trace.Line("authorization_netmask = %04x\n", h.authorization_netmask);
  trace.Line("authorization_port = %02x\n", unsigned{h.authorization_port});
  trace.Line("update_ntp_time = %04x\n", h.update_ntp_time);
  trace.Line("update_type = %01x\n", unsigned{h.update_type});
  trace.Line("update_interval = %01x\n", unsigned{h.update_interval});
  trace.Line("authorization_type = %01x\n", unsigned{h.authorization_type});
  trace.Line("authorization_interval = %01x\n", unsigned{h.authorization_interval});
  trace.Line("stale_days = %02x\n", unsigned{h.stale_days});
  return true;
}

bool ReadSettings(RecordInput& in, const TraceLog& trace, ChannelConfig& c) {
  std::array<std::uint8_t, kSettingsPartSize> b{};
  if (!in.Take(b)) return false;
  c.MasterVolume = b[0];
  c.CrossFadeVolume = b[1];
  c.Treble = static_cast<std::int8_t>(b[2]);
  c.Bass = static_cast<std::int8_t>(b[3]);
  c.LocalVolumeEnabled = b[4];
  c.ExtAudioEnabled = b[5];
  c.Time_Between_Messages = ReadLE16(&b[6]);
  c.MusicVolume = b[8];
  c.MessageVolume = b[9];
  c.Auto_Add_Default_Music = b[10];
  c.Time_Between_Repeats = ReadLE16(&b[11]);
  c.LimitLengthEnabled = b[13];
  std::copy_n(&b[14], c.reserved.size(), c.reserved.begin());

  trace.Line("MasterVolume = %01x\n", unsigned{c.MasterVolume});
  trace.Line("MusicVolume = %01x\n", unsigned{c.MusicVolume});
  trace.Line("MessageVolume = %01x\n", unsigned{c.MessageVolume});
  trace.Line("CrossFadeVolume = %01x\n", unsigned{c.CrossFadeVolume});
  trace.Line("Treble = %01x\n", Byte(c.Treble));
  trace.Line("Bass = %01x\n", Byte(c.Bass));
  trace.Line("LocalVolumeEnabled = %01x\n", unsigned{c.LocalVolumeEnabled});
  trace.Line("ExtAudioEnabled = %01x\n", unsigned{c.ExtAudioEnabled});
  trace.Line("Time_Between_Messages = %02x\n", unsigned{c.Time_Between_Messages});
  trace.Line("Auto_Add_Default_Music = %01x\n", unsigned{c.Auto_Add_Default_Music});
  trace.Line("Time_Between_Repeats = %02x\n", unsigned{c.Time_Between_Repeats});
  trace.Line("LimitLengthEnabled = %01x\n", unsigned{c.LimitLengthEnabled});
  return true;
}

// One entry's label and name, each up to its field's first NUL.
bool ReadEntry(RecordInput& in, MediaEntry& entry) {
  std::array<std::uint8_t, kLabelFieldSize> label{};
  std::uint8_t length = 0;
  std::array<std::uint8_t, 255> name{};
  if (!in.Take(label) || !in.Take({&length, 1}) || !in.Take({name.data(), length})) return false;
  // The ninth label byte and the last name byte are the terminators' places:
  // text stops before them even when a damaged record has no NUL there.
  entry.Label = TextIn(std::span(label).first(kLabelLength));
  entry.FileName =
      TextIn(std::span(name).first(std::min<std::size_t>(length, kMaxConfigNameLength)));
  return true;
}

bool ReadPlaylist(RecordInput& in, const TraceLog& trace, PlaylistRecord& list, bool& valid) {
  std::array<std::uint8_t, kPlaylistFixedSize> b{};
  if (!in.Take(b)) return false;
  list.ListStart_time = ReadLE32(&b[0]);
  list.ListStop_time = ReadLE32(&b[4]);
  list.Media_Duration = ReadLE32(&b[8]);
  list.PlaylistShuffleEnabled = b[12];
  list.ActiveDays = ReadLE32(&b[13]);
  std::copy_n(&b[17], list.reserved.size(), list.reserved.begin());
  const std::uint16_t count = ReadLE16(&b[65]);

  trace.Line("ListStart_time = %04x\n", list.ListStart_time);
  trace.Line("ListStop_time = %04x\n", list.ListStop_time);
  trace.Line("Media_Duration = %04x\n", list.Media_Duration);
  trace.Line("PlaylistShuffleEnabled = %01x\n", unsigned{list.PlaylistShuffleEnabled});
  trace.Line("ActiveDays = %04x\n", list.ActiveDays);
  trace.Line("FileCount = %02x\n", unsigned{count});
  // The player refuses a longer list and does not read its entries; the
  // bytes that follow are then taken as the next block, as it does.
  if (count > kMaxConfigListEntries) {
    valid = false;
    return true;
  }
  list.entries.clear();
  for (std::size_t i = 0; i < count; ++i) {
    MediaEntry entry;
    if (!ReadEntry(in, entry)) return false;
    list.entries.push_back(std::move(entry));
  }
  return true;
}

bool ReadScheduled(RecordInput& in, const TraceLog& trace, ScheduledRecord& list) {
  std::array<std::uint8_t, kScheduledFixedSize> b{};
  if (!in.Take(b)) return false;
  list.Media_Duration = ReadLE32(&b[0]);
  std::copy_n(&b[4], list.reserved.size(), list.reserved.begin());
  const std::uint16_t stored = ReadLE16(&b[135]);

  trace.Line("Media_Duration = %04x\n", list.Media_Duration);
  trace.Line("FileCount = %02x\n", unsigned{stored});
  // Unlike the other two lists, a longer scheduled list is read in part.
  const std::size_t count = std::min<std::size_t>(stored, kMaxConfigListEntries);
  list.entries.clear();
  list.PA_ListStartTime.clear();
  list.PA_ActiveDays.clear();
  for (std::size_t i = 0; i < count; ++i) {
    MediaEntry entry;
    std::array<std::uint8_t, 8> times{};
    if (!ReadEntry(in, entry) || !in.Take(times)) return false;
    list.AddEntry(std::move(entry), ReadLE32(&times[0]), ReadLE32(&times[4]));
  }
  return true;
}

bool ReadChannel(RecordInput& in, const TraceLog& trace, ChannelConfig& channel, bool& valid) {
  return ReadSettings(in, trace, channel) && ReadPlaylist(in, trace, channel.Music, valid) &&
         ReadPlaylist(in, trace, channel.Messages, valid) &&
         ReadScheduled(in, trace, channel.Scheduled);
}

bool EndsEarly(const TraceLog& trace) {
  trace.Line("Unexpected end of file.\n");
  trace.Line("File Corrupt.\n");
  return false;
}

// Parses into fresh records and hands them over only when valid, so a
// damaged record never leaves the caller's channels half replaced.
bool ParseRecord(ByteSource& source, const TraceLog& trace, DeviceConfigRecord& header,
                 ChannelConfig& channel1, ChannelConfig& channel2) {
  RecordInput in(source);
  DeviceConfigRecord readHeader;
  std::array<ChannelConfig, 2> channels;
  if (!ReadHeader(in, trace, readHeader)) return EndsEarly(trace);
  bool channelsValid = true;
  for (ChannelConfig& channel : channels) {
    if (!ReadChannel(in, trace, channel, channelsValid)) return EndsEarly(trace);
  }

  // The stored checksum is the last complete byte pair of the file; every
  // pair before it, trailing ones included, counts towards the computed one.
  // A lone byte at the very end completes no pair and is passed over.
  std::array<std::uint8_t, 2> candidate{};
  if (in.TakeUnchecked(candidate) != candidate.size()) return EndsEarly(trace);
  trace.Line("Checking CRC...\n");
  for (;;) {
    std::array<std::uint8_t, 2> next{};
    if (in.TakeUnchecked(next) != next.size()) break;
    in.Checksum(candidate);
    candidate = next;
  }
  const bool valid = readHeader.FileVersion <= kMaxConfigFileVersion &&
                     ReadLE16(candidate.data()) == in.Crc() && channelsValid;
  trace.Line(valid ? "File Valid.\n" : "File Corrupt.\n");
  if (!valid) return false;

  header = readHeader;
  channel1 = std::move(channels[0]);
  channel2 = std::move(channels[1]);
  return true;
}

}  // namespace

bool WriteConfigRecord(ByteSink& sink, const DeviceConfigRecord& header,
                       const ChannelConfig& channel1, const ChannelConfig& channel2) noexcept {
  try {
    Bytes out;
    out.reserve(kEmptyConfigRecordSize);
    PutHeader(out, header);
    PutChannel(out, channel1);
    PutChannel(out, channel2);
    std::array<std::uint8_t, 2> checksum{};
    WriteLE16(checksum.data(), Crc16Update(kCrc16Start, out));
    Append(out, checksum);
    return sink.Write(out) == out.size();
  } catch (...) {
    return false;
  }
}

bool WriteConfigRecordFile(const std::filesystem::path& path, const DeviceConfigRecord& header,
                           const ChannelConfig& channel1, const ChannelConfig& channel2) noexcept {
  ReplacingFile file(path);
  return file.IsOpen() && WriteConfigRecord(file.Stream(), header, channel1, channel2) &&
         file.Commit();
}

bool ReadConfigRecord(ByteSource& source, std::string_view name, DeviceConfigRecord& header,
                      ChannelConfig& channel1, ChannelConfig& channel2,
                      const TraceLog& trace) noexcept {
  try {
    trace.Line("Loading Config: %.*s\n", static_cast<int>(name.size()), name.data());
    return ParseRecord(source, trace, header, channel1, channel2);
  } catch (...) {
    // Only running out of memory gets here; the records are still untouched.
    trace.Line("File Corrupt.\n");
    return false;
  }
}

bool ReadConfigRecord(std::span<const std::uint8_t> bytes, std::string_view name,
                      DeviceConfigRecord& header, ChannelConfig& channel1, ChannelConfig& channel2,
                      const TraceLog& trace) noexcept {
  // An empty span may carry a null pointer, which the memory source would
  // hand to memcpy; give it a real (empty) place to read from instead.
  static constexpr std::uint8_t kNothing = 0;
  MemorySource source(bytes.empty() ? std::span<const std::uint8_t>(&kNothing, 0) : bytes);
  return ReadConfigRecord(source, name, header, channel1, channel2, trace);
}

bool ReadConfigRecordFile(const std::filesystem::path& path, DeviceConfigRecord& header,
                          ChannelConfig& channel1, ChannelConfig& channel2,
                          const TraceLog& trace) noexcept {
  FileStream file = FileStream::OpenForRead(path);
  if (!file.IsOpen()) {
    trace.Line("Loading Config: %s\n", path.c_str());
    trace.Line("Cannot open the file.\n");
    return false;
  }
  return ReadConfigRecord(file, path.native(), header, channel1, channel2, trace);
}

}  // namespace corvane
