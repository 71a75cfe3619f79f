# Sourced by ./test and ./run: paths, the Wine prefix and a display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# Compiles go through ccache, so that a new build tree (a fresh clone, a removed build
# folder, another branch) takes the objects of earlier builds on this machine. Paths
# under the checkout count relative to it, and precompiled headers are allowed.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

configure() {  # configure DIR [cmake options...]: once, then the build tool re-runs cmake itself
    local dir=$1; shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    [ -f "$dir/build.ninja" ] ||
        cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
}

build_windows() {
    configure "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
    cmake --build "$build/win"
}

# A Wine server that stays for the whole run, with Wine's own background programs
# (services, the desktop) started here with no output attached: started by a test's
# wine instead, they would hold that test's output open until they end, and every start
# would pay for them again. Each later wine start then takes a fraction of a second.
start_wine_server() {
    (wineserver -p && wine cmd /c exit) </dev/null >/dev/null 2>&1 || true
}

# Whether the X window manager manages Wine's windows (Y) or Wine keeps them to itself
# (N), read by each Wine program as it starts. On our virtual display no window manager
# runs, and a managed window that is hidden or destroyed then waits two seconds for one to
# answer; unmanaged windows do not wait. On a user's own display the window manager
# manages them as usual.
windows_managed() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$1" /f </dev/null >/dev/null 2>&1 || true
}

# The benchmarks' own Wine prefix (build/bench/wineprefix, a copy of the project's), so
# that they neither disturb nor are disturbed by tests running under Wine meanwhile.
use_bench_prefix() {
    local prefix="$build/bench/wineprefix"
    if [ ! -f "$prefix/.quillon-ready" ]; then
        echo "copying the Wine prefix into $prefix" >&2
        mkdir -p "$build/bench"
        rm -rf "$prefix" "$prefix.part"
        cp -a "$build/wineprefix" "$prefix.part"
        mv "$prefix.part" "$prefix"
    fi
    export WINEPREFIX="$prefix"
}

xvfb_pid=
# Starts a virtual display when none is set (or when asked to with "own").
start_display() {
    if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != own ]; then return; fi
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    echo "the virtual display :$n did not start" >&2
    return 1
}

# The project's programs under Wine (the stand-in, Quillon, the test program) whose
# environment holds VARIABLE=VALUE, one process id a line. Wine's own programs, which the
# Wine server keeps for every program of the prefix, are not among them.
wine_programs_with() {
    local pid program
    for pid in $(pgrep -f '\.exe' || true); do
        { tr '\0' '\n' < "/proc/$pid/environ"; } 2>/dev/null | grep -qxF "$1" || continue
        # The program file (a Wine program's first argument), not a script given one.
        program=$({ tr '\0' '\n' < "/proc/$pid/cmdline" | head -n 1; } 2>/dev/null)
        program=${program##*[\\/]}
        case "${program,,}" in
            cadsim.exe|quillon.exe|win_tests.exe) echo "$pid" ;;
        esac
    done
}

# Ends the virtual display, and the Wine server unless programs of another run (a second
# ./test of this checkout) still use it: ours have ended by now.
stop_display() {
    [ -n "$(wine_programs_with "WINEPREFIX=$WINEPREFIX")" ] || wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
