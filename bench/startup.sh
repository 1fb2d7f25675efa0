#!/usr/bin/env bash
# Start-up time: from process start to the first painted frame, for Scopique
# with no picture and with a 20 MP JPEG on the command line, beside an empty
# Qt Widgets window (bench/startup_reference.cpp) started the same way.
# Prints the median of each and the ratios (Scopique / reference).
#
# Usage (a Release build):
#   cmake --build build --target scopique startup_reference
#   bench/startup.sh [BUILD_DIR [RUNS]]          defaults: build, 11
#
# It runs under xvfb-run (a real X server) when that is installed and no
# display is set, else on Qt's offscreen platform. Both programs report their
# first frame the same way: with SCOPIQUE_FIRST_PAINT_EXIT set, Scopique
# prints "first-paint-ns N" (the wall clock in nanoseconds since 1970) on the
# event-loop turn after its first paint, and quits. Settings and favourites
# of the runs go to a temporary folder.
set -euo pipefail

build=${1:-build}
runs=${2:-11}

if [[ -z "${DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" && -z "${STARTUP_UNDER_XVFB:-}" ]] \
  && command -v xvfb-run >/dev/null; then
  STARTUP_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi
[[ -n "${DISPLAY:-}" ]] || export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
platform=${QT_QPA_PLATFORM:-xcb}

for program in "$build/scopique" "$build/bench/startup_reference"; do
  [[ -x "$program" ]] || { echo "startup.sh: $program is missing (see the usage above)" >&2; exit 2; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"

# A camera-like 20 MP picture: a gradient with noise, quality 90.
picture="$scratch/20MP.jpg"
convert -size 5472x3648 gradient:tan-purple -attenuate 0.2 +noise Gaussian -quality 90 "$picture"

# Milliseconds from just before the program starts to its first frame.
first_paint() {
  local start=${EPOCHREALTIME/[.,]/} output
  output=$(SCOPIQUE_FIRST_PAINT_EXIT=1 "$@" 2>/dev/null)
  [[ "$output" =~ first-paint-ns\ ([0-9]+) ]] || { echo "startup.sh: no first paint from $1" >&2; exit 1; }
  echo $(((BASH_REMATCH[1] / 1000 - start) / 1000))
}

median() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    times+=("$(first_paint "$@")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p"
}

# One run of each first, so that every program starts from a warm disk cache.
first_paint "$build/bench/startup_reference" >/dev/null
first_paint "$build/scopique" >/dev/null
first_paint "$build/scopique" "$picture" >/dev/null

reference=$(median "$build/bench/startup_reference")
empty=$(median "$build/scopique")
jpeg=$(median "$build/scopique" "$picture")

echo "First painted frame, median of $runs runs ($platform; ratio = Scopique / Qt Widgets window):"
awk -v r="$reference" -v e="$empty" -v j="$jpeg" 'BEGIN {
  printf "  %-24s %6d ms\n", "Qt Widgets window", r
  printf "  %-24s %6d ms, ratio %.2f\n", "Scopique, no picture", e, e / r
  printf "  %-24s %6d ms, ratio %.2f\n", "Scopique, 20 MP JPEG", j, j / r
}'
