#!/usr/bin/env bash
# Sets up, builds and runs every test. ZELVARIN_SANITIZE=ON builds them with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
sanitize="${ZELVARIN_SANITIZE:-OFF}"
dir="build-tests"
[ "$sanitize" = "ON" ] && dir="build-asan"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELVARIN_TESTS=ON -DZELVARIN_SANITIZE="$sanitize"
cmake --build "$dir"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j2
