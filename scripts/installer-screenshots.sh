#!/usr/bin/env bash
# Pictures of Nandor.exe's dialogs under Xvfb, on a clean copy of the Wine
# prefix: the options dialog (directory given, and every default), the
# progress dialog during the search and the final message, as PNG files.
#   scripts/installer-screenshots.sh OUTDIR    (after building nandor_dialog_shots)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out=$(mkdir -p "$1" && cd "$1" && pwd)
win32=${WIN32_BIN:-$root/build/win32/bin}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# The uninstallation's recycle bin: a folder of this run, not the desktop's.
trash=$(mktemp -d)
trap 'rm -rf "$trash"' EXIT
XDG_DATA_HOME=$trash WINE_FRESH_PREFIX=1 "$here/wine-env.sh" "$win32/nandor_dialog_shots.exe" "$out"
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"
