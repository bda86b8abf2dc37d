#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# Installs the build into a fresh temporary prefix and checks the installed tree as the desktop
# and a person would use it: the companion runs from there and finds the atlas, the program finds its
# picture library, help page and atlas in its own folder and starts, and the menu entry, the .qlm
# type, the icons, the manual pages and the completion are in place and well formed.
#
#   test_Install.sh BUILD_DIR SOURCE_DIR BINDIR PROGRAM_DIR DATADIR "SIZE..."
set -uo pipefail

build=$1 source=$2 bindir=$3 programdir=$4 datadir=$5 sizes=$6
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

# ---- the companion, run from the prefix
chart=$prefix/$bindir/quillmere-chart
if ! "$chart" --name "Asha Rao" --date 1947-08-15 --time 0:00 --zone 34 --lat 28d39N --lon 77d13E \
  --city Delhi --state Delhi --country India >"$work/options.txt" 2>"$work/err.txt"; then
  fail "installed quillmere-chart refused a reading: $(cat "$work/err.txt")"
fi
"$chart" "$source/tests/data/fuzz/saved_reading/delhi-1947.qlm" >"$work/file.txt" 2>>"$work/err.txt" ||
  fail "installed quillmere-chart refused a saved reading: $(cat "$work/err.txt")"
[ "$(head -n 1 "$work/options.txt")" = $'Name: Asha Rao\r' ] || fail "unexpected first line from quillmere-chart"
[ "$(wc -l <"$work/options.txt")" -eq 41 ] || fail "the chart text export is not 41 lines"
cmp -s "$work/options.txt" "$work/file.txt" || fail "the saved reading and the same options give different exports"
# The atlas lies in the data folder; the companion in bin/ finds it through the program's folder.
(cd "$work" && "$chart" --places "Delhi, India") >"$work/places.txt" 2>>"$work/err.txt" ||
  fail "installed quillmere-chart found no atlas: $(cat "$work/err.txt")"
[ "$(head -n 1 "$work/places.txt" | cut -f 1,3)" = $'Delhi\tIndia' ] || fail "--places does not find Delhi first"

# ---- the program: its folder is where /proc/self/exe (the resolved link) lies
link=$prefix/$bindir/quillmere
[ -L "$link" ] || fail "$bindir/quillmere is not a link"
program=$(readlink -f "$link")
[ "$program" = "$(readlink -f "$prefix/$programdir/quillmere")" ] || fail "$bindir/quillmere does not lead to $programdir/quillmere"
[ -x "$program" ] || fail "the program is not installed as an executable"
folder=$(dirname "$program")
library=$folder/Bmp2Jpeg.so
[ -f "$library" ] || fail "Bmp2Jpeg.so is not beside the program"
# Read the whole symbol list first: grep -q stopping early would break nm's pipe under pipefail.
symbols=$(nm -D --defined-only "$library" 2>/dev/null || true)
grep -qw BmpToJpeg <<<"$symbols" || fail "Bmp2Jpeg.so does not export BmpToJpeg"
cmp -s "$folder/quillmere-help.html" "$build/quillmere-help.html" || fail "the help page is not beside the program"
for file in quillmere-help.html quillmere-atlas.tsv; do
  data=$prefix/$datadir/quillmere/$file
  { [ -f "$data" ] && [ ! -L "$data" ]; } || fail "$file is not in $datadir/quillmere"
  [ "$(readlink -f "$folder/$file")" = "$(readlink -f "$data")" ] || fail "$file beside the program is not the one in $datadir/quillmere"
done
for file in man/man1/quillmere.1 man/man1/quillmere-chart.1 bash-completion/completions/quillmere-chart; do
  [ -s "$prefix/$datadir/$file" ] || fail "no $datadir/$file"
done
if grep -q "not found" <<<"$(ldd "$program" 2>&1)"; then
  fail "the program misses libraries: $(ldd "$program" | grep "not found")"
fi
if grep -q "not found" <<<"$(ldd "$library" 2>&1)"; then
  fail "the picture library misses libraries: $(ldd "$library" | grep "not found")"
fi

# Started the way the desktop starts it, with a saved reading, headless and with a runtime folder of
# its own so that no other copy can be in the way. A second copy started with another reading hands
# it to the first and ends at once; the first must still be running when stopped.
mkdir -p "$work/tmp" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$source/tests/data/fuzz/saved_reading/delhi-1947.qlm" "$work/reading.qlm"
cp "$source/tests/data/fuzz/saved_reading/delhi-1947.qlm" "$work/second.qlm"
run_program() {
  (cd "$work" && env HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=offscreen timeout "$@")
}
run_program 20 "$link" "$work/reading.qlm" >"$work/program.log" 2>&1 &
first=$!
for _ in $(seq 100); do
  compgen -G "$work/runtime/quillmere-*" >/dev/null && break
  sleep 0.1
done
if ! compgen -G "$work/runtime/quillmere-*" >/dev/null; then
  fail "the installed program made no single-instance server in its runtime folder"
fi
run_program 10 "$link" "$work/second.qlm" >"$work/second.log" 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second copy did not hand its reading over (status $status): $(cat "$work/second.log")"
if kill -0 "$first" 2>/dev/null; then
  kill "$first"
  wait "$first"
else
  wait "$first"
  fail "the installed program ended by itself (status $?): $(cat "$work/program.log")"
fi

# ---- desktop integration
desktop=$prefix/$datadir/applications/quillmere.desktop
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "quillmere.desktop does not validate"
  grep -qx 'Exec=quillmere %f' "$desktop" || fail "the menu entry does not pass the file to the program"
  grep -qx 'MimeType=application/x-quillmere-reading;' "$desktop" || fail "the menu entry does not claim .qlm files"
  grep -qx 'Icon=quillmere' "$desktop" || fail "the menu entry names another icon"
else
  fail "no quillmere.desktop"
fi

mime=$prefix/$datadir/mime
if [ -f "$mime/packages/quillmere.xml" ]; then
  # The shared MIME database compiles the package as a desktop would; its glob table must map .qlm.
  if update-mime-database "$mime" >"$work/mime.log" 2>&1; then
    grep -q '^[0-9]*:application/x-quillmere-reading:\*\.qlm' "$mime/globs2" ||
      fail "the MIME database does not map *.qlm to application/x-quillmere-reading"
    # The program opens lower-case names only, so the file manager must not offer it others.
    grep -qx '[0-9]*:application/x-quillmere-reading:\*\.qlm:cs' "$mime/globs2" ||
      fail "the .qlm type also matches names in other letter cases"
    grep -q '^application/x-quillmere-reading:quillmere$' "$mime/icons" ||
      fail "the .qlm type does not show the program's icon"
  else
    fail "update-mime-database refused quillmere.xml: $(cat "$work/mime.log")"
  fi
else
  fail "no share/mime/packages/quillmere.xml"
fi

# PNG width and height: big-endian at bytes 16 to 23, after the signature and the IHDR header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
for size in $sizes; do
  icon=$prefix/$datadir/icons/hicolor/${size}x${size}/apps/quillmere.png
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
  elif [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "the ${size}x${size} icon is not a PNG file"
  elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
    fail "the ${size}x${size} icon is $(png_size "$icon")"
  fi
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; the installed tree:" >&2
  (cd "$prefix" && find . | sort) >&2
  exit 1
fi
echo "installed tree checked"
