#!/usr/bin/env bash
# The decisions of scripts/install-deps.sh, with fake apt-get, dpkg-query,
# dpkg and id first in PATH: the machine's packages are never touched.
#   install_deps_test.sh SCRIPT
set -uo pipefail

script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in apt-get dpkg-query dpkg id; do ln -s "$here/fake-apt" "$work/bin/$tool"; done
export PATH="$work/bin:$PATH"
for tool in apt-get dpkg-query dpkg id; do
  [ "$(command -v $tool)" = "$work/bin/$tool" ] || { echo "the fake $tool is not first in PATH" >&2; exit 1; }
done

failures=0
fail() { echo "FAIL [$name]: $*" >&2; sed 's/^/  | /' "$work/$name/out" >&2; failures=$((failures + 1)); }

# run NAME [COUNTER=VALUE...]: one scenario, its output in $work/NAME/out,
# its exit code in $rc. The script's temporary files go to $work/NAME/tmp.
run() {
  name=$1; shift
  export FAKE_APT="$work/$name"
  mkdir -p "$FAKE_APT/tmp"
  local setting
  for setting; do echo "${setting#*=}" > "$FAKE_APT/${setting%%=*}"; done
  TMPDIR="$FAKE_APT/tmp" INSTALL_DEPS_RETRY_PAUSE=0 bash "$script" > "$FAKE_APT/out" 2>&1
  rc=$?
  [ -z "$(ls -A "$FAKE_APT/tmp")" ] || fail "temporary files left: $(ls "$FAKE_APT/tmp")"
}
said() { grep -qF -- "$1" "$work/$name/out" || fail "does not say: $1"; }
calls() { grep -cw -- "$1" "$work/$name/calls" 2>/dev/null; }

run all-present present=1
[ $rc -eq 0 ] || fail "exit $rc"
said "all packages present, nothing to do"
[ ! -e "$work/$name/calls" ] || fail "apt-get was called"

run update-fails-once update-fails=1
[ $rc -eq 0 ] || fail "exit $rc"
said "apt-get update failed (bookworm-security); trying again in 0 s"
said "apt-get update worked at try 2"
[ "$(calls install)" = 1 ] || fail "not one install"
[ ! -e "$work/$name/pinned" ] || fail "an install was pinned"

run index-fails-install-pinned update-fails=9 install-fails=1
[ $rc -eq 0 ] || fail "exit $rc"
[ "$(calls update)" = 3 ] || fail "update not tried 3 times"
said "apt-get update still fails after 3 tries (bookworm-security); going on with the indexes there are"
said "install failed on unmet dependencies; trying once more with bookworm-security pinned below the other suites"
said "install-deps: done"
[ "$(calls 'Dir::Etc::Preferences=')" = 1 ] || fail "the second install was not given the preferences file"
grep -qx 'Pin: release n=bookworm-security' "$work/$name/pinned" &&
  grep -qx 'Pin-Priority: 100' "$work/$name/pinned" || fail "pin: $(cat "$work/$name/pinned" 2>/dev/null)"

run cannot-install update-fails=9 install-fails=9
[ $rc -ne 0 ] || fail "exit 0 although nothing was installed"
said "cannot install cmake make g++"
said "wine32:i386"
said "apt: E: Unable to correct problems, you have held broken packages."
[ "$(calls install)" = 2 ] || fail "not two installs"

[ $failures -eq 0 ] && echo "install-deps: every scenario passed"
exit $((failures > 0))
