#!/usr/bin/env bash
# Builds and runs every test, in folders of its own:
#   build-test/     a Release build of everything (library, game, tools, examples, benchmarks and tests)
#                   with warnings as errors, then the whole suite (unit tests, then the display and
#                   end-to-end tests under their own X servers);
#   build-asan/     the unit tests again with AddressSanitizer and UndefinedBehaviorSanitizer, built
#                   with debug information;
# and last the library installed from build-test/ to a temporary prefix and an example built against it
# from outside the tree, once through find_package and once through pkg-config.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/install-deps.sh" test

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
export RT_UNATTENDED=1 SDL_AUDIODRIVER=dummy

echo "== Release build with warnings as errors, and every test"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=Release -DRT_GAME=ON -DRT_TESTS=ON -DRT_BENCH=ON \
      -DRT_EXAMPLES=ON -DRT_WERROR=ON -DRT_SANITIZE=OFF "${launcher[@]}" >/dev/null
cmake --build "$root/build-test" -j "$jobs"
(cd "$root/build-test" && ctest --output-on-failure --no-tests=error -j "$jobs")

echo "== Unit tests with sanitizers"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRT_GAME=ON -DRT_TESTS=ON -DRT_BENCH=OFF \
      -DRT_EXAMPLES=OFF -DRT_WERROR=ON -DRT_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build "$root/build-asan" --target unit_tests game_logic_tests -j "$jobs"
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --no-tests=error -j "$jobs" -L unit)

echo "== Installed package, used from outside the tree"
"$root/scripts/check-install.sh" "$root/build-test"
