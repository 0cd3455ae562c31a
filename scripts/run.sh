#!/usr/bin/env bash
# Runs the client against the bundled reference service.
#
# Installs what is missing, builds, starts vtservice (sample data, 127.0.0.1, game port 11001,
# web port 8011), prepares a Wine prefix with an emulator folder of emustub copies named as the
# emulators and sample configurations, installs the client there silently with
# VTBrowser-Setup.exe (deployment values pointing at the service), and starts the installed
# VTBrowser.exe on the user's display. The service stops when the client exits.
#
# Without a display it says so and does the main job headlessly: logs in as demo, lists the
# NES games of one letter range with their marks, launches one through emustub (printing the
# command line the emulator received), and saves screenshots of the client's windows from a
# private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
jobs=${VT_JOBS:-2}

cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs" --target vtservice vtcli emustub
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target VTBrowser emustub installer

host_bin=$root/build/host/tools
web_port=8011
run_dir=$root/build/run
mkdir -p "$run_dir"

service_pid=""
cleanup() {
  if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Start the service and wait for its ready line.
fifo=$run_dir/service.out
rm -f "$fifo"; mkfifo "$fifo"
"$host_bin/vtservice/vtservice" --bind 127.0.0.1 --game-port 11001 --web-port "$web_port" >"$fifo" 2>&1 &
service_pid=$!
exec 3<"$fifo"
if ! read -r -t 20 ready <&3; then
  echo "run: vtservice did not start (is port 11001 or $web_port in use?)" >&2; exit 1
fi
echo "$ready"
cat <&3 >/dev/null &  # keep draining whatever it prints later

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$root/build/win32/run-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  tests/wine/prepare-prefix "$WINEPREFIX"
  # Wine waits up to 2 s for a window manager at every hide of a window it manages; on a display
  # without one (a bare Xvfb) it must manage none. Decided at every run: displays differ.
  managed=Y
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f /reg:64 \
    >/dev/null 2>&1
  echo "run: window manager $([ "$managed" = Y ] && echo found || echo none): Wine Managed=$managed"
  vintara=$WINEPREFIX/drive_c/Vintara
  emulators=$vintara/Emulators
  mkdir -p "$emulators"
  # emustub under every emulator's name, so that each launch is recorded.
  for program in nester zsnesw stella gens gest meka; do
    cp build/win32/tools/emustub/emustub.exe "$emulators/$program.exe"
  done
  for f in tests/support/fixtures/*; do
    [ -e "$emulators/$(basename "$f")" ] || cp "$f" "$emulators/"
  done
  # Gest's file: six text lines, then the bindings as bytes (10240 in all).
  if [ ! -e "$emulators/gest.cfg" ]; then
    { printf 'Gest\r\nconfig\r\n\r\n\r\n\r\nkeys\n'; head -c 10215 /dev/zero; } >"$emulators/gest.cfg"
  fi
  echo "run: installing VTBrowser into the Wine prefix (silent install)"
  wine build/win32/installer/VTBrowser-Setup.exe /S '/EMULATORS=C:\Vintara\Emulators' /GAMESERVER=127.0.0.1 \
    "/WEBHOST=127.0.0.1:$web_port" >/dev/null 2>&1
  wineserver -w
  echo "run: starting VTBrowser (try demo/demo, a free account, or player/player, a full one)"
  VT_EMUSTUB_LOG='C:\Vintara\emustub.log' wine 'C:\Program Files\VTBrowser\VTBrowser.exe' || true
  [ -f "$vintara/emustub.log" ] && { echo "emulator command lines:"; cat "$vintara/emustub.log"; }
  exit 0
fi

echo "run: no display (DISPLAY is not set); running headless against the local service instead"
registry=$run_dir/registry.txt
log=$run_dir/emustub.log
rm -f "$log"
cat >"$registry" <<REG
[HKEY_LOCAL_MACHINE\\Software\\Vintara]
"GameServer"=1:"127.0.0.1"
"WebHost"=1:"127.0.0.1:$web_port"
"NES_PATH"=1:"$host_bin/emustub/emustub"
REG
cli() { "$host_bin/vtcli/vtcli" --registry "$registry" "$@"; }
echo "-- login as demo"
cli login demo demo
echo "-- NES games from A to B"
cli games demo demo NES '^[a-b]'
first=$(cli games demo demo NES '^[a-b]' | awk -F'\t' '$6 == "Available" { print $1; exit }')
if [ -n "$first" ]; then
  echo "-- launching game $first through emustub"
  VT_EMUSTUB_LOG=$log VT_EMUSTUB_EXIT=1 cli launch demo demo NES '^[a-b]' "$first" || true
  for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.1; done
  echo "emulator received: $(cat "$log" 2>/dev/null)"
fi
if [ -x tools/screenshots/screenshots.sh ]; then
  echo "-- screenshots of the client's windows"
  tools/screenshots/screenshots.sh build/win32 build/screenshots >/dev/null 2>&1 &&
    echo "run: screenshots saved in build/screenshots" || echo "run: screenshots failed" >&2
fi
