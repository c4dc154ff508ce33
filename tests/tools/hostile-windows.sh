#!/usr/bin/env bash
# velkor-report.exe (under wine) against what a shell can do to it: standard
# output redirected onto the project itself is refused with exit 2 and the
# project keeps its bytes; a save through a symbolic link replaces the
# link's target; a folder tree far deeper than any real one is walked
# quickly and with a true message.
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
# Links (a Unix link in wine's drive is a symbolic link to Windows programs):
# a save through one replaces its target in another folder and keeps the
# link; one that leads nowhere is refused and stays as it was.
mkdir projects work
cp p.vlk projects/plan.vlk
ln -s ../projects/plan.vlk work/current.vlk
ln -s ../projects/missing.vlk work/gone.vlk
"$wine" "$report" p.vlk p.json
sed 's/"technical": [0-9.]*/"technical": 0.25/' p.json >changed.json
"$wine" "$report" import --any-weights changed.json expected.vlk
while IFS='@' read -r link expected; do
    set +e
    "$wine" "$report" import --any-weights changed.json "$link" 2>err.txt
    status=$?
    set -e
    [ "$status" = "$expected" ] || fail "a save through $link: exit $status, not $expected"
    [ -L "$link" ] || fail "a save through $link made it a plain file"
done <<'ROWS'
work/current.vlk@0
work/gone.vlk@1
ROWS
cmp -s projects/plan.vlk expected.vlk || fail "the link's target was not replaced"
[ "$(ls -A projects work | tr '\n' ' ')" = "projects: plan.vlk  work: current.vlk gone.vlk " ] ||
    fail "the folders hold $(ls -A projects work | tr '\n' ' ')"
grep -q "Access to work/gone.vlk was denied." err.txt || fail "gone.vlk: $(cat err.txt)"

# A tree 3,000 folders deep (made in two steps: a path takes 4,096 bytes):
# the walk stops 64 levels down with a message that says so, the projects
# above are listed, and it takes no time (it took minutes and ended with a
# "hardware I/O error").
levels() { printf 'd/%.0s' $(seq "$1"); }
mkdir -p "tree/$(levels 1500)" && (cd "tree/$(levels 1500)" && mkdir -p "$(levels 1500)")
cp p.vlk tree/top.vlk
cp p.vlk "tree/$(levels 1500)x.vlk"
start=$(date +%s)
set +e
"$wine" "$report" portfolio tree >out.txt 2>err.txt
status=$?
set -e
[ "$status" = 1 ] || fail "portfolio of a deep tree: exit $status, not 1"
[ $(($(date +%s) - start)) -lt 20 ] || fail "portfolio of a deep tree took $(($(date +%s) - start)) s"
grep -q 'tree\\top.vlk' out.txt || fail "portfolio of a deep tree lists $(cat out.txt)"
grep -q 'was not searched: it lies more than 64 folders below the folder given' err.txt ||
    fail "portfolio of a deep tree says $(cut -c1-200 err.txt)"
[ "$(wc -l <err.txt)" = 1 ] || fail "portfolio of a deep tree gave $(wc -l <err.txt) messages"

[ "$failed" = 0 ] && echo "every case behaved"
exit "$failed"
