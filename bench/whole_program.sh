#!/usr/bin/env bash
# Whole-program figures, each against a baseline of the same run:
#  - start-up until the main window is shown (hyperfine), against an empty Qt window;
#  - resident memory of the idle main window;
#  - CPU of polling six simulated controllers, idle and while waiting on a silent slot.
# Usage: bench/whole_program.sh [seconds]   (build first: scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-60}"
bin=build/bin
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export ZUNO_PREFIX
ZUNO_PREFIX="$(mktemp -d)"
trap 'kill "${sim:-0}" 2>/dev/null || true; rm -rf "$ZUNO_PREFIX"' EXIT

mkdir -p "$ZUNO_PREFIX/drive_c/ZUNO" "$ZUNO_PREFIX/dosdevices"
printf '%s\r\n' 0 1 2 3 4 6 7 65 65 65 65 65 65 'C:\ZUNO\' 0 49688401 >"$ZUNO_PREFIX/drive_c/ZUNO/ZUNO.CFG"
"$bin/zuno-sim" --link "$ZUNO_PREFIX/dosdevices/com1" --slot 1=KVS --slot 2=PRX-T --slot 3=GZO1 \
  --slot 4=TERMA --slot 5=RT-58HW --slot 6="GZO NEO" --silent 6 </dev/null >/dev/null 2>&1 &
sim=$!
sleep 1

if command -v hyperfine >/dev/null; then
  hyperfine -N --warmup 3 --runs 20 "$bin/zuno_probe baseline" "$bin/zuno_probe startup"
else
  echo "hyperfine not installed (apt-get install hyperfine): start-up timing skipped"
fi
"$bin/zuno_probe" idle "$secs"
"$bin/zuno_probe" silent "$secs" 6
