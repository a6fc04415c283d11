#!/usr/bin/env bash
# Builds the program and runs it on the demo study: loads it into the program's studies
# directory, computes it and writes its apportionment table as CSV.
set -euo pipefail
cd "$(dirname "$0")"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
bin=build/bin
"$bin/dravin-cli" load --studies-dir "$bin/MELETES" --study DEMO data/demo/demo-study.json
"$bin/dravin-cli" compute --studies-dir "$bin/MELETES" --study DEMO
"$bin/dravin-cli" export --studies-dir "$bin/MELETES" --study DEMO --format csv -o "$bin/MELETES/DEMO.csv"
echo "The demo study is in $bin/MELETES (study DEMO); its computed table: $bin/MELETES/DEMO.csv"
