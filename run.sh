#!/usr/bin/env bash
# Builds the program and runs it on the demo study: the desktop window where a display
# exists, otherwise a headless run that computes the demo study and writes its table as PDF.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
bin=build/bin
studies="$bin/MELETES"
if [ ! -e "$studies/DEMO.DVT" ]; then
    "$bin/dravin-cli" load --studies-dir "$studies" --study DEMO data/demo/demo-study.json
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # The first run opens the demo study; later runs open the study last used.
    [ -e "$bin/DRAVIN.INI" ] || printf '[FILE]\r\nNAME=DEMO\r\n' > "$bin/DRAVIN.INI"
    exec "$bin/dravin"
fi
"$bin/dravin-cli" compute --studies-dir "$studies" --study DEMO
"$bin/dravin-cli" report --studies-dir "$studies" --study DEMO --variant 1 --pdf "$studies/DEMO.pdf"
echo "No display: the demo study's apportionment table (short, A4) is in $studies/DEMO.pdf"
