#!/usr/bin/env bash
# Shared by start.sh and test.sh: installs the Debian packages that are missing
# (nothing when all are there), then configures and builds a CMake preset:
# every target, or only those named after "--".
# Usage: setup.sh PRESET [extra packages...] [-- targets...]
set -euo pipefail

preset="${1:-default}"
shift || true
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(g++ cmake ninja-build make qt6-base-dev libgtest-dev rapidjson-dev)
targets=()
while (($# > 0)); do
    if [[ "$1" == -- ]]; then
        shift
        targets=("$@")
        break
    fi
    packages+=("$1")
    shift
done
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [[ "$(id -u)" != 0 ]]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --parallel "$(nproc)" ${targets[@]:+--target "${targets[@]}"}
