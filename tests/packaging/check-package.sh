#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Packs the programs of a build tree into the Debian package (no build of its own) and checks
# it: the files and where they land, stripped programs with their debug symbols in the
# -dbgsym package, the Depends line, the maintainer scripts, and that the desktop entry and
# the metainfo validate.
# Usage: check-package.sh BUILD_DIR [DEB]   with DEB: check that package instead of packing
set -euo pipefail

build="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ $# -ge 2 ]; then
  deb="$2"
  dbgsym="$(dirname "$deb")/$(basename "$deb" | sed 's/^kestrix_/kestrix-dbgsym_/; s/\.deb$/.ddeb/')"
else
  (cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
  deb="$(ls "$scratch"/out/kestrix_*.deb)"
  dbgsym="$(ls "$scratch"/out/kestrix-dbgsym_*.ddeb)"
fi

root="$scratch/root"
dpkg -x "$deb" "$root"
dpkg-deb -e "$deb" "$scratch/control"

for file in usr/bin/kestrix usr/bin/kestrixctl \
            usr/share/kestrix/config.xml usr/share/kestrix/language/1049.lan \
            usr/share/applications/kestrix.desktop \
            usr/share/metainfo/com.example.kestrix.metainfo.xml \
            usr/share/icons/hicolor/256x256/apps/kestrix.png \
            usr/lib/udev/rules.d/70-kestrix.rules \
            usr/share/man/man1/kestrix.1.gz usr/share/man/man1/kestrixctl.1.gz \
            usr/share/doc/kestrix/copyright usr/share/doc/kestrix/changelog.Debian.gz; do
  [ -f "$root/$file" ] || fail "$file is not in the package"
done
# Nothing of the build's tests and benchmarks, no debug files in the main package.
extra="$(cd "$root" && find . \( -name 'test_*' -o -name 'bench_*' -o -path './usr/lib/debug*' \) -print)"
[ -z "$extra" ] || fail "files that do not belong in the package: $extra"

# Stripped programs whose build ids lead to the symbols in the -dbgsym package.
dpkg -x "$dbgsym" "$scratch/dbg"
for program in kestrix kestrixctl; do
  exe="$root/usr/bin/$program"
  [ -f "$exe" ] || continue
  if readelf -S "$exe" | grep -q '\.debug_info' || file -b "$exe" | grep -q 'not stripped'; then
    fail "$program is not stripped"
  fi
  id="$(readelf -n "$exe" | sed -n 's/.*Build ID: \([0-9a-f]*\).*/\1/p')"
  if [ -z "$id" ]; then
    fail "$program has no build id"
  elif [ ! -f "$scratch/dbg/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" ]; then
    fail "the debug symbols of $program are not in $(basename "$dbgsym")"
  fi
done

# Depends: the shared libraries the programs link (found by dpkg-shlibdeps), udev for the
# rule, the window's fonts, the Wayland platform plugin and the session bus.
depends="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libhidapi-hidraw0 libsqlite3-0 \
               libminizip1 libcurl4 libudev1 libglib2.0-0 libsystemd0 udev fonts-open-sans \
               fonts-noto-cjk qt6-wayland default-dbus-session-bus; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# The postinst applies the rule to mice already plugged in.
postinst="$scratch/control/postinst"
if [ ! -x "$postinst" ]; then
  fail "no executable postinst"
else
  grep -q 'udevadm control --reload-rules' "$postinst" || fail "postinst does not reload the rules"
  grep -q 'udevadm trigger --subsystem-match=hidraw' "$postinst" || fail "postinst does not trigger hidraw"
fi

desktop-file-validate "$root/usr/share/applications/kestrix.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/com.example.kestrix.metainfo.xml" \
  >"$scratch/appstream.log" 2>&1 || { cat "$scratch/appstream.log" >&2; fail "metainfo"; }

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of $(basename "$deb") failed" >&2
  exit 1
fi
echo "$(basename "$deb"): files, stripped programs, debug symbols, Depends, postinst, desktop entry and metainfo checked"
