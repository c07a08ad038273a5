# Shared by the scripts: build folders, the Wine prefix and the display.
# Sourced, not run.

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE="${QUORVELL_CACHE:-$HOME/.cache/quorvell}"
BUILD="${QUORVELL_BUILD:-$ROOT/build}"
JOBS="${QUORVELL_JOBS:-$(nproc 2>/dev/null || echo 4)}"

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
  wine_environment
  make_prefix "$WINEPREFIX"
  start_wine_server
}

wine_environment() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Wine brings a made prefix up to date on its first start after an upgrade
# of Wine, rewriting its modules; it records the wine.inf it was made from
# in .update-timestamp. A prefix made by an older Wine is made anew here,
# so that the test runs' copies, which share the modules, never update.
prefix_is_current() { # <prefix>
  local inf=/usr/share/wine/wine.inf
  [ -f "$1/.quorvell-ready" ] || return 1
  [ -f "$inf" ] || return 0
  [ "$(tr -d '\r' <"$1/.update-timestamp" 2>/dev/null | cut -d' ' -f1)" = "$(stat -c %Y "$inf")" ]
}

# Runs from several trees share the prefix: one remakes it while the others
# wait on its lock (<prefix>.lock, beside it, so that remaking never
# removes it), then find it current.
make_prefix() { # <prefix>
  prefix_is_current "$1" && return 0
  mkdir -p "$(dirname "$1")"
  (
    flock 9
    prefix_is_current "$1" && exit 0
    rm -rf "$1"
    WINEPREFIX="$1" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$1" wineserver -w
    # Sound goes through ALSA, where the tests give it devices of their own.
    WINEPREFIX="$1" wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 || true
    WINEPREFIX="$1" wineserver -w
    touch "$1/.quorvell-ready"
  ) 9>"$1.lock"
}

# A persistent server for $WINEPREFIX on $DISPLAY.
start_wine_server() {
  # In the foreground: the server puts itself in the background once it
  # listens, so the program below cannot start a short-lived one of its own.
  wineserver -p >/dev/null 2>&1 </dev/null
  # The first program of a server session starts Wine's background services,
  # which inherit its output: start them here, away from the tests' pipes.
  # It turns Wine's crash dialog off: a program that crashes then prints
  # what happened and ends, instead of waiting for a click nobody gives.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}

# A copy of a made prefix: Wine's modules and tables (some 690 MB, never
# written once the prefix is current) as hard links, everything else (the
# registry, the ini files, the user's folders) as files of its own.
copy_prefix() { # <from> <to>
  rm -rf "$2"
  cp -a --link "$1" "$2" 2>/dev/null || { rm -rf "$2"; cp -a "$1" "$2"; return; }
  (cd "$1" && find . -type f ! \( -name '*.dll' -o -name '*.exe' -o -name '*.nls' -o -name '*.drv' \
    -o -name '*.sys' -o -name '*.ocx' \) -exec cp -p --remove-destination {} "$2/{}" \;)
}

# A prefix of the script's own, for every script but scripts/run: a copy of
# the shared one beside the test runs' copies (<prefix>.slots/<process>/<name>,
# so that one a killed script leaves goes with the next test run), with a
# server of its own. The user's programs in the shared prefix never meet
# the script, and stop_own_wine stops no server but the one started here.
start_own_wine() { # <name>
  local base="${QUORVELL_WINEPREFIX:-$CACHE/wine}"
  wine_environment
  make_prefix "$base"
  OWN_COPIES="$base.slots/$$"
  OWN_PREFIX="$OWN_COPIES/$1"
  mkdir -p "$OWN_COPIES"
  (flock -s 9 && copy_prefix "$base" "$OWN_PREFIX") 9>"$base.lock"
  export WINEPREFIX="$OWN_PREFIX"
  start_wine_server
}

stop_own_wine() {
  [ -n "${OWN_COPIES:-}" ] || return 0
  WINEPREFIX="$OWN_PREFIX" wineserver -k >/dev/null 2>&1 || true
  # It writes the registry as it ends.
  WINEPREFIX="$OWN_PREFIX" wineserver -w >/dev/null 2>&1 || true
  rm -rf "$OWN_COPIES"
  OWN_COPIES=""
}

# Test slots, one per parallel job: each a display, a copy of the prefix
# and a Wine server of its own, so that the windows, focus, hot keys,
# clipboard and registry of one test never meet another's. They go in the
# run's own folder (run_folder), with <n>.env for tests/support/wine-slot
# and resources.json, the table of slots from which CTest gives each
# running test one; QUORVELL_WINE_SLOTS names it.
start_wine_slots() { # <count>
  local count="$1" base="${QUORVELL_WINEPREFIX:-$CACHE/wine}" ids="" starting="" n pid
  sweep_dead_runs
  export QUORVELL_WINE_SLOTS
  QUORVELL_WINE_SLOTS=$(run_folder)
  SLOT_PREFIXES="$QUORVELL_WINE_SLOTS/"
  mkdir -p "$SLOT_PREFIXES"
  SLOT_COUNT="$count"
  for n in $(seq "$count"); do
    new_display || return 1
    note_process "${XVFB_PIDS##* }" >>"${SLOT_PREFIXES}displays"
    echo "export DISPLAY=:$NEW_DISPLAY WINEPREFIX=$SLOT_PREFIXES$n" >"$SLOT_PREFIXES$n.env"
    ids="$ids${ids:+,}{\"id\":\"$n\",\"slots\":1}"
  done
  printf '{"version":{"major":1,"minor":0},"local":[{"wine":[%s]}]}\n' "$ids" >"${SLOT_PREFIXES}resources.json"
  wine_environment
  (. "${SLOT_PREFIXES}1.env"; make_prefix "$base") || return 1
  for n in $(seq "$count"); do
    # Copied under a shared hold of the prefix's lock: never while it is remade.
    ( (flock -s 9 && copy_prefix "$base" "$SLOT_PREFIXES$n") 9>"$base.lock" && . "$SLOT_PREFIXES$n.env" &&
      start_wine_server && keep_desktop) &
    starting="$starting $!"
  done
  n=0
  for pid in $starting; do
    n=$((n + 1))
    wait "$pid" || { echo "test slot $n could not be started" >&2; return 1; }
  done
  # Whatever runs outside a slot (the listing of each program's tests) uses the first.
  . "${SLOT_PREFIXES}1.env"
}

# What a run keeps outside the build tree goes in a folder named by its
# process, beside the shared prefix, so runs from several trees may share
# the prefix: its slots, the tests' leftovers (QUORVELL_TEST_TMP), and in
# "processes" what must not outlive it (its ctest). A run killed before it
# could clean up leaves it to the next run's sweep.
run_folder() {
  echo "${QUORVELL_WINEPREFIX:-$CACHE/wine}.slots/$$"
}

sweep_dead_runs() {
  local run
  for run in "${QUORVELL_WINEPREFIX:-$CACHE/wine}.slots"/*; do
    [ -d "$run" ] && ! process_lives "${run##*/}" && stop_dead_run "$run"
  done
  # What tests run by hand, without a run's folder, left when they were
  # killed: older than any test may run.
  find "${TMPDIR:-/tmp}" -maxdepth 1 -name 'quorvell-test.*' -mmin +30 -exec rm -rf {} + 2>/dev/null
  return 0
}

# Wine closes a desktop a second after its last program has ended, and a
# test program that starts while it closes cannot make its first window.
# A program that idles on the slot's desktop for the slot's life (the
# batch files' way of sleeping) keeps it, and spares each test starting
# it anew; the slot's server takes it along when it stops.
keep_desktop() {
  wine ping -n 99999999 127.0.0.1 >/dev/null 2>&1 </dev/null &
}

# A process as "<id> <start time>": the start time tells it from a later
# process that got the same id.
note_process() { # <pid>
  echo "$1 $(process_start "$1")"
}

# Not a zombie either: a run killed hard stays one until its parent reaps it.
process_lives() { # <pid>
  local state
  state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) && [ -n "$state" ] && [ "$state" != Z ]
}

process_start() { # <pid>
  awk '{ print $22 }' "/proc/$1/stat" 2>/dev/null
}

# A process and every process it started: each is stopped before its
# children are looked up, so that none starts another meanwhile; then all end.
end_process_tree() { # <pid>
  local all=() next=("$1") pid
  while [ ${#next[@]} -gt 0 ]; do
    pid=${next[0]}
    next=("${next[@]:1}")
    kill -STOP "$pid" 2>/dev/null || continue
    all+=("$pid")
    next+=($(pgrep -P "$pid"))
  done
  [ ${#all[@]} -eq 0 ] || kill -KILL "${all[@]}" 2>/dev/null
}

# The folder of a run killed before it could stop its slots: its ctest
# goes first, with the tests it runs, so that none starts again in a slot
# (or under a display number) that is no longer theirs; then each slot's
# Wine server with its programs and Wine's services, then the displays, and
# only then the folder.
stop_dead_run() { # <folder of the run>
  local prefix pid start
  if [ -f "$1/processes" ]; then
    while read -r pid start; do
      [ -n "$start" ] && [ "$(process_start "$pid")" = "$start" ] && end_process_tree "$pid"
    done <"$1/processes"
  fi
  for prefix in "$1"/*/; do
    [ -f "$prefix/system.reg" ] && WINEPREFIX="${prefix%/}" wineserver -k >/dev/null 2>&1
  done
  if [ -f "$1/displays" ]; then
    while read -r pid start; do
      [ -n "$start" ] && [ "$(process_start "$pid")" = "$start" ] && kill "$pid" 2>/dev/null
    done <"$1/displays"
  fi
  rm -rf "$1"
}

stop_wine_slots() {
  local n
  for n in $(seq "${SLOT_COUNT:-0}"); do
    WINEPREFIX="$SLOT_PREFIXES$n" wineserver -k >/dev/null 2>&1 || true
  done
  [ "${SLOT_COUNT:-0}" -gt 0 ] && rm -rf "$SLOT_PREFIXES"
  SLOT_COUNT=0
}

# A virtual X server of our own. Xvfb picks a free display number itself
# and writes it to -displayfd once it accepts connections, so runs side by
# side never race for a number. Sets NEW_DISPLAY.
new_display() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 </dev/null &
  XVFB_PIDS="${XVFB_PIDS:-} $!"
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then
      NEW_DISPLAY=$(tr -d '[:space:]' <"$number_file")
      rm -f "$number_file"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$number_file"
  echo "no display could be started" >&2
  return 1
}

# Windows need a display; without one, a virtual X server of our own.
start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  new_display || return 1
  export DISPLAY=":$NEW_DISPLAY"
}

stop_display() {
  local pid
  for pid in ${XVFB_PIDS:-}; do kill "$pid" 2>/dev/null || true; done
  XVFB_PIDS=""
}
