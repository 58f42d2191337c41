#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private test set-up:
#   scripts/wine-env.sh PROGRAM.exe [ARGS...]
#   scripts/wine-env.sh --scratch      prints the folder that is drive D:
#
# - A private WINEPREFIX (WINE_TEST_PREFIX, default build/win32/wineprefix),
#   created once, without the Mono and Gecko prompts.
# - No Z: drive and no user folder linked to the Linux home (no test walks
#   Linux folders); D: is a scratch folder declared
#   as a fixed disk, E: one declared as a CD-ROM and F: one as a network drive.
# - Windows drawn by Wine itself, without a window manager.
# - WINEDEBUG=-all; ALSA pointed at a null device so DirectSound can start.
# - An X display: the caller's, or a private Xvfb one when there is none.
# - WINE_FRESH_PREFIX=1 gives this run a copy of the prepared prefix of its own
#   (a clean registry), removed afterwards.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

if [ -z "${DISPLAY:-}" ] && [ "$1" != --scratch ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

prefix=${WINE_TEST_PREFIX:-$root/build/win32/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
export WINEARCH=win32
export ALSA_CONFIG_PATH="$here/alsa-null.conf"

prepare_prefix() {
  local p=$1
  mkdir -p "$(dirname "$p")"
  WINEPREFIX="$p" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$p" wineserver -w
  rm -f "$p/dosdevices/z:"
  # The user's folders become plain folders: no walk of C: leaves the prefix
  # for the Linux home directory.
  local link
  find "$p/drive_c/users" -type l | while read -r link; do
    rm -f "$link" && mkdir -p "$link"
  done
  local letter
  for letter in d e f; do
    mkdir -p "$p/scratch-$letter"
    ln -sfn "../scratch-$letter" "$p/dosdevices/$letter:"
  done
  # regedit sees only Windows paths: the file goes on C:. Windows are not
  # handed to a window manager: there is none under Xvfb, and hiding a
  # managed window would wait two seconds for one.
  cat > "$p/drive_c/settings.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"c:"="hd"
"d:"="hd"
"e:"="cdrom"
"f:"="network"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
  WINEPREFIX="$p" wine regedit /S 'C:\settings.reg' >/dev/null 2>&1
  WINEPREFIX="$p" wineserver -w
  rm -f "$p/drive_c/settings.reg"
  touch "$p/$marker"
}

# One preparation at a time, even when ctest runs tests in parallel. The
# marker names the preparation's version: an older prefix is made anew.
marker=.prepared-4
if [ ! -f "$prefix/$marker" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/$marker" ]; then
    rm -rf "$prefix"
    prepare_prefix "$prefix"
  fi
  flock -u 9
  exec 9>&-
fi

if [ "$1" = --scratch ]; then
  echo "$prefix/scratch-d"
  exit 0
fi

if [ "${WINE_FRESH_PREFIX:-0}" = 1 ]; then
  fresh=$(mktemp -d "${TMPDIR:-/tmp}/wine-fresh.XXXXXX")
  trap 'WINEPREFIX="$fresh/p" wineserver -k >/dev/null 2>&1 || true; rm -rf "$fresh"' EXIT
  cp -a "$prefix" "$fresh/p"
  prefix="$fresh/p"
  export WINEPREFIX="$prefix"
  set +e
  wine "$@"
  rc=$?
  set -e
  exit $rc
fi

export WINEPREFIX="$prefix"
exec wine "$@"
