#!/usr/bin/env bash
# The videos end to end: a panorama video (a sun crossing the test panorama)
# and a 640x480 video (a panning pattern, a turning bar, a bouncing ball) are
# made from procedural pictures with `zkv6 encode`; ostrel.dll, inside the
# test machine under Wine, decodes them frame by frame (ZKV6readWarp with a
# turning view through WARPcalcul and WARPrender; ZKV6readIX with two
# alternating bitmaps); every picture is checked against the native
# `zkv6 decode` and `zkv6 view`, and PNGs, contact sheets and animations are
# written.
#   scripts/demo-video.sh OUTDIR [IW_FRAMES] [IX_FRAMES]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
out=$(mkdir -p "$1" && cd "$1" && pwd)
iw_frames=${2:-12}
ix_frames=${3:-24}
native=${NATIVE_BIN:-$root/build/native/bin}
win32=${WIN32_BIN:-$root/build/win32/bin}

scratch=$("$here/wine-env.sh" --scratch)
work=$(mktemp -d "$scratch/demo-video.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
check() {  # check WHAT FILE-A FILE-B
  if ! cmp -s "$2" "$3"; then
    echo "$1: ostrel.dll and the native tools DIFFER" >&2
    status=1
  fi
}

# --- The panorama video --------------------------------------------------
mkdir -p "$out/iw/source" "$out/iw/native"
"$native/make_test_panorama" --frames "$iw_frames" "$out/iw/source/pano-%04d.png"
"$native/zkv6" encode --kind iw "$out/iw/source/pano-%04d.png" -o "$out/iw/panorama.zkv6" --quality 75
"$native/zkv6" decode --raw "$out/iw/panorama.zkv6" -o "$out/iw/native" > /dev/null
cp "$out/iw/panorama.zkv6" "$work/"
# The view follows the sun (column 512 + 24k, 40 degrees up) as it climbs.
yaw_of() { echo "$(( 270 - $1 * 135 / 32 + 10 )).0"; }
{
  echo "call WARPinitialize 90.0 80.0"  # line 1
  echo "bitmap 2048 768"               # line 2: the panorama
  echo "bitmap 640 480"                # line 3: the view
  echo "file panorama.zkv6"            # line 4
  echo "call ZKV6header \$4"           # line 5
  for ((k = 0; k < iw_frames; k++)); do
    echo "call ZKV6readWarp \$4 \$2"
    echo "call WARPcalcul $(yaw_of $k) 25.0"
    echo "call WARPrender \$3 \$2"
    echo "save \$2 pano-$k.raw"
    echo "save \$3 view-$k.raw"
  done
} > "$work/iw.txt"
(cd "$work" && "$here/wine-env.sh" "$win32/testmachine.exe" ostrel.dll iw.txt) | tr -d '\r' > "$out/iw/testmachine.log"
grep -q '\[5\] ZKV6header -> \["ZKV6" \[2048 768\] '"$iw_frames"'\]' "$out/iw/testmachine.log" ||
  { echo "demo-video: unexpected header" >&2; status=1; }
if [ "$(grep -c 'ZKV6readWarp -> 0$' "$out/iw/testmachine.log")" != "$iw_frames" ]; then
  echo "demo-video: not every panorama frame decoded" >&2
  status=1
fi
for ((k = 0; k < iw_frames; k++)); do
  n=$(printf %04d $k)
  check "panorama frame $k" "$work/pano-$k.raw" "$out/iw/native/frame-$n.raw"
  "$native/zkv6" view --raw "$out/iw/native/frame-$n.raw" --fov 90 --limit 80 --yaw "$(yaw_of $k)" --pitch 25 \
    -o "$work/native-view-$k.raw"
  check "view $k" "$work/view-$k.raw" "$work/native-view-$k.raw"
  "$native/zkv6" convert "$work/view-$k.raw" --size 640x480 --flip -o "$out/iw/view-$n.png"
done
"$native/zkv6" convert "$out/iw/native/frame-0000.raw" --size 2048x768 -o "$out/iw/decoded-0000.png"
echo "panorama video: $iw_frames frames decoded by ostrel.dll and viewed through the warp; all match the native tools"

# --- The 640x480 video ---------------------------------------------------
mkdir -p "$out/ix/source" "$out/ix/native"
"$native/make_test_video" --frames "$ix_frames" "$out/ix/source/video-%04d.png"
"$native/zkv6" encode --kind ix "$out/ix/source/video-%04d.png" -o "$out/ix/video.zkv6" --quality 75 --keyint 8
"$native/zkv6" decode --raw "$out/ix/video.zkv6" -o "$out/ix/native" > /dev/null
cp "$out/ix/video.zkv6" "$work/"
{
  echo "bitmap 640 480"     # line 1: picture 0
  echo "bitmap 640 480"     # line 2: picture 1
  echo "file video.zkv6"    # line 3
  echo "call ZKV6header \$3"
  for ((k = 0; k < ix_frames; k++)); do
    if ((k % 2 == 0)); then echo "call ZKV6readIX \$3 \$1 \$2"; echo "save \$1 ix-$k.raw"
    else echo "call ZKV6readIX \$3 \$2 \$1"; echo "save \$2 ix-$k.raw"; fi
  done
} > "$work/ix.txt"
(cd "$work" && "$here/wine-env.sh" "$win32/testmachine.exe" ostrel.dll ix.txt) | tr -d '\r' > "$out/ix/testmachine.log"
if [ "$(grep -c 'ZKV6readIX -> 0$' "$out/ix/testmachine.log")" != "$ix_frames" ]; then
  echo "demo-video: not every video frame decoded" >&2
  status=1
fi
for ((k = 0; k < ix_frames; k++)); do
  n=$(printf %04d $k)
  check "video frame $k" "$work/ix-$k.raw" "$out/ix/native/frame-$n.raw"
  "$native/zkv6" convert "$work/ix-$k.raw" --size 640x480 -o "$out/ix/frame-$n.png"
done
echo "video: $ix_frames frames decoded by ostrel.dll with two alternating bitmaps; all match the native decoder"

if command -v montage >/dev/null 2>&1; then
  montage "$out"/iw/view-*.png -tile 4x -geometry 320x240+4+4 "$out/panorama-video.png" 2>/dev/null || true
  montage "$out"/ix/frame-*.png -tile 6x -geometry 213x160+2+2 "$out/video.png" 2>/dev/null || true
  convert -delay 12 -loop 0 "$out"/iw/view-*.png "$out/panorama-video.gif" 2>/dev/null || true
  convert -delay 8 -loop 0 "$out"/ix/frame-*.png "$out/video.gif" 2>/dev/null || true
fi
echo "demo-video: pictures in $out"
exit $status
