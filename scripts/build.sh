#!/usr/bin/env bash
# Configures (once) and builds one build tree, warnings as errors as in CI.
# Usage: build.sh DIR [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHARESEEK_WERROR=ON "$@"
fi
cmake --build "$dir" -j "$(nproc)"
