#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds, then plays the show or runs every test.
#   ./build.sh play [oculith options]   build and play the show
#   ./build.sh test                     build and run every test
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libglu1-mesa-dev libegl-dev libgl-dev
  libegl-mesa0 libgl1-mesa-dri libfreetype-dev libmp3lame-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev ffmpeg)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

build=${OCULITH_BUILD_DIR:-build}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

case "${1:-play}" in
  play)
    shift || true
    # The build folder holds the complete show: the scripts and the generated assets.
    exec "$build/oculith" --data "$build" "$@" ;;
  test)
    cd "$build"
    exec ctest --output-on-failure -j "$jobs" ;;
  *)
    echo "usage: ./build.sh [play [oculith options] | test]" >&2
    exit 2 ;;
esac
