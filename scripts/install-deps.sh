#!/usr/bin/env bash
# SPDX-License-Identifier: AGPL-3.0-or-later
# Installs the Debian packages that building, running and testing Quillmere need.
# Works as root, or as a user through sudo. Installs only what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libswe-dev swe-basic-data
  # the SHA-256 of the ephemeris files
  nettle-dev
  libturbojpeg0-dev
  # the time-zone history: the IANA database and the date/tz library that reads it
  tzdata libhowardhinnant-date-dev
  # the companion's option parser (headers only)
  libcli11-dev
  # the atlas test compiles a Turkish locale from these sources into a temporary folder, to show that
  # the place search does not follow the locale's letter case
  locales
  clang-format
  xvfb xauth
  # the writer's test of keeping a file's access control list (setfacl, getfacl)
  acl
  poppler-utils
  # ./test --sanitize: clang with its sanitizer and libFuzzer runtimes, llvm-symbolizer for
  # readable reports; the install test's checkers of the menu entry and the MIME type
  clang libclang-rt-14-dev llvm
  desktop-file-utils shared-mime-info
  # the Debian package (dpkg-buildpackage -b) and its test: debhelper builds it, lintian checks it,
  # devscripts for debuild and its kin; the package test loads the completion through bash-completion
  # and sees the program's window on a virtual screen with xwininfo (x11-utils)
  debhelper devscripts lintian bash-completion x11-utils
  # the Windows build of the layers without Qt (MinGW-w64, GoogleTest from its sources) and Wine,
  # which runs its tests and its companion headless (wine gives the wine command to wine64)
  g++-mingw-w64-x86-64 mingw-w64 googletest wine64 wine
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
