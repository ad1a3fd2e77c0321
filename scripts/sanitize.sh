#!/usr/bin/env bash
# Builds everything again with AddressSanitizer and UndefinedBehaviorSanitizer
# (and the standard library's bounds checks, on in every build) and runs the
# whole test suite there. Its own build folder: build-asan. (GCC warns wrongly
# of uninitialised values inside the standard library under AddressSanitizer.)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -Wno-maybe-uninitialized" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DZARV_BUILD_BENCH=OFF -DZARV_WERROR=ON >/dev/null
cmake --build build-asan --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches until the process ends: leaks there are not ours.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The browser tests once here (the server's web side under the sanitizers);
# the rest of them look at the page, which the sanitizers do not change.
ctest --test-dir build-asan --output-on-failure --timeout 60 -j "$(nproc)" -LE browser
ctest --test-dir build-asan --output-on-failure -R '^browser_game$'
