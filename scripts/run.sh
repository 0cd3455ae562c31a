#!/usr/bin/env bash
# Runs the client: installs what is missing, builds, and starts VTBrowser.exe under Wine on
# the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=${VT_JOBS:-2}
cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs" --target VTBrowser
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY is not set); start an X session or use scripts/test.sh" >&2
  exit 1
fi
export WINEPREFIX="$PWD/build/win32/run-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tests/wine/prepare-prefix "$WINEPREFIX"
exec wine build/win32/app/VTBrowser.exe
