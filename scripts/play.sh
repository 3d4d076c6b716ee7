#!/usr/bin/env bash
# Builds Flipmatics and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DRT_TESTS=OFF -DRT_BENCH=OFF >/dev/null
cmake --build "$root/build" --target flipmatics -j "$(nproc)"
exec "$root/build/game/flipmatics" "$@"
