# shellcheck shell=bash
# What kavex's scripts share; sourced, never run. A script sources it right
# after `set -euo pipefail` and answers --help before anything else:
#   source "$(dirname "$0")/common.sh"             # from scripts/
#   source "$(dirname "$0")/../scripts/common.sh"  # from bench/ or .ci/
#   answer_help "$@"
# It gives:
#   kavex_root                     the repository's top folder, absolute
#   answer_help "$@"               on -h or --help, prints the script's top
#                                  comment as its usage and exits
#   job_count                      how many build jobs to run: one per core
#   as_root COMMAND...             runs a command as root
#   install_missing_packages PKG...   installs those not installed yet
#   configure_*_build              each build folder the scripts make, with
#                                  its options
#   web_pages                      the web build's folder, of every page
#   xvfb_start DIR, xvfb_stop DIR  a private X server, by tests/e2e/xvfb.sh
#   machine_line                   "CPU model, N cores", for benchmark outputs
#   install_npm_packages DIR       DIR's npm packages, as its lock pins them
#   install_web_test_packages      tests/web's

kavex_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The usage is the script's top comment: the lines after the shebang that
# start with #. A script whose usage has a part made when it runs (the
# stages of scripts/test) defines usage_more, printed after it.
answer_help() {
  local argument
  for argument in "$@"; do
    if [[ $argument == -h || $argument == --help ]]; then
      awk 'NR == 1 { next } /^#/ { sub(/^# ?/, ""); print; next } { exit }' "$0"
      if declare -F usage_more >/dev/null; then usage_more; fi
      exit 0
    fi
  done
}

job_count() {
  nproc 2>/dev/null || getconf _NPROCESSORS_ONLN 2>/dev/null || sysctl -n hw.ncpu
}

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# Packages by their Debian names. Debian's dpkg and apt are the only package
# manager so far: a port to macOS adds its branch here, before the dpkg one
# (command -v brew: brew list, then brew install of those missing), with the
# macOS names of scripts/bootstrap's lists.
install_missing_packages() {
  local missing=() package status
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
  done
  [[ ${#missing[@]} -eq 0 ]] || apt_install "${missing[@]}"
}

apt_install() {
  local me=${0##*/}
  if ! command -v apt-get >/dev/null; then
    echo "$me: these packages are missing and there is no apt-get to install them:" >&2
    echo "  $*" >&2
    exit 1
  fi
  if [[ $(id -u) -ne 0 ]] && ! command -v sudo >/dev/null; then
    echo "$me: installing needs root, and sudo is not available. As root, run:" >&2
    echo "  apt-get update && apt-get install -y $*" >&2
    exit 1
  fi
  echo "$me: installing $*"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "$@"
}

# The build folders the scripts make, each configured here only. Paths (the
# toolchain file) are given from the top folder, as cmake's cache keeps them.
configure() {
  local folder=$1
  shift
  (cd "$kavex_root" && cmake -S . -B "$folder" "$@")
}
# Debug, every test and the benchmarks (scripts/test, scripts/test-web).
configure_test_build() {
  configure build -DCMAKE_BUILD_TYPE=Debug -DKAVEX_TESTS=ON -DKAVEX_BENCHMARKS=ON
}
# The programs alone, optimized (scripts/run).
configure_release_build() {
  configure build-release -DCMAKE_BUILD_TYPE=Release
}
# Optimized, with the tests' tools and the benchmarks (scripts/bench,
# bench/snow_capacity.sh).
configure_bench_build() {
  configure build-bench -DCMAKE_BUILD_TYPE=Release -DKAVEX_TESTS=ON -DKAVEX_BENCHMARKS=ON
}
# The sanitized builds of scripts/test: the headless suites, and the tests
# with threads.
configure_asan_build() {
  configure build-asan -DCMAKE_BUILD_TYPE=Debug -DKAVEX_SANITIZE=address,undefined \
    -DKAVEX_TESTS=ON -DKAVEX_BENCHMARKS=ON
}
configure_tsan_build() {
  configure build-tsan -DCMAKE_BUILD_TYPE=Debug -DKAVEX_SANITIZE=thread -DKAVEX_TESTS=ON
}
# The fuzz harness, which libFuzzer wants built by clang; its test runs
# SECONDS on each provider.
configure_fuzz_build() {
  local seconds=$1
  configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVEX_SANITIZE=address,undefined -DKAVEX_TESTS=ON -DKAVEX_FUZZ=ON -DKAVEX_FUZZ_SECONDS="$seconds"
}
# Cross-built for Windows into build-windows/FOLDER, against the SDL that
# scripts/windows builds; the build type and other options are the caller's.
windows_sdl=$kavex_root/build-windows/sdl
configure_windows_build() {
  local folder=$1
  shift
  configure "build-windows/$folder" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_PREFIX_PATH="$windows_sdl" "$@"
}
# The Windows package unpacked in PACKAGE, tested from here: its games under
# Wine, its routes to a user's own program (scripts/test).
configure_windows_package_test_build() {
  local package=$1
  configure build-windows/linux -DCMAKE_BUILD_TYPE=Debug -DKAVEX_TESTS=ON -DKAVEX_WINDOWS_PACKAGE="$package"
}
# Web pages, built by Emscripten into FOLDER (scripts/web): the project's
# into web_pages, a program of one's own into a folder below it.
web_pages=$kavex_root/build-web
configure_web_build() {
  local folder=$1
  shift
  (cd "$kavex_root" && emcmake cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=Release "$@")
}

# A private X server, its files in DIR (its display name in DIR/display).
# tests/e2e/xvfb.sh is the one that starts it, for CTest's end-to-end tests
# too; it names the display a moment before every client can open it, so
# this waits for one that can.
xvfb_start() {
  local dir=$1
  "$kavex_root/tests/e2e/xvfb.sh" start "$dir"
  command -v xdpyinfo >/dev/null || return 0
  for _ in $(seq 100); do
    DISPLAY=$(cat "$dir/display") xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
}
xvfb_stop() {
  "$kavex_root/tests/e2e/xvfb.sh" stop "$1"
}

# The list of programs, parsed by cmake/programs.cmake, the one reader of
# examples/list.txt: a header line, then one program a line, its fields
# between tabs (name, source, kind, title, teaches, hint).
program_list() {
  local tsv
  tsv=$(mktemp)
  cmake -D out="$tsv" -P "$kavex_root/cmake/programs.cmake"
  cat "$tsv"
  rm -f "$tsv"
}

# The names of the list's programs, one a line.
program_names() { program_list | awk -F'\t' 'NR > 1 { print $1 }'; }

machine_line() {
  local cpu
  cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p')
  [[ -n $cpu ]] || cpu=$(sysctl -n machdep.cpu.brand_string 2>/dev/null || echo "an unknown CPU")
  echo "$cpu, $(job_count) cores"
}

# Installed again only when the lock file changed since the last install.
install_npm_packages() {
  (
    cd "$1" || exit
    cmp -s package-lock.json node_modules/.kavex-installed-lock 2>/dev/null && exit 0
    npm ci --no-audit --no-fund
    cp package-lock.json node_modules/.kavex-installed-lock
  )
}
install_web_test_packages() { install_npm_packages "$kavex_root/tests/web"; }
