#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the XmlDocument fuzzer with clang's libFuzzer, AddressSanitizer and UBSan.
#   tools/fuzz/build.sh              build only  -> build-fuzz/xml_fuzz
#   tools/fuzz/build.sh run [SECS]   build, then fuzz for SECS seconds (default 600), seeded
#                                    from data/*.xml; findings land in build-fuzz/
# Not part of scripts/test.
set -euo pipefail
usage() { sed -n '3,6p' "$0" | sed 's/^# \{0,1\}//'; }
case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  "" | run) ;;
  *) echo "build.sh: unknown argument $1" >&2; usage >&2; exit 2 ;;
esac
if [[ "${1:-}" == run && -n "${2:-}" && ! "${2}" =~ ^[0-9]+$ ]]; then
  echo "build.sh: SECS must be a number of seconds, not $2" >&2; exit 2
fi
if (( $# > 2 )); then
  echo "build.sh: too many arguments" >&2; usage >&2; exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" \
  "$root/tools/fuzz/XmlDocument_fuzz.cpp" "$root/src/xml/XmlDocument.cpp" \
  "$root/src/base/Utf8.cpp" "$root/src/base/Text.cpp" "$root/src/base/Log.cpp" \
  -o "$out/xml_fuzz"
echo "built $out/xml_fuzz"
if [[ "${1:-}" == run ]]; then
  seconds=${2:-600}
  cp "$root"/data/config.xml "$root"/data/device/*.xml "$out/corpus/"
  cd "$out"
  ./xml_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 corpus
fi
