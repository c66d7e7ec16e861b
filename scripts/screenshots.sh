#!/usr/bin/env bash
# Starts the offline demo in a real window under Xvfb, runs a search, filters it, opens the
# extra-sites window, and saves screenshots of each into DIR (default: screenshots/).
# Every start draws a random skin; RUNS=n takes the main window n times.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/packages.sh
for tool in import:imagemagick xdotool:xdotool; do
    command -v "${tool%%:*}" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${tool##*:}"
done
scripts/build.sh build >/dev/null
out=${1:-screenshots}
mkdir -p "$out"
export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1

# Clicks at a point of the window's client area (below the menu bar).
click() { xdotool mousemove $((wx + $1)) $((wy + menu + $2)) click 1; sleep 0.3; }

for run in $(seq 1 "${RUNS:-1}"); do
    build/tools/demo/shareseek-demo &
    demo=$!
    window=$(xdotool search --sync --onlyvisible --name 'V10.19' | head -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    wx=$X wy=$Y menu=$((HEIGHT - 512))
    shoot() { import -window root -crop "${WIDTH}x${HEIGHT}+${wx}+${wy}" "$out/$1.png"; }

    click 250 15 && xdotool type --delay 20 'movie'
    click 41 68     # 百度网盘
    click 460 69    # 360云盘
    click 556 102   # 城通网盘
    click 556 136   # 115网盘
    click 470 15    # 给我搜
    sleep 4
    shoot "main-$run"
    if [ "$run" = 1 ]; then
        # 搜索状态 on the menu bar: the status window of this search.
        xdotool mousemove $((wx + 95)) $((wy + menu / 2)) click 1
        sleep 1
        status=$(xdotool search --sync --onlyvisible --name '^搜索状态$' | head -1)
        import -window "$status" "$out/search-status.png"
        xdotool windowclose "$status" 2>/dev/null || xdotool key --window "$status" Escape
        sleep 0.3
        click 590 209 && xdotool type --delay 20 'yunpan'
        click 669 209   # the magnifier
        shoot filtered
        click 453 178   # 其他: the extra-sites window
        sleep 1
        import -window root -crop "${WIDTH}x${HEIGHT}+${wx}+${wy}" "$out/extra-sites-full.png"
        import -window root "$out/extra-sites.png"
        xdotool key Escape
    fi
    kill "$demo" 2>/dev/null || true
    wait "$demo" 2>/dev/null || true
done
echo "screenshots in $out/"
