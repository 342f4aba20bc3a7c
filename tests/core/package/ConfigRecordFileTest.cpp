#include "common/FileNames.h"
#include "package/ConfigRecordFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/package/LimitedStreams.h"
#include "package/PackageHeader.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_view_literals;

// Where channel 1's blocks start in a record whose lists before them are empty.
constexpr std::size_t kMusicBlock = 170;
constexpr std::size_t kMusicCount = kMusicBlock + 65;
constexpr std::size_t kMessageCount = kMusicCount + 67;
constexpr std::size_t kScheduledCount = 304 + 135;

// CRC-16/CCITT-FALSE bit by bit, independent of the code under test.
std::uint16_t BitwiseCrc(const std::uint8_t* data, std::size_t size) {
  unsigned crc = 0xFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= unsigned{data[i]} << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000u) ? ((crc << 1) ^ 0x1021u) : (crc << 1);
    crc &= 0xFFFFu;
  }
  return static_cast<std::uint16_t>(crc);
}

// Replaces the last two bytes with the checksum of everything before them.
Bytes Resealed(Bytes record) {
  const std::uint16_t crc = BitwiseCrc(record.data(), record.size() - 2);
  record[record.size() - 2] = static_cast<std::uint8_t>(crc);
  record[record.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
  return record;
}

void PutLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes Slice(const Bytes& bytes, std::size_t at, std::size_t size) {
  return Bytes(bytes.begin() + at, bytes.begin() + at + size);
}

Bytes Written(const DeviceConfigRecord& header, const ChannelConfig& one,
              const ChannelConfig& two) {
  MemorySink sink;
  EXPECT_TRUE(WriteConfigRecord(sink, header, one, two));
  return sink.bytes;
}

ChannelConfig ResetChannel() {
  ChannelConfig channel;
  channel.ResetSettings();
  channel.ResetPlaylists();
  return channel;
}

DeviceConfigRecord FullHeader() {
  DeviceConfigRecord h;
  h.FileVersion = 2;
  h.time_zone.Set("Europe/Berlin");
  h.ntp_time = 0x11223344;
  h.unnamed_6 = 0x55667788;
  h.device_ip = 0xC0A80102;
  h.device_gateway = 0xC0A80101;
  h.device_netmask = 0xFFFFFF00;
  h.server_ip = 0x0A000001;
  h.server_gateway = 0x0A0000FE;
  h.server_netmask = 0xFFFF0000;
  h.authorization_ip = 0x0A000002;
  h.authorization_gateway = 0x0A0000FD;
  h.authorization_netmask = 0xFFFFFFF0;
  h.update_ntp_time = 0x99AABBCC;
  h.stale_date = 0x07E8030F;  // 15 March 2024
  h.server_port = 8080;
  h.authorization_port = 443;
  h.update_type = 3;
  h.update_interval = 7;
  h.authorization_type = 9;
  h.authorization_interval = 12;
  h.stale_days = 30;
  h.reserved = {1, 2, 3, 4, 5, 6, 7, 8};
  return h;
}

// Every field different from a reset channel, and per channel number.
ChannelConfig FullChannel(std::uint8_t n) {
  ChannelConfig c = ResetChannel();
  c.MasterVolume = static_cast<std::uint8_t>(6 + n);
  c.CrossFadeVolume = 4;
  c.Treble = -2;
  c.Bass = static_cast<std::int8_t>(3 - n);
  c.ExtAudioEnabled = 1;
  c.Time_Between_Messages = 5999;
  c.MusicVolume = 7;
  c.MessageVolume = 8;
  c.Time_Between_Repeats = static_cast<std::uint16_t>(300 + n);
  c.LimitLengthEnabled = 1;
  c.reserved.fill(static_cast<std::uint8_t>(0xA0 + n));
  c.Music.ListStart_time = 3600;
  c.Music.ListStop_time = 7200 + n;
  c.Music.Media_Duration = 0x12345678;
  c.Music.PlaylistShuffleEnabled = 1;
  c.Music.ActiveDays = 0x3E;
  c.Music.reserved.fill(static_cast<std::uint8_t>(0xB0 + n));
  c.Music.entries = {{"00:03:25", "song.ogg"}, {"00:04:00", "a | b.ogg"},
                     {"01:00:00", std::string(254, 'x')}};
  c.Messages.Media_Duration = 77;
  c.Messages.reserved[47] = n;
  c.Messages.entries = {{"00:00:12", "hello.wav"}, {"00:00:30", "closed " + std::to_string(n) + ".wav"}};
  c.Scheduled.Media_Duration = 99;
  c.Scheduled.reserved.fill(static_cast<std::uint8_t>(0xC0 + n));
  c.Scheduled.AddEntry(MediaEntry{"00:00:20", "noon.wav"}, 43200, 0x8000007F);
  c.Scheduled.AddEntry(MediaEntry{"00:00:05", "tick.wav"}, 60u * n, 0xDEADBEEF);
  c.Scheduled.AddEntry(MediaEntry{"00:00:09", "bye.wav"}, 86340, 1);
  return c;
}

struct Loaded {
  bool valid = false;
  DeviceConfigRecord header;
  ChannelConfig one;
  ChannelConfig two;
};

// Reads into records that already hold something, to see what a read leaves.
Loaded Load(std::span<const std::uint8_t> bytes) {
  Loaded out;
  out.header.FileVersion = 77;
  out.one.Music.entries = {MediaEntry{"", "before"}};
  out.two.Scheduled.AddEntry({"", "before"}, 1, 2);
  out.valid = ReadConfigRecord(bytes, "test", out.header, out.one, out.two, TraceLog::Silent());
  return out;
}

bool Untouched(const Loaded& loaded) {
  Loaded fresh = Load({});
  return loaded.header == fresh.header && loaded.one == fresh.one && loaded.two == fresh.two;
}

std::string Captured(const std::function<void(const TraceLog&)>& run) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  run(TraceLog(out));
  std::fclose(out);
  std::string result(text, size);
  std::free(text);
  return result;
}

Bytes EmptyRecordWithMusicEntry(const Bytes& entry) {
  Bytes record = Written({}, {}, {});
  record[kMusicCount] = 1;
  record.insert(record.begin() + kMusicCount + 2, entry.begin(), entry.end());
  return Resealed(record);
}

Bytes EntryBytes(std::string_view label9, std::uint8_t length, std::string_view name) {
  Bytes b(label9.begin(), label9.end());
  b.push_back(length);
  b.insert(b.end(), name.begin(), name.end());
  return b;
}

TEST(ConfigRecordWrite, EmptyRecordMatchesGoldenBytes) {
  DeviceConfigRecord header;
  header.FileVersion = 2;
  header.stale_date = 0x07F40201;
  header.time_zone.Set("UTC");
  header.stale_days = 30;
  const Bytes record = Written(header, ResetChannel(), ChannelConfig{});
  ASSERT_EQ(record.size(), kEmptyConfigRecordSize);

  Bytes golden(772, 0);
  golden[0] = 2;
  PutLE(golden, 10, 0x07F40201, 4);
  golden[14] = 'U', golden[15] = 'T', golden[16] = 'C';
  PutLE(golden, 102, 30, 2);
  // Channel 1's factory settings, then both lists open all day every day.
  golden[112] = 5, golden[113] = 2, golden[116] = 1, golden[118] = 20;
  golden[120] = 10, golden[121] = 10, golden[122] = 1;
  for (std::size_t list : {kMusicBlock, kMusicBlock + 67}) {
    PutLE(golden, list + 4, 86399, 4);
    golden[list + 13] = 0x7F;
  }
  PutLE(golden, 770, BitwiseCrc(golden.data(), 770), 2);
  EXPECT_EQ(record, golden);
}

TEST(ConfigRecordWrite, MusicEntryIsLabelLengthAndName) {
  ChannelConfig one;
  one.Music.entries = {MediaEntry{"00:03:25", "song.ogg"}};
  const Bytes record = Written({}, one, {});
  ASSERT_EQ(record.size(), kEmptyConfigRecordSize + 19);
  EXPECT_EQ(record[kMusicCount], 1);
  EXPECT_EQ(Slice(record, kMusicCount + 2, 19), EntryBytes("00:03:25\0"sv, 9, "song.ogg\0"sv));
}

TEST(ConfigRecordWrite, OddLinesStayWithinTheirFields) {
  const std::string longName(300, 'n');
  const struct {
    std::string line;
    Bytes entry;
  } cases[] = {
      {"abc", EntryBytes("\0\0\0\0\0\0\0\0\0"sv, 4, "abc\0"sv)},
      {"", EntryBytes("\0\0\0\0\0\0\0\0\0"sv, 1, "\0"sv)},
      {"00:00:01 | a | b", EntryBytes("00:00:01\0"sv, 6, "a | b\0"sv)},
      {std::string("00:00:01 | ab\0cd"sv), EntryBytes("00:00:01\0"sv, 3, "ab\0"sv)},
      {"00:00:01 | " + longName, EntryBytes("00:00:01\0"sv, 255, longName.substr(0, 254) + '\0')},
  };
  for (const auto& c : cases) {
    ChannelConfig one;
    one.Messages.entries = {SplitEntryLine(c.line)};
    const Bytes record = Written({}, one, {});
    ASSERT_EQ(record.size(), kEmptyConfigRecordSize + c.entry.size()) << c.line;
    EXPECT_EQ(Slice(record, kMessageCount + 2, c.entry.size()), c.entry) << c.line;
  }
}

TEST(ConfigRecordWrite, ScheduledArraysOutOfStepWriteZeros) {
  ChannelConfig one;
  one.Scheduled.entries = {MediaEntry{"00:00:01", "a"}, MediaEntry{"00:00:02", "b"}};
  one.Scheduled.PA_ListStartTime = {0x01020304};
  const Bytes record = Written({}, one, {});
  ASSERT_EQ(record.size(), kEmptyConfigRecordSize + 2 * (9 + 1 + 2 + 8));
  const std::size_t first = kScheduledCount + 2 + 12;
  EXPECT_EQ(Slice(record, first, 8), (Bytes{4, 3, 2, 1, 0, 0, 0, 0}));
  const std::size_t second = first + 8 + 12;
  EXPECT_EQ(Slice(record, second, 8), Bytes(8, 0));
  const Loaded loaded = Load(record);
  ASSERT_TRUE(loaded.valid);
  EXPECT_EQ(loaded.one.Scheduled.PA_ActiveDays, (std::vector<std::uint32_t>{0, 0}));
}

TEST(ConfigRecordWrite, FailsWhenTheBytesDoNotAllGoOut) {
  const ChannelConfig one = FullChannel(1);
  const std::size_t size = Written(FullHeader(), one, {}).size();
  for (std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{111}, size - 1}) {
    testing::LimitedSink sink(limit);
    EXPECT_FALSE(WriteConfigRecord(sink, FullHeader(), one, {})) << limit;
  }
  testing::LimitedSink exact(size);
  EXPECT_TRUE(WriteConfigRecord(exact, FullHeader(), one, {}));

  test::TempFolder folder;
  EXPECT_FALSE(WriteConfigRecordFile(folder / "missing" / "config.dat", FullHeader(), one, {}));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(WriteConfigRecordFile("/dev/full", FullHeader(), one, {}));
  }
}

TEST(ConfigRecordRead, RoundTripKeepsEveryField) {
  test::TempFolder folder;
  DeviceConfigRecord header = FullHeader();
  // Kept byte for byte, including text after the terminator.
  header.time_zone.bytes[39] = 'Z';
  const ChannelConfig one = FullChannel(1);
  const ChannelConfig two = FullChannel(2);
  ASSERT_TRUE(WriteConfigRecordFile(folder / "config.dat", header, one, two));
  EXPECT_EQ(test::ReadWholeFile(folder / "config.dat"), Written(header, one, two));

  DeviceConfigRecord readHeader;
  ChannelConfig readOne, readTwo;
  readOne.Music.entries = {MediaEntry{"", "replaced"}};
  ASSERT_TRUE(ReadConfigRecordFile(folder / "config.dat", readHeader, readOne, readTwo,
                                   TraceLog::Silent()));
  EXPECT_EQ(readHeader, header);
  EXPECT_EQ(readOne, one);
  EXPECT_EQ(readTwo, two);
  EXPECT_TRUE(readTwo.Scheduled.IsInStep());
}

TEST(ConfigRecordRead, ListLongerThanTheLimitIsInvalid) {
  ChannelConfig full;
  for (int i = 0; i < 1000; ++i) full.Music.entries.push_back({"00:00:01", "f" + std::to_string(i)});
  const Loaded atLimit = Load(Written({}, full, {}));
  ASSERT_TRUE(atLimit.valid);
  EXPECT_EQ(atLimit.one.Music.entries.size(), 1000u);

  for (std::size_t countAt : {kMusicCount, kMessageCount}) {
    Bytes record = Written({}, {}, {});
    PutLE(record, countAt, 1001, 2);
    EXPECT_FALSE(Load(Resealed(record)).valid) << countAt;
  }
}

TEST(ConfigRecordRead, ScheduledListLongerThanTheLimitIsReadInPart) {
  ChannelConfig one;
  for (std::uint32_t i = 0; i < 1000; ++i) one.Scheduled.AddEntry(MediaEntry{"00:00:02", "s.wav"}, i * 60, i);
  Bytes record = Written({}, one, FullChannel(2));
  PutLE(record, kScheduledCount, 1001, 2);
  const Loaded loaded = Load(Resealed(record));
  ASSERT_TRUE(loaded.valid);
  EXPECT_EQ(loaded.one, one);
  EXPECT_EQ(loaded.two, FullChannel(2));
}

TEST(ConfigRecordRead, DamagedRecordsAreInvalidAndLeaveTheRecordsAlone) {
  const Bytes record = Written(FullHeader(), FullChannel(1), FullChannel(2));
  ASSERT_TRUE(Load(record).valid);
  for (std::size_t i = 0; i < record.size(); ++i) {
    for (const int flip : {0x01, 0x80, 0xFF}) {
      Bytes damaged = record;
      damaged[i] ^= static_cast<std::uint8_t>(flip);
      const Loaded loaded = Load(damaged);
      ASSERT_FALSE(loaded.valid) << "byte " << i << " ^ " << flip;
      ASSERT_TRUE(Untouched(loaded)) << "byte " << i;
    }
  }
  for (std::size_t length = 0; length < record.size(); ++length) {
    const Loaded loaded = Load(std::span(record).first(length));
    ASSERT_FALSE(loaded.valid) << "length " << length;
    ASSERT_TRUE(Untouched(loaded)) << "length " << length;
  }
}

TEST(ConfigRecordRead, ModelNumberMustFitOneByte) {
  DeviceConfigRecord header;
  header.FileVersion = 0x00FF;
  EXPECT_TRUE(Load(Written(header, {}, {})).valid);
  header.FileVersion = 0x0100;
  EXPECT_FALSE(Load(Written(header, {}, {})).valid);
}

TEST(ConfigRecordRead, StoredChecksumIsTheLastBytePair) {
  const Bytes record = Written(FullHeader(), FullChannel(1), {});
  Bytes junk = record;
  junk.insert(junk.end(), {0x12, 0x34});
  EXPECT_FALSE(Load(junk).valid);
  // A stray byte after the checksum is no step of two: the checksum before
  // it is still the last complete pair, and the record reads whole.
  Bytes odd = record;
  odd.push_back(0x77);
  const Loaded strayByte = Load(odd);
  EXPECT_TRUE(strayByte.valid);
  EXPECT_EQ(Written(strayByte.header, strayByte.one, strayByte.two), record);
  // Trailing pairs count towards the checksum, so a record that ends in the
  // checksum of everything before reads as valid, as the player reads it.
  Bytes extended = record;
  extended.insert(extended.end(), {0xAB, 0xCD, 0, 0});
  const Loaded loaded = Load(Resealed(extended));
  EXPECT_TRUE(loaded.valid);
  EXPECT_EQ(loaded.one, FullChannel(1));
}

TEST(ConfigRecordRead, UnopenableFileLeavesTheRecordsAlone) {
  test::TempFolder folder;
  DeviceConfigRecord header = FullHeader();
  ChannelConfig one = FullChannel(1), two = FullChannel(2);
  const std::string trace = Captured([&](const TraceLog& log) {
    EXPECT_FALSE(ReadConfigRecordFile(folder / "absent.dat", header, one, two, log));
  });
  // A folder opens but reads nothing.
  EXPECT_FALSE(ReadConfigRecordFile(folder.Path(), header, one, two, TraceLog::Silent()));
  EXPECT_EQ(header, FullHeader());
  EXPECT_EQ(one, FullChannel(1));
  EXPECT_EQ(two, FullChannel(2));
  EXPECT_EQ(trace.rfind("Loading Config: " + (folder / "absent.dat").string() + "\n", 0), 0u);
}

TEST(ConfigRecordRead, NamesAreBoundedByTheirFields) {
  const struct {
    Bytes entry;
    std::string line;
  } cases[] = {
      // No terminator anywhere: the text stops at the field's end.
      {EntryBytes("00:00:07X", 4, "abcd"), "00:00:07 | abcd"},
      {EntryBytes("00:00:07\0"sv, 0, ""), "00:00:07 | "},
      {EntryBytes("00:00:07\0"sv, 6, "ab\0cd\0"sv), "00:00:07 | ab"},
      {EntryBytes("00:00:07\0"sv, 255, std::string(255, 'q')),
       "00:00:07 | " + std::string(254, 'q')},
  };
  for (const auto& c : cases) {
    const Loaded loaded = Load(EmptyRecordWithMusicEntry(c.entry));
    ASSERT_TRUE(loaded.valid) << c.line;
    EXPECT_EQ(loaded.one.Music.entries, std::vector<MediaEntry>{SplitEntryLine(c.line)});
    // What was read writes back to the same line.
    EXPECT_EQ(Load(Written({}, loaded.one, {})).one.Music.entries, loaded.one.Music.entries);
  }
  // A name running past the end of the file.
  Bytes cut = EmptyRecordWithMusicEntry(EntryBytes("00:00:07\0"sv, 200, "ab"));
  EXPECT_FALSE(Load(cut).valid);
}

// A label is whatever its eight characters hold: shorter, empty or holding
// " | " itself, it is taken as it is and written back to the same bytes.
TEST(ConfigRecordRead, EveryLabelTheFieldHoldsOpensAndSavesBackUnchanged) {
  for (std::string_view label : {"0:01:02\0\0"sv, "12 | 4:5\0"sv, "123456 |\0"sv, "1:00\0\0\0\0\0"sv,
                                 "\0\0\0\0\0\0\0\0\0"sv, "a|b c d\0\0"sv}) {
    const Bytes record = EmptyRecordWithMusicEntry(EntryBytes(label, 2, "a\0"sv));
    const Loaded loaded = Load(record);
    ASSERT_TRUE(loaded.valid) << label;
    EXPECT_EQ(loaded.one.Music.entries.at(0).Label, label.substr(0, label.find('\0'))) << label;
    EXPECT_EQ(loaded.one.Music.entries.at(0).FileName, "a");
    EXPECT_EQ(Written(loaded.header, loaded.one, loaded.two), record) << label;
  }
}

// The reader reports names as stored; screening them is the package layer's job.
TEST(ConfigRecordRead, UnsafeNamesAreReportedForTheCallerToScreen) {
  ChannelConfig one;
  one.Music.entries = {MediaEntry{"00:00:01", "../../etc/passwd"}, MediaEntry{"00:00:01", ".."}};
  const Loaded loaded = Load(Written({}, one, {}));
  ASSERT_TRUE(loaded.valid);
  EXPECT_EQ(loaded.one.Music.entries, one.Music.entries);
  EXPECT_FALSE(IsPlainFileName(loaded.one.Music.entries[0].FileName));
}

TEST(ConfigRecordRead, TraceShowsFieldsChecksumAndVerdict) {
  DeviceConfigRecord header = FullHeader();
  header.time_zone.bytes.fill('A');  // no terminator: printed to the field's end only
  const Bytes record = Written(header, FullChannel(1), {});
  DeviceConfigRecord h;
  ChannelConfig one, two;
  const std::string trace = Captured([&](const TraceLog& log) {
    EXPECT_TRUE(ReadConfigRecord(record, "config.dat", h, one, two, log));
  });
  std::size_t last = 0;
  for (const std::string& line :
       {std::string("Loading Config: config.dat\n"), std::string("FileVersion = 02\n"),
        "time_zone = " + std::string(40, 'A') + "\n", std::string("stale_date = 7e8030f\n"),
        std::string("server_port = 1f90\n"), std::string("Treble = fe\n"),
        std::string("FileCount = 03\n"), std::string("Checking CRC...\n"),
        std::string("File Valid.\n")}) {
    const std::size_t at = trace.find(line, last);
    ASSERT_NE(at, std::string::npos) << line << "in\n" << trace;
    last = at;
  }

  Bytes damaged = record;
  damaged[500] ^= 1;
  const std::string corrupt = Captured([&](const TraceLog& log) {
    EXPECT_FALSE(ReadConfigRecord(damaged, "config.dat", h, one, two, log));
  });
  EXPECT_NE(corrupt.find("Checking CRC...\nFile Corrupt.\n"), std::string::npos) << corrupt;
  EXPECT_EQ(corrupt.find("File Valid."), std::string::npos);
}

}  // namespace
}  // namespace corvane
