#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite, the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# a bounded run of every fuzz target. --quick runs the first part only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# A hang fails within a minute.
ctest --test-dir build --output-on-failure --timeout 60 -j "$(nproc)"
[ "${1:-}" = "--quick" ] && exit 0
scripts/sanitize.sh
scripts/fuzz.sh
