#!/usr/bin/env bash
# Times libjpeg-turbo's own programs (djpeg, cjpeg from libjpeg-turbo-progs) on
# the images jpeg_bench measures: decoding the 12-megapixel photo and encoding
# the 4960 x 7016 page at quality 90. Prints the best of RUNS runs in
# megapixels per second, to set beside jpeg_bench's figures.
#
#   bench/compare_libjpeg.sh [path/to/jpeg_bench]      (RUNS=5 by default)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
bench=${1:-$top/build/release/bench/jpeg_bench}
runs=${RUNS:-5}
if ! command -v djpeg >/dev/null || ! command -v cjpeg >/dev/null; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "compare_libjpeg: installing libjpeg-turbo-progs"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends libjpeg-turbo-progs
fi
[ -x "$bench" ] || "$top/scripts/setup" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-samples="$work"

# Best wall time of the command over $runs runs, in nanoseconds.
best_ns() {
  local best="" start end took
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    took=$((end - start))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  echo "$best"
}

report() {  # name, megapixels, nanoseconds
  awk -v name="$1" -v mp="$2" -v ns="$3" \
    'BEGIN { printf "%-44s %8.1f ms %8.1f MP/s\n", name, ns / 1e6, mp / (ns / 1e9) }'
}

photo_mp=12.0            # 4000 x 3000
page_mp=34.799360        # 4960 x 7016
report "djpeg photo.jpg (PPM to /dev/null)" "$photo_mp" \
  "$(best_ns djpeg -dct int -outfile /dev/null "$work/photo.jpg")"
report "cjpeg -quality 90 page.ppm (to /dev/null)" "$page_mp" \
  "$(best_ns cjpeg -quality 90 -dct int -outfile /dev/null "$work/page.ppm")"
