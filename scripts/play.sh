#!/usr/bin/env bash
# Installs what is missing, builds and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh --play
exec build/app/zarv "$@"
