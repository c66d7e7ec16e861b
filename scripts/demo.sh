#!/usr/bin/env bash
# Installs what is missing, builds, and starts the offline demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/packages.sh
scripts/build.sh build
exec build/tools/demo/shareseek-demo "$@"
