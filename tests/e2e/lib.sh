# Quenlix.exe in a private Wine session on a private X display, for the end-to-end tests and
# scripts/run. Source it from bash; it defines functions and sets no traps of its own.
#
#   session_start WORK_DIR  starts Xvfb, prepares the Wine prefix WORK_DIR/wineprefix and a
#                           Wine server that lasts until session_end; sets DISPLAY
#   session_end             ends the program, the helpers and every process of the session
#   session_track PID       a helper process for session_end to end if it still runs
#   prepare_prefix          makes WINEPREFIX if it is missing (for use without a session too)
#   wine_run ARGS...        runs wine in the session's locale and prefix
#   cliptool ARGS...        runs quenlix-cliptool.exe, found at CLIPTOOL
#   quenlix_start EXE       starts Quenlix.exe; its PID in QUENLIX_PID
#   quenlix_wait_exit SECS  waits for it to end; its exit code in QUENLIX_EXIT
#   quenlix_kill            ends it at once, if it runs
#   window_state            the status window as Wine sees it: W_visible, W_text, W_window, ...
#   x_shown, x_hidden       whether the X server shows a window of the program
#   screenshot FILE         a PNG of the status window, cut from the screen
#   wait_for WHAT SECS CMD  runs CMD until it succeeds, or fails saying what it waited for
#
# QUENLIX_EXIT is the callers'; window_state sets the W_ variables.
# shellcheck shell=bash disable=SC2034,SC2154

SESSION_LOCALE=ja_JP.UTF-8
SESSION_SCREEN=1024x768x24
POLL_INTERVAL=0.1
SESSION_WORK=
SESSION_PIDS=()
XVFB_PID=
QUENLIX_PID=
QUENLIX_EXIT=

session_log() { printf '%s\n' "$*" >&2; }

# Nanoseconds since the epoch: the clock of every bounded wait.
now_ns() { date +%s%N; }

# wait_for WHAT SECONDS COMMAND...: runs COMMAND until it succeeds; after SECONDS it fails and
# says what it was waiting for.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$(($(now_ns) + seconds * 1000000000))
  until "$@"; do
    if (($(now_ns) > deadline)); then
      session_log "timed out after ${seconds}s waiting for: $what"
      return 1
    fi
    sleep "$POLL_INTERVAL"
  done
}

# An ended child stays a zombie until it is waited for; kill -0 would still find it.
process_running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) && [ "${state#Z}" = "$state" ]
}

# Only a child of this shell: a PID that has been waited for may be another process's by now.
end_process() {
  if [ "$(ps -o ppid= -p "$1" 2>/dev/null | tr -d ' ')" = "$$" ]; then
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null || true
  fi
}

# Every Wine process of a prefix must run in the same locale: the first one starts the
# prefix's clipboard bridge, which converts CF_TEXT with the code page of that locale.
session_env() {
  SESSION_ENV=(LC_ALL="$SESSION_LOCALE" WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all WINEARCH=win64
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="$DISPLAY")
}

wine_run() { env "${SESSION_ENV[@]}" wine "$@"; }

cliptool() { wine_run "$CLIPTOOL" "$@"; }

wineserver_kill() { env WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; }

# The prefix is made once per build tree and reused. Without a window manager a window that
# Wine manages stalls the end of a dialog, so Wine is told to manage none.
prepare_prefix() {
  session_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    session_log "creating the Wine prefix $WINEPREFIX"
    wine_run wineboot -i >/dev/null 2>&1 || return 1
  fi
  wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Xvfb picks a free display itself and writes its number to the descriptor given.
start_display() {
  rm -f "$SESSION_WORK/display"
  Xvfb -displayfd 3 -screen 0 "$SESSION_SCREEN" -nolisten tcp -noreset \
    3>"$SESSION_WORK/display" >"$SESSION_WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_for "Xvfb to report its display" 10 test -s "$SESSION_WORK/display" || return 1
  DISPLAY=:$(head -n 1 "$SESSION_WORK/display")
  export DISPLAY
}

session_start() {
  SESSION_WORK=$1
  mkdir -p "$SESSION_WORK"
  WINEPREFIX=$(cd "$SESSION_WORK" && pwd)/wineprefix
  export WINEPREFIX
  wineserver_kill
  start_display || return 1
  prepare_prefix || return 1
  # A server that stays between the programs of the session saves starting it for each.
  wineserver_kill
  env "${SESSION_ENV[@]}" wineserver -p
}

session_track() { SESSION_PIDS+=("$1"); }

session_end() {
  quenlix_kill
  local pid
  for pid in "${SESSION_PIDS[@]}"; do end_process "$pid"; done
  SESSION_PIDS=()
  if [ -n "${WINEPREFIX:-}" ]; then wineserver_kill; fi
  if [ -n "$XVFB_PID" ]; then end_process "$XVFB_PID"; fi
  XVFB_PID=
}

quenlix_start() {
  # exec all the way down, so that the PID is the program's own
  (exec env "${SESSION_ENV[@]}" wine "$1") &
  QUENLIX_PID=$!
  QUENLIX_EXIT=
}

quenlix_ended() { ! process_running "$QUENLIX_PID"; }

# wait gives the program's exit code: wine passes it back (mod 256).
quenlix_wait_exit() {
  wait_for "Quenlix.exe to end" "$1" quenlix_ended || return 1
  wait "$QUENLIX_PID"
  QUENLIX_EXIT=$?
  QUENLIX_PID=
}

quenlix_kill() {
  if [ -n "$QUENLIX_PID" ]; then end_process "$QUENLIX_PID"; fi
  QUENLIX_PID=
}

window_state() {
  local key value
  cliptool window >"$SESSION_WORK/window" || return 1
  while IFS='=' read -r key value; do
    printf -v "W_$key" '%s' "$value"
  done <"$SESSION_WORK/window"
}

# The X server's view, cheap enough to poll finely: Wine maps a window while it is shown.
x_shown() { [ -n "$(xdotool search --onlyvisible --pid "$QUENLIX_PID" 2>/dev/null)" ]; }
x_hidden() { ! x_shown; }

# The window's rectangle comes from the last window_state.
screenshot() {
  local left top right bottom
  read -r left top right bottom <<<"$W_window"
  xwd -root -silent >"$SESSION_WORK/screen.xwd" &&
    /usr/bin/convert "xwd:$SESSION_WORK/screen.xwd" \
      -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "png:$1"
}
