#!/usr/bin/env bash
# The demo package of examples/setup-demo installed unattended by setup.exe
# under Wine (setup-robot answers every dialog with its default button),
# then removed through the uninstall entry it wrote; prints what changed.
#   scripts/setup-demo.sh [OUTDIR]    (OUTDIR receives the report)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
win32=${WIN32_BIN:-$root/build/win32/bin}
prefix=${WINE_TEST_PREFIX:-$root/build/win32/wineprefix}
out=${1:-}

scratch=$("$here/wine-env.sh" --scratch)
rm -rf "$scratch/setup-demo"
cp -r "$root/examples/setup-demo" "$scratch/setup-demo"
cp "$win32/setup.exe" "$scratch/setup-demo/"

entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Voxa Demo Package'
files() {
  (cd "$prefix/drive_c" && find "Program Files/VOXA" "users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" \
     -mindepth 1 2>/dev/null | sort) || true
}
registry() { "$here/wine-env.sh" reg query "$entry" 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(\S*\) *REG_SZ *\(.*\)/\1 = \2/p' || true; }
fail() { echo "setup-demo: $*" >&2; exit 1; }

report=$(mktemp)
trap 'rm -f "$report"' EXIT
before=$(files)
echo "== install: setup.exe D:\\setup-demo (the robot answers)" | tee -a "$report"
(cd "$scratch" && "$here/wine-env.sh" "$win32/setup-robot.exe" 'D:\setup-demo') | tr -d '\r' | tee -a "$report"
after=$(files)
echo "== files and links added" | tee -a "$report"
comm -13 <(echo "$before") <(echo "$after") | sed 's/^/  + /' | tee -a "$report"
echo "== uninstall entry" | tee -a "$report"
uninstall=$(registry)
[ -n "$uninstall" ] || fail "no uninstall entry was written"
echo "$uninstall" | sed 's/^/  /' | tee -a "$report"
[ -f "$prefix/drive_c/Program Files/VOXA/Demo/media/demo.vxs" ] || fail "the media were not installed"

command=$(echo "$uninstall" | sed -n 's/^UninstallString = //p')
program=${command%% C:*}
directory=${command#"$program "}
echo "== uninstall: $command" | tee -a "$report"
(cd "$scratch" && "$here/wine-env.sh" "$win32/setup-robot.exe" --program "$program" "$directory") |
  tr -d '\r' | tee -a "$report"
removed=$(files)
echo "== files and links removed" | tee -a "$report"
comm -23 <(echo "$after") <(echo "$removed") | sed 's/^/  - /' | tee -a "$report"
[ -z "$(registry)" ] || fail "the uninstall entry is still there"
echo "== uninstall entry removed" | tee -a "$report"
# The running uninstaller cannot delete its own program file; nothing else
# may stay.
left=$(comm -13 <(echo "$before") <(echo "$removed"))
echo "== left behind" | tee -a "$report"
echo "$left" | sed 's/^/  /' | tee -a "$report"
[ "$left" = "Program Files/VOXA/Demo
Program Files/VOXA/Demo/setup.exe" ] || [ -z "$left" ] || fail "more than the uninstaller stayed"
if [ -n "$out" ]; then mkdir -p "$out" && cp "$report" "$out/setup-demo.txt"; fi
rm -rf "$scratch/setup-demo" "$prefix/drive_c/Program Files/VOXA/Demo"
