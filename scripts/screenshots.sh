#!/usr/bin/env bash
# Starts the real Corvane on a virtual X display (Xvfb) and
#   - measures how long the login screen takes to appear (several runs),
#   - checks that cancelling the login ends with code 0 and an empty
#     temporary folder, and that a second start ends at once with code 0,
#   - saves PNG screenshots of the login, change-password and help screens
#     into the folder given (login.png, change-password.png, help.png), and
#     of the channel editor, the home screen of each model and the progress
#     dialog (drawn by tools/ScreenPictures.cpp).
# The screens are driven from the keyboard as an operator would, so the
# script relies on their tab order: login — user name, password, MOH box,
# OK, Cancel, "Change your password?", "Need help?"; change password —
# current, new, repeat, Save, Cancel, "Need help?".
#
#   scripts/screenshots.sh DIR [RUNS]
# CORVANE_EXE picks the executable; by default build/ is configured and built.
set -euo pipefail

out=${1:?usage: scripts/screenshots.sh DIR [RUNS]}
runs=${2:-5}
cd "$(dirname "$0")/.."
mkdir -p "$out"
out=$(cd "$out" && pwd)

scripts/install-deps.sh
exe=${CORVANE_EXE:-}
if [[ -z "$exe" ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_TESTS=OFF \
    -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build --target corvane
  exe=build/src/app/corvane
fi
exe=$(realpath "$exe")

# ImageMagick's own tools, whatever else is first on the PATH.
import=/usr/bin/import

number=90
while [[ -e /tmp/.X11-unix/X$number || -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
export DISPLAY=:$number
# 96 dots per inch: the screens are laid out for it. No reset when the last
# client leaves: every run here leaves, and the next would find no display.
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
data=$(mktemp -d)
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$data"
}
trap cleanup EXIT
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

export CORVANE_DATA_DIR=$data
export QT_QPA_PLATFORM=xcb
temp=$data/temp

now_ms() { echo $(($(date +%s%N) / 1000000)); }
fail() { echo "FAILED: $*" >&2; exit 1; }

# The id of the visible window with exactly this title, once it is there.
wait_window() {
  local title=$1 limit=${2:-10000} start id
  start=$(now_ms)
  while true; do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    (($(now_ms) - start > limit)) && return 1
    sleep 0.01
  done
}

wait_gone() {
  local title=$1
  for _ in $(seq 500); do
    [[ -z "$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null || true)" ]] && return 0
    sleep 0.01
  done
  return 1
}

# Whether the window's top left corner shows the banner colour yet.
banner_drawn() {
  "$import" -window "$1" -crop 1x1+3+3 -depth 8 txt:- 2>/dev/null | grep -qi '#900028'
}

keys() { xdotool key --delay 40 "$@"; }

files_in_temp() { find "$temp" -maxdepth 1 -type f | wc -l; }

# Cancels the login screen from its user name field: Tab to Cancel, Space.
cancel_login() { keys Tab Tab Tab Tab space; }

echo "Start-up: time from launch to the login screen, $runs runs"
mapped_times=()
drawn_times=()
for run in $(seq "$runs"); do
  mkdir -p "$temp"
  touch "$temp/left-by-a-crash.ogg"
  start=$(now_ms)
  "$exe" &
  pid=$!
  id=$(wait_window Corvane) || fail "no login screen in run $run"
  mapped=$(($(now_ms) - start))
  for _ in $(seq 200); do banner_drawn "$id" && break; sleep 0.01; done
  drawn=$(($(now_ms) - start))
  mapped_times+=("$mapped")
  drawn_times+=("$drawn")
  echo "  run $run: shown after ${mapped} ms, banner drawn by ${drawn} ms"
  sleep 0.3
  cancel_login
  rc=0
  wait "$pid" || rc=$?
  [[ $rc -eq 0 ]] || fail "cancelling the login ended with code $rc"
  [[ $(files_in_temp) -eq 0 ]] || fail "files left in the temporary folder after cancelling"
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
echo "  median: shown after $(median "${mapped_times[@]}") ms, banner drawn by $(median "${drawn_times[@]}") ms"
echo "  cancelling the login: exit code 0, temporary folder empty (every run)"

"$exe" &
pid=$!
id=$(wait_window Corvane) || fail "no login screen"
start=$(now_ms)
rc=0
timeout 5 "$exe" || rc=$?
echo "Second start: ended with code $rc after $(($(now_ms) - start)) ms"
[[ $rc -eq 0 ]] || fail "the second start ended with code $rc"
[[ $(xdotool search --onlyvisible --name '^Corvane$' | wc -l) -eq 1 ]] || fail "the second start showed a window"

sleep 0.3
xdotool type --delay 40 tavik
keys Tab
xdotool type --delay 40 tavik
sleep 0.3
"$import" -window "$id" "$out/login.png"

# From the password field to "Change your password?"; Enter presses it.
keys Tab Tab Tab Tab Return
pid_window=$(wait_window "Change Password") || fail "no change-password screen"
sleep 0.3
"$import" -window "$pid_window" "$out/change-password.png"
keys Tab Tab Tab Tab space
wait_gone "Change Password" || fail "the change-password screen stayed"
id=$(wait_window Corvane) || fail "the login screen did not come back"

# Back on "Change your password?": the next control is "Need help?".
sleep 0.2
keys Tab Return
help=$(wait_window "Need help\\?") || fail "no help screen"
sleep 0.3
"$import" -window "$help" "$out/help.png"
keys Return
wait_gone "Need help\\?" || fail "the help screen stayed"

# From "Need help?" back to Cancel.
sleep 0.2
keys shift+Tab shift+Tab space
rc=0
wait "$pid" || rc=$?
[[ $rc -eq 0 ]] || fail "cancelling the login ended with code $rc"
[[ $(files_in_temp) -eq 0 ]] || fail "files left in the temporary folder"
# Screens in states a start-up does not reach by itself (an editor full of
# rows, each model's home screen, a save under way) are drawn by a small
# tool on the same display.
cmake -S . -B build-pictures -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_TESTS=ON \
  -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-pictures --target screen_pictures
build-pictures/tools/screen_pictures "$out" || fail "the screen pictures could not be drawn"
echo "Screenshots: $out/login.png $out/change-password.png $out/help.png and, drawn:"
echo "  channel-editor.png home-su-moh.png home-su.png home-one-moh.png home-mix.png"
echo "  media-security.png progress.png"
