#!/usr/bin/env bash
# The rules, the computer player and the protocol of network play are plain
# C++: none of them includes a Qt header (net/qt is the socket layer on Qt),
# nor do the table server's lobby and tables (its sockets, database and program are Qt).
cd "$(dirname "$0")/.."
found=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q|qt)' engine ai net server --include='*.h' --include='*.cpp' | grep -v '^net/qt/' |
        grep -vE '^server/(socket_server|server_options|results_database|results_writer|standings_report|admin_command|account_store|account_desk|tls_identity|web_port|main)\.')
if [ -n "$found" ]; then
  echo "Qt headers in the plain C++ layers:"
  echo "$found"
  exit 1
fi
echo "1 passed, 0 failed"
