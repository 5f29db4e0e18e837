#!/usr/bin/env bash
# The headless show benchmark: renders the whole show off screen at 640 x 480 and reports, for
# the whole run and for each scene window, the frame cost (median, 95th percentile, worst), the
# CPU time of the frame's update (the simulations: flock, water, metaballs, particles...) and
# the start-up time with everything loaded.
#   bench/show.sh [build folder] [extra oculith options]      (FPS=N sets the fixed step, 30)
# Runs without anti-aliasing unless the options say otherwise (--msaa 4 measures its cost).
set -euo pipefail
build=${1:-build}
shift || true
fps=${FPS:-30}
log=$(mktemp /tmp/oculith-frames.XXXXXX.csv)
trap 'rm -f "$log"' EXIT
start=$(date +%s.%N)
"$build/oculith" --data "$build" --headless --fps "$fps" --until 358.2 --frame-log "$log" --msaa 0 "$@"
end=$(date +%s.%N)
grep '^Frames:' "$build/application.log" | sed 's/,.*start-up/: start-up/; s/, frame cost.*//'
errors=$(grep -c -E 'GL_INVALID|GL_STACK|GL_OUT_OF_MEMORY|UNKNOWN OPENGL' "$build/application.log" || true)
awk -v s="$start" -v e="$end" -v g="$errors" -v fps="$fps" \
    'BEGIN { printf "wall %.1f s at --fps %d, GL errors logged: %s\n", e - s, fps, g }'

# Scene windows (show seconds); a frame belongs to the window its show time falls in.
names=(Introduction WaterSimulation Interlude TunnelScene DirtyCellar GeometricWorld Vizidedar
       AlienMorphScene Greetings Ending "whole show")
edges=(0 43.467 127.802 135.233 174.056 212.88 229.041 261.549 294.243 356 358.2)
# median, 95th percentile and worst of a column of numbers
quantiles() { sort -g | awk '{ a[NR] = $1 } END { if (NR) printf "%d %.2f %.2f %.2f", NR, a[int(NR / 2) + 1], a[int(NR * 95 / 100) + 1], a[NR] }'; }
printf '%-16s %-15s %6s %8s %8s %8s %11s\n' window seconds frames median p95 worst "update cpu"
printf '%-16s %-15s %6s %8s %8s %8s %11s\n' "" "" "" ms ms ms "median ms"
for k in "${!names[@]}"; do
  if [ "$k" -lt 10 ]; then lo=${edges[$k]}; hi=${edges[$((k + 1))]}; else lo=0; hi=1e9; fi
  frames=$(awk -F, -v lo="$lo" -v hi="$hi" 'NR > 1 && $1 >= lo && $1 < hi { print $2 }' "$log" | quantiles)
  [ -n "$frames" ] || continue
  cpu=$(awk -F, -v lo="$lo" -v hi="$hi" 'NR > 1 && $1 >= lo && $1 < hi { print $4 }' "$log" | quantiles)
  read -r n median p95 worst <<<"$frames"
  read -r _ cpuMedian _ _ <<<"$cpu"
  label="$lo-$hi"; [ "$k" -lt 10 ] || label="0-358.2"
  printf '%-16s %-15s %6d %8.2f %8.2f %8.2f %11.2f\n' "${names[$k]}" "$label" "$n" "$median" "$p95" "$worst" "$cpuMedian"
done
