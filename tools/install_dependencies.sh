#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but
# only those missing, so that a second call costs nothing. Run as root.
set -euo pipefail

packages=(
    build-essential cmake g++
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-urw-base35
    xvfb xdotool xclip xauth
    clang libclang-rt-14-dev
    dpkg-dev file desktop-file-utils python3
    locales
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The number readers are tested under a German locale, whose decimal comma
# the program must ignore.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
