#!/usr/bin/env bash
# Compares our Mitchell resampling with `vips reduce` (Mitchell kernel), both
# on one thread, in one run on the same machine: a 4-band 8-bit 4000x3000
# image reduced to 826x1062 (a 35 x 45 mm photo at 600 dpi). Prints both
# figures, the ratio, and our other benchmark cases.
#
# How the two are made comparable:
# - Both are timed in CPU time (user + system), not wall time, so that other
#   work on a shared machine does not count against either side.
# - vips runs as a command with VIPS_CONCURRENCY=1. Its source is a .v file,
#   vips's own format, which is mapped into memory rather than decoded, so no
#   decoding is timed. What remains fixed per run (process start-up, library
#   set-up, opening the source, writing an 826x1062 result) is measured with
#   `vips crop` to the same output size and subtracted:
#       net = median(reduce) - median(crop), over RUNS runs each (default 9),
#   after one warm-up run of each so that the source sits in the page cache.
# - Our side is resample_bench (Google Benchmark, single-threaded): the source
#   is in memory and the destination allocated once, so only the transfer
#   itself is timed; the median of 5 repetitions is reported.
#
# Usage: bench/compare_vips.sh            (RUNS=15 bench/compare_vips.sh for more runs)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-9}

if ! command -v vips >/dev/null; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "compare_vips: installing libvips-tools"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends libvips-tools
fi

"$top/scripts/setup" >/dev/null
bench="$top/build/release/bench/resample_bench"
[ -x "$bench" ] || { echo "compare_vips: $bench was not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VIPS_CONCURRENCY=1

# Four bands of different noise, like a photo with its alpha.
for band in 0 1 2 3; do
  vips gaussnoise "$work/n$band.v" 4000 3000 --mean 128 --sigma $((30 + 10 * band))
  vips cast "$work/n$band.v" "$work/b$band.v" uchar
done
vips bandjoin "$work/b0.v $work/b1.v $work/b2.v $work/b3.v" "$work/src.v"
rm -f "$work"/n?.v "$work"/b?.v

hshrink=$(awk 'BEGIN { printf "%.17g", 4000 / 826 }')
vshrink=$(awk 'BEGIN { printf "%.17g", 3000 / 1062 }')
reduce=(vips reduce "$work/src.v" "$work/reduced.v" "$hshrink" "$vshrink" --kernel mitchell)
crop=(vips crop "$work/src.v" "$work/cropped.v" 0 0 826 1062)

# Median CPU time (user + system, of the command and its threads) in
# milliseconds, over $runs runs.
median_ms() {
  local times=() i cpu TIMEFORMAT='%3U %3S'
  "$@" >/dev/null
  for ((i = 0; i < runs; i++)); do
    cpu=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
    times+=("$(echo "$cpu" | awk '{ printf "%.3f", $1 + $2 }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] * 1000 }'
}

reduce_ms=$(median_ms "${reduce[@]}")
crop_ms=$(median_ms "${crop[@]}")
size=$(vipsheader -f width "$work/reduced.v")x$(vipsheader -f height "$work/reduced.v")
[ "$size" = 826x1062 ] || { echo "compare_vips: vips made $size, not 826x1062" >&2; exit 1; }

csv=$("$bench" --benchmark_filter='^BM_Transfer/(Mitchell|Nearest)' --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
# Columns: name, iterations, real_time, cpu_time, time_unit, ..., Mpx/s last.
ours=$(echo "$csv" | awk -F, '/_median"/ { name = $1; gsub(/"|BM_Transfer\/|_median/, "", name);
                                            printf "%-32s %8.2f ms %10.1f Mpx/s\n", name, $4, $NF }')
ours_ms=$(echo "$csv" | awk -F, '/Mitchell_4000x3000_to_826x1062_median/ { print $4 }')

net_ms=$(awk -v r="$reduce_ms" -v c="$crop_ms" 'BEGIN { printf "%.1f", r - c }')
ratio=$(awk -v n="$net_ms" -v o="$ours_ms" 'BEGIN { printf "%.1f", n / o }')

echo "Mitchell 4000x3000 -> 826x1062, 4 bands, one thread (medians of CPU time)"
echo "  vips reduce:  $reduce_ms ms per command - $crop_ms ms fixed cost (vips crop) = $net_ms ms"
printf '  ours:         %.2f ms\n' "$ours_ms"
echo "  ours is ${ratio}x as fast (the bar is 3x)"
echo
echo "All our cases (resample_bench, CPU time, medians of 5 repetitions):"
echo "$ours"
