#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build in turn, seeded with the real files they read (the
# shared corpus, the show's own scripts and meshes), the corpus kept in tests/fuzz/corpus/ and the
# inputs that once failed; then merges what each run found into the kept corpus (minimised, files
# of at most KEEP_MAX_BYTES=1024 bytes, SHOW_KEEP_MAX_BYTES=4096 for the show fuzzer) and prints
# the campaign's table.
#   tests/fuzz/run-all.sh BUILD-FUZZ [SECONDS-PER-TARGET=60] [TARGET...]
# The show fuzzer gets SHOW_SECONDS (three times the others' share unless set). A finding's input
# is left in BUILD-FUZZ/findings/<target>/ to be copied into tests/fuzz/regressions/<target>/; the
# table is also written to BUILD-FUZZ/campaign.txt (campaign-TARGET.txt after the first TARGET
# named). Run it under `nice -n 19` on a shared machine.
set -uo pipefail
fuzz=$(cd "${1:?usage: tests/fuzz/run-all.sh BUILD-FUZZ [SECONDS] [TARGET...]}" && pwd)
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
only=("$@")
table=$fuzz/campaign.txt
[ ${#only[@]} -gt 0 ] && table=$fuzz/campaign-${only[0]}.txt
show_seconds=${SHOW_SECONDS:-$((seconds * 3))}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/../../../shared/corpus
scripts=$here/../../data/scr
kept=$here/corpus

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

# The show fuzzer reads an odd first byte as "three scripts follow as text, NUL-separated":
# one seed per timeline and scene of the show, with a shader script beside it.
show_seeds() {
  local work=$1 n=0 effect scene
  for effect in "$scripts"/*.effect; do
    for scene in "$scripts"/interlude.scene "$scripts"/tunnelscene.scene "$scripts"/eyeball_scene.scene; do
      n=$((n + 1))
      { printf '\x01'; cat "$effect"; printf '\0'; cat "$scene"; printf '\0'; cat "$scripts/tunnelscene.shader"; } \
        >"$work/seed-$n"
    done
  done
}

# "cov: N" of libFuzzer's first and last status lines.
coverage_at() { grep -oE "#[0-9]+[[:space:]]+$1 +cov: [0-9]+" "$2" | head -1 | grep -oE '[0-9]+$'; }

printf '%-22s %10s %7s %9s %9s %8s %9s\n' target executions seconds cov-start cov-end new-cov findings | tee "$table"
total_runs=0
total_findings=0
for target in "$fuzz"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  short=${name#fuzz_}
  if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " $short " ]]; then continue; fi
  time_for=$seconds
  flags=()
  # Whole shows take more than the default 4 KiB of input.
  [ "$short" = show ] && time_for=$show_seconds && flags=(-max_len=16384)
  work=$fuzz/fuzz-work/$short
  findings=$fuzz/findings/$short
  rm -rf "$work"
  mkdir -p "$work" "$findings" "$kept/$short"
  for seed in $(seeds_for "$short"); do
    if [ -d "$seed" ]; then cp "$seed"/* "$work"/ 2>/dev/null; elif [ -f "$seed" ]; then cp "$seed" "$work"/; fi
  done
  [ "$short" = show ] && show_seeds "$work"
  [ -d "$here/regressions/$short" ] && cp "$here/regressions/$short"/* "$work"/ 2>/dev/null
  found_before=$(ls "$findings" | wc -l)
  log=$fuzz/fuzz-work/$short.log
  began=$(date +%s)
  "$target" -max_total_time="$time_for" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=20 \
    -print_final_stats=1 "${flags[@]}" -artifact_prefix="$findings/" "$work" "$kept/$short" >"$log" 2>&1
  # A finding ends the run early: the table gives the seconds it ran.
  ran=$(( $(date +%s) - began ))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  [ -n "$runs" ] || runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
  start_cov=$(coverage_at INITED "$log")
  end_cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+')
  found=$(( $(ls "$findings" | wc -l) - found_before ))
  # Keep the smallest set of inputs that covers everything this run and the kept corpus reached.
  "$target" -merge=1 -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=20 "$kept/$short" "$work" \
    >"$fuzz/fuzz-work/$short.merge.log" 2>&1
  # The repository keeps the small finds only: the large inputs are the seeds and their
  # mutations, made again from the seeds by every run.
  keep_max=${KEEP_MAX_BYTES:-1024}
  [ "$short" = show ] && keep_max=${SHOW_KEEP_MAX_BYTES:-4096}
  find "$kept/$short" -type f -size +"$keep_max"c -delete
  printf '%-22s %10s %7s %9s %9s %8s %9s\n' "$short" "${runs:-0}" "$ran" "${start_cov:-?}" "${end_cov:-?}" \
    "$(( ${end_cov:-0} - ${start_cov:-0} ))" "$found" | tee -a "$table"
  total_runs=$((total_runs + ${runs:-0}))
  total_findings=$((total_findings + found))
done
printf 'all targets: %s executions, %s findings\n' "$total_runs" "$total_findings" | tee -a "$table"
