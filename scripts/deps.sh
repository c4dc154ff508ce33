# Sourced by ./run, ./test, ./package and .ci/run: installs the Debian packages
# that are missing, nothing else. VELKOR_DEPS_EXTRA adds packages.
velkor_install_deps() {
    local pkgs="cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation2 libcli11-dev nlohmann-json3-dev libhpdf-dev $*"
    local missing=""
    for p in $pkgs; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing:$missing" >&2
            echo "Install them as root (apt-get install$missing), or install sudo, then run this again." >&2
            return 1
        fi
        sudo="sudo"
    fi
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing || return 1
}

# What the Windows build (./test-windows) needs on top: the cross compiler,
# zlib for it, wine to run the programs and tests, GoogleTest's sources, and
# emscripten for the analysis page that the zip and the installer carry.
VELKOR_WINDOWS_DEPS="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev wine wine64 googletest libcli11-dev nlohmann-json3-dev libhpdf-dev fonts-liberation2 poppler-utils nsis xvfb xdotool emscripten nodejs"

# What the browser build (./test-web) needs on top: emscripten and node for
# the page and the suites, Chromium and the DevTools client that drive it.
VELKOR_WEB_DEPS="emscripten nodejs chromium python3-websocket googletest libcli11-dev nlohmann-json3-dev libhpdf-dev fonts-liberation2"
