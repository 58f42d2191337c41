#!/usr/bin/env bash
# Runs every fuzz target of fuzz/targets.txt from its seeds and its corpus.
#   scripts/fuzz.sh test        each target its test seconds; stops at the
#                               first finding (make test)
#   scripts/fuzz.sh long N      each target N seconds, FUZZ_JOBS of them at
#                               a time (default: the processors); goes on
#                               after a finding and fails at the end
#                               (make fuzz-long)
# FUZZ_TARGETS="a b" runs only those targets (a campaign's target again after
# a fix: the table is then made from its new log and the others' old ones).
# Under build/fuzz/TARGET/: seed/ (written afresh each run), corpus/ (kept
# between runs), findings/ (crash, timeout and leak inputs) and MODE.log.
set -u
mode=${1:?usage: fuzz.sh test|long [SECONDS]}
seconds=${2:-}
[[ $mode == test || ( $mode == long && $seconds =~ ^[0-9]+$ ) ]] || { echo "usage: fuzz.sh test|long SECONDS" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/native/fuzz
out=$root/build/fuzz

rm -rf "$out"/*/seed
"$bin/make_fuzz_seeds" "$out" || exit 1
parallel=1
[[ $mode == long ]] && parallel=${FUZZ_JOBS:-$(nproc)}

# One target's run; its exit status goes to MODE.status beside its log.
run_target() {
  local name=$1 max_len=$2 len_control=$3 run_seconds=$4 dir=$out/$1
  local log=$dir/$mode.log
  echo "fuzz: $name for $run_seconds s"
  # The machine is shared: the log also gets the target's processor time
  # and the load at the end, to read its executions a second by.
  TIMEFORMAT='cpu_seconds: %U %S'
  { time "$bin/$name" -max_total_time="$run_seconds" -max_len="$max_len" -len_control="$len_control" \
      -timeout=10 -print_final_stats=1 -artifact_prefix="$dir/findings/" \
      "$dir/corpus" "$dir/seed" > "$log" 2>&1; } 2>> "$log.time"
  local status=$?
  cat "$log.time" >> "$log" && rm -f "$log.time"
  echo "load_average: $(cut -d' ' -f1 /proc/loadavg)" >> "$log"
  echo "$status" > "$dir/$mode.status"
  if [[ $status -ne 0 ]]; then tail -40 "$log"; fi
  return "$status"
}

names=()
while read -r name max_len len_control test_seconds tree_seeds; do
  [[ -z $name || $name == \#* ]] && continue
  [[ -n ${FUZZ_TARGETS:-} && " $FUZZ_TARGETS " != *" $name "* ]] && continue
  dir=$out/$name
  mkdir -p "$dir/seed" "$dir/corpus" "$dir/findings"
  rm -f "$dir/$mode.status"
  if [[ $tree_seeds != - ]]; then
    for file in $root/$tree_seeds; do cp "$file" "$dir/seed/tree.$(echo "$file" | tr / _)"; done
  fi
  names+=("$name")
  if [[ $mode == test ]]; then
    run_target "$name" "$max_len" "$len_control" "$test_seconds" || exit 1
  else
    while (( $(jobs -rp | wc -l) >= parallel )); do wait -n; done
    run_target "$name" "$max_len" "$len_control" "$seconds" < /dev/null &
  fi
done < "$root/fuzz/targets.txt"
wait
failed=()
for name in "${names[@]}"; do
  [[ $(cat "$out/$name/$mode.status" 2>/dev/null) == 0 ]] || failed+=("$name")
done
if [[ $mode == long ]]; then
  # The video corpus's depth, by the decoder's own path counters.
  "$bin/video_corpus_paths" "$out/fuzz_video/corpus" > "$out/fuzz_video/paths.txt" || exit 1
  python3 "$root/scripts/fuzz_table.py" "$out" "$root/RELIABILITY.md" "$seconds" "$parallel" || exit 1
fi
[[ ${#failed[@]} -eq 0 ]] || { echo "fuzz: findings in ${failed[*]}" >&2; exit 1; }
