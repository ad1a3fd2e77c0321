#!/usr/bin/env bash
# Configures and builds into ./build. With --play only the program and its
# tools (no tests or benchmarks); otherwise everything, warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--play" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARV_BUILD_TESTS=OFF -DZARV_BUILD_BENCH=OFF >/dev/null
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARV_BUILD_TESTS=ON -DZARV_BUILD_BENCH=ON -DZARV_WERROR=ON >/dev/null
fi
cmake --build build --parallel "$(nproc)"
