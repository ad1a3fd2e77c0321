#!/usr/bin/env bash
# Plays 10,000 headless games (or the number given) in one process and reports
# resident memory at the start and the end and the stack depth at each game's
# end. Not a timed test: the figures go in the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
build/bench/zarv_soak "${1:-10000}"
