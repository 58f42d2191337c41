#!/usr/bin/env bash
# The warp end to end: a procedural test panorama, a sweep of views rendered
# by ostrel.dll inside the test machine under Wine and by the native
# `zkv6 view`, checked to agree pixel for pixel, and written as PNGs.
#   scripts/demo-warp.sh OUTDIR [VIEWS]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out=$(mkdir -p "$1" && cd "$1" && pwd)
views=${2:-8}
native=${NATIVE_BIN:-$root/build/native/bin}
win32=${WIN32_BIN:-$root/build/win32/bin}
fov=90.0 limit=80.0

"$native/make_test_panorama" "$out/panorama.png" "$out/panorama.raw"

# The Windows side reads and writes its files on drive D:.
scratch=$("$here/wine-env.sh" --scratch)
work=$(mktemp -d "$scratch/demo-warp.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$out/panorama.raw" "$work/"

yaw_of() { echo "$(( $1 * 360 / views )).0"; }
pitch_of() { echo "$(( ($1 % 3 - 1) * 20 )).0"; }

{
  echo "# a sweep of views around the test panorama"
  echo "call WARPinitialize $fov $limit"   # line 2
  echo "bitmap 2048 768 panorama.raw"      # line 3
  echo "bitmap 640 480"                    # line 4
  for ((k = 0; k < views; k++)); do
    echo "call WARPcalcul $(yaw_of $k) $(pitch_of $k)"
    echo "call WARPrender \$4 \$3"
    echo "save \$4 wine-$k.raw"
  done
} > "$work/sweep.txt"

(cd "$work" && "$here/wine-env.sh" "$win32/testmachine.exe" ostrel.dll sweep.txt) | tr -d '\r' > "$out/testmachine.log"
if grep -q -- '-> -1\|-> nil\|fault' "$out/testmachine.log"; then
  cat "$out/testmachine.log" >&2
  echo "demo-warp: the plug-in refused a view" >&2
  exit 1
fi

status=0
for ((k = 0; k < views; k++)); do
  yaw=$(yaw_of $k) pitch=$(pitch_of $k)
  cp "$work/wine-$k.raw" "$out/wine-$k.raw"
  "$native/zkv6" view --raw "$out/panorama.raw" --fov $fov --limit $limit --yaw "$yaw" --pitch "$pitch" \
    -o "$out/native-$k.raw"
  "$native/zkv6" view "$out/panorama.png" --fov $fov --limit $limit --yaw "$yaw" --pitch "$pitch" \
    -o "$out/view-$k.png"
  "$native/zkv6" convert "$out/wine-$k.raw" --size 640x480 --flip -o "$out/wine-$k.png"
  if cmp -s "$out/wine-$k.raw" "$out/native-$k.raw"; then
    echo "view $k (yaw $yaw, pitch $pitch): ostrel.dll under Wine and zkv6 view agree pixel for pixel"
  else
    echo "view $k (yaw $yaw, pitch $pitch): ostrel.dll and zkv6 view DIFFER" >&2
    status=1
  fi
done

if command -v montage >/dev/null 2>&1; then
  montage "$out"/view-*.png -tile 4x -geometry 320x240+4+4 "$out/sweep.png" 2>/dev/null || true
fi
echo "demo-warp: views in $out"
exit $status
