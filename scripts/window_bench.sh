#!/usr/bin/env bash
# The window benchmark twice in one run: on the offscreen platform, which paints nothing a
# person would see, and on a real X server (Xvfb, the xcb platform), where painting costs what
# it costs on a desktop. Usage: scripts/window_bench.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build}/bench/shareseek_window_bench
echo "== offscreen"
QT_QPA_PLATFORM=offscreen "$bench"
echo "== X server (Xvfb, xcb)"
xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$bench"
