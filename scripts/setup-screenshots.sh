#!/usr/bin/env bash
# Screenshots of what setup.exe shows, taken under Xvfb while a script runs:
# the background window with the package's title and a progress window
# showing a status text, a message box of the script, then each dialog
# (welcome, directory chooser, new directory, agreement, choice).
#   scripts/setup-screenshots.sh OUTDIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out=$(mkdir -p "$1" && cd "$1" && pwd)
win32=${WIN32_BIN:-$root/build/win32/bin}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

scratch=$("$here/wine-env.sh" --scratch)
work="$scratch/setup-shots"
rm -rf "$work" && mkdir -p "$work/sub"

# Runs the script in $work/setup.ini, takes the screen into $1 after a few
# seconds and ends the program.
shoot() {
  "$here/wine-env.sh" "$win32/setup.exe" 'D:\setup-shots' &
  local pid=$!
  sleep "${SHOT_DELAY:-4}"
  import -window root "$out/$1"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "setup-screenshots: $out/$1"
}

printf 'some bytes\r\n' > "$work/readme.txt"
# A long text file: FindInFile makes one message pass per line, so the
# windows stay painted while it reads.
awk 'BEGIN { for (i = 0; i < 400000; i++) print "a line that does not match" }' > "$work/long.txt"
printf '%s\r\n' '[Setup]' 'set SETUPNAME "Voxa Sample Package"' 'goto "Files"' \
  '[Files]' 'CopyA "D:\setup-shots\readme.txt" "D:\setup-shots\sub\readme.txt"' \
  'FindInFile "zzz" "D:\setup-shots\long.txt"' > "$work/setup.ini"
shoot setup-progress.png

printf '%s\r\n' '[Setup]' 'set SETUPNAME "Voxa Sample Package"' \
  'MsgBoxYESNO "Install the sample package?" "Voxa Sample Package"' > "$work/setup.ini"
shoot setup-message-box.png
rm -rf "$work"

# The dialogs, each saved by the program that opens them as it is on the screen.
shots="$scratch/setup-dialog-shots"
rm -rf "$shots" && mkdir -p "$shots"
"$here/wine-env.sh" "$win32/setup_dialog_shots.exe" 'D:\setup-dialog-shots' >/dev/null
for bmp in "$shots"/*.bmp; do
  png="$out/$(basename "${bmp%.bmp}").png"
  convert "$bmp" "$png"
  echo "setup-screenshots: $png"
done
rm -rf "$shots"
