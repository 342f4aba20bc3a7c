#include "package/PackageHeader.h"

#include <cstring>

#include "common/ByteOrder.h"
#include "package/Crc16Ccitt.h"
#include "package/PackageCipher.h"

namespace corvane {
namespace {

void PutText(std::uint8_t* at, const char* bytes, std::size_t size) { std::memcpy(at, bytes, size); }

template <std::size_t N>
void TakeText(FixedText<N>& text, const std::uint8_t* at) {
  std::memcpy(text.bytes.data(), at, N);
}

}  // namespace

std::array<std::uint8_t, kPackageHeaderSize> EncodePackageHeader(const PackageHeader& header) {
  std::array<std::uint8_t, kPackageHeaderSize> plain{};
  std::uint8_t* p = plain.data();
  WriteBE32(p + 0, static_cast<std::uint32_t>(header.Key >> 32));
  WriteBE32(p + 4, static_cast<std::uint32_t>(header.Key));
  PutText(p + 8, header.ProviderKey.bytes.data(), 17);
  WriteBE32(p + 25, header.MemberCount);
  WriteBE32(p + 29, static_cast<std::uint32_t>(header.Model));
  PutText(p + 33, header.Date.bytes.data(), 9);
  p[42] = header.Unlock;
  p[43] = static_cast<std::uint8_t>(header.Marker);
  PutText(p + 44, header.Audio.ProjectRateText.bytes.data(), 20);
  PutText(p + 64, header.Audio.OutputRateText.bytes.data(), 20);
  PutText(p + 84, header.Audio.OutputCodec.bytes.data(), 20);
  WriteBE32(p + 104, static_cast<std::uint32_t>(header.Audio.ProjectRate));
  WriteBE32(p + 108, static_cast<std::uint32_t>(header.Audio.OutputRate));
  WriteBE32(p + 112, static_cast<std::uint32_t>(header.Audio.MaxLength));
  WriteBE16(p + 254, Crc16Update(kCrc16Start, p, 254));
  return plain;
}

std::optional<PackageHeader> DecodePackageHeader(
    const std::array<std::uint8_t, kPackageHeaderSize>& plain) {
  const std::uint8_t* p = plain.data();
  if (Crc16Update(kCrc16Start, p, 254) != ReadBE16(p + 254)) return std::nullopt;
  PackageHeader header;
  header.Key = ReadBE64(p);
  TakeText(header.ProviderKey, p + 8);
  header.MemberCount = ReadBE32(p + 25);
  header.Model = static_cast<std::int32_t>(ReadBE32(p + 29));
  TakeText(header.Date, p + 33);
  header.Unlock = p[42];
  header.Marker = static_cast<char>(p[43]);
  TakeText(header.Audio.ProjectRateText, p + 44);
  TakeText(header.Audio.OutputRateText, p + 64);
  TakeText(header.Audio.OutputCodec, p + 84);
  header.Audio.ProjectRate = static_cast<std::int32_t>(ReadBE32(p + 104));
  header.Audio.OutputRate = static_cast<std::int32_t>(ReadBE32(p + 108));
  header.Audio.MaxLength = static_cast<std::int32_t>(ReadBE32(p + 112));
  return header;
}

std::array<std::uint8_t, kEntryHeaderSize> EncodeEntryHeader(std::uint32_t length,
                                                             std::string_view name) {
  std::array<std::uint8_t, kEntryHeaderSize> plain{};
  WriteBE32(plain.data(), length);
  // A name of 252 characters or more fills the field with no terminator.
  std::memcpy(plain.data() + 4, name.data(), std::min(name.size(), kEntryNameSize));
  return plain;
}

EntryHeader DecodeEntryHeader(const std::array<std::uint8_t, kEntryHeaderSize>& plain) {
  const char* name = reinterpret_cast<const char*>(plain.data() + 4);
  return {ReadBE32(plain.data()), std::string(name, strnlen(name, kEntryNameSize))};
}

std::optional<std::uint64_t> PackageKeyFromFileName(const std::string& fileName) {
  std::string_view stem = fileName;
  if (const auto dot = stem.rfind('.'); dot != std::string_view::npos) stem = stem.substr(0, dot);
  const auto underscore = stem.rfind('_');
  if (underscore == std::string_view::npos) return std::nullopt;
  const std::string_view id = stem.substr(underscore + 1);
  // A device ID has at most 16 digits; a longer text names no device.
  if (id.size() > 16) return std::nullopt;
  return HexKeyFromText(id);
}

}  // namespace corvane
