#!/usr/bin/env bash
# The C++ sources in the tree's style (.clang-format, clang-format 14).
#   scripts/format.sh --check   lists the files that differ and fails (CI)
#   scripts/format.sh --fix     rewrites them in place
# Build folders and other untracked files are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:---check}
tool=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$tool" ] || ! "$tool" --version | grep -q 'version 14\.'; then
    echo "format.sh: clang-format 14 is needed (Debian package clang-format-14)" >&2
    exit 2
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
else # an unpacked source tree: everything but the build folders
    mapfile -t files < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \
        -o -name '*.hpp' -o -name '*.cc' \) -print | sed 's|^\./||' | sort)
fi
case "$mode" in
--check)
    bad=()
    for f in "${files[@]}"; do
        "$tool" --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
    done
    if [ ${#bad[@]} -gt 0 ]; then
        printf 'not formatted: %s\n' "${bad[@]}" >&2
        echo "format.sh: ${#bad[@]} of ${#files[@]} files differ; scripts/format.sh --fix formats them" >&2
        exit 1
    fi
    echo "format.sh: all ${#files[@]} files are formatted"
    ;;
--fix) "$tool" -i "${files[@]}" ;;
*)
    echo "usage: scripts/format.sh [--check|--fix]" >&2
    exit 2
    ;;
esac
