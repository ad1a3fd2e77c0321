#!/usr/bin/env bash
# Installs what Zarv needs on Debian 12, and nothing when it is all there
# already. Without arguments: what building and playing need. With --test:
# also the tests, benchmarks, screenshots of the window and fuzzing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-websockets-dev
  nlohmann-json3-dev libsodium-dev libicu-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libqt6sql6-sqlite libqt6sql6-psql
  fonts-liberation2 fonts-dejavu-core
  fonts-noto-color-emoji
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick
    desktop-file-utils appstream
    clang libclang-rt-14-dev
    postgresql openssl
    dpkg-dev lintian
    chromium
  )
fi
# The web client is built with Node; a machine without it gets Debian's.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
