#!/usr/bin/env bash
# The headless show benchmark: renders the whole show off screen at 640 x 480 and prints the
# program's own statistics line (start-up to the first frame, frame cost median, 95th
# percentile, worst) and the wall time. Usage: bench/show.sh [build folder] [extra options]
set -euo pipefail
build=${1:-build}
shift || true
start=$(date +%s.%N)
"$build/oculith" --data "$build" --headless --until 358.2 "$@"
end=$(date +%s.%N)
grep '^Frames:' "$build/application.log"
errors=$(grep -c -E 'GL_INVALID|GL_STACK|GL_OUT_OF_MEMORY|UNKNOWN OPENGL' "$build/application.log" || true)
awk -v s="$start" -v e="$end" -v g="$errors" 'BEGIN { printf "wall %.2f s, GL errors logged: %s\n", e - s, g }'
