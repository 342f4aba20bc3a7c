// Feeds arbitrary bytes to the configuration record reader. A record that
// reads as valid must survive being written back and read again unchanged.
//
// The first input byte picks the mode: even takes the rest as the record; odd
// appends the correct checksum to the rest first, so mutations get past the
// checksum and reach the checks behind it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "common/ByteOrder.h"
#include "common/ByteStream.h"
#include "package/ConfigRecordFile.h"
#include "package/Crc16Ccitt.h"

namespace {

using corvane::ChannelConfig;
using corvane::DeviceConfigRecord;

struct Record {
  bool valid = false;
  DeviceConfigRecord header;
  ChannelConfig one;
  ChannelConfig two;

  bool SameAs(const Record& other) const {
    return header == other.header && one == other.one && two == other.two;
  }
};

Record Read(std::span<const std::uint8_t> bytes) {
  Record record;
  record.valid = corvane::ReadConfigRecord(bytes, "fuzz", record.header, record.one, record.two,
                                           corvane::TraceLog::Silent());
  return record;
}

std::vector<std::uint8_t> Write(const Record& record) {
  corvane::MemorySink sink;
  if (!corvane::WriteConfigRecord(sink, record.header, record.one, record.two)) std::abort();
  return sink.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> bytes(data + 1, data + size);
  if (data[0] & 1) {
    std::uint8_t checksum[2];
    corvane::WriteLE16(checksum, corvane::Crc16Update(corvane::kCrc16Start, bytes));
    bytes.insert(bytes.end(), checksum, checksum + 2);
  }

  const Record first = Read(bytes);
  if (!first.valid) return 0;
  if (!first.one.Scheduled.IsInStep() || !first.two.Scheduled.IsInStep()) std::abort();

  const std::vector<std::uint8_t> written = Write(first);
  const Record second = Read(written);
  if (!second.valid || !second.SameAs(first)) std::abort();
  // Written again, the record comes out byte for byte the same.
  if (Write(second) != written) std::abort();
  return 0;
}
