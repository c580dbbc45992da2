#!/bin/sh
# The command-line programs run without Qt's widgets and print support: none
# of the programs named may list either library in its dynamic section.
# usage: tool_libraries_test.sh PROGRAM...
status=0
for program in "$@"; do
    if ! dynamic=$(readelf -d "$program"); then
        echo "$program: its dynamic section cannot be read"
        status=1
        continue
    fi
    for library in $(printf '%s\n' "$dynamic" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
        case $library in
            libQt*Widgets.so*|libQt*PrintSupport.so*)
                echo "$program needs $library"
                status=1
                ;;
        esac
    done
done
exit $status
