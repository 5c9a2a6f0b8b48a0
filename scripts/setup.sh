#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Fast when nothing is missing: it only asks dpkg.
set -euo pipefail

native_packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config dpkg-dev
  libgtest-dev libbenchmark-dev libpng-dev zlib1g-dev libsndfile1-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xauth clang-format
)
i386_packages=(wine32:i386)

missing=()
for package in "${native_packages[@]}" "${i386_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_if_needed dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A third-party list that cannot be reached must not stop the Debian ones.
  sudo_if_needed apt-get update -q || true
  sudo_if_needed apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
