#!/usr/bin/env bash
# The page road measured end to end, each side in one run on this machine:
#
# 1. Speed: quorlo-sheet from a 4000 x 3000 JPEG photo to a 20-copy A4 page
#    at 600 dpi written as a quality-90 JPEG, beside the equivalent vips
#    pipeline on one thread (reduce with the Mitchell kernel into the
#    826 x 1062 cell, embed, arrayjoin of the 20 copies at the grid's
#    spacing, embed into the page, save at Q 90 with 4:2:0 chroma like ours).
#    Both in CPU time (user + system), medians of RUNS runs (default 5).
# 2. Memory: quorlo-sheet's peak resident memory for the same photo on A4 at
#    1200 dpi (JPEG output), and the window's "Save as image" of a 1200 dpi
#    page (bench/page_save_probe: the window's own RenderPage and
#    SavePageAsJpeg, with a 1600 x 1200 and a 4000 x 3000 photo in the view,
#    which the window holds throughout) against the page buffer's size.
#    /usr/bin/time -v.
# 3. Printing: the 1200 dpi page handed to a CUPS queue (--print, the time
#    until the scheduler holds the whole job) beside writing the same page
#    as a JPEG, when a queue is given: QUEUE=name bench/page_road.sh.
#
# vips comes from Debian's libvips-tools, installed here when missing.
# Usage: bench/page_road.sh          (RUNS=9 QUEUE=Office bench/page_road.sh)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-5}

if ! command -v vips >/dev/null; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "page_road: installing libvips-tools"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends libvips-tools
fi
[ -x /usr/bin/time ] || { echo "page_road: /usr/bin/time is missing (package time)" >&2; exit 1; }

"$top/scripts/setup" >/dev/null
sheet="$top/build/release/app/quorlo-sheet"
probe="$top/build/release/bench/page_save_probe"
[ -x "$sheet" ] && [ -x "$probe" ] || { echo "page_road: the programs were not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VIPS_CONCURRENCY=1 QT_QPA_PLATFORM=offscreen

# A photo-like 4000 x 3000 picture: smooth colour fields with fine noise.
vips gaussnoise "$work/n.v" 400 300 --mean 128 --sigma 50
vips bandjoin "$work/n.v $work/n.v $work/n.v" "$work/n3.v"
vips resize "$work/n3.v" "$work/big.v" 10 --kernel linear
vips gaussnoise "$work/fine.v" 4000 3000 --mean 0 --sigma 6
vips add "$work/big.v" "$work/fine.v" "$work/sum.v"
vips cast "$work/sum.v" "$work/photo.v" uchar
vips copy "$work/photo.v" "$work/photo.jpg[Q=92]"
rm -f "$work"/*.v

# Median CPU time in milliseconds of the command line given as one string.
median_ms() {
  local times=() i cpu TIMEFORMAT='%3U %3S'
  bash -c "$1" >/dev/null 2>&1
  for ((i = 0; i < runs; i++)); do
    cpu=$( { time bash -c "$1" >/dev/null 2>&1; } 2>&1 )
    times+=("$(echo "$cpu" | awk '{ printf "%.3f", $1 + $2 }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.0f", t[int((NR + 1) / 2)] * 1000 }'
}

# A4 at 600 dpi without margins: 4960 x 7015 pixels; 826 x 1062 cells in a
# 5 x 6 grid with gaps of 207 and 128; the photo fills the cell's width.
ours="'$sheet' '$work/photo.jpg' --paper A4 --dpi 600 --count 20 --output '$work/ours.jpg'"
v="$work/v"
theirs="vips reduce '$work/photo.jpg' $v-r.v 4.842615012106537 4.842615012106537 --kernel mitchell \
 && vips embed $v-r.v $v-c.v 0 0 826 1062 --extend background --background 255 \
 && vips arrayjoin \"$(printf "$v-c.v %.0s" $(seq 20))\" $v-g.v --across 5 --hspacing 1033 --vspacing 1190 --background 255 \
 && vips embed $v-g.v $v-p.v 0 0 4960 7015 --extend background --background 255 \
 && vips jpegsave $v-p.v '$work/vips.jpg' --Q 90 --subsample-mode on \
 && rm -f $v-*.v"

ours_ms=$(median_ms "$ours")
vips_ms=$(median_ms "$theirs")
echo "4000x3000 photo -> 20 copies on A4 at 600 dpi, quality-90 JPEG (CPU time, medians of $runs)"
echo "  quorlo-sheet:        $ours_ms ms  ($(vipsheader -f width "$work/ours.jpg")x$(vipsheader -f height "$work/ours.jpg"))"
echo "  vips, one thread:    $vips_ms ms  ($(vipsheader -f width "$work/vips.jpg")x$(vipsheader -f height "$work/vips.jpg"))"
awk -v o="$ours_ms" -v t="$vips_ms" 'BEGIN { printf "  quorlo-sheet is %.2fx as fast (the bar is 2x)\n", t / o }'
echo

# Peak resident memory in MB of a command (/usr/bin/time -v).
peak_mb() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }'
}
sheet_mb=$(peak_mb "$sheet" "$work/photo.jpg" --paper A4 --dpi 1200 --output "$work/a4-1200.jpg")
echo "Peak memory, A4 at 1200 dpi"
echo "  quorlo-sheet, JPEG output:   $sheet_mb MB (the bar is 200 MB)"
page_mb=$("$probe" --page-bytes | awk '{ printf "%.0f", $1 / 1048576 }')
for photo in "1600 1200" "4000 3000"; do
  # shellcheck disable=SC2086
  save_mb=$(peak_mb "$probe" "$work/window.jpg" $photo)
  # shellcheck disable=SC2086
  build_mb=$(peak_mb "$probe" - $photo)
  awk -v s="$save_mb" -v b="$build_mb" -v p="$page_mb" -v photo="${photo/ /x}" \
    'BEGIN { printf "  window build + save, %s photo: %d MB for a page buffer of %d MB: %.3f x (the bar is 1.15 x); the save adds %d MB to the build\n", photo, s, p, s / p, s - b }'
done

if [ -n "${QUEUE:-}" ]; then
  echo
  wall_ms() {
    local s e
    s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N)
    echo $(( (e - s) / 1000000 ))
  }
  jpeg_ms=$(wall_ms "$sheet" "$work/photo.jpg" --printer "$QUEUE" --count 30 --output "$work/q.jpg")
  print_ms=$(wall_ms "$sheet" "$work/photo.jpg" --printer "$QUEUE" --count 30 --print)
  echo "Queue $QUEUE, 30 copies (wall time, whole program)"
  echo "  page as JPEG:       $jpeg_ms ms"
  echo "  job handed to CUPS: $print_ms ms"
  awk -v p="$print_ms" -v j="$jpeg_ms" 'BEGIN { printf "  printing takes %.2fx the JPEG'"'"'s time (the bar is 1.5x)\n", p / j }'
fi
