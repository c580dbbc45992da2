#!/usr/bin/env bash
# The user guide's template against the guide: po4a, run on a copy, finds
# the same texts as desktop/guide/guide.pot holds (the build itself refuses
# a translation that lacks one).
# Usage: guide_translations_test.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/desktop"
cp "$source/desktop/guide.html" "$work/desktop/"
cp -r "$source/desktop/guide" "$work/desktop/"
(cd "$work/desktop/guide" && po4a --no-translations po4a.cfg >/dev/null)
# Every text of each in the other, translations aside.
if ! msgcmp --use-untranslated "$work/desktop/guide/guide.pot" "$source/desktop/guide/guide.pot" \
   || ! msgcmp --use-untranslated "$source/desktop/guide/guide.pot" "$work/desktop/guide/guide.pot"; then
  echo "desktop/guide/guide.pot is out of date: po4a --no-translations desktop/guide/po4a.cfg" >&2
  exit 1
fi
echo "guide translations: the template is up to date"
