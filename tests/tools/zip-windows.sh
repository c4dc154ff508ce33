#!/usr/bin/env bash
# The portable zip holds what it should (both programs, the analysis page,
# the fonts, the README and the licence), and velkor-report.exe unpacked from
# it writes a PDF with the fonts beside it.
#   zip-windows.sh ZIP WINE-RUN WORK-FOLDER
set -euo pipefail
zip=$1 wine=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cmake -E tar xf "$zip"
top=$(basename "$zip" .zip)
for f in velkor.exe velkor-report.exe velkor-analysis.html README.md LICENSE.txt fonts/LiberationSans-Regular.ttf \
         fonts/LiberationSans-Bold.ttf fonts/LICENSE-LiberationSans.txt; do
    [ -s "$top/$f" ] || { echo "FAIL $f is missing from $(basename "$zip")"; exit 1; }
done
extra=$(find "$top" -type f | grep -vc -e velkor.exe -e velkor-report.exe -e velkor-analysis.html -e README.md -e LICENSE -e fonts/Liberation || true)
[ "$extra" = 0 ] || { echo "FAIL the zip holds files it should not"; exit 1; }
# A new project: 324 zero bytes and three times the double 0.333.
{ head -c 324 /dev/zero; for _ in 1 2 3; do printf '\x1d\x5a\x64\x3b\xdf\x4f\xd5\x3f'; done; } >plan.vlk
win() { printf 'Z:%s' "$1" | tr / '\\'; }
"$wine" "$work/$top/velkor-report.exe" "$(win "$work/plan.vlk")" "$(win "$work/plan.pdf")"
head -c 5 plan.pdf | grep -q '%PDF-' || { echo "FAIL no PDF written"; exit 1; }
echo "the zip is complete and its program writes PDFs"
