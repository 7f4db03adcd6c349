#!/usr/bin/env bash
# The unit tests and a short soak under valgrind's memcheck: fails on any memory error and on
# any block the tests lose for good.
#   bash tests/valgrind.sh [BUILD_DIR]    (a native build, build/native by default)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/native}
memcheck=(valgrind --tool=memcheck --error-exitcode=1 --leak-check=full
          --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect --quiet)

echo "valgrind: the unit tests"
"${memcheck[@]}" "$build/tests/quenlix_tests" --gtest_brief=1
echo "valgrind: twenty thousand ticks of the soak"
"${memcheck[@]}" "$build/tests/soak/quenlix_soak" 20000
echo "valgrind: no errors"
