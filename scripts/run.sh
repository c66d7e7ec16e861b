#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/packages.sh
scripts/build.sh build
if [ ! -x build/src/app/shareseek ]; then
    echo "shareseek has no window yet: the core libraries and tests are built, there is nothing to start."
    exit 0
fi
exec build/src/app/shareseek "$@"
