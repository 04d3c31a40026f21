#!/usr/bin/env bash
# tools/setup against stub apt-get, dpkg, dpkg-query and locale on PATH: what
# it asks apt for, and how it gets past a mirror in mid-sync.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$root/tests/cli/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# The stubs log each apt-get call as one line. STUB_INSTALLED=all: every
# package is there. STUB_UPDATE: apt-get update's status. STUB_INSTALLS:
# the outcome of each install in turn, "ok" or "breaks".
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STUB_LOG"
if [ "$1" = update ]; then
  [ "$STUB_UPDATE" = 0 ] || echo "E: Failed to fetch .../Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
  exit "$STUB_UPDATE"
fi
n=$(grep -c '^apt-get install' "$STUB_LOG")
outcome=$(echo $STUB_INSTALLS | cut -d' ' -f"$n")
if [ "$outcome" = ok ]; then echo "Setting up wine64"; exit 0; fi
echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
echo "E: Unable to correct problems, you have held broken packages."
exit 100
STUB
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
[ "$STUB_INSTALLED" = all ] && printf 'install ok installed'
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/usr/bin/env bash
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STUB
cat >"$work/bin/locale" <<'STUB'
#!/usr/bin/env bash
echo ja_JP.utf8
STUB
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
install='apt-get install -y -q --no-install-recommends'

# The package list of an install call shows as PKGS.
# t NAME INSTALLED UPDATE INSTALLS STATUS CALLS LAST_STDERR_LINE
t() {
  : >"$work/log"
  STUB_LOG=$work/log STUB_INSTALLED=$2 STUB_UPDATE=$3 STUB_INSTALLS=$4 PATH="$work/bin:$PATH" \
    bash "$root/tools/setup" >"$work/out" 2>"$work/err"
  check "$1: status" "$?" "$5"
  check "$1: apt calls" "$(sed 's/ cmake make .*/ PKGS/' "$work/log" | tr '\n' '|')" "$6"
  check "$1: last message" "$(tail -n 1 "$work/err")" "$7"
}

t "all present" all 0 "" 0 "" ""
t "update fails" none 100 "ok" 0 \
  "apt-get update -q|$install PKGS|" \
  "setup: warning: apt-get update failed; going on with the indexes at hand"
t "resolver fails, -t resolves" none 100 "breaks ok" 0 \
  "apt-get update -q|$install PKGS|$install -t $codename PKGS|" \
  "setup: the install failed; trying again with -t $codename"
t "both installs fail" none 0 "breaks breaks" 1 \
  "apt-get update -q|$install PKGS|$install -t $codename PKGS|" \
  "setup: could not install cmake make g++ clang libclang-rt-dev g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 libgtest-dev wine wine64 xvfb xauth locales fonts-ipafont-gothic fonts-wine wine32:i386 python3 unicode-data g++-multilib qemu-user: E: Unable to correct problems, you have held broken packages."

# The packages asked for: both cross compilers, both Wine loaders.
t "packages" none 0 "ok" 0 "apt-get update -q|$install PKGS|" ""
for pkg in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 wine32:i386 xvfb; do
  check "asks for $pkg" "$(grep -c " $pkg\( \|$\)" "$work/log")" 1
done
for pkg in python3 unicode-data g++-multilib qemu-user; do
  check "asks for $pkg" "$(grep -c " $pkg\( \|$\)" "$work/log")" 1
done

# "tools/setup dist" asks for python3 besides.
: >"$work/log"
STUB_LOG=$work/log STUB_INSTALLED=none STUB_UPDATE=0 STUB_INSTALLS=ok PATH="$work/bin:$PATH" \
  bash "$root/tools/setup" dist >/dev/null 2>&1
check "dist: status" "$?" 0
check "dist: asks for python3" "$(grep -c ' python3$' "$work/log")" 1

summary
