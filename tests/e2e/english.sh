#!/usr/bin/env bash
# End to end in English on a virtual X display: the game started under an English locale with no
# language kept speaks English (its title), plays two turns by real drags, and still copies its record
# in Japanese; a screenshot of the whole window, menu bar and status bar included, is kept.
#
#   english.sh PROGRAM ASSETS_FOLDER ARTIFACT_FOLDER
#
# Exits 77 (skipped) when the display cannot be started or a tool is missing, saying why.
set -uo pipefail

program=$1
assets=$2
artifacts=$3
e2e_name="e2e english"
# shellcheck source=tests/e2e/display.sh
source "$(dirname "$0")/display.sh"
start_display 1024x768

prepare_game
# Only the program gets the English locale (it need not be installed: the toolkit reads the names).
(cd "$work/game" && exec env LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 LANGUAGE=en "$program") \
    >"$artifacts/program-english.log" 2>&1 &
game_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Mirutoa Shogi$' | head -n 1)
[ -n "$window" ] || fail "no window titled in English (program log: $artifacts/program-english.log)"
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 0.5
CY=$(client_top)
say "window ${WIDTH}x$HEIGHT at $X,$Y"

# The record on the clipboard once it holds move N, through the copy button.
record_with_move() {
    local kifu=""
    for _ in $(seq 1 40); do
        xdotool mousemove $((X + 448 + 92)) $((CY + 376 + 10))
        xdotool click 1
        sleep 0.3
        kifu=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
        grep -q "^ $1: " <<<"$kifu" && break
        sleep 0.2
    done
    printf '%s\n' "$kifu"
}

drag 76 75
record_with_move 2 >/dev/null
drag 27 26
kifu=$(record_with_move 4)
printf '%s\n' "$kifu" >"$artifacts/kifu-english.txt"
grep -q '^ 1: ▲先手: 　76→75　歩$' <<<"$kifu" || fail "the record is not Japanese (see $artifacts/kifu-english.txt)"
grep -q '^ 3: ▲先手: 　27→26　歩$' <<<"$kifu" || fail "the second drag played no turn"
grep -q '^ 4: △後手: ' <<<"$kifu" || fail "COM did not answer the second move"
say "two turns played, the record kept in Japanese"

xdotool mousemove $((X + 20)) $((CY + 400))
sleep 0.5
shot="$artifacts/e2e-english.png"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$shot" || fail "no screenshot"
say "screenshot $shot"
