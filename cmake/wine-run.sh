#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet:
#   cmake/wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# PREFIX is the Wine prefix (the cross build keeps it in its build folder). It is made at the first
# run, once even when several runs start together; without a display, and without offering to
# install Mono or Gecko, which console programs do not need. The exit status is the program's.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 PREFIX PROGRAM.exe [ARGUMENTS...]" >&2
  exit 2
fi
prefix=$1
shift
if ! command -v wine >/dev/null 2>&1; then
  echo "$0: Wine is not installed (scripts/install-deps.sh installs it)" >&2
  exit 127
fi
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      if ! timeout 300 wineboot -i >"$prefix.log" 2>&1; then
        echo "$0: making the Wine prefix $prefix failed (see $prefix.log)" >&2
        exit 1
      fi
      # Until the new prefix is written out, another run could see it half-made.
      timeout 60 wineserver -w || true
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
