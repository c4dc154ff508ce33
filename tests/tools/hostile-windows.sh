#!/usr/bin/env bash
# velkor-report.exe (under wine) against what a shell can do to it: standard
# output redirected onto the project itself is refused with exit 2 and the
# project keeps its bytes; a folder tree far deeper than any real one is
# walked quickly and with a true message.
#   hostile-windows.sh WINE-RUN VELKOR-REPORT.exe WORK-FOLDER
set -euo pipefail
wine=$1 report=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"
# A new project: 324 zero bytes and three times the double 0.333.
{ head -c 324 /dev/zero; for _ in 1 2 3; do printf '\x1d\x5a\x64\x3b\xdf\x4f\xd5\x3f'; done; } >p.vlk
cp p.vlk original.vlk
failed=0
fail() { echo "FAIL $*"; failed=1; }

# Standard output: REDIRECTION, ARGUMENTS, expected exit status, file to check.
while IFS='@' read -r redirection arguments expected check; do
    set +e
    eval "\"$wine\" \"$report\" $arguments $redirection" 2>err.txt
    status=$?
    set -e
    [ "$status" = "$expected" ] || fail "$arguments $redirection: exit $status, not $expected"
    cmp -s p.vlk original.vlk || { fail "$arguments $redirection changed the project"; cp original.vlk p.vlk; }
    [ -z "$check" ] || [ -s "$check" ] || fail "$arguments $redirection wrote no $check"
done <<'ROWS'
1<> p.vlk@p.vlk -@2@
>> p.vlk@p.vlk -@2@
1<> p.vlk@portfolio p.vlk@2@
>> p.vlk@compare p.vlk p.vlk@2@
> report.txt@p.vlk -@0@report.txt
| cat >piped.txt@p.vlk -@0@piped.txt
ROWS
[ "$failed" = 0 ] && echo "every case behaved"
exit "$failed"
