#!/usr/bin/env bash
# Installs the build into a throw-away prefix and checks what a desktop
# needs of it: the files in their places, a valid desktop entry and AppStream
# metadata, clean manual pages, the user guide, programs that run from there,
# and "-co" of the installed program writing into the user's data folder.
# Usage: installed_layout_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; fail=1; fi; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log"

for f in bin/quorlo bin/quorlo-sheet bin/quorlo-lang \
         share/applications/quorlo.desktop \
         share/metainfo/example.varnel.Quorlo.metainfo.xml \
         share/icons/hicolor/scalable/apps/quorlo.svg \
         share/man/man1/quorlo.1.gz share/man/man1/quorlo-sheet.1.gz share/man/man1/quorlo-lang.1.gz \
         share/doc/quorlo/copyright share/doc/quorlo/changelog.gz share/doc/quorlo/guide.html \
         share/quorlo/models/face_detector.onnx share/quorlo/models/face_mesh.onnx \
         share/quorlo/models/person_mask.onnx; do
  check test -s "$prefix/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/quorlo.png
  check test -s "$png"
  # The PNG header's width and height: the size the folder promises.
  check test "$(od --endian=big -An -tu4 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" = "$size $size"
done
# Every language file the build made is installed; none is fine.
for spk in "$build"/app/QRL_*.SPK; do
  [ -e "$spk" ] || continue
  [ "$(basename "$spk")" = QRL_ORIGINAL.SPK ] && continue
  check test -s "$prefix/share/quorlo/lang/$(basename "$spk")"
done
check test ! -e "$prefix/share/quorlo/lang/QRL_ORIGINAL.SPK"

check desktop-file-validate "$prefix/share/applications/quorlo.desktop"
check grep -qx 'Exec=quorlo %f' "$prefix/share/applications/quorlo.desktop"
check appstreamcli validate --no-net "$prefix/share/metainfo/example.varnel.Quorlo.metainfo.xml"
for page in quorlo quorlo-sheet quorlo-lang; do
  warnings=$(zcat "$prefix/share/man/man1/$page.1.gz" | groff -ww -man -Tutf8 -z 2>&1)
  check test -z "$warnings"
  [ -z "$warnings" ] || echo "$page.1: $warnings" >&2
done

# --version of every program: its name and version, then the licence; no
# display needed.
for program in quorlo quorlo-sheet quorlo-lang; do
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --version)
  check test "$(sed -n 1p <<<"$version")" = "$program $QUORLO_VERSION"
  check test "$(sed -n 2p <<<"$version")" = "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>"
done
# The guide that Help opens: one page, no scripts.
check grep -q '<title>Quorlo user guide</title>' "$prefix/share/doc/quorlo/guide.html"
check bash -c "! grep -qi '<script' '$prefix/share/doc/quorlo/guide.html'"
# ... and in each language of its PO files, which Help opens in that language.
for po in "$(dirname "$0")"/../../desktop/guide/*.po; do
  language=$(basename "$po" .po)
  check test -s "$prefix/share/doc/quorlo/guide-$language.html"
done
check grep -q '<html lang="de">' "$prefix/share/doc/quorlo/guide-de.html"

# "-co" of the installed program: the shared folder is the package's, so the
# file goes to the user's data folder, and stderr says where.
data=$work/data
XDG_DATA_HOME=$data XDG_CONFIG_HOME=$work/config QRL_SYSTEM_CONFIG_DIR=$work/machine \
  QT_QPA_PLATFORM=offscreen "$prefix/bin/quorlo" -co 2>"$work/co.err" &
pid=$!
original=$data/quorlo/lang/QRL_ORIGINAL.SPK
for _ in $(seq 1 300); do
  [ -s "$original" ] && grep -q "$original" "$work/co.err" && break
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
check test -s "$original"
check grep -q "$original" "$work/co.err"
check test ! -e "$prefix/bin/QRL_ORIGINAL.SPK"

[ "$fail" -eq 0 ] && echo "installed layout: all checks passed"
exit "$fail"
