# Shared steps of scripts/run and scripts/test: packages, build, Wine prefixes. Sourced, not run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth googletest
          fonts-wqy-microhei fonts-arphic-gbsn00lp xdotool xclip imagemagick x11-apps procps nsis)
# The second compiler and its checker, for scripts/test: clang and lld, llvm-dlltool, clang-tidy.
CLANG_PACKAGES=(clang lld llvm clang-tidy)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

# The same project built with clang (warnings are errors there too), in build/clang, with the compile
# commands clang-tidy reads.
build_clang() {
    if [ ! -f "$BUILD/clang/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD/clang" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/clang-mingw-w64-x86_64.cmake" >/dev/null
    fi
    cmake --build "$BUILD/clang"
}

# clang-tidy's checks (.clang-tidy) over the program's own sources; any finding fails.
tidy() {
    echo "clang-tidy over framework, components and app..."
    # (Its count of the warnings it left out, those outside the checks and the program's own files, is
    # left out too.)
    (cd "$ROOT" && ls framework/*.cpp components/*.cpp app/*.cpp |
        xargs -P "$(nproc)" -n 4 clang-tidy -p "$BUILD/clang" --quiet 2>&1 | { grep -v "warnings generated" || true; })
}

build() {
    if [ ! -f "$BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    fi
    cmake --build "$BUILD"
}

# Makes a Wine prefix once: "宋体" maps to a Song-style CJK font and "MS Sans Serif" to a narrow sans
# (their metrics are the closest to the faces the windows are laid out for); with "desktop" the prefix
# runs a virtual desktop, whose taskbar holds the tray (an icon delete there takes a millisecond, not two
# seconds). A third argument sets the display's density in dots per inch (96 is 100 % scaling, 144 is
# 150 %). The ready mark names the mapping: a prefix made with an older one is brought up to date.
prepare_prefix() {
    local prefix=$1 mode=${2:-} dpi=${3:-}
    export WINEPREFIX=$prefix
    [ -f "$prefix/.quennel-ready-2" ] && return 0
    echo "Preparing the Wine prefix $prefix (once)..."
    mkdir -p "$prefix"
    local reg="$prefix/quennel.reg"
    {
        # The Unicode header: regedit reads the Chinese font name only from a UTF-16 file.
        printf 'Windows Registry Editor Version 5.00\n\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\n'
        printf '"宋体"="AR PL SungtiL GB"\n"SimSun"="AR PL SungtiL GB"\n"MS Sans Serif"="WenQuanYi Micro Hei"\n\n'
        if [ "$mode" = desktop ]; then
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1024x768"\n\n'
        fi
        if [ -n "$dpi" ]; then
            printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n' "$dpi"
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts]\n"LogPixels"=dword:%08x\n\n' "$dpi"
        fi
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    wineboot -i >/dev/null 2>&1 || true
    wine regedit "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.quennel-ready-2"
}
