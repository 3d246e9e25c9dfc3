#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the project. Quick when all is there.
set -euo pipefail
packages=(cmake ninja-build g++ make clang-format clang libclang-rt-14-dev
    mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine64 libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
    poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
