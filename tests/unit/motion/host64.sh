#!/usr/bin/env bash
# Builds the motion tests with the host's 64-bit compiler and GoogleTest's
# sources, then runs them. Arguments: build folder, src folder, sources.
set -euo pipefail
out=$1 src=$2
shift 2
mkdir -p "$out"
gtest=/usr/src/googletest/googletest
if [ ! -f "$out/gtest.a" ]; then
  g++ -std=c++17 -O2 -I"$gtest/include" -I"$gtest" -c "$gtest/src/gtest-all.cc" -o "$out/gtest-all.o"
  g++ -std=c++17 -O2 -I"$gtest/include" -c "$gtest/src/gtest_main.cc" -o "$out/gtest_main.o"
  ar rcs "$out/gtest.a" "$out/gtest-all.o" "$out/gtest_main.o"
fi
g++ -std=c++17 -O2 -Wall -Wextra -m64 -I"$src" -I"$gtest/include" "$@" "$out/gtest.a" -lpthread -o "$out/test_motion_64"
"$out/test_motion_64" --gtest_color=no
