#!/usr/bin/env bash
# Runs Chimora on its embedded defaults: a reference catalogue with sample tones on
# loopback, a demo device with a messenger, and the app — in a window when a display
# exists, otherwise headless through a short demo script that writes screenshots.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Only what the demo runs: the app with its resources and the catalogue service.
"$root/scripts/build.sh" default --target chimora chimora-catalogue chimora_resources >&2
bin="$root/build/default"
work="${CHIMORA_DEMO_DIR:-$root/build/demo}"
port="${CHIMORA_PORT:-8642}"
mkdir -p "$work"
export TZ="${TZ:-Asia/Shanghai}"

catalogue="$bin/service/chimora-catalogue"
db="$work/catalogue/catalogue.db"
if [ ! -f "$db" ]; then
  "$catalogue" seed --db "$db" --seed 7 >&2
fi
"$catalogue" serve --db "$db" --port "$port" >"$work/catalogue.log" 2>&1 &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  if curl -sf "http://127.0.0.1:$port/" >/dev/null; then break; fi
  sleep 0.1
done

device="$work/device"
if [ ! -d "$device/var/mobile" ]; then
  "$bin/host/chimora" device init --messenger --device-root "$device" >&2
fi
args=(--device-root "$device" --base-url "http://127.0.0.1:$port/" --report-url "http://127.0.0.1:$port/report/")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${SDL_VIDEODRIVER:-}" != "offscreen" ]; then
  "$bin/host/chimora" "${args[@]}"
else
  shots="$work/screenshots"
  mkdir -p "$shots"
  sed "s#@SHOTS@#$shots#g" "$root/scripts/demo.script" >"$work/demo.script"
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    "$bin/host/chimora" "${args[@]}" --headless --script "$work/demo.script"
  echo "Screenshots of the demo are in $shots" >&2
fi
