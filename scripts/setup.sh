#!/usr/bin/env bash
# Prepares a Debian 12 machine (run as root) and the build folder: packages,
# the zh_CN locale for code page 936, jsoncpp built with mingw. Idempotent.
# Usage: setup.sh [play]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VESK_BUILD:-$root/build}
mkdir -p "$build"

packages=(build-essential cmake ninja-build python3 git pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev zlib1g-dev
  wine wine64 xvfb x11-utils x11-apps fonts-wqy-microhei fonts-wine imagemagick
  locales dpkg-dev xz-utils ccache
  libcrypto++-dev libinih-dev)
# "setup.sh play": also what shows a virtual display in a browser (scripts/play.sh).
if [ "${1:-}" = play ]; then
  packages+=(x11vnc novnc websockify)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Code page 936 under Wine comes from a zh_CN locale generated into the build tree.
if [ ! -d "$build/locale/zh_CN.UTF-8" ]; then
  mkdir -p "$build/locale"
  localedef -i zh_CN -f UTF-8 "$build/locale/zh_CN.UTF-8" 2>/dev/null || [ -d "$build/locale/zh_CN.UTF-8" ]
fi

# jsoncpp has no mingw build in Debian: fetch its source package through a
# private deb-src list for the same mirrors and build it for Windows.
jroot=$build/thirdparty/jsoncpp
if [ ! -f "$jroot/install/lib/libjsoncpp.a" ]; then
  apt=$build/thirdparty/apt
  rm -rf "$apt" "$jroot"
  mkdir -p "$apt/parts" "$apt/lists/partial" "$jroot/src"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q 'debian' "$f" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" > "$apt/parts/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$apt/parts/src.list" || true
  fi
  opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/parts" -o Dir::State::Lists="$apt/lists")
  apt-get "${opts[@]}" update -qq
  (cd "$jroot/src" && apt-get "${opts[@]}" source --download-only libjsoncpp >/dev/null 2>&1)
  tarball=$(ls "$jroot"/src/libjsoncpp_*.orig.tar.* | head -1)
  mkdir -p "$jroot/tree"
  tar -xf "$tarball" -C "$jroot/tree" --strip-components=1
  cmake -S "$jroot/tree" -B "$jroot/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$jroot/install" -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=OFF -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF -DJSONCPP_WITH_EXAMPLE=OFF >/dev/null
  cmake --build "$jroot/build" >/dev/null
  cmake --install "$jroot/build" >/dev/null
  [ -f "$jroot/install/lib/libjsoncpp.a" ] || { echo "setup: jsoncpp build failed" >&2; exit 1; }
fi
echo "setup: ready"
