#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build in turn, seeded with the real files they read (the
# shared corpus, the show's own scripts and meshes) and with the inputs that once failed.
#   tests/fuzz/run-all.sh BUILD-FUZZ [SECONDS-PER-TARGET=60]
# Prints one line per target (runs, seconds, findings); a finding's input is left in
# BUILD-FUZZ/findings/<target>/ to be copied into tests/fuzz/regressions/<target>/.
set -uo pipefail
fuzz=${1:?usage: tests/fuzz/run-all.sh BUILD-FUZZ [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/../../../shared/corpus
scripts=$here/../../data/scr

seeds_for() {
  case "$1" in
    texture_png) echo "$corpus/png" ;;
    texture_jpeg) echo "$corpus/jpg" ;;
    texture_tga) echo "$corpus/tga" ;;
    lwo_reader|geometry_lwoimport) echo "$corpus/lwo" ;;
    platform_video) echo "$corpus/avi" ;;
    effects_loader) echo "$scripts/generic.effect $scripts/tunnelscene.effect" ;;
    scenegraph_scene) ls "$scripts"/*.scene ;;
    material_shader|texture_state) ls "$scripts"/*.shader ;;
    animation_envelope|animation_keyframer) echo "$scripts/alienscene_metaballs.envelope"; ls "$scripts"/*.scene ;;
    particles_reader) ls "$scripts"/*.effect "$scripts"/*.scene ;;
  esac
}

total_runs=0
total_findings=0
for target in "$fuzz"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  short=${name#fuzz_}
  work=$fuzz/fuzz-work/$short
  findings=$fuzz/findings/$short
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  for seed in $(seeds_for "$short"); do
    if [ -d "$seed" ]; then cp "$seed"/* "$work"/ 2>/dev/null; elif [ -f "$seed" ]; then cp "$seed" "$work"/; fi
  done
  [ -d "$here/regressions/$short" ] && cp "$here/regressions/$short"/* "$work"/ 2>/dev/null
  log=$fuzz/fuzz-work/$short.log
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" >"$log" 2>&1
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  found=$(ls "$findings" | wc -l)
  printf '%-22s %10s runs %5s s  findings: %s\n' "$short" "${runs:-0}" "$seconds" "$found"
  total_runs=$((total_runs + ${runs:-0}))
  total_findings=$((total_findings + found))
done
printf 'all targets: %s runs, %s findings\n' "$total_runs" "$total_findings"
