#!/usr/bin/env bash
# Builds and runs the whole test suite. CHIMORA_PRESET=asan runs it under the sanitizers.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${CHIMORA_PRESET:-${1:-default}}"
export TZ="${TZ:-Asia/Shanghai}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp}"
"$root/scripts/build.sh" "$preset"
cd "$root"
ctest --preset "$preset" -j 2
