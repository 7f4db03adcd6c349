#!/usr/bin/env bash
# Quenlix.exe end to end: the real program under Wine in a Japanese locale (code page 932) on a
# private X display. quenlix-cliptool, a helper of ours in the same Wine session, reads and writes
# the exact CF_TEXT bytes and looks at the status window; xclip copies as an X program does.
#
# usage: run_e2e.sh WINDOWS_BUILD_DIR [WORK_DIR]
#   WINDOWS_BUILD_DIR  the windows preset's build tree, with Quenlix.exe and quenlix-cliptool.exe
#   WORK_DIR           the Wine prefix (kept between runs), expected texts, screenshots;
#                      WINDOWS_BUILD_DIR/e2e by default
# E2E_ONLY=REGEX runs only the scenarios whose function names match it.
# window_state sets the W_ variables; lists from seq are split into lines on purpose.
# shellcheck disable=SC2154,SC2046
set -u

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$here/lib.sh"

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR [WORK_DIR]" >&2
  exit 2
fi
build=$1
work=${2:-$build/e2e}
EXE=$build/Quenlix.exe
CLIPTOOL=$build/quenlix-cliptool.exe
for file in "$EXE" "$CLIPTOOL"; do
  if [ ! -f "$file" ]; then
    echo "e2e: $file is missing: build the windows preset first" \
      "(cmake --preset windows && cmake --build --preset windows)" >&2
    exit 1
  fi
done
for tool in Xvfb wine wineserver xclip xdotool xwd /usr/bin/convert iconv od cmp; do
  if ! command -v "$tool" >/dev/null; then
    echo "e2e: $tool is missing: run scripts/setup" >&2
    exit 1
  fi
done

# Bounds of the waits, in seconds. Wine starts a program in about a second and the program
# polls once a second; the bounds leave room for a loaded machine.
SHOW_WAIT=20     # from the start of Quenlix.exe to its status window on screen
POLL_WAIT=12     # from a copy to the program's answer on the clipboard or in its window
HIDE_WAIT=8      # from a status text on screen to the window hidden again
END_WAIT=12      # from the quit command to the end of the process
REST_TIME=3      # how long a text that must be left alone is watched (three polls)
HOLD_MS=700         # a hold that shuts out the program's write but not its next poll
LONG_HOLD_MS=5000   # a hold that outlasts a poll a second after a cancel
HELD_AFTER_CANCEL_NS=1500000000

# The status window shows a text for about two seconds: three ticks a second apart.
SHOWN_MIN_NS=1500000000
SHOWN_MAX_NS=4000000000
CENTRE_SLACK_PX=2

IDC_OK=1002
IDCANCEL=2
CLIPTOOL_LATE=3  # quenlix-cliptool: the hold came after the program had written

expected=$work/expected
screenshots=$work/screenshots
mkdir -p "$expected" "$screenshots"

# --- texts --------------------------------------------------------------------------------

# The program's texts are code page 932 bytes; they are written here in UTF-8 and converted.
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
hex() { od -An -v -tx1 | tr -d ' \n'; }
# The lines of a list as the program writes it: code page 932, each line ended by CR LF.
crlf_lines() {
  local line
  for line; do printf '%s\r\n' "$line"; done | iconv -f UTF-8 -t CP932
}

START_TEXT=$(cp932 'Quenlix ver1.0  を起動しました。' | hex)
EXPAND_TEXT=$(cp932 '"展開モード" です。' | hex)
PAUSE_TEXT=$(cp932 '"展開モード" を一時停止します。' | hex)
QUIT_TEXT=$(cp932 'Quenlix を終了しますか' | hex)

# text NAME TEXT: a file with the text's code page 932 bytes, no line end.
text() { cp932 "$2" >"$expected/$1"; }
# list NAME LINE...: a file with the list the program makes of these lines.
list() {
  local name=$1
  shift
  crlf_lines "$@" >"$expected/$name"
}

# --- what the test sees -------------------------------------------------------------------

session_log_bytes() {
  session_log "  $1: $(wc -c <"$2") bytes: $(head -c 96 "$2" | hex)"
}

clipboard_is() {
  rm -f "$work/clipboard"
  cliptool read "$work/clipboard" 2>/dev/null && cmp -s "$work/clipboard" "$1"
}

# wait_clipboard WHAT FILE: the clipboard comes to hold exactly the bytes of FILE.
wait_clipboard() {
  wait_for "$1" "$POLL_WAIT" clipboard_is "$2" && return 0
  session_log_bytes expected "$2"
  [ -f "$work/clipboard" ] && session_log_bytes "on the clipboard" "$work/clipboard"
  return 1
}

# stays_for WHAT SECONDS COMMAND...: the command keeps succeeding for that long.
stays_for() {
  local what=$1 seconds=$2
  shift 2
  local end=$(($(now_ns) + seconds * 1000000000))
  while (($(now_ns) < end)); do
    if ! "$@"; then
      session_log "no longer so: $what"
      return 1
    fi
    sleep "$POLL_INTERVAL"
  done
}

# left_alone FILE: the program reads the text of FILE and leaves it on the clipboard.
left_alone() {
  cliptool write "$1" 0 || return 1
  stays_for "$(basename "$1") left alone on the clipboard" "$REST_TIME" clipboard_is "$1"
}

status_shows() { window_state && [ "$W_visible" = 1 ] && [ "$W_text" = "$1" ]; }
quit_question_shows() { status_shows "$QUIT_TEXT" && [ "$W_ok$W_cancel" = 11 ]; }

expect() {
  local what=$1 got=$2 want=$3
  [ "$got" = "$want" ] && return 0
  session_log "$what: got '$got', expected '$want'"
  return 1
}

screenshot_of() {
  screenshot "$screenshots/$1" || return 1
  echo "    screenshot: $screenshots/$1"
}

# --- the program --------------------------------------------------------------------------

# launch FILE: starts Quenlix.exe with FILE's bytes on the clipboard and waits for its window.
launch() {
  cliptool write "$1" || return 1
  quenlix_start "$EXE"
  wait_for "the status window of Quenlix.exe" "$SHOW_WAIT" x_shown
}

expect_exit_0() {
  quenlix_wait_exit "$END_WAIT" || return 1
  expect "exit code of Quenlix.exe" "$QUENLIX_EXIT" 0
}

close_program() {
  cliptool close || return 1
  expect_exit_0
}

copy() { cliptool write "$expected/$1"; }

wait_mode_text() {
  wait_for "the status text $2" "$POLL_WAIT" status_shows "$1" &&
    wait_for "the status window to hide after $2" "$HIDE_WAIT" x_hidden
}

ask_to_quit() {
  copy clip-end || return 1
  wait_for "the quit question with OK and cancel" "$POLL_WAIT" quit_question_shows
}

# --- scenarios ----------------------------------------------------------------------------

text neutral 'e2e'
text clip-0 'clip 0'
text clip-1 'clip 1'
text clip-end 'clip end'
text img01-03 'a://b/img01-03.jpg'
list img01-03.list a://b/img01.jpg a://b/img02.jpg a://b/img03.jpg
text img4-6 'a://b/img4-6.jpg'
list img4-6.list a://b/img4.jpg a://b/img5.jpg a://b/img6.jpg
text capped 'a://b/img1-999.jpg'  # 999 numbers, of which the list holds the first 500
list capped.list $(seq -f 'a://b/img%g.jpg' 1 500)

# The template's 212 x 39 dialog units size the client area, as the dialog manager makes it;
# the modal frame goes around it.
client_has_template_size() {
  local left top right bottom
  read -r left top right bottom <<<"$W_client"
  echo "    window $W_window, client $W_client, 212 x 39 dialog units = ${W_dialog#0 0 } px"
  expect "client size in pixels" "$((right - left)) $((bottom - top))" "${W_dialog#0 0 }"
}

window_centred_in_work_area() {
  local left top right bottom area_left area_top area_right area_bottom
  read -r left top right bottom <<<"$W_window"
  read -r area_left area_top area_right area_bottom <<<"$W_workarea"
  local dx=$(((left - area_left) - (area_right - right)))
  local dy=$(((top - area_top) - (area_bottom - bottom)))
  ((dx >= -CENTRE_SLACK_PX && dx <= CENTRE_SLACK_PX && dy >= -CENTRE_SLACK_PX &&
    dy <= CENTRE_SLACK_PX)) && return 0
  session_log "window $W_window is not centred in the work area $W_workarea"
  return 1
}

startup_text_shows_and_hides() {
  launch "$expected/neutral" || return 1
  local shown
  shown=$(now_ns)
  window_state || return 1
  expect "status window visible" "$W_visible" 1 &&
    expect "start-up text (code page 932 hex)" "$W_text" "$START_TEXT" &&
    expect "OK and cancel buttons shown" "$W_ok$W_cancel" 00 &&
    screenshot_of startup.png && client_has_template_size && window_centred_in_work_area &&
    wait_for "the status window to hide" "$HIDE_WAIT" x_hidden || return 1
  local span=$(($(now_ns) - shown))
  echo "    shown for about $((span / 100000000))00 ms"
  if ((span < SHOWN_MIN_NS || span > SHOWN_MAX_NS)); then
    session_log "the start-up text showed for $((span / 1000000)) ms, not about two seconds"
    return 1
  fi
  window_state && expect "status window visible" "$W_visible" 0 && close_program
}

address_at_start_is_expanded() {
  launch "$expected/img01-03" || return 1
  wait_clipboard "the list of img01-03 at the first poll" "$expected/img01-03.list" &&
    close_program
}

# expands NAME: copying the text NAME puts exactly the list NAME.list on the clipboard.
expands() {
  copy "$1" && wait_clipboard "the list of $1" "$expected/$1.list" && return 0
  session_log "row $1 failed: copied '$(iconv -f CP932 -t UTF-8 "$expected/$1")'"
  return 1
}

# row NAME COPIED LINE...: copying COPIED puts exactly these lines on the clipboard.
row() {
  local name=$1 copied=$2
  shift 2
  text "$name" "$copied"
  list "$name.list" "$@"
  expands "$name"
}

# The numbered lines are written with seq's printf-style formats: %03g pads to three digits.
list_rows_are_exact() {
  launch "$expected/neutral" || return 1
  row plain 'a://b/img1-3.jpg' a://b/img1.jpg a://b/img2.jpg a://b/img3.jpg &&
    row zero-padded 'a://b/img001-120.jpg' $(seq -f 'a://b/img%03g.jpg' 1 120) &&
    row letters 'a://b/a01-c03.jpg' $(for letter in a b c; do
      seq -f "a://b/$letter%02g.jpg" 1 3
    done) &&
    row volumes 'a://b/file.r00-s05' $(seq -f 'a://b/file.r%02g' 0 99) \
      $(seq -f 'a://b/file.s%02g' 0 5) a://b/file.rar &&
    row abbreviated 'a://b/img095-05.jpg' $(seq -f 'a://b/img%03g.jpg' 95 105) &&
    expands capped || return 1
  # Japanese around the address stays on every line: each line is the copied text with the
  # range replaced.
  row japanese '写真 a://b/img01-03.jpg の一覧' '写真 a://b/img01.jpg の一覧' \
    '写真 a://b/img02.jpg の一覧' '写真 a://b/img03.jpg の一覧' && close_program
}

xclip_is() {
  xclip -selection clipboard -o -t UTF8_STRING >"$work/xclipboard" 2>/dev/null &&
    cmp -s "$work/xclipboard" "$1"
}

copied_through_x() {
  launch "$expected/neutral" || return 1
  # X programs see UTF-8 with LF; the program sees code page 932 with CR LF.
  printf '画像 a://b/img1.jpg\n画像 a://b/img2.jpg\n画像 a://b/img3.jpg\n' >"$expected/x.utf8"
  list x.list '画像 a://b/img1.jpg' '画像 a://b/img2.jpg' '画像 a://b/img3.jpg'
  printf '画像 a://b/img1-3.jpg' | xclip -quiet -selection clipboard -t UTF8_STRING -i \
    >/dev/null 2>&1 &
  session_track $!
  wait_for "the list as UTF-8 through xclip" "$POLL_WAIT" xclip_is "$expected/x.utf8" || {
    session_log_bytes expected "$expected/x.utf8"
    session_log_bytes "through xclip" "$work/xclipboard"
    return 1
  }
  clipboard_is "$expected/x.list" || {
    session_log_bytes "CF_TEXT expected" "$expected/x.list"
    session_log_bytes "CF_TEXT" "$work/clipboard"
    return 1
  }
  close_program
}

two_ranges_reach_the_final_list() {
  launch "$expected/neutral" || return 1
  text two-ranges 'a://b/10-12/img01-03.jpg'
  list two-ranges.list a://b/10/img01.jpg a://b/11/img01.jpg a://b/12/img01.jpg
  copy two-ranges || return 1
  wait_clipboard "the final list of the two ranges" "$expected/two-ranges.list" &&
    stays_for "the final list stays" "$REST_TIME" clipboard_is "$expected/two-ranges.list" &&
    close_program
}

pause_and_resume() {
  launch "$expected/neutral" || return 1
  copy clip-0 && wait_mode_text "$PAUSE_TEXT" "of the paused mode" || return 1
  left_alone "$expected/img01-03" || return 1
  copy clip-1 && wait_mode_text "$EXPAND_TEXT" "of the expansion mode" || return 1
  copy img01-03 && wait_clipboard "the list after clip 1" "$expected/img01-03.list" &&
    close_program
}

quit_with_ok() {
  launch "$expected/neutral" || return 1
  ask_to_quit || return 1
  screenshot_of quit-question.png || return 1
  cliptool command "$IDC_OK" && expect_exit_0
}

quit_with_enter() {
  launch "$expected/neutral" || return 1
  ask_to_quit || return 1
  # The key goes to the active window; the dialog manager turns it into the default button.
  expect "status window active" "$W_foreground" 1 || return 1
  echo "    keyboard focus on control $W_focus"
  xdotool key Return && expect_exit_0
}

cancel_keeps_pause() {
  launch "$expected/neutral" || return 1
  copy clip-0 && wait_mode_text "$PAUSE_TEXT" "of the paused mode" || return 1
  ask_to_quit || return 1
  cliptool command "$IDCANCEL" || return 1
  wait_for "the status window to hide after cancel" "$HIDE_WAIT" x_hidden || return 1
  window_state && expect "OK and cancel buttons shown" "$W_ok$W_cancel" 00 || return 1
  left_alone "$expected/img01-03" && close_program
}

escape_keeps_expansion() {
  launch "$expected/neutral" || return 1
  ask_to_quit || return 1
  expect "status window active" "$W_foreground" 1 || return 1
  xdotool key Escape || return 1
  wait_for "the status window to hide after Esc" "$HIDE_WAIT" x_hidden || return 1
  window_state && expect "OK and cancel buttons shown" "$W_ok$W_cancel" 00 || return 1
  copy img01-03 && wait_clipboard "the list after Esc" "$expected/img01-03.list" &&
    close_program
}

close_message_ends_it() {
  launch "$expected/neutral" || return 1
  close_program
}

# write_shut_out NAME: the program reads the text of NAME, and when it goes to write, the helper
# holds the clipboard open. Between its read and its write the program runs for well under a
# millisecond, so it is made the least urgent process on the machine for this; should it still
# write first, the helper says so, and the try is repeated.
write_shut_out() {
  local attempt status
  renice -n 19 -p $(ls "/proc/$QUENLIX_PID/task") >/dev/null || return 1
  for attempt in 1 2 3 4 5; do
    cliptool write "$expected/$1" "$HOLD_MS" >"$work/hold"
    status=$?
    [ "$status" -ne "$CLIPTOOL_LATE" ] && break
    echo "    the program wrote before the hold began (try $attempt)"
  done
  expect "the helper's hold after the program's read" "$status $(cat "$work/hold")" "0 held"
}

held_clipboard_is_retried() {
  launch "$expected/neutral" || return 1
  write_shut_out capped || return 1
  wait_clipboard "the list written at the next poll" "$expected/capped.list" || return 1
  # While the quit question shows, the program does not read; the cancel makes the next tick
  # poll, inside a hold that began before it.
  ask_to_quit && copy img4-6 || return 1
  cliptool hold "$LONG_HOLD_MS" >"$work/hold" &
  local holder=$!
  session_track "$holder"
  wait_for "the helper to hold the clipboard" "$POLL_WAIT" grep -q held "$work/hold" || return 1
  cliptool command "$IDCANCEL" || return 1
  local cancelled
  cancelled=$(now_ns)
  wait "$holder" || return 1
  if (($(now_ns) - cancelled < HELD_AFTER_CANCEL_NS)); then
    session_log "the hold ended too soon after the cancel to span the next poll"
    return 1
  fi
  wait_clipboard "the list once the clipboard is free" "$expected/img4-6.list" && close_program
}

# --- run ----------------------------------------------------------------------------------

PASSED=0
FAILED=0

# scenario NAME FUNCTION: one line, PASS or FAIL, with the time it took.
scenario() {
  local name=$1 result=PASS
  [[ $2 =~ ${E2E_ONLY:-.} ]] || return 0
  local started tenths
  started=$(now_ns)
  if "$2"; then
    PASSED=$((PASSED + 1))
  else
    result=FAIL
    FAILED=$((FAILED + 1))
    quenlix_kill
  fi
  tenths=$((($(now_ns) - started) / 100000000))
  printf '%s  %-62s %3d.%d s\n' "$result" "$name" $((tenths / 10)) $((tenths % 10))
}

trap session_end EXIT
trap 'exit 130' INT TERM

suite_started=$(now_ns)
if ! session_start "$work"; then
  echo "e2e: the Wine session did not start (Xvfb's log: $work/xvfb.log)" >&2
  exit 1
fi
acp=$(cliptool acp)
if [ "$acp" != 932 ]; then
  echo "e2e: Wine's ANSI code page is '$acp', not 932: $SESSION_LOCALE did not take" >&2
  exit 1
fi
echo "e2e: Wine session on DISPLAY $DISPLAY, code page $acp, prefix $WINEPREFIX"

scenario "start-up text, centred, 212 x 39 DLU, hides after ~2 s" startup_text_shows_and_hides
scenario "an address on the clipboard at start expands at the first poll" \
  address_at_start_is_expanded
scenario "list rows: exact CF_TEXT bytes" list_rows_are_exact
scenario "a copy through xclip (UTF-8, LF) comes back expanded" copied_through_x
scenario "two ranges reach their final list, which stays" two_ranges_reach_the_final_list
scenario "clip 0 leaves an address alone, clip 1 expands it again" pause_and_resume
scenario "clip end, OK: exit code 0" quit_with_ok
scenario "clip end, Enter: exit code 0" quit_with_enter
scenario "clip end while paused, cancel: still paused" cancel_keeps_pause
scenario "clip end, Esc: still expanding" escape_keeps_expansion
scenario "WM_CLOSE: exit code 0" close_message_ends_it
scenario "a held clipboard: the failed write and read are retried" held_clipboard_is_retried

echo "$PASSED passed, $FAILED failed ($((($(now_ns) - suite_started) / 1000000000)) s)"
[ "$FAILED" -eq 0 ]
