#!/usr/bin/env bash
# The Windows package as a user gets it, unpacked in folder K:
#   1. every program in K/bin runs with nothing but the files of K/bin: it
#      imports SDL.dll and Windows' own DLLs, no compiler runtime;
#   2. a user's own program builds with the README's line
#        g++ -std=c++17 main.cpp -I K/include -L K/lib -lkavex -lSDL -o main.exe
#      (MinGW-w64's g++ here) and runs under Wine with SDL.dll from K/bin;
#   3. the same program builds with CMake through find_package(kavex), from
#      the template, and runs.
# usage: package_test.sh K SOURCE_DIR
set -euo pipefail
package=$(realpath "$1") source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" SDL_VIDEODRIVER=dummy

system32=$(winepath -u 'C:\windows\system32')
for exe in "$package"/bin/*.exe; do
  while read -r dll; do
    [[ $dll == SDL.dll || -n $(find "$system32" -maxdepth 1 -iname "$dll" -print -quit) ]] ||
      fail "$(basename "$exe") needs $dll, which is neither SDL.dll nor part of Windows"
  done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done
echo "every program in bin/ needs only SDL.dll beside it: $(cd "$package/bin" && ls ./*.exe | wc -l) programs"

# Runs $1 under Wine in its folder, with the package's SDL.dll and (for a
# program built without -static) the compiler's runtime on the PATH; checks
# what it saved.
runs_and_saves() {
  local dir program=$1
  dir=$(dirname "$program")
  local runtime
  runtime="$(winepath -w "$package/bin");$(winepath -w /usr/lib/gcc/x86_64-w64-mingw32/*-posix | head -n 1);$(winepath -w /usr/x86_64-w64-mingw32/lib)"
  (cd "$dir" && WINEPATH="$runtime" timeout 120 wine "$program") || fail "$(basename "$program") ended with status $?"
  local bmp=$dir/outside.bmp
  [[ -f $bmp ]] || fail "$(basename "$program") saved no outside.bmp"
  # 64 x 32 pixels at 24 bits: a 54-byte header and 32 rows of 192 bytes.
  [[ $(stat -c %s "$bmp") -eq $((54 + 32 * 192)) ]] || fail "outside.bmp has $(stat -c %s "$bmp") bytes"
  [[ $(od -An -tx1 -j54 -N3 "$bmp" | tr -d ' ') == 0000ff ]] || fail "outside.bmp's corner is not red"
  od -An -v -tx1 -j54 "$bmp" | tr -s ' \n' ' ' | grep -q 'ff ff ff' || fail "outside.bmp has no white text"
  echo "$(basename "$program") ran under Wine with status 0 and saved its picture"
}

cp "$source/tests/windows/outside.cpp" "$work/main.cpp"
mkdir "$work/line" "$work/cmake"
x86_64-w64-mingw32-g++-posix -std=c++17 "$work/main.cpp" -I "$package/include" -L "$package/lib" -lkavex -lSDL \
  -o "$work/line/main.exe" || fail "the README's compiler line did not build the program"
runs_and_saves "$work/line/main.exe"

cp "$source/examples/template/CMakeLists.txt" "$work/main.cpp" "$work/cmake/"
cmake -S "$work/cmake" -B "$work/cmake/build" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$package" >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; fail "find_package(kavex) failed"; }
cmake --build "$work/cmake/build" >>"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; fail "the template did not build"; }
runs_and_saves "$work/cmake/build/my_program.exe"
