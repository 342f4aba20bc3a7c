#!/usr/bin/env bash
# Installs what Corvane needs to build, run and test, from Debian 12 packages.
# Packages already present are skipped, so a second run takes a few seconds.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 qt6-qpa-plugins libgl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libebur128-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation
)
# clang and its runtime build the fuzz targets; optional for everything else.
# ffmpeg is only the yardstick of the conversion benchmark (skipped without it).
optional=(clang libclang-rt-14-dev ffmpeg)
# The install check validates the menu entry and the AppStream description;
# dpkg-shlibdeps (dpkg-dev) finds the Debian package's dependencies.
desktop_checks=(desktop-file-utils appstream dpkg-dev)
# A virtual display, keyboard driving and window capture for
# scripts/screenshots.sh, which starts the real application.
desktop=(xvfb xdotool imagemagick x11-utils)

# A sound server the recorder's device test starts privately, with virtual
# devices. Only where the machine has none: a desktop's own server (PulseAudio
# or PipeWire's stand-in for it) is never replaced.
sound=()
installed() { [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]; }
if ! installed pulseaudio && ! installed pipewire-pulse; then sound=(pulseaudio); fi

missing=()
for p in "${packages[@]}" "${optional[@]}" "${desktop_checks[@]}" "${desktop[@]}" "${sound[@]}"; do
  installed "$p" || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
