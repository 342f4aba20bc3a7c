#!/usr/bin/env bash
# Synthesises the installed sound files, default_music.ogg and null.wav, into
# this folder with the project's own engine. Run it after changing
# src/core/audio/DefaultMusic.cpp and commit the results.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
c++ -std=c++20 -O2 -Isrc/core assets/MakeAssets.cpp \
  src/core/audio/DefaultMusic.cpp src/core/audio/AudioEncoder.cpp \
  src/core/audio/MediaOwners.cpp src/core/audio/WaveFormat.cpp src/core/common/ByteStream.cpp \
  $(pkg-config --cflags --libs libavformat libavcodec libswresample libavutil) -o "$work/make-assets"
"$work/make-assets" assets
