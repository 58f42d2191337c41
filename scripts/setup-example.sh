#!/usr/bin/env bash
# The sample package of examples/setup-package installed by setup.exe under
# Wine, checked, and removed again with /UNINSTALL.
#   scripts/setup-example.sh [OUTDIR]    (OUTDIR receives the install log)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
win32=${WIN32_BIN:-$root/build/win32/bin}
prefix=${WINE_TEST_PREFIX:-$root/build/win32/wineprefix}

scratch=$("$here/wine-env.sh" --scratch)
rm -rf "$scratch/setup-package"
cp -r "$root/examples/setup-package" "$scratch/setup-package"
installed="$prefix/drive_c/Program Files/VOXA/Sample"

fail() { echo "setup-example: $*" >&2; exit 1; }

"$here/wine-env.sh" "$win32/setup.exe" 'D:\setup-package' || fail "install ended with $?"
for f in readme.txt licence.txt media/intro.vxs media/sounds/click.txt EktPack.ini install.log; do
  [ -f "$installed/$f" ] || fail "missing $f"
done
cmp -s "$installed/media/intro.vxs" "$root/examples/setup-package/media/intro.vxs" ||
  fail "media/intro.vxs differs from the package's"
grep -q 'Sample\\part2\\ 0' "$installed/EktPack.ini" || fail "no package line in EktPack.ini"
echo "setup-example: installed into C:\\Program Files\\VOXA\\Sample"
if [ $# -ge 1 ]; then mkdir -p "$1" && tr -d '\r' < "$installed/install.log" > "$1/install.log"; fi

(cd "$scratch/setup-package" && "$here/wine-env.sh" "$win32/setup.exe" /UNINSTALL) ||
  fail "uninstall ended with $?"
[ ! -e "$installed" ] || fail "the package folder is still there after /UNINSTALL"
echo "setup-example: removed again by /UNINSTALL"
