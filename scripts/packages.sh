#!/usr/bin/env bash
# The Debian 12 packages shareseek needs to build, test and run; installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libcurl4-openssl-dev libpcre2-dev
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    clang-14 libclang-rt-14-dev
    fonts-wqy-microhei fonts-arphic-ukai
    xvfb xauth
    locales
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale that writes numbers with a decimal comma, for the test that numbers are written
# alike in every locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8' && [ "$(id -u)" -eq 0 ]; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi
