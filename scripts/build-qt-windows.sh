#!/usr/bin/env bash
# Builds Qt 6 for 64-bit Windows (MinGW-w64) from Debian's own qt6-base
# source package, the same version as the host's Qt, with the project's
# toolchain file. The result is what the "windows" preset needs: point
# CFG_QT_WINDOWS at PREFIX.
#
#   bash scripts/build-qt-windows.sh PREFIX [--configure-only]
#
# CFG_QT_BUILD_DIR  where the source is unpacked and built (default PREFIX.build)
# CFG_QT_JOBS       parallel build jobs (default: the number of cores)
# CFG_QT_NICE       niceness of the build (default 10)
#
# About 1,300 build steps; under an hour on two cores. Modules: Core, Gui,
# Widgets, PrintSupport, Network, Test, the windows/offscreen/minimal
# platforms, the windowsvista style, the image-format plugins. No SQL,
# D-Bus, OpenGL, Concurrent, XML, OpenSSL or tablet events.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

prefix=${1:-}
configure_only=0
[ "${2:-}" = "--configure-only" ] && configure_only=1
if [ -z "$prefix" ] || [ "$prefix" = "--configure-only" ]; then
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
work=${CFG_QT_BUILD_DIR:-$prefix.build}
jobs=${CFG_QT_JOBS:-$(nproc)}
niceness=${CFG_QT_NICE:-10}
mkdir -p "$work"
work=$(cd "$work" && pwd)

bash scripts/apt-install.sh cmake ninja-build dpkg-dev perl python3 \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools

# The source of exactly the host's Qt: its tools (moc, rcc, uic) run in the
# Windows build and must be of the same version.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
echo "Host Qt: qt6-base $version"

# apt-get source needs deb-src lines for the suite the host's packages
# come from; add them once, beside the system's own list.
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
  list=/etc/apt/sources.list.d/cfg-veltrano-deb-src.sources
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    # The system's deb822 entries, as deb-src.
    sed -n 's/^Types:.*/Types: deb-src/p; /^URIs:/p; /^Suites:/p; /^Components:/p; /^Signed-By:/p; /^$/p' \
      /etc/apt/sources.list.d/debian.sources | $SUDO tee "$list" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee "${list%.sources}.list" >/dev/null
  fi
  $SUDO apt-get update -qq
fi

src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
if [ -z "$src" ] || [ ! -f "$src/CMakeLists.txt" ]; then
  echo "Fetching and unpacking the qt6-base source into $work"
  (cd "$work" && apt-get source -qq "qt6-base=$version")
  src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
fi
[ -f "$src/src/corelib/CMakeLists.txt" ] || { echo "no Qt source under $work" >&2; exit 1; }
echo "Source: $src"

# With OpenGL off, the Windows platform plugin must not take the dynamic-GL
# branch of isSoftwareGl(); FEATURE_dynamicgl=OFF says so to the build, and
# the guard below makes the source agree whatever the feature's default.
win=$src/src/plugins/platforms/windows/qwindowswindow.cpp
if grep -q '^#if QT_CONFIG(dynamicgl)$' "$win"; then
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$win"
fi

host_cmake=$(dirname "$(dirname "$(dpkg -L qt6-base-dev | grep '/Qt6HostInfoConfig.cmake$' | head -1)")")
build=$work/build-win
echo "Configuring in $build (install prefix $prefix)"
nice -n "$niceness" cmake -S "$src" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DINPUT_openssl=no \
  -DFEATURE_tabletevent=OFF
if [ "$configure_only" = 1 ]; then
  echo "Configured: $build (build with: nice ninja -C $build && cmake --install $build)"
  exit 0
fi

echo "Building with $jobs jobs at niceness $niceness"
nice -n "$niceness" ninja -C "$build" -j "$jobs"
cmake --install "$build" >/dev/null
echo "Qt for Windows is in $prefix: build with CFG_QT_WINDOWS=$prefix cmake --preset windows"
