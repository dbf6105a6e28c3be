#!/usr/bin/env bash
# Builds and runs every test suite of the tree:
#   format   clang-format-14 check of every tracked C/C++ file
#   debug    Linux debug build + ctest
#   asan     Linux AddressSanitizer + UndefinedBehaviorSanitizer build + ctest
#   mingw64  Windows x86_64 cross build + ctest under Wine
#   mingw32  Windows i686 cross build (compile only: 32-bit code cannot run here)
#   tsan     Linux ThreadSanitizer build of the worker-thread and background-loader tests only
# Usage: scripts/test-all.sh [stage...]   (default: all stages, in the order above)
# Every stage runs even when an earlier one failed; the exit code is non-zero when any failed.
# The last line is "N passed, N failed": the ctest counts of all suites, plus one failure for
# every stage that broke outside ctest (formatting, configure, build).
set -u -o pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
JOBS="${JOBS:-2}"
LOGDIR="$ROOT/build/logs"
mkdir -p "$LOGDIR"

ALL_STAGES=(format debug asan mingw64 mingw32 tsan)
if [ $# -gt 0 ]; then STAGES=("$@"); else STAGES=("${ALL_STAGES[@]}"); fi

TOTAL_PASSED=0
TOTAL_FAILED=0
SUMMARY=()
WINE_STARTED=0

cleanup() {
  if [ "$WINE_STARTED" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    WINE_STARTED=0
  fi
}
trap cleanup EXIT
trap 'cleanup; exit 130' INT TERM

banner() { printf '\n==== %s ====\n' "$*"; }

# Adds the counts of a ctest log to the totals; fails when the log has no result line.
STAGE_PASSED=0
STAGE_FAILED=0
count_ctest() {
  local log="$1" line failed total
  line="$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  if [ -z "$line" ]; then
    return 1
  fi
  failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
  total="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
  STAGE_PASSED=$((total - failed))
  STAGE_FAILED=$failed
  return 0
}

configure_and_build() {
  local preset="$1"
  cmake --preset "$preset" && cmake --build --preset "$preset" -j"$JOBS"
}

# Runs ctest for a preset, logging its output for the counts.
run_ctest() {
  local preset="$1" log="$LOGDIR/ctest-$1.log"
  ctest --preset "$preset" --output-on-failure -j"$JOBS" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  if ! count_ctest "$log"; then
    echo "ctest for $preset reported no result" >&2
    return 1
  fi
  return "$rc"
}

# Wine now and then fails to start a test process: it fails at once and prints nothing. The
# tests that failed run once more, one at a time; the retry's results count, and every test that
# passed only on the retry is named in the log.
run_ctest_wine() {
  run_ctest mingw64 && return 0
  local first_passed=$STAGE_PASSED
  local retry="$LOGDIR/ctest-mingw64-retry.log"
  echo "retrying the failed tests once under Wine"
  ctest --preset mingw64 --output-on-failure --rerun-failed -j1 2>&1 | tee "$retry"
  local rc=${PIPESTATUS[0]}
  if ! count_ctest "$retry"; then
    echo "ctest retry for mingw64 reported no result" >&2
    return 1
  fi
  grep -E 'Test +#[0-9]+: .* Passed' "$retry" | sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/passed on retry under Wine: \1/'
  STAGE_PASSED=$((first_passed + STAGE_PASSED))
  return "$rc"
}

stage_format() {
  local files=()
  if git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    while IFS= read -r f; do
      [ -f "$f" ] && files+=("$f")
    done < <(git ls-files -- '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp' '*.inl')
  else
    while IFS= read -r f; do files+=("$f"); done < <(find . -path ./build -prune -o -type f \
      \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' -o -name '*.h' \
      -o -name '*.hh' -o -name '*.hpp' -o -name '*.inl' \) -print | sed 's|^\./||')
  fi
  echo "checking ${#files[@]} files"
  [ ${#files[@]} -eq 0 ] && return 0
  clang-format-14 --dry-run --Werror "${files[@]}"
}

stage_debug() { configure_and_build debug && run_ctest debug; }

stage_asan() { configure_and_build asan && run_ctest asan; }

stage_mingw64() {
  configure_and_build mingw64 || return 1
  # Headless Wine with one server kept alive for the whole run; otherwise ctest waits on the
  # pipes that Wine's system processes inherit, and a message box would wait for a user.
  unset DISPLAY
  export WINEDEBUG=-all
  export WINEPREFIX="$ROOT/build/mingw64/wineprefix"
  WINE_STARTED=1
  {
    wineboot -i
    wineserver -w
    wineserver -p
    wine cmd /c exit </dev/null >/dev/null 2>&1
  } >"$LOGDIR/wine-start.log" 2>&1
  local rc=0
  run_ctest_wine || rc=1
  cleanup
  return $rc
}

stage_mingw32() { configure_and_build mingw32; }

# Only the code that runs on more than one thread is worth a ThreadSanitizer run: build the
# thread tests and the background loader's tests alone and run only them.
stage_tsan() {
  cmake --preset tsan &&
    cmake --build --preset tsan -j"$JOBS" --target ThreadTests LoaderTests || return 1
  local log="$LOGDIR/ctest-tsan.log"
  ctest --preset tsan --output-on-failure -j"$JOBS" -R '^(TreadTest|BackgroundLoaderTest)\.' 2>&1 |
    tee "$log"
  local rc=${PIPESTATUS[0]}
  if ! count_ctest "$log"; then
    echo "ctest for tsan reported no result" >&2
    return 1
  fi
  return "$rc"
}

for stage in "${STAGES[@]}"; do
  if ! declare -F "stage_$stage" >/dev/null; then
    echo "unknown stage: $stage (known: ${ALL_STAGES[*]})" >&2
    exit 2
  fi
  banner "$stage"
  STAGE_PASSED=0
  STAGE_FAILED=0
  start=$SECONDS
  if "stage_$stage"; then result=ok; else result=FAILED; fi
  elapsed=$((SECONDS - start))
  # A stage that broke before ctest could count anything still counts as a failure.
  if [ "$result" = FAILED ] && [ "$STAGE_FAILED" -eq 0 ]; then STAGE_FAILED=1; fi
  TOTAL_PASSED=$((TOTAL_PASSED + STAGE_PASSED))
  TOTAL_FAILED=$((TOTAL_FAILED + STAGE_FAILED))
  SUMMARY+=("$(printf '%-8s %-7s %4ds   %d passed, %d failed' "$stage" "$result" "$elapsed" \
    "$STAGE_PASSED" "$STAGE_FAILED")")
done

banner "summary"
printf '%s\n' "${SUMMARY[@]}"
if [ "$TOTAL_FAILED" -eq 0 ]; then echo "ALL STAGES PASSED"; else echo "SOME STAGES FAILED"; fi
echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
[ "$TOTAL_FAILED" -eq 0 ]
