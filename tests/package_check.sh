#!/usr/bin/env bash
# Builds the Debian packages from the build, checks what they hold and what
# they depend on, unpacks them into a temporary folder and runs the programs
# from there; lintian must report no errors. Skipped (77) without dpkg-deb,
# and in the sanitizer build (its programs are not what is shipped).
set -euo pipefail
build="$1"; build_type="$2"
command -v dpkg-deb > /dev/null && command -v dpkg-shlibdeps > /dev/null || exit 77
[ "$build_type" = "Release" ] || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

# A folder of its own for cpack's staging, so that nothing else in the build changes.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > cpack.log 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
game=$(ls "$work"/out/zarv_*.deb) server=$(ls "$work"/out/zarv-server_*.deb)

contents() { dpkg-deb --contents "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
expect_files() {
  local deb="$1"; shift
  local listed; listed=$(contents "$deb")
  for f in "$@"; do grep -qx "$f" <<< "$listed" || fail "$(basename "$deb") lacks $f"; done
}
expect_files "$game" /usr/games/zarv /usr/share/applications/org.ombrel.Zarv.desktop \
  /usr/share/metainfo/org.ombrel.Zarv.metainfo.xml /usr/share/icons/hicolor/scalable/apps/org.ombrel.Zarv.svg \
  /usr/share/zarv/Help/Help.htm /usr/share/zarv/Help/Help_fa.htm /usr/share/zarv/Pass.wav /usr/share/doc/zarv/copyright \
  /usr/share/doc/zarv/changelog.gz /usr/share/man/man6/zarv.6.gz
expect_files "$server" /usr/bin/zarv-server /usr/bin/zarv-sim /usr/lib/systemd/system/zarv-server.service \
  /usr/share/doc/zarv-server/copyright /usr/share/doc/zarv-server/changelog.gz \
  /usr/share/man/man1/zarv-server.1.gz /usr/share/man/man1/zarv-sim.1.gz \
  /usr/share/zarv/web/index.html /usr/share/zarv/web/manifest.webmanifest
# Each program in one package only.
contents "$game" | grep -q zarv-server && fail "the game's package holds the server"
contents "$server" | grep -qx /usr/games/zarv && fail "the server's package holds the game"

expect_depends() {
  local deb="$1"; shift
  local depends; depends=$(dpkg-deb --field "$deb" Depends)
  for d in "$@"; do grep -qE "(^|, )$d( |,|$)" <<< "$depends" || fail "$(basename "$deb") does not depend on $d: $depends"; done
}
expect_depends "$game" libqt6widgets6 libqt6multimedia6 libqt6svg6 fonts-liberation2 fonts-dejavu-core qt6-translations-l10n
expect_depends "$server" libqt6network6 libqt6sql6 libqt6sql6-sqlite adduser
dpkg-deb --field "$server" Suggests | grep -q libqt6sql6-psql || fail "zarv-server does not suggest libqt6sql6-psql"
dpkg-deb --ctrl-tarfile "$server" | tar -t | grep -q postinst || fail "zarv-server has no postinst to make its user"

# The unpacked programs run.
dpkg-deb -x "$game" "$work/root"
dpkg-deb -x "$server" "$work/root"
"$work/root/usr/games/zarv" --version | grep -q '^zarv [0-9]' || fail "zarv --version"
# Read whole first: grep -q stops reading at its match, and a help longer than
# a pipe's first write would end with SIGPIPE under pipefail.
server_help=$("$work/root/usr/bin/zarv-server" --help)
grep -q -- '--plain-port' <<< "$server_help" || fail "zarv-server --help"
"$work/root/usr/bin/zarv-sim" games 1 --seed 1 | grep -q 'games 1' || fail "zarv-sim games 1"
# The unpacked server finds the web client installed beside it and serves it.
"$work/root/usr/bin/zarv-server" --port 0 --web-port 0 --db "$work/results.sqlite" > "$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do grep -q '^listening web' "$work/server.log" && break; sleep 0.1; done
web_port=$(sed -n 's/^listening web //p' "$work/server.log")
[ -n "$web_port" ] || { kill $server_pid; fail "zarv-server --web-port: $(cat "$work/server.log")"; }
exec 3<>"/dev/tcp/127.0.0.1/$web_port"
printf 'GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' >&3
page=$(timeout 10 cat <&3 || true)
exec 3<&-
kill $server_pid
grep -q 'no web client' "$work/server.log" && fail "the installed server has no web client"
echo "$page" | grep -q '^HTTP/1.1 200' || fail "the installed server's web page: $page"
echo "$page" | grep -q 'app-[0-9a-f]*\.js' || fail "the installed server's page names no script"

if command -v lintian > /dev/null; then
  # Root runs lintian too (it only warns about that).
  errors=$(lintian --tag-display-limit 0 "$game" "$server" 2>/dev/null | grep '^E:' || true)
  [ -z "$errors" ] || fail "lintian: $errors"
elif [ -n "${CI:-}" ]; then
  fail "lintian is missing"
fi
echo "packages: 2 built, checked and run"
