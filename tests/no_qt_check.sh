#!/usr/bin/env bash
# The rules, the computer player and the protocol of network play are plain
# C++: none of them includes a Qt header (net/qt is the socket layer on Qt).
cd "$(dirname "$0")/.."
found=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q|qt)' engine ai net --include='*.h' --include='*.cpp' | grep -v '^net/qt/')
if [ -n "$found" ]; then
  echo "Qt headers in the plain C++ layers:"
  echo "$found"
  exit 1
fi
echo "1 passed, 0 failed"
