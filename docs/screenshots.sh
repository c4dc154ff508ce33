#!/usr/bin/env bash
# Remakes the pictures of the README (docs/*.png) and takes one picture of
# every category page (BUILD/screenshots/page-0.png ... page-9.png, to look at
# each page), drawn offscreen at the default look by the program's windows.
#   docs/screenshots.sh
# Needs a configured build with the tests (./test, or VELKOR_BUILD_DIR=dir);
# it builds only the picture taker, velkor_screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${VELKOR_BUILD_DIR:-build}
cmake --build "$dir" --target velkor_screenshots >/dev/null
QT_QPA_PLATFORM=offscreen "$dir/tests/ui/velkor_screenshots" docs "$dir/screenshots"
