#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# Builds the Debian package from a clean copy of the tracked sources, checks it with lintian, installs
# it with apt, uses what was installed as a person would (from another folder: the companion, the
# program, the manual pages, the menu entry, the .qlm type, the completion) and purges it, leaving
# nothing behind. Installing needs root and apt: without them the test is skipped (status 77). A
# quillmere package installed before is left alone, and the test skipped.
#
#   test_Package.sh SOURCE_DIR BUILT_COMPANION
set -uo pipefail
# Output is read whole before it is searched: grep -q stopping early would break the writer's pipe,
# which pipefail counts as a failure.

source=$1 built_chart=$2
skip() {
  echo "Skipped: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing the package needs root"
command -v apt-get >/dev/null && command -v dpkg >/dev/null || skip "this system has no apt"
if [[ $(dpkg-query -W -f='${Status}' quillmere 2>/dev/null) == *" installed" ]]; then
  skip "a quillmere package is installed already, and the test would replace it"
fi
for tool in dpkg-buildpackage dh lintian desktop-file-validate xvfb-run xwininfo man; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-package-XXXXXX")
installed=0
cleanup() {
  if [ "$installed" -eq 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q -o DPkg::Lock::Timeout=300 quillmere >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT
# Whatever the tools keep (lintian, man, xvfb-run) stays in the temporary folder.
mkdir "$work/home" "$work/tmp"
export HOME=$work/home TMPDIR=$work/tmp
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
  echo "package built, installed, used and purged"
  exit 0
}
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >>"$work/apt.log" 2>&1
}

# ---- a clean copy: what git tracks, or the tree without build folders where there is no git
mkdir "$work/quillmere"
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$source" && git ls-files -z | tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$work/quillmere"
else
  (cd "$source" && tar --exclude=./.git --exclude='./build*' -cf - .) | tar -xf - -C "$work/quillmere"
fi

# ---- the build, without the tests (./test runs them), two jobs
started=$SECONDS
if ! (cd "$work/quillmere" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -b -us -uc) \
  >"$work/build.log" 2>&1; then
  tail -n 60 "$work/build.log" >&2
  echo "FAIL: dpkg-buildpackage" >&2
  exit 1
fi
echo "dpkg-buildpackage took $((SECONDS - started)) s"
version=$(sed -n 's/^project(Quillmere VERSION \([0-9.]*\) .*/\1/p' "$source/CMakeLists.txt")
deb=$work/quillmere_${version}-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); built: $(cd "$work" && ls ./*.deb)" >&2; exit 1; }

if ! lintian --fail-on error --tag-display-limit 0 "$work"/quillmere_*.changes >"$work/lintian.log" 2>&1; then
  fail "lintian reports errors: $(cat "$work/lintian.log")"
fi
cat "$work/lintian.log"
# The ephemeris files are swe-basic-data's, never a copy.
contents=$(dpkg-deb -c "$deb")
if grep -q '\.se1$' <<<"$contents"; then
  fail "the package holds ephemeris files: $(grep '\.se1$' <<<"$contents")"
fi

# ---- installed by apt, as a person installs it
if ! apt_get install "$deb"; then
  tail -n 30 "$work/apt.log" >&2
  echo "FAIL: apt-get install $(basename "$deb")" >&2
  exit 1
fi
installed=1
dpkg-query -L quillmere >"$work/files.txt"

# ---- the companion, found on PATH and run from another folder
mkdir "$work/elsewhere" "$work/runtime"
chmod 700 "$work/runtime"
in_elsewhere() {
  # Without the test run's QT_QPA_PLATFORM=offscreen: the program must show its window on the X screen.
  (cd "$work/elsewhere" && env -u QUILLMERE_ATLAS -u QUILLMERE_EPHE_PATH -u SE_EPHE_PATH -u QT_QPA_PLATFORM \
    HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" "$@")
}
birth=(--name "Asha Rao" --date 1947-08-15 --time 0:00 --zone 34 --lat 28d39N --lon 77d13E
  --city Delhi --state Delhi --country India)
[ "$(command -v quillmere-chart)" = /usr/bin/quillmere-chart ] || fail "quillmere-chart is not /usr/bin/quillmere-chart"
# India's chart of 15 August 1947, midnight at Delhi: Taurus (Vrishabha) rising, the Moon in Pushya; a
# precise reading counts the houses from the lagna, so the first house's lord is Venus.
while IFS='|' read -r calculation expected; do
  options=()
  [ "$calculation" = precise ] && options=(--precise)
  if ! in_elsewhere quillmere-chart "${options[@]}" "${birth[@]}" </dev/null >"$work/$calculation.txt" 2>"$work/err.txt"; then
    fail "the $calculation reading was refused: $(cat "$work/err.txt")"
    continue
  fi
  for line in "Lagna / Asc: Vrishabha" "Nakshatra: Pushya" "$expected"; do
    grep -q "^$line"$'\r$' "$work/$calculation.txt" || fail "the $calculation reading has no line \"$line\""
  done
  # The same reading, byte for byte, as the companion built from the same source.
  (cd "$work/elsewhere" && "$built_chart" "${options[@]}" "${birth[@]}") </dev/null >"$work/$calculation.built.txt" 2>/dev/null
  cmp -s "$work/$calculation.txt" "$work/$calculation.built.txt" ||
    fail "the installed companion's $calculation reading differs from the build's"
done <<'EOF'
classic|Lord of the 1st House Mars is placed in House 2.
precise|Lord of the 1st House Venus is placed in House 3.
EOF
in_elsewhere quillmere-chart --places "Delhi, India" >"$work/places.txt" 2>"$work/err.txt" ||
  fail "--places: $(cat "$work/err.txt")"
[ "$(head -n 1 "$work/places.txt" | cut -f 1,3)" = $'Delhi\tIndia' ] || fail "--places does not find Delhi first"

# ---- the program: its picture library lies beside it, all its libraries are found
folder=$(dirname "$(readlink -f /usr/bin/quillmere)")
symbols=$(nm -D --defined-only "$folder/Bmp2Jpeg.so" 2>/dev/null)
grep -qw BmpToJpeg <<<"$symbols" || fail "no picture library Bmp2Jpeg.so exporting BmpToJpeg in $folder"
for binary in "$folder/quillmere" "$folder/Bmp2Jpeg.so" /usr/bin/quillmere-chart; do
  missing=$(ldd "$binary" 2>&1 | grep "not found")
  [ -z "$missing" ] || fail "$binary misses libraries: $missing"
done

# ---- the program, started headless on a virtual screen: its entry form is shown
title="Quillmere v$version"
in_elsewhere xvfb-run -a bash -c '
  quillmere >"$1/program.log" 2>&1 &
  program=$!
  for _ in $(seq 150); do
    xwininfo -name "$2" 2>/dev/null | grep -q "Map State: IsViewable" && { echo shown; break; }
    kill -0 $program 2>/dev/null || break
    sleep 0.1
  done
  kill $program 2>/dev/null
  wait $program 2>/dev/null
  exit 0' _ "$work" "$title" >"$work/shown.txt" 2>"$work/xvfb.log"
[ "$(cat "$work/shown.txt")" = shown ] ||
  fail "the installed program showed no window \"$title\": $(cat "$work/program.log" "$work/xvfb.log")"

# ---- the manual pages, as man finds them (unless this system leaves manual pages out); at a width of
# 100 man keeps no formatted copy in its cache, which the purge would leave behind
if ! grep -rqs '^path-exclude=*/usr/share/man' /etc/dpkg/dpkg.cfg.d; then
  for page in quillmere quillmere-chart; do
    [ "$(man -w "$page" 2>/dev/null)" = "/usr/share/man/man1/$page.1.gz" ] || fail "man finds no page $page(1)"
  done
  grep -q -- '--places TEXT' <<<"$(MANWIDTH=100 man -P cat quillmere-chart 2>/dev/null)" ||
    fail "quillmere-chart(1) does not describe --places"
fi

# ---- the menu entry, the .qlm type (compiled by the package's triggers) and the completion
desktop-file-validate /usr/share/applications/quillmere.desktop || fail "quillmere.desktop does not validate"
grep -q '^application/x-quillmere-reading=.*quillmere\.desktop' /usr/share/applications/mimeinfo.cache 2>/dev/null ||
  fail "the desktop database does not open .qlm files with quillmere.desktop"
[ -f /usr/share/mime/application/x-quillmere-reading.xml ] || fail "the MIME database has no x-quillmere-reading"
grep -qx '[0-9]*:application/x-quillmere-reading:\*\.qlm:cs' /usr/share/mime/globs2 ||
  fail "the MIME database does not map *.qlm to application/x-quillmere-reading"
loaded=$(bash --norc -c 'source /usr/share/bash-completion/bash_completion
  _completion_loader quillmere-chart; complete -p quillmere-chart' 2>/dev/null)
grep -q _quillmere_chart <<<"$loaded" ||
  fail "bash does not load the completion of quillmere-chart"

# ---- purged: none of its files, folders or registrations is left
if ! apt_get purge quillmere; then
  tail -n 30 "$work/apt.log" >&2
  fail "apt-get purge quillmere"
  finish
fi
installed=0
[[ $(dpkg-query -W -f='${Status}' quillmere 2>/dev/null) == *" installed" ]] && fail "quillmere is still installed"
while read -r path; do
  [ "$path" != /. ] || continue
  [ -e "$path" ] || [ -L "$path" ] || continue
  # A folder other packages hold stays.
  [ -d "$path" ] && [ ! -L "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1 && continue
  fail "$path is left after the purge"
done <"$work/files.txt"
[ ! -e /usr/share/mime/application/x-quillmere-reading.xml ] || fail "the MIME database still holds x-quillmere-reading"
! grep -qs 'x-quillmere-reading' /usr/share/mime/globs2 /usr/share/applications/mimeinfo.cache ||
  fail "the MIME or desktop database still names x-quillmere-reading"
finish
