#!/usr/bin/env bash
# The seek benchmark: starts the show headless at each time given (a start, a seek and a
# reload all start the show at a time) and reports the start-up from launch to the first frame
# with everything loaded, and that first frame's update, where the effects and scenes whose
# window began earlier catch up. The default times are the late ends of the longest windows.
#   bench/seek.sh [build folder] [show seconds...]      (FPS=N sets the fixed step, 60)
set -euo pipefail
build=${1:-build}
shift || true
times=("$@")
[ "${#times[@]}" -gt 0 ] || times=(43.4 85.4 127.7 135.2 174.0 212.8 294.2 355.9)
fps=${FPS:-60}
# A folder of its own for the log, playing the build's data.
work=$(mktemp -d /tmp/oculith-seek.XXXXXX)
trap 'rm -rf "$work"' EXIT
ln -s "$(cd "$build" && pwd)/data" "$work/data"
log=$work/frames.csv
printf '%-8s %12s %18s %16s\n' start "start-up ms" "first update ms" "its cpu ms"
for t in "${times[@]}"; do
  until=$(awk -v t="$t" 'BEGIN { print t + 0.02 }')
  "$build/oculith" --data "$work" --headless --mute --fps "$fps" --start "$t" --until "$until" \
    --frame-log "$log" >/dev/null
  startup=$(grep '^Frames:' "$work/application.log" | sed 's/.*start-up \([0-9.]*\) ms.*/\1/')
  first=$(awk -F, 'NR == 2 { print $3, $4 }' "$log")
  read -r wall cpu <<<"$first"
  printf '%-8s %12s %18s %16s\n' "$t" "$startup" "$wall" "$cpu"
done
