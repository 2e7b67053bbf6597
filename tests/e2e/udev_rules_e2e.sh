#!/usr/bin/env bash
# The generated udev rule covers exactly the configuration and boot-loader interfaces of every
# catalogue line, grants them to the seat's user and never makes anything world-writable.
set -euo pipefail
root="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 "$root/packaging/make-udev-rules.py" "$root/data/config.xml" "$work/70-kestrix.rules"
rules="$(grep -v '^#' "$work/70-kestrix.rules" | grep -v '^$')"

lines=$(grep -c '<mode ' "$root/data/config.xml")
[ "$(wc -l <<<"$rules")" -eq $((2 * lines)) ] || fail "expected $((2 * lines)) rules"
grep -qv 'TAG+="uaccess", MODE="0660"$' <<<"$rules" && fail "a rule without uaccess and 0660"
grep -q 'MODE="06[0-7][2367]"\|MODE="0666"\|MODE="0777"' "$work/70-kestrix.rules" && fail "world-writable mode"
# One configuration (2) and one boot-loader (3) interface per line, by vendor and product id.
for id in 1209:5A01 1209:5A02 1209:5A03 1209:5A04 1209:5A05; do
  grep -q "DEVPATH==\"\*:\*.2/0003:$id.\*\"" <<<"$rules" || fail "no configuration rule for $id"
  grep -q "DEVPATH==\"\*:\*.3/0003:$id.\*\"" <<<"$rules" || fail "no boot-loader rule for $id"
done

# A config.xml that cannot be read is an error with a message, not an empty rule.
echo "<config>" >"$work/broken.xml"
if python3 "$root/packaging/make-udev-rules.py" "$work/broken.xml" "$work/out" 2>"$work/err"; then
  fail "a broken config.xml was accepted"
fi
grep -q "make-udev-rules:" "$work/err" || fail "no message for a broken config.xml"
echo "udev rules ok"
