# Sourced by the Wine scripts: which of the two modules this machine can run,
# and how to run each.
#
#   arch  module                   loader                  prefix
#   x86   build/win32/Tallorix.vlf /usr/lib/wine/wine      build/wine   (win32)
#   x64   build/win64/Tallorix.vlf /usr/lib/wine/wine64    build/wine64 (win64)
#
# The x86 module needs 32-bit Linux code (the wine32 loader), which some
# kernels do not run: there exec fails with "Exec format error". The `wine`
# wrapper always picks the wine32 loader when it is installed, so the x64
# module is run through the wine64 loader itself.
#
# TALLORIX_WINE32=off makes this machine count as one without 32-bit code,
# so that the x64-only path can be tried anywhere.

WINE32_LOADER=${WINE32_LOADER:-/usr/lib/wine/wine}
WINE64_LOADER=${WINE64_LOADER:-/usr/lib/wine/wine64}

# wine_why_not ARCH: prints why ARCH cannot run here and fails; prints
# nothing and succeeds when it can.
wine_why_not() {
  local loader err
  case "$1" in
    x86) loader=$WINE32_LOADER ;;
    x64) loader=$WINE64_LOADER ;;
    *) echo "unknown architecture $1 (x86 or x64)"; return 1 ;;
  esac
  if [ "$1" = x86 ] && [ "${TALLORIX_WINE32:-}" = off ]; then
    echo "32-bit code is turned off here by TALLORIX_WINE32=off"
    return 1
  fi
  if [ ! -x "$loader" ]; then
    echo "$loader is not installed"
    return 1
  fi
  if ! err=$("$loader" --version 2>&1 >/dev/null); then
    if [ "$1" = x86 ]; then
      echo "this machine runs no 32-bit code ($loader: ${err##*: })"
    else
      echo "$loader does not start: ${err##*: }"
    fi
    return 1
  fi
  return 0
}

wine_runs() { wine_why_not "$1" >/dev/null; }

# The module that runs here by default: x86 where it can, x64 otherwise.
wine_default_arch() {
  if wine_runs x86; then echo x86; else echo x64; fi
}

# wine_build_dir ARCH: the build folder of that module.
wine_build_dir() {
  case "$1" in x86) echo win32 ;; x64) echo win64 ;; esac
}

# pe_arch FILE: x86 or x64 for a PE32 i386 or PE32+ x86-64 file; nothing
# for anything else. Reads the machine field behind the PE signature.
pe_arch() {
  local offset machine
  [ -f "$1" ] || return 0
  offset=$(od -An -tu4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  machine=$(od -An -tx1 -j "$((offset + 4))" -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in 4c01) echo x86 ;; 6486) echo x64 ;; esac
}

# wine_say_module TOOL ARCH: one line on standard error naming the module
# that TOOL runs, and why it is the x64 one where 32-bit code cannot run.
wine_say_module() {
  local why=""
  [ "$2" = x64 ] && { why=$(wine_why_not x86) || true; }
  echo "$1: the $2 module, build/$(wine_build_dir "$2")/Tallorix.vlf${why:+, since $why}" >&2
}
