#!/usr/bin/env bash
# Builds Flipmatics (and the archive packer) in build/ and starts the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRT_GAME=ON -DRT_TESTS=OFF -DRT_BENCH=OFF \
      -DRT_EXAMPLES=OFF -DRT_WERROR=OFF "${launcher[@]}" >/dev/null
cmake --build "$root/build" --target flipmatics sbx_pack -j "$(nproc)"
exec "$root/build/game/flipmatics" "$@"
