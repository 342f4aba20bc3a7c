#include "package/ConfigRecordFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/package/LimitedStreams.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_view_literals;

// Where channel 1's blocks start in a record whose lists before them are empty.
constexpr std::size_t kMusicBlock = 170;
constexpr std::size_t kMusicCount = kMusicBlock + 65;
constexpr std::size_t kMessageCount = kMusicCount + 67;
constexpr std::size_t kScheduledCount = 304 + 135;

// Replaces the last two bytes with the checksum of everything before them.
Bytes Resealed(Bytes record) {
  const std::uint16_t crc = test::BitwiseCrc16(record.data(), record.size() - 2);
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

// Every field different from a reset channel, and per channel number.
ChannelConfig FullChannel(std::uint8_t n) {
  ChannelConfig c = test::FreshChannel();
  c.MasterVolume = static_cast<std::uint8_t>(6 + n);
  c.CrossFadeVolume = 4;
  c.Treble = -2;
  c.Bass = static_cast<std::int8_t>(3 - n);
  c.ExtAudioEnabled = 1;
  c.LimitLengthEnabled = 1;
  c.Time_Between_Messages = 5999;
  c.MusicVolume = 7;
  c.MessageVolume = 8;
  c.Time_Between_Repeats = static_cast<std::uint16_t>(300 + n);
  c.reserved.fill(static_cast<std::uint8_t>(0xA0 + n));
  c.Music.ListStart_time = 3600;
  c.Music.ListStop_time = 7200 + n;
  c.Music.ActiveDays = 0x3E;
  c.Music.Media_Duration = 0x12345678;
  c.Music.PlaylistShuffleEnabled = 1;
  c.Music.reserved.fill(static_cast<std::uint8_t>(0xB0 + n));
  c.Music.entries = {
      {"00:03:25", "song.ogg"}, {"00:04:00", "a | b.ogg"}, {"01:00:00", std::string(254, 'x')}};
  c.Messages.Media_Duration = 77;
  c.Messages.reserved[47] = n;
  c.Messages.entries = {{"00:00:12", "hello.wav"},
                        {"00:00:30", "closed " + std::to_string(n) + ".wav"}};
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

// A header whose every byte is set, read from noise so no two fields agree.
DeviceConfigRecord FullHeader() {
  Bytes record = Written({}, {}, {});
  const Bytes noise = test::RandomBytes(kConfigHeaderSize, 9);
  std::copy(noise.begin(), noise.end(), record.begin());
  record[1] = 0;  // the model number fits one byte
  const Loaded loaded = Load(Resealed(record));
  EXPECT_TRUE(loaded.valid);
  return loaded.header;
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
  const Bytes record = Written(header, test::FreshChannel(), ChannelConfig{});
  Bytes golden(772, 0);
  golden[0] = 2;
  PutLE(golden, 10, 0x07F40201, 4);
  golden[14] = 'U';
  golden[15] = 'T';
  golden[16] = 'C';
  PutLE(golden, 102, 30, 2);
  // Channel 1's factory settings, then both lists open all day every day.
  golden[112] = 5;
  golden[113] = 2;
  golden[116] = 1;
  golden[118] = 20;
  golden[120] = 10;
  golden[121] = 10;
  golden[122] = 1;
  for (std::size_t list : {kMusicBlock, kMusicBlock + 67}) {
    PutLE(golden, list + 4, 86399, 4);
    golden[list + 13] = 0x7F;
  }
  PutLE(golden, 770, test::BitwiseCrc16(golden.data(), 770), 2);
  EXPECT_EQ(record, golden);
}

TEST(ConfigRecordWrite, EntriesAreLabelLengthAndNameWithinTheirFields) {
  const std::string longName(300, 'n');
  const struct {
    std::string line;
    Bytes entry;
  } cases[] = {
      {"00:03:25 | song.ogg", EntryBytes("00:03:25\0"sv, 9, "song.ogg\0"sv)},
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
    EXPECT_EQ(record[kMessageCount], 1);
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
}

TEST(ConfigRecordRead, RoundTripKeepsEveryField) {
  test::TempFolder folder;
  const DeviceConfigRecord header = FullHeader();
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

  // A missing file, or a folder that opens but reads nothing, leaves them alone.
  EXPECT_FALSE(ReadConfigRecordFile(folder / "absent.dat", readHeader, readOne, readTwo,
                                    TraceLog::Silent()));
  EXPECT_FALSE(
      ReadConfigRecordFile(folder.Path(), readHeader, readOne, readTwo, TraceLog::Silent()));
  EXPECT_EQ(readHeader, header);
  EXPECT_EQ(readOne, one);
}

TEST(ConfigRecordRead, MusicAndMessageListsOverTheLimitAreInvalidScheduledOnesCut) {
  ChannelConfig full;
  for (std::uint32_t i = 0; i < 1000; ++i) {
    full.Music.entries.push_back({"00:00:01", "f" + std::to_string(i)});
    full.Scheduled.AddEntry(MediaEntry{"00:00:02", "s.wav"}, i * 60, i);
  }
  const Loaded atLimit = Load(Written({}, full, {}));
  ASSERT_TRUE(atLimit.valid);
  EXPECT_EQ(atLimit.one, full);

  for (std::size_t countAt : {kMusicCount, kMessageCount}) {
    Bytes record = Written({}, {}, {});
    PutLE(record, countAt, 1001, 2);
    EXPECT_FALSE(Load(Resealed(record)).valid) << countAt;
  }
  // A scheduled list claiming more is read as its first 1000 entries.
  ChannelConfig scheduled;
  scheduled.Scheduled = full.Scheduled;
  Bytes record = Written({}, scheduled, FullChannel(2));
  PutLE(record, kScheduledCount, 1001, 2);
  const Loaded cut = Load(Resealed(record));
  ASSERT_TRUE(cut.valid);
  EXPECT_EQ(cut.one, scheduled);
  EXPECT_EQ(cut.two, FullChannel(2));
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

TEST(ConfigRecordRead, TheModelNumberMustFitOneByteAndTheChecksumIsTheLastBytePair) {
  DeviceConfigRecord header;
  header.FileVersion = 0x00FF;
  EXPECT_TRUE(Load(Written(header, {}, {})).valid);
  header.FileVersion = 0x0100;
  EXPECT_FALSE(Load(Written(header, {}, {})).valid);

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

// A name is what its field holds up to the first NUL, the length byte or the
// field's end; a label whatever its eight characters hold: shorter, empty or
// holding " | " itself. Either way it writes back to what was read, and an
// entry stored as the writer stores it to the same bytes.
TEST(ConfigRecordRead, EntriesAreBoundedByTheirFieldsAndSaveBackAsRead) {
  const struct {
    Bytes entry;
    MediaEntry read;
    bool asWritten = false;
  } cases[] = {
      {EntryBytes("00:00:07X", 4, "abcd"), {"00:00:07", "abcd"}},  // no terminator anywhere
      {EntryBytes("00:00:07\0"sv, 0, ""), {"00:00:07", ""}},
      {EntryBytes("00:00:07\0"sv, 6, "ab\0cd\0"sv), {"00:00:07", "ab"}},
      {EntryBytes("00:00:07\0"sv, 255, std::string(255, 'q')), {"00:00:07", std::string(254, 'q')}},
      {EntryBytes("0:01:02\0\0"sv, 2, "a\0"sv), {"0:01:02", "a"}, true},
      {EntryBytes("12 | 4:5\0"sv, 2, "a\0"sv), {"12 | 4:5", "a"}, true},
      {EntryBytes("123456 |\0"sv, 2, "a\0"sv), {"123456 |", "a"}, true},
      {EntryBytes("1:00\0\0\0\0\0"sv, 2, "a\0"sv), {"1:00", "a"}, true},
      {EntryBytes("\0\0\0\0\0\0\0\0\0"sv, 2, "a\0"sv), {"", "a"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.read.Line());
    const Bytes record = EmptyRecordWithMusicEntry(c.entry);
    const Loaded loaded = Load(record);
    ASSERT_TRUE(loaded.valid);
    EXPECT_EQ(loaded.one.Music.entries, std::vector<MediaEntry>{c.read});
    const Bytes written = Written(loaded.header, loaded.one, loaded.two);
    EXPECT_EQ(Load(written).one.Music.entries, loaded.one.Music.entries);
    EXPECT_EQ(written == record, c.asWritten);
  }
  // A name running past the end of the file.
  EXPECT_FALSE(Load(EmptyRecordWithMusicEntry(EntryBytes("00:00:07\0"sv, 200, "ab"))).valid);
}

}  // namespace
}  // namespace corvane
