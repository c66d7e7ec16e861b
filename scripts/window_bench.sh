#!/usr/bin/env bash
# The window benchmarks in one run: 20,000 rows, and the whole 22 x 5 x 50 ms search, each on
# the offscreen platform, which paints nothing a person would see, and on a real X server
# (Xvfb, the xcb platform), where painting costs what it costs on a desktop.
# Usage: scripts/window_bench.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build}/bench/shareseek_window_bench
for run in rows search; do
    QT_QPA_PLATFORM=offscreen "$bench" "$run" 2>/dev/null
    xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$bench" "$run" 2>/dev/null
done
