#!/usr/bin/env bash
# Installs the runtime from a configured build folder to a temporary prefix, moves the prefix (the
# package must be relocatable), then builds examples/hello_sprite from outside the tree twice: with
# CMake through find_package(rtgame CONFIG), and with the compiler through pkg-config.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: check-install.sh BUILD_FOLDER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/staging" >/dev/null
mv "$work/staging" "$work/prefix"

mkdir "$work/with-cmake"
cp "$root/examples/hello_sprite.cpp" "$work/with-cmake/"
cat >"$work/with-cmake/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(hello_sprite LANGUAGES CXX)
find_package(rtgame CONFIG REQUIRED)
add_executable(hello_sprite hello_sprite.cpp)
target_link_libraries(hello_sprite PRIVATE rtgame::rtgame)
CMAKE
cmake -S "$work/with-cmake" -B "$work/with-cmake/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/with-cmake/build" >/dev/null
test -x "$work/with-cmake/build/hello_sprite"
echo "find_package: built hello_sprite"

pc_path=$(find "$work/prefix" -name rtgame.pc -printf '%h')
# shellcheck disable=SC2046 # pkg-config prints several words on purpose
c++ -o "$work/hello_sprite" "$root/examples/hello_sprite.cpp" \
    $(PKG_CONFIG_PATH="$pc_path" pkg-config --cflags --libs rtgame)
test -x "$work/hello_sprite"
echo "pkg-config: built hello_sprite"
