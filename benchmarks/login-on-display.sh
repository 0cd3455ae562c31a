#!/usr/bin/env bash
# login-on-display.sh [--window-manager] [DISPLAY_NUMBER]: one start of the README's run command
# (scripts/run.sh) on a private Xvfb display, bare or with openbox; types demo/demo into the login
# window with xdotool and prints the milliseconds from Enter to the browser on the screen (its
# rows are filled before it shows). Needs the builds run.sh makes, xdotool and, for the window
# manager, openbox. The start counter is cleared first, so that no upgrade reminder comes first.
set -u
cd "$(dirname "$0")/.."
wm=""
[ "${1:-}" = "--window-manager" ] && { wm=1; shift; }
n=${1:-71}
prefix=$PWD/build/win32/run-prefix
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
wmpid=""
if [ -n "$wm" ]; then
  openbox >/dev/null 2>&1 &
  wmpid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi
[ -d "$prefix" ] && WINEPREFIX=$prefix WINEDEBUG=-all \
  wine reg delete 'HKLM\Software\Vintara' /v COUNT /f /reg:32 >/dev/null 2>&1
[ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -w
log=$(mktemp)
bash scripts/run.sh >"$log" 2>&1 &
run=$!
login=""
for _ in $(seq 1200); do
  for w in $(xdotool search --onlyvisible --class vtbrowser 2>/dev/null); do
    [ "$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: //p')" = 275x150 ] && login=$w
  done
  [ -n "$login" ] && break
  sleep 0.1
done
if [ -n "$login" ]; then
  sleep 0.5
  timeout 5 xdotool windowfocus --sync "$login" 2>/dev/null || xdotool windowfocus "$login"
  xdotool type --delay 20 demo
  xdotool key Tab
  xdotool type --delay 20 demo
  t0=$(date +%s%N)
  xdotool key Return
  browser=""
  while [ -z "$browser" ] && [ $(( ($(date +%s%N) - t0) / 1000000 )) -lt 60000 ]; do
    browser=$(xdotool search --onlyvisible --name '^Vintara$' 2>/dev/null | head -n 1)
  done
  echo "Enter to rows: $(( ($(date +%s%N) - t0) / 1000000 )) ms"
  [ -n "$browser" ] && { xdotool windowfocus "$browser"; xdotool key Escape; }
else
  echo "no login window came" >&2
fi
for _ in $(seq 100); do kill -0 $run 2>/dev/null || break; sleep 0.1; done
WINEPREFIX=$prefix wineserver -k 2>/dev/null
kill $run 2>/dev/null
wait $run 2>/dev/null
grep 'window manager' "$log"
rm -f "$log"
[ -n "$wmpid" ] && kill $wmpid
kill $xvfb
wait $xvfb 2>/dev/null
