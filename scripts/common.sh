# Shared by build.sh, test.sh, run.sh and bench.sh: the build trees and how to
# configure and build them. Source it; it sets ROOT.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_tree <tree> [cmake arguments]: configures once, then only builds.
configure_tree() {
  local tree="$ROOT/build/$1"
  shift
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$tree" -G Ninja "$@" >"$tree.configure.log" 2>&1 ||
      { cat "$tree.configure.log" >&2; return 1; }
  fi
}

# Builds quietly: the log is shown only when the build fails.
build_tree() {
  local log="$ROOT/build/$1.build.log"
  if ! cmake --build "$ROOT/build/$1" -- -j"$(nproc)" >"$log" 2>&1; then
    cat "$log" >&2
    return 1
  fi
}

windows_triplet() {
  case "$1" in
    win32) echo i686-w64-mingw32 ;;
    win64) echo x86_64-w64-mingw32 ;;
  esac
}

# The three shipped targets: linux-x86_64, win32, win64.
build_target() {
  local target="$1"
  mkdir -p "$ROOT/build"
  if [ "$target" = linux-x86_64 ]; then
    configure_tree "$target" -DCMAKE_BUILD_TYPE=Release
  else
    local triplet
    triplet="$(windows_triplet "$target")"
    "$ROOT/scripts/libpng-mingw.sh" "$triplet"
    configure_tree "$target" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$triplet.cmake" \
      -DGRITTBOX_DEPS_PREFIX="$ROOT/build/deps/$triplet"
  fi
  build_tree "$target"
  cmake --install "$ROOT/build/$target" --prefix "$ROOT/dist/$target" 2>&1 |
    grep -v -e '^-- Up-to-date' -e '^-- Install configuration' || true
}

# Wine in a prefix of our own inside the build tree, with no display needed
# from the user (xvfb-run) and no Mono or Gecko installer offered.
# run_wine <wine|wine64> <program> [arguments]: Debian keeps wine64 out of PATH.
run_wine() {
  local loader="$1"
  shift
  if ! command -v "$loader" >/dev/null; then loader="/usr/lib/wine/$loader"; fi
  WINEPREFIX="$ROOT/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    xvfb-run -a "$loader" "$@"
}

stop_wine() {
  WINEPREFIX="$ROOT/build/wineprefix" wineserver -k 2>/dev/null || true
}
