#!/usr/bin/env bash
# The release as a Windows user gets it: out/dist copied into a fresh Wine
# prefix that reaches nothing outside itself (no Z: drive), then
#  - each file carries its version block,
#  - the plug-ins load in the test machine (the only file from the build),
#  - the control registers and unregisters with regsvr32,
#  - setup installs the sample package and removes it again.
#   scripts/dist-test.sh DIST_DIR TESTMACHINE.exe
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dist=$(cd "$1" && pwd)
machine=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
version=$(cat "$here/../VERSION")

work=$(mktemp -d "${TMPDIR:-/tmp}/dist-test.XXXXXX")
export WINE_TEST_PREFIX=$work/prefix
trap 'WINEPREFIX="$WINE_TEST_PREFIX" wineserver -k >/dev/null 2>&1 || true; rm -rf "$work" "$work.lock"' EXIT
wine() { "$here/wine-env.sh" "$@"; }
fail() { echo "dist-test: $*" >&2; exit 1; }

# The version blocks, read back from the files themselves.
block_of() { i686-w64-mingw32-windres -i "$dist/$1" -O rc 2>/dev/null | tr -d '\0'; }
for f in setup.exe ostrel.dll Mivalo.dll Nandor.exe; do
  block_of "$f" | grep -q "VALUE \"FileVersion\", \"$version\"" || fail "$f: no version block of $version"
done
block_of npvlx.dll | grep -q 'VALUE "MIMEType", "application/x-KEBO-VLX"' || fail "npvlx.dll: no MIME type"
block_of Ravix.dll | grep -q 'VALUE "OLESelfRegister"' || fail "Ravix.dll: not marked self-registering"
echo "dist-test: every file has its version block"

wine --scratch >/dev/null  # makes the fresh prefix
c=$WINE_TEST_PREFIX/drive_c
cd "$c"  # Wine starts where it can see the folder
cp -r "$dist" "$c/dist"
mkdir "$c/machine"
cp "$machine" "$c/machine/testmachine.exe"
printf '# loading only\n' > "$c/machine/load.tms"

for plugin in ostrel.dll:warp.pkg Mivalo.dll:Mivalo.pkd; do
  out=$(wine 'C:\machine\testmachine.exe' "C:\\dist\\${plugin%%:*}" 'C:\machine\load.tms' | tr -d '\r') ||
    fail "the test machine ended with $? on ${plugin%%:*}: $out"
  grep -Eq "primitives in ${plugin#*:} \(result [0-9]+\)" <<<"$out" || fail "${plugin%%:*}: $out"
  echo "dist-test: $(grep -m1 '^loaded' <<<"$out")"
done

wine regsvr32 /s 'C:\dist\Ravix.dll' || fail "regsvr32 Ravix.dll ended with $?"
registered() { wine reg query 'HKCR\Voxa.Voxa.1' >/dev/null 2>&1; }
registered || fail "Voxa.Voxa.1 is not registered"
wine regsvr32 /s /u 'C:\dist\Ravix.dll' || fail "regsvr32 /u Ravix.dll ended with $?"
! registered || fail "Voxa.Voxa.1 is still registered"
echo "dist-test: Ravix.dll registered and unregistered by regsvr32"

installed="$c/Program Files/VOXA/Sample"
wine 'C:\dist\setup.exe' 'C:\dist\setup-package' || fail "setup ended with $?"
cmp -s "$installed/media/intro.vxs" "$dist/setup-package/media/intro.vxs" || fail "the sample package is not installed"
(cd "$c/dist/setup-package" && wine 'C:\dist\setup.exe' /UNINSTALL) || fail "setup /UNINSTALL ended with $?"
[ ! -e "$installed" ] || fail "the sample package is still there after /UNINSTALL"
echo "dist-test: setup.exe installed the sample package and removed it"
