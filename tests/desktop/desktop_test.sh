#!/usr/bin/env bash
# The desktop program in a real X server, driven as a user drives it: the
# titles a window manager shows, full-width digits typed into the size box,
# a window stored off every screen coming back, a border typed into its
# dialog, a line break typed with Ctrl+Enter, selected and cut, the settings
# stored when the program is killed.
# Usage: desktop_test.sh PATH/TO/glyphary VERSION
set -euo pipefail

app=$(realpath "$1")
title="Glyphary $2"
if [ -z "${GLYPHARY_IN_XVFB:-}" ]; then
  export GLYPHARY_IN_XVFB=1
  # -noreset: otherwise the server resets each time its last client leaves,
  # and a program connecting at that moment, while xdotool below comes and
  # goes, is refused.
  exec xvfb-run -a -s "-screen 0 1280x900x24 -noreset" "$0" "$app" "$2"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
# Qt keeps a few objects until exit; a sanitizer build is not to report them.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/../ui/lsan.supp"
unset WAYLAND_DISPLAY
ini="$work/glyphary.INI"
printf '[Window]\nLeft=3000\nTop=2000\n[Effect]\nOutlineColor=clRed\n' >"$ini"

# The first window of the program whose title is exactly $1. A first start
# in a fresh build may take its time (fontconfig caches the program's fonts,
# the other tests load the machine): up to a minute.
window_titled() {
  local id
  for _ in $(seq 600); do
    for id in $(xdotool search --pid "$pid" --onlyvisible --name '' 2>/dev/null); do
      if [ "$(xdotool getwindowname "$id")" = "$1" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

net_wm_name() {
  xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

"$app" --settings "$ini" 2>"$work/stderr" &
pid=$!

main=$(window_titled "$title") ||
  fail "no main window titled '$title'; the program said: $(cat "$work/stderr")"
[ "$(net_wm_name "$main")" = "$title" ] || fail "main title is '$(net_wm_name "$main")'"

# Stored at 3000,2000 on a 1280x900 screen: back at the default place.
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$X" -lt 1280 ] && [ "$Y" -lt 900 ] || fail "main window at $X,$Y, off the screen"

# Full-width digits as a Japanese input method types them, into the size box
# (two tabs from the text box). The caption on the clipboard, as another
# program reads it, is then what the command line makes of the same text and
# style.
"$(dirname "$app")/glyphary-cli" render "gyj Caption" "$work/expected.png" --size 60
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 0.3
xdotool type --delay 50 "gyj Caption"
xdotool key Tab Tab

# Copies the caption and waits for the picture on the clipboard.
copy_caption() {
  xclip -selection clipboard -i /dev/null
  xdotool key ctrl+shift+c
  for _ in $(seq 150); do
    xclip -selection clipboard -t image/png -o >"$work/clipboard.png" 2>/dev/null &&
      [ -s "$work/clipboard.png" ] && return 0
    sleep 0.2
  done
  fail "no image/png on the clipboard"
}

# Waits for the text $1 in the X selection $2.
selection_holds() {
  for _ in $(seq 50); do [ "$(xclip -selection "$2" -o 2>/dev/null)" = "$1" ] && return; sleep 0.1; done
  fail "the $2 selection is '$(xclip -selection "$2" -o 2>/dev/null)'"
}

# xdotool types a character outside the keyboard map by binding it to a
# spare key for a moment, which a loaded machine can read after the binding
# is gone: a lost digit is typed again, a wrong picture three times is not.
differing=""
for _ in 1 2 3; do
  xdotool key ctrl+a
  xdotool type --delay 200 "６０"
  copy_caption
  if differing=$(compare -metric AE "$work/clipboard.png" "$work/expected.png" null: 2>&1); then
    differing=""
    break
  fi
done
[ -z "$differing" ] || fail "the clipboard's picture differs from the caption: $differing"

# The dialogs' titles: the settings from the File menu, the batch dialog by
# its shortcut.
xdotool key alt+f c
settings=$(window_titled "設定") || fail "no settings dialog titled '設定'"
[ "$(net_wm_name "$settings")" = "設定" ] || fail "settings title is '$(net_wm_name "$settings")'"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key ctrl+m
batch=$(window_titled "大量生産") || fail "no batch dialog titled '大量生産'"
[ "$(net_wm_name "$batch")" = "大量生産" ] || fail "batch title is '$(net_wm_name "$batch")'"

# The border typed into the Edit menu's dialog, red from the settings file,
# reaches the copied caption.
"$(dirname "$app")/glyphary-cli" render "gyj Caption" "$work/expected.png" --size 60 \
  --outline 4,clRed
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
xdotool key alt+e o
effect=$(window_titled "縁取りと影") || fail "no border and shadow dialog titled '縁取りと影'"
xdotool windowactivate --sync "$effect" 2>/dev/null || xdotool windowfocus --sync "$effect"
xdotool key ctrl+a
xdotool type --delay 100 "4"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
copy_caption
differing=$(compare -metric AE "$work/clipboard.png" "$work/expected.png" null: 2>&1) ||
  fail "the caption with a border differs from the command line's: $differing"

# Ctrl+Enter types a line break into the text box (three tabs on from the
# size box): the copied caption has two lines, as the command line sets them.
"$(dirname "$app")/glyphary-cli" render $'gyj Caption\n2nd' "$work/expected.png" --size 60 \
  --outline 4,clRed
xdotool key Tab Tab Tab End ctrl+Return
xdotool type --delay 100 "2nd"
copy_caption
differing=$(compare -metric AE "$work/clipboard.png" "$work/expected.png" null: 2>&1) ||
  fail "the caption of two lines differs from the command line's: $differing"

# Selected by keys, then cut by Ctrl+U, the two lines reach other programs
# as two lines, not with the box's mark.
xdotool key Home shift+End
selection_holds $'gyj Caption\n2nd' primary
xdotool key ctrl+u
selection_holds $'gyj Caption\n2nd' clipboard

# Ended from outside, it stores what the user set.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/stderr")"
grep -q '^Size=60' "$ini" || fail "Size=60 not stored: $(cat "$ini")"
grep -q '^OutlineWidth=4' "$ini" || fail "OutlineWidth=4 not stored: $(cat "$ini")"
grep -q '^Left=200' "$ini" && grep -q '^Top=150' "$ini" || fail "position not stored: $(cat "$ini")"
echo "desktop test passed"
