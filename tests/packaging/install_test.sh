#!/usr/bin/env bash
# Installs kavex into a temporary prefix, then builds a small outside program
# against that copy twice, as a user would: with CMake (the project template
# from examples/template) and with pkg-config on a plain compiler line. Runs
# both builds and checks that they used the installed copy.
#
# usage: install_test.sh BUILD_DIR SOURCE_DIR CMAKE CXX
set -euo pipefail
build=$1 source=$2 cmake=$3 cxx=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() { echo "install test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install failed"; }

# Checks the program's words: it drew, and on the SDL this test is meant for.
check_run() {
  local program=$1 said
  said=$("$program") || fail "$program ended with status $?: $said"
  echo "$program: $said"
  [[ $said == "drew on SDL 1.2."* ]] || fail "$program said: $said"
  local patch=${said##*.}
  case ${KAVEX_EXPECT_SDL:-} in
    classic) ((patch < 50)) || fail "expected the classic SDL, got $said" ;;
    compat)  ((patch >= 50)) || fail "expected the compatibility SDL, got $said" ;;
  esac
}

# 1. CMake: the template, with the outside program as its main.cpp.
project=$work/cmake-project
mkdir -p "$project"
cp "$source/examples/template/CMakeLists.txt" "$project/"
cp "$source/tests/packaging/outside_program.cpp" "$project/main.cpp"
"$cmake" -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug >"$work/configure.log" ||
  { cat "$work/configure.log"; fail "configuring the template failed"; }
found=$(sed -n 's/^kavex_DIR:PATH=//p' "$project/build/CMakeCache.txt")
[[ $found == "$prefix/lib/cmake/kavex" ]] || fail "find_package found kavex in '$found', not in the temporary prefix"
"$cmake" --build "$project/build" >"$work/build.log" ||
  { cat "$work/build.log"; fail "building the template failed"; }
check_run "$project/build/my_program"
grep -q -- -DKAVEX_EXPLAIN_BY_DEFAULT "$project/build/CMakeFiles/my_program.dir/flags.make" ||
  fail "the template's Debug build does not explain mistakes by default"

# 2. pkg-config and a plain compiler line.
flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs kavex) ||
  fail "pkg-config does not know kavex"
echo "pkg-config --cflags --libs kavex: $flags"
[[ $flags == *"-I$prefix/include/kavex"* && $flags == *"-L$prefix/lib"* ]] ||
  fail "the flags do not point into the temporary prefix"
# shellcheck disable=SC2086  # the flags are words
"$cxx" -std=c++17 -Wall -Wextra -Wpedantic -Werror "$source/tests/packaging/outside_program.cpp" \
  -o "$work/plain_program" $flags || fail "the plain compiler line failed"
check_run "$work/plain_program"
