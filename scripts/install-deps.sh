#!/usr/bin/env bash
# Installs every package the two builds and their tests need. Idempotent: when
# everything is present it changes nothing and says so. Run as root.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 xvfb xauth mscompress
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev libjpeg62-turbo-dev
  imagemagick
)

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
  echo "install-deps: all packages present, nothing to do"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing ${missing[*]}; run this script as root" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
echo "install-deps: done"
