#!/usr/bin/env bash
# Configures and builds the build trees named on the command line (default: native bench win).
# The native tree is built with clang and also holds the fuzz targets (compiled once for the
# unit tests, the corpus replays and the timed fuzz runs); "fuzz" names it too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VESK_BUILD:-$root/build}
jobs=${VESK_JOBS:-$(nproc)}
trees=()
for t in "$@"; do
  [ "$t" = fuzz ] && t=native
  [[ " ${trees[*]} " == *" $t "* ]] || trees+=("$t")
done
[ ${#trees[@]} -gt 0 ] || trees=(native bench win)

# Work trees of one machine share compiled objects through ccache: paths below the
# tree's root are hashed relative to it, so another clone or work tree hits the cache.
# The Windows tree compiles against a precompiled afxwin.h: ccache caches those
# compiles only when told that the header's macros and times may be trusted.
# The compile folder is left out of the hash too (ccache hashes it by default when objects
# carry debug information), or no other clone would ever hit.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}

configure() {
  local tree=$1 dir=$build/$1
  local args=(-S "$root" -B "$dir" -G Ninja -DVESK_TREE="$tree")
  if command -v ccache >/dev/null; then
    args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  case $tree in
    native) args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    bench)  args+=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Release) ;;
    win)    args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
                   -DVESK_JSONCPP="$build/thirdparty/jsoncpp/install") ;;
    *) echo "build: unknown tree $tree" >&2; exit 2 ;;
  esac
  # A native tree configured with gcc before it held the fuzz targets is configured afresh.
  if [ "$tree" = native ] && [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang' "$dir/CMakeCache.txt"; then
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake "${args[@]}" >/dev/null
  fi
}

for t in "${trees[@]}"; do
  configure "$t"
done
for t in "${trees[@]}"; do
  echo "build: $t"
  cmake --build "$build/$t" -j "$jobs"
done
