#!/usr/bin/env bash
# Plays N network games (default 200) of a zarv-sim Dealer and three zarv-sim
# bots on loopback, with faults at random tricks: a bot is killed, frozen
# (SIGSTOP, or silent with its connection open), or drops its connection and
# comes back. Every game must end within its limits, no process may crash or
# hang, and every returning bot's lines from its return on must match the
# Dealer's. Prints the figures at the end; exits 1 on any failure.
#   scripts/net-chaos.sh [N]       (ZARV_SIM=path to use another zarv-sim)
set -uo pipefail
cd "$(dirname "$0")/.."
games=${1:-200}
sim=${ZARV_SIM:-build/tools/zarv-sim}
[ -x "$sim" ] || { echo "net-chaos: $sim is missing; run scripts/build.sh first" >&2; exit 1; }
limit=3        # seconds the Dealer gives a silent player
game_limit=90  # seconds a whole game may take, faults included
work=$(mktemp -d)
[ -n "${ZARV_CHAOS_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT

failures=0 kills=0 sigstops=0 freezes=0 drops=0 returns=0 returns_ok=0 silent=0 longest=0 started=$(date +%s)
fail() {
  echo "net-chaos: game $1: $2" >&2
  failures=$((failures + 1))
}

# The game lines (hands, trumps, tricks, results) after the line "returned seat".
lines_after_return() {
  awk 'found && /^(hand|trump|trick|result|game-over)/ {print} /^returned seat/ {found=1; n=NR}' "$1"
}

for ((g = 1; g <= games; g++)); do
  RANDOM=$g  # the faults of a game are the same on every run
  dir="$work/$g"
  mkdir -p "$dir"
  "$sim" serve --port 0 --seed "$g" --move-limit "$limit" >"$dir/dealer" 2>"$dir/dealer.err" &
  dealer=$!
  port=""
  for _ in $(seq 1 100); do
    port=$(head -1 "$dir/dealer" 2>/dev/null | sed -n 's/^listening //p')
    [ -n "$port" ] && break
    sleep 0.05
  done
  if [ -z "$port" ]; then
    fail "$g" "the Dealer did not listen"
    kill "$dealer" 2>/dev/null
    continue
  fi
  # One bot in three plays a fault; which and when is drawn from the game's number.
  pids=() kinds=()
  for b in 0 1 2; do
    args=(join "127.0.0.1:$port" --name "Bot$b")
    kind=none
    if (((g + b) % 3 == 0)); then
      at=$((RANDOM % 40 + 1))
      case $((RANDOM % 5)) in
        0) kind=drop-return; args+=(--drop-at-trick "$at" --return-after $((RANDOM % 2))) ;;
        1) kind=drop-return; args+=(--drop-at-trick "$at" --return-after 0) ;;
        2) kind=freeze; args+=(--freeze-at-trick "$at") ;;
        3) kind=kill ;;
        4) kind=sigstop ;;
      esac
    fi
    "$sim" "${args[@]}" >"$dir/bot$b" 2>"$dir/bot$b.err" &
    pids+=($!)
    kinds+=("$kind")
  done
  # The killed and stopped bots are hit in the game, a moment after they
  # are seated (a lobby waiting for a player who never comes is no fault; a
  # game without pauses lasts about half a second).
  hit() {  # signal pid output-file delay
    for _ in $(seq 1 200); do grep -q '^seat' "$3" 2>/dev/null && break; sleep 0.02; done
    sleep "$4"
    kill "$1" "$2" 2>/dev/null
  }
  for b in 0 1 2; do
    case ${kinds[$b]} in
      kill) hit -9 "${pids[$b]}" "$dir/bot$b" "0.$((RANDOM % 5 + 1))" & kills=$((kills + 1)) ;;
      sigstop) hit -STOP "${pids[$b]}" "$dir/bot$b" "0.$((RANDOM % 5 + 1))" & sigstops=$((sigstops + 1)) ;;
      freeze) freezes=$((freezes + 1)) ;;
      drop-return) drops=$((drops + 1)) ;;
    esac
  done
  # The Dealer must end by itself within the game's limit.
  game_start=$(date +%s.%N)
  t0=$(date +%s)
  while kill -0 "$dealer" 2>/dev/null; do
    if (($(date +%s) - t0 > game_limit)); then
      fail "$g" "the Dealer did not finish within ${game_limit}s"
      kill -9 "$dealer" 2>/dev/null
      break
    fi
    sleep 0.05
  done
  wait "$dealer"
  status=$?
  longest=$(awk -v a="$game_start" -v b="$(date +%s.%N)" -v m="$longest" 'BEGIN { d = b - a; printf "%.2f", (d > m ? d : m) }')
  [ "$status" -eq 0 ] || fail "$g" "the Dealer exited with $status: $(tail -3 "$dir/dealer.err")"
  grep -q '^game-over' "$dir/dealer" || fail "$g" "the Dealer's game did not end"
  # A stopped bot is let go now; every bot must end by itself soon after.
  for b in 0 1 2; do
    [ "${kinds[$b]}" = sigstop ] && kill -CONT "${pids[$b]}" 2>/dev/null
  done
  for b in 0 1 2; do
    t0=$(date +%s)
    while kill -0 "${pids[$b]}" 2>/dev/null; do
      if (($(date +%s) - t0 > 30)); then
        fail "$g" "bot $b (${kinds[$b]}) hung"
        kill -9 "${pids[$b]}" 2>/dev/null
        break
      fi
      sleep 0.05
    done
    wait "${pids[$b]}" 2>/dev/null
    st=$?
    case ${kinds[$b]} in
      none) [ "$st" -eq 0 ] || fail "$g" "bot $b exited with $st: $(tail -2 "$dir/bot$b"; cat "$dir/bot$b.err")" ;;
      kill) ;;
      *) [ "$st" -le 4 ] || fail "$g" "bot $b (${kinds[$b]}) crashed with $st" ;;
    esac
    if grep -q '^returned seat' "$dir/bot$b"; then
      returns=$((returns + $(grep -c '^returned seat' "$dir/bot$b")))
      # Its lines from the (last) return on are the end of the Dealer's, or
      # a run inside them when it left again.
      lines_after_return "$dir/bot$b" >"$dir/after$b"
      if python3 - "$dir/dealer" "$dir/after$b" <<'PY'
import sys
keep = ('hand', 'trump', 'trick', 'result', 'game-over')
dealer = [l for l in open(sys.argv[1]).read().splitlines() if l.split(' ')[0] in keep]
after = open(sys.argv[2]).read().splitlines()
# One run of the Dealer's own lines, line for line (a return with nothing
# after it, at the very end of the game, matches trivially).
ok = any(dealer[i:i + len(after)] == after for i in range(len(dealer) - len(after) + 1))
sys.exit(0 if ok else 1)
PY
      then
        returns_ok=$((returns_ok + $(grep -c '^returned seat' "$dir/bot$b")))
      else
        fail "$g" "bot $b's lines after its return differ from the Dealer's"
      fi
    fi
  done
  silent=$((silent + $(grep -c 'silent for' "$dir/dealer")))
  if ((g % 20 == 0)); then echo "net-chaos: $g games, $failures failures"; fi
done
seconds=$(($(date +%s) - started))
# A table waits at most the move limit for one silent seat: the longest game
# (faults and all) is the figure that says no table waited for ever.
echo "chaos games $games kills $kills sigstops $sigstops freezes $freezes drops $drops returns $returns" \
     "returns-matching $returns_ok silent-seats-replaced $silent move-limit-s $limit longest-game-s $longest" \
     "failures $failures seconds $seconds"
echo "$((games - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
