#!/usr/bin/env bash
# Sets up (the packages the program needs and those the tests add: googletest, xvfb, xauth, fonts,
# pulseaudio, pulseaudio-utils and libasound2-plugins for the live sound server test),
# builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${SONDREL_TEST_BUILD:-$here/build-test}
"$here/scripts/setup.sh" --tests "$build" -DCMAKE_BUILD_TYPE=Debug -DSONDREL_SANITIZE=ON
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Leak reports from the windowing libraries are not ours; everything else aborts the test.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
# A failing test prints its failures only, so they stand in the log whatever its length.
export GTEST_BRIEF=${GTEST_BRIEF:-1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
