#!/usr/bin/env bash
# Builds everything and runs every test. With --sanitize, builds into build-asan with
# AddressSanitizer and UndefinedBehaviorSanitizer instead. VW_WERROR=ON in the environment turns
# compiler warnings into errors (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

build=build
options=(-DCMAKE_BUILD_TYPE=Release -DVW_SANITIZE=OFF -DVW_BUILD_GUI=ON -DVW_BUILD_TESTS=ON)
if [[ "${1:-}" == "--sanitize" ]]; then
    build=build-asan
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVW_SANITIZE=ON -DVW_BUILD_GUI=ON -DVW_BUILD_TESTS=ON -DVW_BUILD_BENCH=OFF)
fi

cmake -S . -B "$build" "${options[@]}" -DVW_WERROR="${VW_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
# A private session bus, so the desktop integration talks to the tests' own stand-in services.
dbus-run-session -- ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
