#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get as a user would, builds
# a small program against the installed copy, runs each installed game in a
# virtual X server, and removes the package again. Also asks apt whether the
# package could be installed beside the other SDL 1.2 provider.
#
# usage: package_test.sh BUILD_DIR SOURCE_DIR CXX RUNNER [PROGRAM...]
# RUNNER is the end-to-end test that drives the installed programs.
# Exits 77 (skipped) without root or sudo, or when kavex is already installed.
set -euo pipefail
build=$1 source=$2 cxx=$3 runner=$4
shift 4
programs=("$@")

skip() { echo "package test skipped: $*"; exit 77; }
fail() { echo "package test: $*" >&2; exit 1; }

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo -n true 2>/dev/null || skip "installing a package needs root or sudo"
  sudo=(sudo -n)
fi

# One package test at a time on this machine, whichever checkout runs it.
exec 9>/tmp/kavex-package-test.lock
flock -w 600 9 || fail "another package test holds the lock"

installed() { [[ $(dpkg-query -W -f='${Status}' kavex 2>/dev/null) == "install ok installed" ]]; }
installed && skip "kavex is installed on this machine already; remove it first (apt-get remove kavex)"

work=$(mktemp -d)
cleanup() {
  installed && "${sudo[@]}" apt-get remove -y -qq kavex >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)

# 1. Build the package.
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/kavex_*.deb)
[[ -f $deb ]] || fail "cpack made no kavex_*.deb"
echo "built $(basename "$deb")"
dpkg-deb -f "$deb" Depends

# 2. Its contents.
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
expected=(
  /usr/include/kavex/graphics.hpp /usr/include/kavex/graphics_inline.hpp /usr/lib/libkavex.a /usr/lib/pkgconfig/kavex.pc
  /usr/lib/cmake/kavex/kavexConfig.cmake /usr/lib/cmake/kavex/kavexConfigVersion.cmake
  /usr/lib/cmake/kavex/kavexTargets.cmake /usr/share/doc/kavex/README.md
  /usr/share/doc/kavex/examples/template/CMakeLists.txt
)
for p in "${programs[@]}"; do expected+=("/usr/bin/$p" "/usr/share/man/man6/$p.6.gz"); done
for f in "${expected[@]}"; do
  grep -qx "$f" "$work/contents" || fail "the package lacks $f"
done

# 3. The other SDL provider meets the dependencies too: apt, asked to put
#    libsdl1.2-compat-dev in place of libsdl1.2-dev, still installs kavex.
if apt-cache show libsdl1.2-compat-dev >/dev/null 2>&1; then
  apt-get install -s --no-install-recommends "$deb" libsdl1.2-compat-dev >"$work/simulate.log" 2>&1 ||
    { cat "$work/simulate.log"; fail "apt cannot install kavex on the compatibility SDL"; }
  grep -q '^Conf kavex ' "$work/simulate.log" && grep -q '^Inst libsdl1.2-compat-shim ' "$work/simulate.log" ||
    { cat "$work/simulate.log"; fail "apt's plan does not put kavex on the compatibility SDL"; }
  echo "apt would install kavex on the compatibility SDL as well"
else
  echo "apt does not know libsdl1.2-compat-dev here: the second provider's dependencies were not checked"
fi

# 4. Install it as a user would.
"${apt[@]}" install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install failed"; }
installed || fail "apt-get install left kavex uninstalled"

# 5. A program built against the installed copy with pkg-config's own
#    paths, less /usr/local, where another copy may have been installed.
pc_path=$(pkg-config --variable pc_path pkg-config | tr ':' '\n' | grep -v '^/usr/local/' | paste -sd:)
flags=$(PKG_CONFIG_PATH= PKG_CONFIG_LIBDIR=$pc_path pkg-config --cflags --libs kavex) ||
  fail "pkg-config does not find the installed kavex"
[[ $flags == *"-I/usr/include/kavex"* ]] || fail "pkg-config gives $flags, not the package's header folder"
# shellcheck disable=SC2086  # the flags are words
"$cxx" -std=c++17 "$source/tests/packaging/outside_program.cpp" -o "$work/outside" $flags ||
  fail "building against the installed package failed"
SDL_VIDEODRIVER=dummy "$work/outside" || fail "the program built against the package failed"

# 6. Each game from its installed path, in the shared virtual X server:
#    it must open its window, animate, and end with status 0 on a close
#    request (the end-to-end helper checks it runs on the SDL meant here).
if [[ ${#programs[@]} -gt 0 ]]; then
  installed_paths=()
  for p in "${programs[@]}"; do
    [[ -x /usr/bin/$p ]] || fail "/usr/bin/$p is not installed"
    installed_paths+=("/usr/bin/$p")
  done
  KAVEX_INSTALLED_PROGRAMS="${installed_paths[*]}" "$runner" || fail "an installed program misbehaved"
fi

# 7. Remove it again.
"${apt[@]}" remove -y -qq kavex >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get remove failed"; }
! installed || fail "kavex is still installed after apt-get remove"
[[ ! -e /usr/include/kavex/graphics.hpp ]] || fail "removing left the header behind"
echo "installed, ran and removed"
