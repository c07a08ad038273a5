# Shared by the scripts: build folders, the Wine prefix and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE="${QUORVELL_CACHE:-$HOME/.cache/quorvell}"
BUILD="${QUORVELL_BUILD:-$ROOT/build}"
JOBS=$(nproc 2>/dev/null || echo 4)

configure_and_build() { # <dir> [cmake args...]
  dir="$1"; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  fi
  if ! cmake --build "$dir" -j"$JOBS" >"$dir.build.log" 2>&1; then
    grep -E -A4 'error|Error' "$dir.build.log" | head -n 80
    return 1
  fi
  grep -E -A2 'warning:' "$dir.build.log" | head -n 40 || true
}

build_windows() {
  mkdir -p "$BUILD"
  configure_and_build "$BUILD/windows" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DQUORVELL_LAME_DIR="$CACHE/lame"
}

build_native() {
  mkdir -p "$BUILD"
  configure_and_build "$BUILD/native" -DQUORVELL_SANITIZE=ON
}

# A private Wine prefix, made once; Wine's own chatter stays out of the output.
start_wine() {
  # A work tree of its own can keep a prefix of its own (QUORVELL_WINEPREFIX).
  export WINEPREFIX="${QUORVELL_WINEPREFIX:-$CACHE/wine}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/.quorvell-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$CACHE"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Sound goes through ALSA, where the tests give it devices of their own.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.quorvell-ready"
  fi
  wineserver -p >/dev/null 2>&1 </dev/null &
  # The first program of a server session starts Wine's background services,
  # which inherit its output: start them here, away from the tests' pipes.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}

# Windows need a display; without one, a virtual X server of our own.
start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  for n in 91 92 93 94 95 96 97 98 99; do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.2
    done
  done
  echo "no display could be started" >&2
  return 1
}

stop_display() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
