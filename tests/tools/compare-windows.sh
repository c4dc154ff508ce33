#!/usr/bin/env bash
# The Windows velkor-report (under wine) and the Linux one write the same
# bytes: every .txt, .htm, .json, .csv and .svg output and the text report
# on standard output, for random projects (answers beyond their scales,
# odd weights, UTF-8 names), and the same text in their PDFs.
#   compare-windows.sh LINUX-VELKOR-REPORT WINE-RUN WINDOWS-VELKOR-REPORT.exe WORK-FOLDER
set -euo pipefail
linux=$1 wine=$2 windows=$3 work=$4
count=${VELKOR_COMPARE_PROJECTS:-8}
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
win_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Weights as little-endian doubles: 0.333, 0.5, 0.2, 1, 0, -0.25, 2.5.
weights=(1d5a643bdf4fd53f 000000000000e03f 9a9999999999c93f 000000000000f03f
         0000000000000000 000000000000d0bf 0000000000000440)
RANDOM=$((${VELKOR_COMPARE_SEED:-19}))
names=()
for ((p = 0; p < count; ++p)); do
    case $((p % 3)) in
        0) name="project $p.vlk" ;;
        1) name="plän-€ $p.Vlk" ;;
        2) name="p$p.final.vlk" ;;
    esac
    hex=""
    for ((q = 0; q < 81; ++q)); do
        r=$((RANDOM % 20))
        if ((r == 19)); then hex+="ffffffff"; else hex+=$(printf '%02x000000' $((r % 8))); fi
    done
    for ((w = 0; w < 3; ++w)); do
        if ((p % 4 == 3)); then # any eight bytes: NaN and infinity included
            hex+=$(head -c 8 /dev/urandom | od -An -tx1 | tr -d ' \n')
        else
            hex+=${weights[$((RANDOM % ${#weights[@]}))]}
        fi
    done
    printf '%s' "$hex" | sed 's/../\\x&/g' | xargs -0 printf "%b" >"$work/$name"
    names+=("$name")
done
names+=("short.vlk")
head -c 100 "$work/${names[0]}" >"$work/short.vlk"

formats="txt htm json csv svg"
[ "${VELKOR_COMPARE_PDF:-0}" = 1 ] && formats="$formats pdf"
failed=0
for name in "${names[@]}"; do
    stem=${name%.*}
    for ext in $formats; do
        set +e
        "$linux" "$work/$name" "$work/linux/$stem.$ext" 2>"$work/linux/$stem.$ext.err"
        rl=$?
        "$wine" "$windows" "$(win_path "$work/$name")" "$(win_path "$work/windows/$stem.$ext")" \
            2>"$work/windows/$stem.$ext.err"
        rw=$?
        set -e
        if [ "$rl" != "$rw" ]; then
            echo "FAIL $name .$ext: exit $rl on Linux, $rw on Windows"; failed=1; continue
        fi
        [ "$rl" = 0 ] || continue
        if [ "$ext" = pdf ]; then
            pdftotext -layout "$work/linux/$stem.pdf" "$work/linux/$stem.pdf.txt"
            pdftotext -layout "$work/windows/$stem.pdf" "$work/windows/$stem.pdf.txt"
            cmp -s "$work/linux/$stem.pdf.txt" "$work/windows/$stem.pdf.txt" ||
                { echo "FAIL $name .pdf: the text differs"; failed=1; }
        else
            cmp -s "$work/linux/$stem.$ext" "$work/windows/$stem.$ext" ||
                { echo "FAIL $name .$ext: the bytes differ"; failed=1; }
        fi
    done
    # The text report on standard output, and the messages of a file error.
    "$linux" "$work/$name" - >"$work/linux/$stem.stdout" 2>&1 || true
    "$wine" "$windows" "$(win_path "$work/$name")" - >"$work/windows/$stem.stdout" 2>&1 || true
    # Messages name the file as it was given: the same once the paths agree.
    tr '\\' / <"$work/windows/$stem.stdout" | sed "s|Z:$work|$work|g" >"$work/windows/$stem.stdout.n"
    cmp -s "$work/linux/$stem.stdout" "$work/windows/$stem.stdout.n" ||
        { echo "FAIL $name on standard output: the bytes differ"; failed=1; }
done
[ "$failed" = 0 ] && echo "${#names[@]} projects, formats $formats: the same on Linux and Windows"
exit $failed
