#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# Runs a Windows program under Wine, headless and quiet:
#   cmake/wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
#   cmake/wine-run.sh PREFIX             only makes the prefix
# PREFIX is the Wine prefix (the cross build keeps it in its build folder and makes it while building).
# It is made once, even when several runs start together, and made again when an earlier making was cut
# short; without a display, and without offering to install Mono or Gecko, which console programs do not
# need. The exit status is the program's.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 PREFIX [PROGRAM.exe [ARGUMENTS...]]" >&2
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
ready=$prefix/.quillmere-ready
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      rm -rf "$prefix"
      if ! timeout 300 wineboot -i >"$prefix.log" 2>&1; then
        echo "$0: making the Wine prefix $prefix failed (see $prefix.log)" >&2
        exit 1
      fi
      # Until the new prefix is written out, another run could see it half-made.
      timeout 60 wineserver -w || true
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi
if [ $# -eq 0 ]; then
  exit 0
fi
exec wine "$@"
