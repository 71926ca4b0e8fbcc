#!/usr/bin/env bash
# Configures and builds one preset (default or asan) after making sure packages are there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-default}"
"$root/scripts/setup.sh"
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
