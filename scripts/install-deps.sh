#!/usr/bin/env bash
# Installs every package the two builds and their tests need. Idempotent: when
# everything is present it changes nothing and says so. Run as root.
#
# It survives a package mirror caught mid-sync: `apt-get update` is tried a
# few times; a suite whose index still fails is remembered, and when the
# install then fails on unmet dependencies (amd64 libraries from that suite,
# their i386 twins from another, at other versions) it is tried once more with
# that suite pinned below the others, so both architectures take the same
# versions. The pin lives in a temporary preferences file, removed whatever
# happens. Each decision is said on one line.
set -uo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 xvfb xauth mscompress
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libjpeg62-turbo-dev
  imagemagick
)
update_tries=${INSTALL_DEPS_UPDATE_TRIES:-3}
retry_pause=${INSTALL_DEPS_RETRY_PAUSE:-10}

say() { echo "install-deps: $*"; }

missing=()
for p in "${packages[@]}"; do
  # dpkg-query names multiarch packages with their architecture.
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing+=("(i386 architecture)")
fi

if [ ${#missing[@]} -eq 0 ]; then
  say "all packages present, nothing to do"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  say "missing ${missing[*]}; run this script as root" >&2
  exit 1
fi

say "installing ${missing[*]}"
dpkg --add-architecture i386 || { say "cannot add the i386 architecture" >&2; exit 1; }
export DEBIAN_FRONTEND=noninteractive

log=$(mktemp)
prefs=$(mktemp)
trap 'rm -f "$log" "$prefs"' EXIT
trap 'exit 1' HUP INT TERM

# The suites named by "Failed to fetch .../dists/SUITE/..." lines of the log.
failed_suites() {
  grep -o 'Failed to fetch [^ ]*/dists/[^/ ]*/' "$log" | sed 's#.*/dists/##; s#/$##' | sort -u
}

suites=""
for ((try = 1; try <= update_tries; try++)); do
  if apt-get update -qq >"$log" 2>&1; then
    suites=""
    [ "$try" -gt 1 ] && say "apt-get update worked at try $try"
    break
  fi
  suites=$(failed_suites | tr '\n' ' ' | sed 's/ $//')
  if [ "$try" -lt "$update_tries" ]; then
    say "apt-get update failed (${suites:-$(tail -1 "$log")}); trying again in ${retry_pause} s"
    sleep "$retry_pause"
  else
    say "apt-get update still fails after $update_tries tries (${suites:-$(tail -1 "$log")}); going on with the indexes there are"
  fi
done

install() {
  apt-get "$@" install -y -qq --no-install-recommends "${packages[@]}" >"$log" 2>&1
}

if ! install; then
  if [ -n "$suites" ] && grep -qiE 'unmet dependencies|held broken packages' "$log"; then
    # A suite's folder under dists/ is its codename on some distributions
    # and its archive name on others: the pin names both.
    for s in $suites; do
      printf 'Package: *\nPin: release %s=%s\nPin-Priority: 100\n\n' n "$s" a "$s"
    done >"$prefs"
    say "install failed on unmet dependencies; trying once more with $suites pinned below the other suites"
    install -o "Dir::Etc::Preferences=$prefs"
  else
    false
  fi || {
    say "cannot install ${packages[*]}" >&2
    say "apt: $(grep -E '^E:' "$log" | head -3 | tr '\n' ' ')" >&2
    exit 1
  }
fi
say "done"
