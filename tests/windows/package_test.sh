#!/usr/bin/env bash
# The Windows package as a user gets it, unpacked in folder K, used only as
# its own text says. Every program runs under Wine from a fresh folder that
# holds nothing but the program and SDL.dll, with no compiler runtime on
# WINEPATH or PATH:
#   1. every program in K/bin imports SDL.dll and Windows' own DLLs alone;
#   2. a user's program built with the text's compiler line, read from the
#      text itself (MinGW-w64's g++ here), from a K whose path has a space and
#      letters outside ASCII;
#   3. the same program built with the text's second line, which compiles
#      kavex from K/src with it, with g++ and with clang;
#   4. the CMake template, built and run from its build folder, with the
#      prebuilt library (which the package finds this compiler can link), from
#      source when asked, and from source when the prebuilt one cannot link,
#      with the template's pictures/ copied beside the program;
#   5. the Code::Blocks project and the VS Code task build with the options
#      of those two lines and -g, from source first, and the template's
#      program runs in its own folder, where it finds its picture;
#   6. each build mistake the text quotes gives that message first; the
#      prebuilt library's C runtime functions are the UCRT's too; a C++14
#      compile of the header stops at one error that names -std=c++17;
#   7. every relative link in the package's documents, and every K\... path
#      its text names, leads to a file in the package; its texts end their
#      lines as Windows does, and it holds no empty folder.
# usage: package_test.sh K SOURCE_DIR
set -euo pipefail
package=$(realpath "$1") source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" SDL_VIDEODRIVER=dummy
unset WINEPATH
gxx=x86_64-w64-mingw32-g++-posix
cmake_builds=0
text=$package/README-windows.txt

# K as a student may have it: in a folder with a space and Czech letters.
mkdir -p "$work/Moje programy"
k="$work/Moje programy/kavex-přílohy"
ln -s "$package" "$k"

system32=$(winepath -u 'C:\windows\system32')
imports_only_sdl_and_windows() {
  local dll
  while read -r dll; do
    [[ $dll == SDL.dll || -n $(find "$system32" -maxdepth 1 -iname "$dll" -print -quit) ]] ||
      fail "$(basename "$1") needs $dll, which is neither SDL.dll nor part of Windows"
  done < <(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p')
}
for exe in "$package"/bin/*.exe; do imports_only_sdl_and_windows "$exe"; done
echo "every program in bin/ needs only SDL.dll beside it: $(cd "$package/bin" && ls ./*.exe | wc -l) programs"

# Runs program $1 under Wine in folder $2 (made here when missing, with
# SDL.dll), and checks what it saved there.
runs_and_saves() {
  local program=$1 dir=$2
  if [[ ! -d $dir ]]; then
    mkdir -p "$dir"
    cp "$program" "$package/bin/SDL.dll" "$dir/"
  fi
  imports_only_sdl_and_windows "$program"
  local status=0
  (cd "$dir" && timeout 120 wine "./$(basename "$program")") || status=$?
  [[ $status -eq 0 ]] || fail "$(basename "$program") ended with status $status in a folder of $(ls "$dir" | tr '\n' ' ')"
  local bmp=$dir/outside.bmp
  [[ -f $bmp ]] || fail "$(basename "$program") saved no outside.bmp"
  # 64 x 32 pixels at 24 bits: a 54-byte header and 32 rows of 192 bytes.
  [[ $(stat -c %s "$bmp") -eq $((54 + 32 * 192)) ]] || fail "outside.bmp has $(stat -c %s "$bmp") bytes"
  [[ $(od -An -tx1 -j54 -N3 "$bmp" | tr -d ' ') == 0000ff ]] || fail "outside.bmp's corner is not red"
  od -An -v -tx1 -j54 "$bmp" | tr -s ' \n' ' ' | grep -q 'ff ff ff' || fail "outside.bmp has no white text"
}

# The text's compiler lines, as it prints them.
mapfile -t lines < <(tr -d '\r' <"$text" | sed -n 's/^    \(g++ .*\)$/\1/p')
[[ ${#lines[@]} -eq 2 ]] || fail "README-windows.txt has ${#lines[@]} g++ lines, not 2"

# Builds main.cpp in a new folder $2 with line $1, K standing for the
# package and compiler $3 for g++; runs it.
build_with_line_and_run() {
  local words=() word command=("$3")
  read -ra words <<<"$1"
  for word in "${words[@]:1}"; do command+=("${word/#K\//$k/}"); done
  mkdir "$2"
  cp "$source/tests/windows/outside.cpp" "$2/main.cpp"
  (cd "$2" && "${command[@]}") || fail "the line '$1' did not build the program with $3"
  runs_and_saves "$2/main.exe" "$2-run"
  echo "built with '$1' ($(basename "$3")): runs with only SDL.dll beside it, and saved its picture"
}
build_with_line_and_run "${lines[0]}" "$work/line" "$gxx"
build_with_line_and_run "${lines[1]}" "$work/source" "$gxx"
# kavex's source with clang too. Debian's clang finds MinGW-w64's headers
# and C library, but must be told where GCC's C++ library is (MSYS2's clang
# brings its own); the linker's warnings about type names of another size are
# that mix's, not kavex's.
runtime=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix | head -n 1)
cat >"$work/clang++" <<CLANG
#!/usr/bin/env bash
clang++ --target=x86_64-w64-mingw32 -isystem $runtime/include/c++ -isystem $runtime/include/c++/x86_64-w64-mingw32 \\
  "\$@" -L $runtime -Wl,--start-group -lstdc++ -lpthread -lgcc_eh -Wl,--end-group 2> >(grep -v 'duplicate section' >&2)
CLANG
chmod +x "$work/clang++"
build_with_line_and_run "${lines[1]}" "$work/clang" "$work/clang++"

# A package whose libkavex.a no compiler can link, as for a compiler with
# another C runtime: the template must find that out and build from source.
unlinkable=$work/unlinkable-kavex
cp -r "$package" "$unlinkable"
rm "$unlinkable/lib/libkavex.a"
x86_64-w64-mingw32-ar rc "$unlinkable/lib/libkavex.a"

template=$package/examples/template
# Each route: the package, what the command line asks, the route it must take.
for route in "$k||OFF" "$k|-DKAVEX_FROM_SOURCE=ON|ON" "$unlinkable||ON"; do
  IFS='|' read -r prefix asked expected <<<"$route"
  dir=$work/cmake-$((++cmake_builds))
  cp -r "$template" "$dir"
  cp "$source/tests/windows/outside.cpp" "$dir/main.cpp"
  { cmake -S "$dir" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64.cmake" \
      -DCMAKE_PREFIX_PATH="$prefix" $asked && cmake --build "$dir/build"; } >"$dir.log" 2>&1 ||
    { cat "$dir.log"; fail "the CMake template did not build against ${prefix#"$work"/} $asked"; }
  taken=$(sed -n 's/^KAVEX_FROM_SOURCE:[A-Z]*=//p' "$dir/build/CMakeCache.txt")
  [[ $taken == "$expected" ]] || fail "against ${prefix#"$work"/} $asked, KAVEX_FROM_SOURCE is '$taken', not $expected"
  [[ $expected == OFF || -f $dir/build/libkavex_from_source.a ]] || fail "KAVEX_FROM_SOURCE=ON built no kavex from source"
  [[ -f $dir/build/pictures/face.png ]] || fail "the CMake template put no pictures/ beside the program"
  runs_and_saves "$dir/build/my_program.exe" "$dir/build"
  echo "the CMake template against ${prefix#"$work"/} $asked (from source: $expected) built a program that runs from its build folder"
done

# A line's words after g++, one a line, K seen from the template.
template_words() {
  local words=() word
  read -ra words <<<"$1"
  for word in "${words[@]:1}"; do echo "${word/#K\//../../}"; done
}
# What a line asks of the compiler, one fact a line.
line_facts() {
  local word value_of=""
  template_words "$1" | while read -r word; do
    if [[ -n $value_of ]]; then echo "$value_of $word"; value_of=""; continue; fi
    case $word in
      -I | -L | -o) value_of=$word ;;
      -std=* | -g) echo "compile $word" ;;
      -l*) echo "library ${word#-l}" ;;
      -*) echo "link $word" ;;
      *) echo "file $word" ;;
    esac
  done
}
# The same facts as Code::Blocks builds target $1 of kavex.cbp.
cbp_facts() {
  awk -v target="$1" '
    /<Target title=/ { inside = index($0, "title=\"" target "\"") > 0 }
    /<\/Target>/ { inside = 0 }
    /<Compiler>/ { part = "compile" } /<Linker>/ { part = "link" } /<ExtraCommands>/ { part = "" }
    function value(key) { if (match($0, key "=\"[^\"]*\"")) return substr($0, RSTART + length(key) + 2, RLENGTH - length(key) - 3); return "" }
    inside && /<Option output=/ { print "-o " value("output") ".exe" }
    inside && part == "compile" && /<Add option=/ { print "compile " value("option") }
    inside && part == "compile" && /<Add directory=/ { print "-I " value("directory") }
    inside && part == "link" && /<Add directory=/ { print "-L " value("directory") }
    inside && part == "link" && /<Add library=/ { print "library " value("library") }
    inside && part == "link" && /<Add option=/ { print "link " value("option") }
    /<Unit filename=/ { unit = value("filename"); units[unit] = "all" }
    /<Option target=/ && unit != "" { units[unit] = value("target") }
    /<\/Unit>|<Unit .*\/>/ { unit = "" }
    END { for (u in units) if (units[u] == "all" || units[u] == target) print "file " u }
  ' "$template/kavex.cbp"
}
# The arguments of VS Code's build task in folder $1, one a line, its
# setting from the folder's settings.json.
task_args() {
  cmake -DTASKS="$1/.vscode/tasks.json" -DLABEL="kavex: build" -DSETTINGS="$1/.vscode/settings.json" \
    -P "$source/tests/windows/task_args.cmake" 2>&1
}
json_get() { cmake -DFILE="$template/.vscode/$1" -DKEYS="$2" -P "$source/tests/windows/json_get.cmake" 2>&1; }
# What a line asks, with -g for the editors' debuggers (and in Code::Blocks,
# explanations on by default).
editor_facts() { { line_facts "$1"; echo "compile -g"; } | sort; }
cbp_expected_facts() { { editor_facts "$1"; echo "compile -DKAVEX_EXPLAIN_BY_DEFAULT"; } | sort; }

# Each editor builds with the line it is set to, from source first. VS Code's
# task, in a copy of the template beside it in K/examples (as the text says to
# make one's own), as shipped and with the setting changed to -lkavex, builds
# the template's program, which runs in that folder, as F5 runs it, on a
# replay with no input and explanations on: it must end with status 0 having
# explained no mistake, such as a picture that did not load.
[[ $(grep -o -m 1 '<Target title="[^"]*"' "$template/kavex.cbp") == '<Target title="from source"' ]] ||
  fail "Code::Blocks' first (active) target is not 'from source'"
printf 'kavex run 1\n' >"$work/no-input.txt"
targets=("from source" "prebuilt library") settings=("" "-lkavex")
for i in 0 1; do
  line=${lines[1 - i]}  # the text gives the prebuilt line first
  diff <(cbp_expected_facts "$line") <(cbp_facts "${targets[$i]}" | sort) >&2 ||
    fail "Code::Blocks' target '${targets[$i]}' builds otherwise than '$line' with -g"
  diff <(line_facts "$line" | grep '^library') <(cbp_facts "${targets[$i]}" | grep '^library') >&2 ||
    fail "Code::Blocks' target '${targets[$i]}' links the libraries in another order"
  folder=$work/vscode-$i/examples/mine
  mkdir -p "$(dirname "$folder")"
  for part in bin include lib src; do ln -s "$package/$part" "$work/vscode-$i/$part"; done
  cp -r "$template" "$folder"
  [[ -z ${settings[$i]} ]] || sed -i "s|\"kavex.library\": \"[^\"]*\"|\"kavex.library\": \"${settings[$i]}\"|" "$folder/.vscode/settings.json"
  mapfile -t words < <(task_args "$folder")
  diff <(editor_facts "$line") <(line_facts "g++ ${words[*]}" | sort) >&2 ||
    fail "VS Code's task set to '${words[3]}' builds otherwise than '$line' with -g"
  said=$(cd "$folder" && "$gxx" "${words[@]}" && cp "$package/bin/SDL.dll" . &&
    KAVEX_REPLAY="$work/no-input.txt" KAVEX_EXPLAIN=1 timeout 120 wine ./main.exe 2>&1) ||
    fail "VS Code's task set to '${words[3]}' built no program that runs: $said"
  [[ $said != *kavex:* ]] || fail "the template's program, run in its folder: $said"
done
[[ "$(json_get launch.json "configurations;0;preLaunchTask") $(json_get launch.json "configurations;0;cwd") $(json_get launch.json "configurations;0;program")" == \
  "kavex: build \${workspaceFolder} \${workspaceFolder}/main.exe" ]] || fail "F5 does not build with 'kavex: build' and run its main.exe in the project's folder"
[[ "$(json_get launch.json "configurations;0;environment;0;name")=$(json_get launch.json "configurations;0;environment;0;value")" == KAVEX_EXPLAIN=1 ]] ||
  fail "F5 does not run the program with its mistakes explained"
echo "Code::Blocks' targets (from source first) and VS Code's task (from source unless set to -lkavex) build with the text's lines and -g; the program runs in the project's folder and finds its picture"

# Each build mistake that the text quotes, made with the template's program:
# the message of its first error line, without the place before it, is in
# the text (its lines joined), so that the text cannot go stale.
flat_text=$(tr -d '\r' <"$text" | tr -s ' \n' ' ')
cp "$template/main.cpp" "$work/"
while IFS='|' read -r what build; do
  message=$(cd "$work" && eval "$build -static -o main.exe" 2>&1 | grep -m 1 -E 'error|undefined|multiple definition|cannot find' |
    sed -E 's/.*(undefined reference to .*|cannot find .*)$/\1/; s/.*(multiple definition of [^;]*);.*/\1/; s/.*fatal error: //' || true)
  [[ -n $message && $flat_text == *"$message"* ]] || fail "$what gives \"$message\", which README-windows.txt does not quote"
  echo "$what: \"$message\""
done <<'MISTAKES'
no -I|"$gxx" -std=c++17 main.cpp -L "$k/lib" -lkavex -lSDL
a wrong -L|"$gxx" -std=c++17 main.cpp -I "$k/include" -L "$k/lb" -lkavex -lSDL
no -lkavex|"$gxx" -std=c++17 main.cpp -I "$k/include" -L "$k/lib" -lSDL
no -lSDL|"$gxx" -std=c++17 main.cpp -I "$k/include" -L "$k/lib" -lkavex
clang with the prebuilt library|"$work/clang++" -std=c++17 main.cpp -I "$k/include" -L "$k/lib" -lkavex -lSDL
MISTAKES

# What can be checked here of the UCRT: the C runtime functions that the
# prebuilt libkavex.a takes from msvcrt are all in the UCRT's import library.
# (No UCRT-built C++ runtime is at hand: the text says no more than this.)
mingw_lib=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-file-name=libmsvcrt.a)")
defined_in() { x86_64-w64-mingw32-nm -g --defined-only "$1" 2>/dev/null | awk 'NF >= 3 { print $3 }' | sort -u; }
comm -12 <(x86_64-w64-mingw32-nm -u "$package/lib/libkavex.a" | awk '{ print $2 }' | sort -u) <(defined_in "$mingw_lib/libmsvcrt.a") >"$work/crt.txt"
missing=$(comm -23 "$work/crt.txt" <(defined_in "$mingw_lib/libucrt.a"))
[[ -z $missing ]] || fail "libkavex.a needs C runtime functions that the UCRT lacks: $missing"
echo "the prebuilt libkavex.a takes $(wc -l <"$work/crt.txt") C runtime functions from msvcrt, each of them in the UCRT's import library too: $(tr '\n' ' ' <"$work/crt.txt")"

printf '#include "graphics.hpp"\n' >"$work/old.cpp"
if "$gxx" -std=c++14 -fsyntax-only -I "$k/include" "$work/old.cpp" 2>"$work/old.log"; then
  fail "the header compiled as C++14"
fi
errors=$(grep -c 'error:' "$work/old.log" || true)
[[ $errors -eq 1 ]] && grep -q 'error:.*-std=c++17' "$work/old.log" ||
  { cat "$work/old.log" >&2; fail "a C++14 compile gave $errors errors, not one that names -std=c++17"; }
echo "a C++14 compile stops at: $(grep -o 'kavex needs C++17[^"]*' "$work/old.log" | head -n 1)"

links=0
while IFS= read -r document; do
  while IFS= read -r target; do
    [[ $target =~ ^(https?:|mailto:|#) ]] && continue
    file=$(dirname "$document")/${target%%#*}
    [[ -e $file && $(realpath "$file") == "$package"/* ]] ||
      fail "${document#"$package"/} links to $target, which is not in the package"
    links=$((links + 1))
  done < <(grep -o '\](\([^)]*\))' "$document" | sed 's/^](\(.*\))$/\1/')
done < <(find "$package" -name '*.md')
while IFS= read -r named; do
  path=${named#K\\}
  [[ -e $package/${path//\\//} ]] || fail "README-windows.txt names $named, which is not in the package"
  links=$((links + 1))
done < <(grep -o 'K\\[A-Za-z0-9_.\\]*[A-Za-z0-9_]' "$text" | sort -u)
! grep -n 'scripts/' "$text" || fail "README-windows.txt sends its reader to scripts/"
wrong=$(find "$package" -type d -empty -print -o -name '*.txt' -exec grep -lv $'\r$' {} + || true)
[[ -z $wrong ]] || fail "empty folders, or texts with lines that do not end in CR LF: ${wrong//"$package"\//}"
echo "the package's documents: $links links and paths, each to a file in the package"
