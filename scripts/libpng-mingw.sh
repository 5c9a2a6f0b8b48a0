#!/usr/bin/env bash
# Builds a static libpng for one mingw-w64 triplet from Debian's source
# package, once, into build/deps/<triplet>. Usage: libpng-mingw.sh <triplet>
set -euo pipefail

triplet="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$root/build/deps"
prefix="$deps/$triplet"

if [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ]; then
  exit 0
fi

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian's deb-src twin of every Debian entry, so apt can fetch source packages.
ensure_source_entries() {
  local twin=/etc/apt/sources.list.d/grittbox-deb-src.sources
  [ -f "$twin" ] && return 0
  local found=0
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    [ "$list" = "$twin" ] && continue
    grep -q "debian" "$list" || continue
    sed -e 's/^Types:.*/Types: deb-src/' "$list" | sudo_if_needed tee -a "$twin" >/dev/null
    echo | sudo_if_needed tee -a "$twin" >/dev/null
    found=1
  done
  if [ "$found" -eq 0 ] && [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      sudo_if_needed tee /etc/apt/sources.list.d/grittbox-deb-src.list >/dev/null
    sudo_if_needed touch "$twin"
  fi
  sudo_if_needed apt-get update -q || true
}

fetch_source() {
  local src="$deps/src"
  mkdir -p "$src"
  local tarball
  tarball="$(ls "$src"/libpng1.6_*.orig.tar.* 2>/dev/null | head -n 1 || true)"
  if [ -z "$tarball" ]; then
    ensure_source_entries
    (cd "$src" && apt-get source --download-only libpng1.6) || true
    tarball="$(ls "$src"/libpng1.6_*.orig.tar.* 2>/dev/null | head -n 1 || true)"
    if [ -z "$tarball" ]; then
      # The newest listed version may be missing from the archive; older ones carry the same tarball.
      for version in $(apt-cache showsrc libpng1.6 | awk '/^Version:/ {print $2}'); do
        (cd "$src" && apt-get source --download-only "libpng1.6=$version") || continue
        tarball="$(ls "$src"/libpng1.6_*.orig.tar.* 2>/dev/null | head -n 1 || true)"
        [ -n "$tarball" ] && break
      done
    fi
  fi
  if [ -z "$tarball" ]; then
    echo "libpng-mingw: could not fetch the libpng1.6 source package" >&2
    exit 1
  fi
  rm -rf "$src/libpng"
  mkdir -p "$src/libpng"
  tar -xf "$tarball" -C "$src/libpng" --strip-components=1
}

[ -f "$deps/src/libpng/CMakeLists.txt" ] || fetch_source

toolchain="$root/cmake/toolchain-$triplet.cmake"
work="$deps/build-libpng-$triplet"
rm -rf "$work"
cmake -S "$deps/src/libpng" -B "$work" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >"$work.log" 2>&1 ||
  { cat "$work.log" >&2; exit 1; }
cmake --build "$work" >>"$work.log" 2>&1 || { cat "$work.log" >&2; exit 1; }
cmake --install "$work" >>"$work.log" 2>&1 || { cat "$work.log" >&2; exit 1; }
echo "libpng-mingw: built $prefix/lib/libpng16.a"
