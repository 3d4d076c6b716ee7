#!/usr/bin/env bash
# Builds and runs every test: the whole suite in a normal build (unit tests, then the display and
# end-to-end tests under their own X servers), then the unit tests again with AddressSanitizer and
# UndefinedBehaviorSanitizer in a second build directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/install-deps.sh" test

export RT_UNATTENDED=1 SDL_AUDIODRIVER=dummy
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j "$jobs"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

cmake -S "$root" -B "$root/build-asan" -DRT_SANITIZE=ON -DRT_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" --target unit_tests game_logic_tests -j "$jobs"
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs" -L unit)
