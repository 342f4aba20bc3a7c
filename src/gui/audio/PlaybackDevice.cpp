#include "gui/audio/PlaybackDevice.h"

#include <span>

namespace corvane {

bool PlaybackDevice::Begin(const std::filesystem::path& path, const PlaybackFormat& format) {
  End();
  if (!stream_.Open(path, format)) return false;
  // Unbuffered: each read asks the stream directly, so it always gets whole frames.
  return open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void PlaybackDevice::End() {
  if (isOpen()) close();
  stream_.Close();
}

qint64 PlaybackDevice::readData(char* data, qint64 maxSize) {
  if (maxSize <= 0) return 0;
  const std::size_t filled = stream_.Fill(
      std::span(reinterpret_cast<std::uint8_t*>(data), static_cast<std::size_t>(maxSize)));
  return static_cast<qint64>(filled);
}

}  // namespace corvane
