#!/usr/bin/env bash
# Builds Kestro when needed and starts it in build/run/, a run folder with a link to the
# repository's Data/ and its own Output/ (so ../DeveloperOutput is build/DeveloperOutput).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build"
run="$build/run"

"$repo/scripts/setup.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$repo" -B "$build" -G Ninja >/dev/null
fi
ninja -C "$build" kestro >/dev/null

mkdir -p "$run/Output"
if [ ! -e "$run/Data" ]; then
  ln -s "$repo/Data" "$run/Data"
fi
cd "$run"
exec "$build/src/app/kestro" "$@"
