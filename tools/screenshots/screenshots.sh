#!/usr/bin/env bash
# screenshots.sh [WIN32_BUILD_DIR] [OUT_DIR]
# Shows every window of the client in its skin under Wine on a private Xvfb display and saves
# each as OUT_DIR/<name>.png (default: build/win32 and build/screenshots). Builds vtshots first.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build/win32}")
out=$(realpath -m "${2:-$root/build/screenshots}")
exe="$build/tools/screenshots/vtshots.exe"
if ! cmake --build "$build" --target vtshots -j2 >"$build/vtshots-build.log" 2>&1; then
  echo "screenshots: building vtshots failed (see $build/vtshots-build.log)" >&2
  [ -x "$exe" ] || exit 1
  echo "screenshots: using the existing $exe" >&2
fi
mkdir -p "$out"

"$root/tests/wine/with-wine" --prefix "$build/wineprefix" bash -c '
  set -eu
  exe=$1 out=$2
  coproc SHOTS { wine "$exe" 2>/dev/null; }
  status=0
  while read -r word name x y w h <&"${SHOTS[0]}"; do
    word=${word%$'"'"'\r'"'"'} h=${h%$'"'"'\r'"'"'}  # the console writes CR LF
    case $word in
      READY)
        # The window has painted; capture until two captures in a row agree.
        prev=""
        for _ in $(seq 40); do
          import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.tmp.png"
          sum=$(md5sum <"$out/$name.tmp.png" | cut -d" " -f1)
          [ "$sum" = "$prev" ] && break
          prev=$sum
        done
        mv -f "$out/$name.tmp.png" "$out/$name.png"
        echo "saved $out/$name.png"
        echo next >&"${SHOTS[1]}";;
      FAILED) echo "no window for $name" >&2; status=1;;
      DONE) break;;
    esac
  done
  wait "$SHOTS_PID" 2>/dev/null || true
  exit $status' _ "$exe" "$out"
