#!/usr/bin/env bash
# Installs what the builds and tests need on a fresh Debian machine; does nothing when all
# of it is there already. Needs root (or sudo) only when something is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcpp-httplib-dev libstb-dev
  mingw-w64 wine wine64 fonts-wine nsis
  xvfb xdotool x11-utils imagemagick
  fonts-liberation fonts-dejavu-core
)
# The installer is a 32-bit program: Wine runs it with its 32-bit part, from the i386 architecture.
packages+=(wine32:i386)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture (for 32-bit Wine)"
  $sudo dpkg --add-architecture i386
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
