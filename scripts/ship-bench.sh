#!/usr/bin/env bash
# Runs ship_bench natively (bench build) and under Wine (win32 build) and
# prints both side by side: time of each case in microseconds (the minimum
# of many runs), the Windows build's time over the native one, whether both
# made the same pixels, and the warp renderer over its own index gather.
#   scripts/ship-bench.sh        (after make bench's builds)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINE_TEST_PREFIX=${WINE_TEST_PREFIX:-$root/build/win32/wineprefix}

scratch=$("$root/scripts/wine-env.sh" --scratch)
mkdir -p "$scratch/ship-bench"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$root/build/bench/bench/ship_bench" "$scratch/ship-bench" > "$out/native"
(cd "$root/build/win32/bin" && "$root/scripts/wine-env.sh" ship_bench.exe 'D:\ship-bench') | tr -d '\r' > "$out/win32"
WINEPREFIX=$WINE_TEST_PREFIX wineserver -w

# Rows of the DLL are set beside the same work called directly in the
# Windows build: "dll/direct" is the cost of the primitive's path around it.
awk -F'\t' '
  NR == FNR { native[$1] = $2; nsum[$1] = $3; next }
  { win[$1] = $2; wsum[$1] = $3; order[++n] = $1 }
  END {
    printf "%-30s %10s %10s %8s  %s\n", "case", "native us", "win32 us", "win/nat", "pixels"
    for (k = 1; k <= n; ++k) {
      c = order[k]
      if (c in native) {
        printf "%-30s %10.1f %10.1f %8.2f  %s\n", c, native[c], win[c], win[c] / native[c],
               nsum[c] == wsum[c] ? "same" : "DIFFERENT"
      } else {
        d = c
        sub(/^dll_ZKV6read(Warp|IX)_/, "decode_", d)
        sub(/^dll_WARPrender$/, "warp_render", d)
        sub(/^dll_WARPcalcul$/, "warp_calcul", d)
        printf "%-30s %10s %10.1f %8s  %s, dll/direct %.2f\n", c, "", win[c], "",
               wsum[c] == wsum[d] ? "same as " d : "DIFFERENT from " d, win[c] / win[d]
      }
    }
    printf "\nwarp_render / index_gather: native %.2f, win32 %.2f, through the DLL %.2f\n",
           native["warp_render"] / native["index_gather"], win["warp_render"] / win["index_gather"],
           win["dll_WARPrender"] / win["index_gather"]
  }' "$out/native" "$out/win32"
