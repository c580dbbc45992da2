#!/bin/bash
# Every '#include "..."' of a library folder names a header of its own folder
# or of a library it is built on: one of the lines above it, or to its left on
# its own line. tools/ may include any library but no window (app/); tests/
# and bench/ may include anything. A header belongs to the folder it lies in.
# Prints each include that breaks the rule, with its file and line.
set -u
cd "${1:?usage: layering_test.sh SOURCE_DIR}" || exit 2

layers=(
    "platform support messages"
    "imaging framing face check background"
    "sheet print"
    "localisation app"
)

declare -A allowed
below=""
for line in "${layers[@]}"; do
    left=""
    for dir in $line; do
        allowed[$dir]="$below $left $dir"
        left="$left $dir"
    done
    below="$below $left"
done
# tools/ may use every library, but no window.
allowed[tools]=tools
for dir in $below; do
    [[ $dir == app ]] || allowed[tools]+=" $dir"
done

declare -A home
for dir in $below tools; do
    [[ -d $dir ]] || continue
    while IFS= read -r header; do
        home[${header##*/}]=$dir
    done < <(find "$dir" -name '*.h')
done

failed=0
for dir in $below tools; do
    [[ -d $dir ]] || continue
    while IFS=: read -r file number text; do
        header=${text#*\"}
        header=${header%%\"*}
        header=${header##*/}
        # Generated headers (ui_*.h, moc output) lie in no source folder.
        owner=${home[$header]:-}
        [[ -z $owner ]] && continue
        if [[ " ${allowed[$dir]} " != *" $owner "* ]]; then
            echo "$file:$number: includes $header of $owner/, which $dir/ may not use"
            failed=1
        fi
    done < <(find "$dir" \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
             xargs -0 grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"')
done
exit $failed
