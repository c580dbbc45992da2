#!/usr/bin/env bash
# Builds the Debian package from the build folder into a throw-away folder,
# checks its control data, unpacks it into a throw-away root, runs
# quorlo-sheet from there, and has lintian look for errors when it is
# installed. Exit 77 (skipped) without the Debian package tools.
# Usage: debian_package_test.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing (Debian package dpkg-dev)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; fail=1; fi; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/out/quorlo_*.deb)
echo "package: $(basename "$deb")"

check test "$(dpkg-deb -f "$deb" Package)" = quorlo
check test "$(dpkg-deb -f "$deb" Version)" = "$QUORLO_VERSION"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# From the libraries the programs link, found by dpkg-shlibdeps.
for lib in libqt6widgets6 libqt6gui6 libqt6printsupport6 libjpeg62-turbo libc6; do
  check grep -q "\b$lib\b" <<<"$depends"
done

root=$work/root
dpkg -x "$deb" "$root"
check test "$("$root/usr/bin/quorlo-sheet" --version | sed -n 1p)" = "quorlo-sheet $QUORLO_VERSION"
check test "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/quorlo" --version | sed -n 1p)" = "quorlo $QUORLO_VERSION"
check test -d "$root/usr/share/quorlo/lang"
for model in face_detector face_mesh person_mask; do
  check test -s "$root/usr/share/quorlo/models/$model.onnx"
done
check test -s "$root/usr/share/applications/quorlo.desktop"
check test -s "$root/usr/share/doc/quorlo/guide.html"
for page in quorlo quorlo-sheet quorlo-lang; do
  check test -s "$root/usr/share/man/man1/$page.1.gz"
done
# The licence in Debian's form, its full text in the system's common licences.
copyright=$root/usr/share/doc/quorlo/copyright
check grep -qx 'License: GPL-3+' "$copyright"
check grep -q '/usr/share/common-licenses/GPL-3' "$copyright"
# The face models' own licence.
check grep -qx 'License: Apache-2.0' "$copyright"
check grep -q '/usr/share/common-licenses/Apache-2.0' "$copyright"

if command -v lintian >/dev/null; then
  # Errors fail the test; warnings are shown for whoever reads the log.
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { fail=1; echo "FAILED: lintian" >&2; }
  cat "$work/lintian.log"
  # Every program has its manual page.
  if grep -q 'no-manual-page' "$work/lintian.log"; then fail=1; echo "FAILED: a program without a manual page" >&2; fi
  echo "lintian: $(grep -c '^E:' "$work/lintian.log" || true) errors, $(grep -c '^W:' "$work/lintian.log" || true) warnings"
else
  echo "lintian is not installed: the package was not checked by it"
fi

[ "$fail" -eq 0 ] && echo "debian package: all checks passed"
exit "$fail"
