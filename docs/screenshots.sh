#!/usr/bin/env bash
# Remakes the pictures of the README (docs/*.png) and one picture of every
# category page (page-0.png ... page-9.png, for a look at each page), drawn
# offscreen at the default look by the program's own windows.
#   docs/screenshots.sh [DIR]     default DIR: docs/
# Needs a build with the tests (./test, or VELKOR_BUILD_DIR=dir); it builds
# only the picture taker, velkor_screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${VELKOR_BUILD_DIR:-build}
out=${1:-docs}
cmake --build "$dir" --target velkor_screenshots >/dev/null
QT_QPA_PLATFORM=offscreen "$dir/tests/ui/velkor_screenshots" "$out"
