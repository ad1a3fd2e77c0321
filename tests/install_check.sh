#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file lands
# where the program and the desktop look for it.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in games/zarv bin/zarv-sim bin/zarv-server lib/systemd/system/zarv-server.service share/zarv/Pass.wav share/zarv/Help/Help.htm share/zarv/Help/Help_fa.htm \
         share/applications/org.ombrel.Zarv.desktop share/metainfo/org.ombrel.Zarv.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.ombrel.Zarv.svg share/zarv/web/index.html share/zarv/web/manifest.webmanifest; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
echo "installed layout is complete"
