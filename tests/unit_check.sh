#!/bin/bash
# The server's systemd unit passes systemd-analyze verify, with its program
# where the unit expects it (here: the one just built). Skipped (77) where
# systemd-analyze is missing.
set -euo pipefail
unit="$1"; server="$2"
command -v systemd-analyze > /dev/null || exit 77
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
sed "s|/usr/bin/zarv-server|$server|" "$unit" > "$dir/zarv-server.service"
out=$(systemd-analyze verify "$dir/zarv-server.service" 2>&1) || { echo "$out"; exit 1; }
# Warnings count too: verify prints nothing for a clean unit.
[ -z "$out" ] || { echo "$out"; exit 1; }
