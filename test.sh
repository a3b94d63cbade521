#!/usr/bin/env bash
# Builds and runs the whole suite three times: a plain build (warnings are
# errors), an AddressSanitizer + UndefinedBehaviorSanitizer build and a
# ThreadSanitizer build; then fuzzes the scene reader for a bounded time.
# Every GUI test process starts its own virtual X display (tests/own-display.sh,
# registered in tests/CMakeLists.txt), so no display is needed here. No test
# is retried: a test that fails once has found something.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/stelo-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
jobs=$(nproc)

run_suite() {  # build-dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DSTELO_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

echo "== plain build"
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== address + undefined behaviour sanitizers"
# intercept_tls_get_addr=0: the sanitizer runtime of GCC 12 sometimes takes a
# block of a library's thread-local storage for one with an old glibc header
# and records a wrong address range; the leak checker's stop-the-world then
# crashes scanning it ("Tracer caught signal 11") after the tests passed.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DSTELO_SANITIZE=address,undefined -DSTELO_BENCH=OFF

echo "== thread sanitizer"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp" \
  run_suite build-tsan -DCMAKE_BUILD_TYPE=Debug -DSTELO_SANITIZE=thread -DSTELO_BENCH=OFF

if [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== scene reader fuzzing"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DSTELO_FUZZ=ON -DSTELO_GUI=OFF \
    -DSTELO_BENCH=OFF -DSTELO_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-fuzz -j "$jobs" --target fuzz_read_scene
  mkdir -p build-fuzz/corpus
  ./build-fuzz/tests/fuzz/fuzz_read_scene -max_total_time=45 -timeout=10 -rss_limit_mb=2048 \
    build-fuzz/corpus examples
fi
echo "== all passed"
