#!/usr/bin/env bash
# Sets up, builds and starts Zelvarin on the base folder ./run (created when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELVARIN_TESTS=OFF
cmake --build build
mkdir -p run
exec build/app/zelvarin --base run "$@"
