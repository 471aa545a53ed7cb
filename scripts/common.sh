# Shared by the project's scripts: package set-up, builds, the Wine prefix and Xvfb.
# Sourced, not run. Everything here is idempotent: a second call does nothing new.

TABRIX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${BUILD_ROOT:-$TABRIX_ROOT/build}"
JOBS="${JOBS:-$(nproc)}"

say() { printf '\n== %s\n' "$*"; }

# Debian packages the build and the tests need.
TABRIX_PACKAGES=(cmake ninja-build g++ make libgtest-dev googletest
    g++-mingw-w64-x86-64-posix wine wine64 locales
    clang libclang-rt-14-dev
    xvfb xdotool x11-utils libx11-dev imagemagick fonts-noto-cjk)

ensure_packages() {
    local missing=() p
    for p in "${TABRIX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if ((${#missing[@]})); then
        say "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" = 0 ] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
    # Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        say "generating the ja_JP.UTF-8 locale"
        local sudo=""
        [ "$(id -u)" = 0 ] || sudo=sudo
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
}

# configure_and_build NAME [cmake args...]: one build tree under $BUILD_ROOT/NAME.
configure_and_build() {
    local name="$1"; shift
    local dir="$BUILD_ROOT/$name"
    say "building $name"
    cmake -S "$TABRIX_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

build_native()  { configure_and_build native -DCMAKE_BUILD_TYPE=Release; }
build_asan()    { configure_and_build asan -DCMAKE_BUILD_TYPE=Debug -DTABRIX_SANITIZE=ON; }
build_windows() { configure_and_build windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TABRIX_ROOT/cmake/mingw-w64.cmake"; }
build_fuzz()    { CC=clang CXX=clang++ configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABRIX_FUZZ=ON -DTABRIX_TESTS=OFF; }

# A private Wine prefix in code page 932, booted once before any parallel use.
wine_env() {
    export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$BUILD_ROOT/wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset LC_ALL
    export LANG=ja_JP.UTF-8
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # Without a window manager Wine draws the caption itself only when windows are unmanaged.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # A crashing test must end, not wait in winedbg for a debugger that never comes.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
    fi
}

wine_stop() { [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true; }

# Xvfb on a free display of its own; sets DISPLAY and XVFB_PID.
start_xvfb() {
    local fifo; fifo="$(mktemp -u)"; mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local n; read -r -t 20 n <"$fifo"; rm -f "$fifo"
    if [ -z "$n" ]; then echo "Xvfb did not start" >&2; return 1; fi
    export DISPLAY=":$n"
}

stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; XVFB_PID=""; }
