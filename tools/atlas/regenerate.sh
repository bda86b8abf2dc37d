#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# Rewrites the committed atlas of places from the pinned npm packages (package-lock.json), or, with
# --check, regenerates it into the work folder and requires it to equal the committed file byte for
# byte. Needs node and npm, and the npm registry the first time (the packages stay in the work folder).
#
#   tools/atlas/regenerate.sh [--check] [WORK_DIR [ATLAS_FILE]]
#
# WORK_DIR defaults to $TMPDIR/quillmere-atlas-generator, ATLAS_FILE to atlas/data/quillmere-atlas.tsv.
# Exit status: 0 done (or equal), 1 failed (or different), 77 skipped: node or npm is missing or the
# packages could not be fetched.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
work=${1:-${TMPDIR:-/tmp}/quillmere-atlas-generator}
atlas=${2:-$here/../../atlas/data/quillmere-atlas.tsv}

skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}

command -v node >/dev/null 2>&1 || skip "node is not installed, so the atlas cannot be regenerated"
command -v npm >/dev/null 2>&1 || skip "npm is not installed, so the atlas cannot be regenerated"
mkdir -p "$work" || exit 1

# The packages are installed again only when the package list or the lockfile has changed.
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" || ! cmp -s "$here/package.json" "$work/package.json" ||
  [ ! -d "$work/node_modules" ]; then
  rm -rf "$work/node_modules" "$work/package-lock.json"
  cp "$here/package.json" "$here/package-lock.json" "$work/" || exit 1
  if ! (cd "$work" && npm ci --no-audit --no-fund --loglevel=error >"$work/npm.log" 2>&1); then
    cat "$work/npm.log" >&2
    rm -rf "$work/node_modules" "$work/package-lock.json"
    # Only an unreachable registry is a reason to skip; a lockfile that does not fit is a failure.
    if grep -qiE "network|ENOTFOUND|EAI_AGAIN|ECONNREFUSED|ECONNRESET|ETIMEDOUT|ENETUNREACH|certificate" "$work/npm.log"; then
      skip "npm ci could not fetch the generator's packages: the npm registry is not reachable"
    fi
    echo "FAILED: npm ci could not install the generator's packages (see above)" >&2
    exit 1
  fi
fi
cp "$here/generate.js" "$here/zone.tab" "$here/zone1970.tab" "$work/" || exit 1

if [ "$check" -eq 0 ]; then
  node "$work/generate.js" "$atlas"
  exit $?
fi

fresh=$work/quillmere-atlas.tsv
rm -f "$fresh"
node "$work/generate.js" "$fresh" || exit 1
if ! cmp -s "$fresh" "$atlas"; then
  echo "FAILED: the regenerated atlas $fresh differs from the committed $atlas;" \
    "run tools/atlas/regenerate.sh if the change is intended" >&2
  cmp "$fresh" "$atlas" >&2
  exit 1
fi
rm -f "$fresh"
echo "The regenerated atlas equals the committed one."
