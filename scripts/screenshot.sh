#!/usr/bin/env bash
# screenshot.sh TITLE OUT.png PROGRAM.exe [ARGS...]
# Starts PROGRAM under Wine on a private Xvfb display, saves the window titled TITLE as PNG,
# and ends the program. Every window of the client: tools/screenshots/screenshots.sh.
set -eu
cd "$(dirname "$0")/.."
[ $# -ge 3 ] || { sed -n '2,5p' "$0" >&2; exit 2; }
title=$1 out=$2; shift 2
mkdir -p "$(dirname "$out")"
tests/wine/with-wine bash -c '
  wine "$@" >/dev/null 2>&1 & pid=$!
  tests/wine/snap-window "$0" "$1"; rc=$?
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  exit $rc' "$title" "$out" "$@"
echo "saved $out"
