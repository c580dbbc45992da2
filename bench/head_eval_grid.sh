#!/bin/sh
# The enlarged, gridded copies on which bench/head_eval_hand.tsv was measured:
#
#   head_eval_grid.sh PHOTO X Y W H SCALE OUT.png
#
# The part (X, Y, W, H) of PHOTO enlarged SCALE times without smoothing, a
# thin line every 10 photo pixels and a red one every 50, labelled with the
# photo's own coordinates. Needs ImageMagick's convert.
set -e
[ $# -eq 7 ] || { echo "usage: $0 PHOTO X Y W H SCALE OUT.png" >&2; exit 2; }
photo=$1 x=$2 y=$3 w=$4 h=$5 s=$6 out=$7
W=$((w * s)); H=$((h * s))
draw=""
i=$(( (x + 9) / 10 * 10 ))
while [ $i -le $((x + w)) ]; do
  px=$(( (i - x) * s ))
  if [ $((i % 50)) -eq 0 ]; then c="#FF0000"; else c="#00FFFF80"; fi
  draw="$draw -stroke '$c' -draw \"line $px,0 $px,$H\""
  [ $((i % 50)) -eq 0 ] && draw="$draw -stroke none -fill yellow -draw \"text $((px + 2)),12 '$i'\""
  i=$((i + 10))
done
j=$(( (y + 9) / 10 * 10 ))
while [ $j -le $((y + h)) ]; do
  py=$(( (j - y) * s ))
  if [ $((j % 50)) -eq 0 ]; then c="#FF0000"; else c="#00FFFF80"; fi
  draw="$draw -stroke '$c' -draw \"line 0,$py $W,$py\""
  draw="$draw -stroke none -fill yellow -draw \"text 2,$((py - 2)) '$j'\""
  j=$((j + 10))
done
eval convert "\"$photo\"" -crop "${w}x${h}+${x}+${y}" +repage -filter point -resize "${W}x${H}!" -pointsize 11 $draw "\"$out\""
