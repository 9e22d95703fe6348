#!/usr/bin/env bash
# End to end on a virtual X display: start the game in a folder holding the piece pictures, drag the
# pawn 76 -> 75 with real mouse drags, wait for COM's reply, copy the record through its button and
# check it; play 27 -> 26 by two clicks, select the bishop and check in a screenshot that its
# destinations are marked and that the pieces are drawn; take the turn back with Ctrl+Z and check the
# record copied with Ctrl+C; check that a confirmation box reads exactly its caption and answers a
# stray Enter with No; make the window one and a half times as large and play one more turn there by
# a drag, kill the program outright and check that the game it kept holds every completed turn.
# The pieces knock as they land, and without a sound device the program says nothing about it.
#
#   drag_and_copy.sh PROGRAM ASSETS_FOLDER ARTIFACT_FOLDER CONSOLE_PROGRAM
#
# Exits 77 (skipped) when the display cannot be started or a tool is missing, saying why.
set -uo pipefail

program=$1
assets=$2
artifacts=$3
console=$4
e2e_name=e2e
# shellcheck source=tests/e2e/display.sh
source "$(dirname "$0")/display.sh"
start_display 1024x768

# Japanese whatever the machine's locale: the texts checked here are the window's Japanese ones.
prepare_game ja
(cd "$work/game" && exec "$program") >"$artifacts/program.log" 2>&1 &
game_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '創作将棋 ミルトア' | head -n 1)
[ -n "$window" ] || fail "the window did not appear (program log: $artifacts/program.log)"
eval "$(xdotool getwindowgeometry --shell "$window")"
say "window $window at $X,$Y size ${WIDTH}x$HEIGHT"
sleep 0.5
CY=$(client_top)
menu=$((CY - Y))
status=$((HEIGHT - 413 - menu))
# The move list stands beside the 673-pixel client area, 168 pixels wide with its margin.
if [ "$WIDTH" != 841 ] || [ "$menu" -lt 10 ] || [ "$menu" -gt 60 ] || [ "$status" -lt 10 ] || [ "$status" -gt 60 ]; then
    fail "window is ${WIDTH}x$HEIGHT with the client area's top $menu pixels down: not a 673x413 client area (and the move list) between a menu bar and a status bar"
fi
say "menu bar $menu pixels, status bar $status pixels"

click_client() {
    xdotool mousemove $((X + $1)) $((CY + $2))
    sleep 0.1
    xdotool click 1
}

# Ctrl+C and read the clipboard (LF line ends).
copy_with_keys() {
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key ctrl+c
    sleep 0.3
    timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r'
}

drag 76 75

# COM answers inside the drop; a click queued meanwhile is handled once it has. Copy until the record
# holds both moves.
kifu=""
for _ in $(seq 1 40); do
    click_client $((448 + 92)) $((376 + 10)) # 棋譜をクリップボードにコピー
    sleep 0.3
    kifu=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
    grep -q '^ 2: △後手:' <<<"$kifu" && break
    sleep 0.2
done
printf '%s\n' "$kifu" >"$artifacts/kifu.txt"

separator='--------------------------------'
mapfile -t lines <<<"$kifu"
[ "${#lines[@]}" -eq 19 ] || fail "the record has ${#lines[@]} lines, not 19 (see $artifacts/kifu.txt)"
[ "${lines[0]}" = "$separator" ] || fail "first line: '${lines[0]}'"
[ "${lines[1]}" = '　創作将棋 ミルトア' ] || fail "second line: '${lines[1]}'"
[[ "${lines[2]}" == '　棋譜作成日:'* ]] || fail "third line: '${lines[2]}'"
[ "${lines[4]}" = '　先手：あなた　後手：COM' ] || fail "fifth line: '${lines[4]}'"
[ "${lines[6]}" = '　香桂銀金王金銀桂香' ] || fail "diagram rank 1: '${lines[6]}'"
[ "${lines[16]}" = ' 1: ▲先手: 　76→75　歩' ] || fail "human move line: '${lines[16]}'"
[[ "${lines[17]}" =~ ^\ 2:\ △後手:\ 　[1-9][1-9]→[1-9][1-9]　com ]] || fail "COM move line: '${lines[17]}'"
[ "${lines[18]}" = "$separator" ] || fail "closing line: '${lines[18]}'"
say "record: ${lines[16]} / ${lines[17]}"

# Two clicks play a turn: the pawn 27 is selected, then put on 26.
click_square 27
click_square 26
for _ in $(seq 1 40); do
    kifu=$(copy_with_keys)
    grep -q '^ 4: △後手:' <<<"$kifu" && break
    sleep 0.2
done
printf '%s\n' "$kifu" >"$artifacts/kifu-clicks.txt"
mapfile -t lines <<<"$kifu"
[ "${lines[18]:-}" = ' 3: ▲先手: 　27→26　歩' ] || fail "the clicked move is not recorded (see $artifacts/kifu-clicks.txt)"
[ "${#lines[@]}" -eq 21 ] || fail "after two turns the record has ${#lines[@]} lines, not 21"
say "clicks: ${lines[18]} / ${lines[19]}"

# The bishop selected: its destinations carry dots.
click_square 77
xdotool mousemove $((X + 20)) $((CY + 400))

# The screenshot: kept as an artifact of the test.
sleep 0.5
shot="$artifacts/e2e-window.png"
import -window root -crop "673x413+$X+$CY" +repage "$shot" || fail "no screenshot"
say "screenshot $shot"

# Pixels of a box inside one square (away from its grid lines), as "R G B" lines.
square_pixels() {
    local left=$((74 + (9 - $1 / 10) * 40 + 8)) top=$((10 + ($1 % 10 - 1) * 40 + 8))
    convert "$shot" -crop "24x24+$left+$top" +repage -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p'
}
# The destination dot is green, which neither the wood nor a piece is.
dot() { square_pixels "$1" | awk '$2 > $1 + 40 && $2 > $3 + 20' | wc -l; }
for sq in 86 95 88 68; do
    [ "$(dot $sq)" -ge 30 ] || fail "no destination dot on $sq (green pixels: $(dot $sq))"
done
[ "$(dot 55)" -eq 0 ] || fail "a dot on 55, which the bishop cannot reach"
say "pixels: the bishop's four destinations are dotted"

# An empty square in the middle of the board shows the wood (242/189/123 with its grain).
wood=$(square_pixels 55 | awk '$1 >= 225 && $1 <= 255 && $2 >= 172 && $2 <= 206 && $3 >= 100 && $3 <= 146' | wc -l)
[ "$wood" -ge 550 ] || fail "square 55 shows only $wood of 576 wood-coloured pixels"
# The pawn on 75 shows its dark name on a pale face; the square it left shows none.
ink() { square_pixels "$1" | awk '$1 + $2 + $3 < 240' | wc -l; }
pale() { square_pixels "$1" | awk '$1 >= 240 && $2 >= 205 && $3 >= 140' | wc -l; }
[ "$(ink 75)" -ge 20 ] || fail "no piece drawn on 75 (ink pixels: $(ink 75))"
[ "$(pale 75)" -ge 40 ] || fail "no pale piece face on 75 (pixels: $(pale 75))"
[ "$(ink 76)" -eq 0 ] || fail "square 76 is not empty after the move"
say "pixels: wood on 55, a piece on 75, 76 empty"

# Ctrl+Z takes the clicked turn back (the menu's 待った); the record copied afterwards ends at move 2.
click_square 77
xdotool windowfocus "$window" 2>/dev/null
xdotool key ctrl+z
sleep 0.5
kifu=$(copy_with_keys)
printf '%s\n' "$kifu" >"$artifacts/kifu-matta.txt"
mapfile -t lines <<<"$kifu"
[ "${#lines[@]}" -eq 19 ] || fail "after Ctrl+Z the record has ${#lines[@]} lines, not 19 (see $artifacts/kifu-matta.txt)"
[ "${lines[16]}" = ' 1: ▲先手: 　76→75　歩' ] || fail "after Ctrl+Z: '${lines[16]}'"
[ "${lines[18]}" = "$separator" ] || fail "after Ctrl+Z the record goes on: '${lines[18]}'"
say "Ctrl+Z took the turn back; Ctrl+C copied the record of move 1 and 2"

# A confirmation box reads exactly its caption; No leaves the game as it was.
click_client $((448 + 40)) $((56 + 10)) # 平手で初期化
box=$(timeout 10 xdotool search --sync --name '^確認$' | head -n 1)
[ -n "$box" ] || fail "no box captioned exactly 確認 (titles: $(xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | tr '\n' '|'))"
xdotool windowfocus "$box" 2>/dev/null
xdotool key --window "$box" Escape
sleep 0.5
kifu=$(copy_with_keys)
mapfile -t lines <<<"$kifu"
[ "${#lines[@]}" -eq 19 ] || fail "No in the box changed the record"
say "the box reads 確認"
# Its default button is No: a stray Enter starts no new game.
click_client $((448 + 40)) $((56 + 10))
box=$(timeout 10 xdotool search --sync --name '^確認$' | head -n 1)
[ -n "$box" ] || fail "the box did not come again"
xdotool windowfocus "$box" 2>/dev/null
xdotool key --window "$box" Return
sleep 0.5
kifu=$(copy_with_keys)
mapfile -t lines <<<"$kifu"
[ "${#lines[@]}" -eq 19 ] || fail "Enter in the box changed the record"
say "Enter in the box answers No"

kill -0 "$game_pid" 2>/dev/null || fail "the program has ended"
# The pieces knocked as they landed; a display without a sound device is no reason for a word.
! grep -Eiq 'audio|pulse|sound' "$artifacts/program.log" ||
    fail "the program spoke of sound without a sound device: $(grep -Ei 'audio|pulse|sound' "$artifacts/program.log")"

# The window made one and a half times as large: the layout fills it, and a drag at that scale plays
# one more turn. Then the program is killed outright: the game it kept holds all four moves.
xdotool windowmove "$window" 0 0
xdotool windowsize "$window" 1262 $((HEIGHT - 413 + 620))
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
CY=$(client_top)
import -window root -crop "1262x620+$X+$CY" +repage "$artifacts/e2e-resized.png" || fail "no screenshot"
S=3/2 drag 27 26
for _ in $(seq 1 40); do
    kifu=$(copy_with_keys)
    grep -q '^ 4: △後手:' <<<"$kifu" && break
    sleep 0.2
done
grep -q '^ 4: △後手:' <<<"$kifu" || fail "the second turn was not played"
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""
mapfile -t kept < <(find "$XDG_DATA_HOME" -name '*.kifu')
[ "${#kept[@]}" -eq 1 ] || fail "${#kept[@]} kept records under the data folder, not 1: ${kept[*]}"
cp "${kept[0]}" "$artifacts/kept.kifu"
opened=$(printf 'open %s\nquit\n' "${kept[0]}" | "$console")
[ "$opened" = "ok 4" ] || fail "the kept record opens as '$opened', not 'ok 4' (see $artifacts/kept.kifu)"
grep -q '^   3 ２六歩(27)' "${kept[0]}" || fail "the kept record lacks move 3 (see $artifacts/kept.kifu)"
say "killed after a turn: the kept record ${kept[0]##*/} opens with all 4 moves"

# Started again, the program offers to go on with the unfinished game; Return takes the default はい.
# The next turn gets the reply the console gives when it plays on from the kept record, and the same
# file goes on being kept.
expected=$(printf 'open %s\ngoto 4\nplayon\nmove 2625\nquit\n' "${kept[0]}" | "$console" | grep '^com 6 ')
(cd "$work/game" && exec "$program") >>"$artifacts/program.log" 2>&1 &
game_pid=$!
box=$(timeout 20 xdotool search --sync --name '^確認$' | head -n 1)
[ -n "$box" ] || fail "no box offers to go on with the game after the restart"
xdotool windowfocus "$box" 2>/dev/null
xdotool key --window "$box" Return
sleep 0.5
window=$(timeout 20 xdotool search --sync --onlyvisible --name '創作将棋 ミルトア' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
CY=$(client_top)
drag 26 25
for _ in $(seq 1 40); do
    kifu=$(copy_with_keys)
    grep -q '^ 6: △後手:' <<<"$kifu" && break
    sleep 0.2
done
printf '%s\n' "$kifu" >"$artifacts/kifu-resumed.txt"
grep -q '^ 4: △後手:' <<<"$kifu" || fail "the resumed game lacks the moves before the restart (see $artifacts/kifu-resumed.txt)"
grep -q '^ 6: △後手:' <<<"$kifu" || fail "no turn was played on after the restart (see $artifacts/kifu-resumed.txt)"
window_reply=$(grep '^ 6: △後手:' <<<"$kifu" | sed 's/.*: 　\([1-9]\)\([1-9]\)→\([1-9]\)\([1-9]\).*/\1\2\3\4/')
[ "${expected:6:4}" = "$window_reply" ] || fail "COM replied $window_reply after the restart; playing on in the console gives '$expected'"
mapfile -t kept < <(find "$XDG_DATA_HOME" -name '*.kifu')
[ "${#kept[@]}" -eq 1 ] || fail "the resumed game was kept in a new file: ${kept[*]}"
grep -q '^   5 ２五歩(26)' "${kept[0]}" || fail "the kept record lacks the move played after the restart"
say "restarted, answered はい, played on: COM replied $window_reply as the console does"
say "passed"
