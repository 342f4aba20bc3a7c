// Writes the installed sound files from the project's own code:
//   default_music.ogg  the background music (see audio/DefaultMusic.h)
//   null.wav           a tenth of a second of silence
// Built and run by make-assets.sh; the results are committed beside it.

#include <cstdio>
#include <filesystem>
#include <vector>

#include "audio/AudioEncoder.h"
#include "audio/DefaultMusic.h"
#include "audio/WaveFormat.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-assets FOLDER\n");
    return 64;
  }
  const std::filesystem::path folder = argv[1];
  constexpr int kRate = 22050;
  // Quality -1 keeps the file small; the music is simple enough for it.
  corvane::AudioEncoder encoder;
  const auto music = corvane::SynthesizeDefaultMusic(kRate);
  if (!encoder.Open(folder / "default_music.ogg", {"libvorbis", kRate, 1, {}, -1.0, {}}) ||
      !encoder.Write(music) || !encoder.Finish()) {
    std::fprintf(stderr, "default_music.ogg: %s\n", encoder.Error().c_str());
    return 1;
  }
  const std::vector<std::int16_t> silence(kRate / 10, 0);
  if (!corvane::WriteProductionFile(folder / "null.wav", kRate, silence)) {
    std::fprintf(stderr, "null.wav: cannot write\n");
    return 1;
  }
  std::printf("default_music.ogg: %.0f s; null.wav: 0.1 s\n",
              static_cast<double>(music.size()) / kRate);
  return 0;
}
