#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and fuzzes each for a while, starting from
# its checked-in corpus. ZARV_FUZZ_SECONDS sets how long (default 12 each).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${ZARV_FUZZ_SECONDS:-12}
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing; scripts/setup.sh --test installs it" >&2
  exit 1
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
  -DZARV_FUZZ=ON -DZARV_BUILD_BENCH=OFF -DZARV_WERROR=ON >/dev/null
targets=(saved_hand command_line settings_file dealer_messages client_messages returning_client lobby_messages lobby_answers
         browser_messages http_head)
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"
failed=0
passed=0
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$t/." "$work/"
  echo "== fuzzing $t for ${seconds}s"
  # Leaks inside Qt's own caches are not ours: only crashes, hangs and
  # sanitizer reports count.
  if ! build-fuzz/fuzz/fuzz_$t "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -detect_leaks=0 -print_final_stats=1 -artifact_prefix="build-fuzz/crash-$t-" >"build-fuzz/fuzz-$t.log" 2>&1; then
    echo "fuzz.sh: $t failed; the input is in build-fuzz/crash-$t-*" >&2
    tail -40 "build-fuzz/fuzz-$t.log" >&2
    failed=$((failed + 1))
  else
    grep -E "stat::number_of_executed_units|stat::new_units_added" "build-fuzz/fuzz-$t.log" | tr '\n' ' '
    echo
    passed=$((passed + 1))
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
