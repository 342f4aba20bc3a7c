#!/usr/bin/env bash
# Plants deliberate faults in src/ one at a time and reports which of them the
# test suite catches: a measure of what the tests are worth, not a test itself.
#
#   scripts/plant-faults.sh WORKTREE BUILD-FOLDER [FAULT-LIST] [LOG-FOLDER]
#
# WORKTREE is a checkout of this project whose src/ is clean; BUILD-FOLDER is
# its configured build folder (it is built and tested once per fault). The
# fault list defaults to planted-faults.txt beside this script: one fault a
# line, "relative/src/path|sed expression|short description" (the sed
# expression may itself hold "|"; the path ends at the first, the description
# starts after the last). Blank lines and lines starting with # are skipped.
#
# Each fault is applied with sed -i; one that changes nothing is reported as
# "did not apply". A fault that stops the build of the program itself is
# reported as "breaks build" (a planted fault must compile). The suite runs
# with QT_QPA_PLATFORM=offscreen and a per-test timeout; "caught" means at
# least one test failed. The file is restored with git checkout afterwards,
# and also when the script is interrupted, so no fault is ever left in place.
set -uo pipefail

if [[ $# -lt 2 ]]; then
  sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'
  exit 64
fi

worktree=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
list=${3:-"$(cd "$(dirname "$0")" && pwd)/planted-faults.txt"}
logs=${4:-"$build/planted-faults"}
timeout=${PLANT_TEST_TIMEOUT:-120}
jobs=${PLANT_JOBS:-2}
mkdir -p "$logs"

if ! git -C "$worktree" diff --quiet -- src; then
  echo "src/ in $worktree has changes; refusing to plant faults over them" >&2
  exit 1
fi

planted=""
restore() {
  if [[ -n "$planted" ]]; then
    git -C "$worktree" checkout -- "$planted"
    planted=""
  fi
}
trap 'restore' EXIT
trap 'restore; exit 130' INT TERM HUP

build_and_test() {  # $1: log prefix; returns 0 passed, 1 tests failed, 2 build failed
  if ! cmake --build "$build" >"$1.build.log" 2>&1; then
    return 2
  fi
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$jobs" --timeout "$timeout" \
    >"$1.test.log" 2>&1
  [[ $? -eq 0 ]] && return 0 || return 1
}

echo "Baseline: building and testing $worktree unchanged ..."
build_and_test "$logs/baseline"
case $? in
  0) ;;
  1) echo "the unchanged suite fails; see $logs/baseline.test.log" >&2; exit 1 ;;
  2) echo "the unchanged tree does not build; see $logs/baseline.build.log" >&2; exit 1 ;;
esac

results=()
number=0
caught=0
missed=0
# The list comes on its own descriptor: the build and the tests must not
# read the next faults from standard input.
while IFS= read -r line <&3 || [[ -n "$line" ]]; do
  [[ -z "${line// /}" || "$line" == \#* ]] && continue
  number=$((number + 1))
  path=${line%%|*}
  rest=${line#*|}
  description=${rest##*|}
  expression=${rest%|*}
  file="$worktree/$path"
  prefix=$(printf '%s/fault-%02d' "$logs" "$number")
  outcome=""
  if [[ ! -f "$file" ]]; then
    outcome="did not apply (no such file)"
  else
    planted=$path
    sed -i -e "$expression" "$file"
    if git -C "$worktree" diff --quiet -- "$path"; then
      outcome="did not apply"
    else
      git -C "$worktree" diff -- "$path" >"$prefix.diff"
      build_and_test "$prefix"
      case $? in
        0) outcome="missed"; missed=$((missed + 1)) ;;
        1)
          outcome="caught"
          caught=$((caught + 1))
          grep -E '^\s*[0-9]+ - ' "$prefix.test.log" | sed 's/^ *[0-9]* - //' >"$prefix.failed"
          ;;
        2)
          # The fault may break only the tests' build (a test uses what it
          # changed); that counts as caught. Anything else is a bad fault.
          if grep -q 'tests/CMakeFiles' "$prefix.build.log" &&
             ! grep -Eq 'FAILED: (src|bench|fuzz)/' "$prefix.build.log"; then
            outcome="caught (tests do not build)"
            caught=$((caught + 1))
          else
            outcome="breaks build"
          fi
          ;;
      esac
    fi
    restore
  fi
  results+=("$(printf '%2d  %-8s  %-45s  %s' "$number" "${outcome%% *}" "$path" "$description")")
  printf '%2d %-30s %s\n' "$number" "$outcome" "$description"
done 3<"$list"

# Leave the build folder matching the restored sources.
echo "Rebuilding the unchanged tree ..."
cmake --build "$build" >"$logs/final.build.log" 2>&1 || echo "final rebuild failed" >&2

echo
printf '%2s  %-8s  %-45s  %s\n' "#" "result" "file" "fault"
printf '%s\n' "${results[@]}"
echo
echo "caught $caught of $number (missed $missed); logs in $logs"
