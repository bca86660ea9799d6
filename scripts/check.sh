#!/usr/bin/env bash
# Slow checks that CI does not run: sanitizer builds of the whole suite and the fuzz targets.
#   scripts/check.sh asan          AddressSanitizer + UndefinedBehaviorSanitizer, every test
#   scripts/check.sh tsan          ThreadSanitizer, the suites that start threads
#   scripts/check.sh fuzz SECONDS [TARGET...]  every libFuzzer target (or the named ones) for
#                                  SECONDS each
# Each mode builds into its own folder (build-asan, build-tsan, build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=${1:-}
case "$mode" in
  asan|tsan) ;;
  fuzz) seconds=${2:-}
        [[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 fuzz SECONDS [TARGET...]" >&2; exit 2; }
        only="${*:3}" ;;
  *) echo "usage: $0 asan | tsan | fuzz SECONDS" >&2; exit 2 ;;
esac

# The sanitizer runtimes and libFuzzer come with Debian's clang.
install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" </dev/null
  fi
}
scripts/deps.sh
install_missing clang-14 libclang-rt-14-dev llvm-14

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure() { # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" "$@" >/dev/null
}

checks=$root/scripts/checks
case "$mode" in
  asan)
    flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    configure build-asan -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build build-asan -j2
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$checks/asan.supp"
    export LSAN_OPTIONS="suppressions=$checks/lsan.supp:print_suppressions=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    cd build-asan
    QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure </dev/null
    ;;
  tsan)
    # GCC's ThreadSanitizer runtime here: clang 14's fails an internal check
    # (tsan_rtl.cpp:234, "!thr->slot") in its clone() interceptor whenever Qt starts a process.
    flags="-fsanitize=thread -fno-omit-frame-pointer"
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
    cmake --build build-tsan -j2
    # die_after_fork=0: QProcess (uninstrumented Qt) forks from the threaded window process to
    # start the screenshot program; without it the runtime kills that child before its exec.
    export TSAN_OPTIONS="suppressions=$checks/tsan.supp:halt_on_error=1:second_deadlock_stack=1:print_suppressions=1:die_after_fork=0"
    cd build-tsan
    QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure </dev/null
    ;;
  fuzz)
    flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    configure build-fuzz -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      -DKORVEX_BUILD_FUZZERS=ON -DKORVEX_BUILD_GUI=OFF -DKORVEX_BUILD_SERVICE=OFF -DKORVEX_BUILD_TESTS=OFF
    targets=$(sed -n 's/^set(KORVEX_FUZZ_TARGETS \(.*\)/\1/p; s/^ *\([a-z_ ]*\))$/\1/p' fuzz/CMakeLists.txt)
    if [ -n "$only" ]; then
      for t in $only; do
        [[ " $(echo $targets) " == *" $t "* ]] || { echo "no fuzz target $t (there are: $(echo $targets))" >&2; exit 2; }
      done
      targets=$only
    fi
    cmake --build build-fuzz -j2 --target $(for t in $targets; do echo "fuzz_$t"; done)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$checks/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    failed=0
    summary=""
    for t in $targets; do
      # New inputs go to a working corpus in the build folder; the repository's seeds stay as
      # they are. Crashing inputs land in build-fuzz/crashes/.
      work=build-fuzz/corpus/$t
      mkdir -p "$work" build-fuzz/crashes
      log=build-fuzz/$t.log
      echo "== $t: ${seconds}s"
      status=0
      "build-fuzz/bin/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$t-" \
        "$work" "fuzz/corpus/$t" >"$log" 2>&1 </dev/null &
      pid=$!
      wait "$pid" || status=$?
      # The targets that need a configuration folder name it after their process.
      rm -rf /dev/shm/korvex-fuzz-*-"$pid"-* /tmp/korvex-fuzz-*-"$pid"-*
      runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
      if [ "$status" -ne 0 ]; then
        failed=1
        summary+="$t: FAILED after ${runs:-?} runs (exit $status), see $log"$'\n'
        grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -5 || true
      else
        summary+="$t: ${runs:-?} runs, no crash"$'\n'
      fi
    done
    echo "== fuzz summary (${seconds}s per target)"
    printf '%s' "$summary"
    exit "$failed"
    ;;
esac
