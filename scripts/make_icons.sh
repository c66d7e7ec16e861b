#!/usr/bin/env bash
# Renders the icon's PNG sizes from resources/icons/shareseek.svg (run after changing it; the
# PNGs are committed, so that building needs no renderer).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq librsvg2-bin
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" resources/icons/shareseek.svg -o "resources/icons/shareseek-$size.png"
done
