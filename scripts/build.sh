#!/usr/bin/env bash
# Configures and builds one preset (default or asan) after making sure packages are there;
# further arguments go to the build (e.g. --target chimora).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-default}"
shift || true
"$root/scripts/setup.sh"
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" "$@"
