#!/usr/bin/env bash
# End to end on a virtual X display of two device pixels per pixel (QT_SCALE_FACTOR=2): the pieces on
# the board hold as many sharp edges as the picture tool's drawing at double size (a bitmap blown up
# holds far fewer), a real mouse drag and two clicks play turns; then the window at 200 % zoom on a
# display of one device pixel per pixel, whose screenshot is kept.
#
#   zoomed.sh PROGRAM DRAW_PICTURES ASSETS_FOLDER ARTIFACT_FOLDER
#
# Exits 77 (skipped) when the display cannot be started or a tool is missing, saying why.
set -uo pipefail

program=$1
draw=$2
assets=$3
artifacts=$4
e2e_name="e2e zoomed"
# shellcheck source=tests/e2e/display.sh
source "$(dirname "$0")/display.sh"
start_display 1600x1200

# Japanese whatever the machine's locale: the window's title is looked for by its Japanese.
prepare_game ja

# Starts the game with the given environment and waits for its window; sets X, Y, WIDTH, HEIGHT, CY
# (the client area's top) and S (device pixels per layout pixel).
start_game() {
    S=$1
    shift
    (cd "$work/game" && exec env "$@" "$program") >>"$artifacts/program-zoomed.log" 2>&1 &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '創作将棋 ミルトア' | head -n 1)
    [ -n "$window" ] || fail "the window did not appear (program log: $artifacts/program-zoomed.log)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 0.5
    CY=$(client_top "$S")
    local menu=$((CY - Y))
    say "window ${WIDTH}x$HEIGHT at $X,$Y, client area from row $CY"
    if [ "$WIDTH" != $((${CLIENT_WIDTH:-841} * S)) ] || [ "$menu" -lt 10 ] || [ "$menu" -gt 120 ] ||
        [ $((HEIGHT - menu)) -lt $((413 * S)) ]; then
        fail "window is ${WIDTH}x$HEIGHT, not a $((673 * S))x$((413 * S)) client area and the move list under a menu bar"
    fi
}

# Copies the record with Ctrl+C until it holds move N.
record_with_move() {
    local kifu=""
    for _ in $(seq 1 40); do
        xdotool windowfocus "$window" 2>/dev/null
        xdotool key ctrl+c
        sleep 0.3
        kifu=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
        grep -q "^ *$1: " <<<"$kifu" && break
        sleep 0.2
    done
    printf '%s\n' "$kifu"
}

# Pixels whose right or lower neighbour differs by more than a quarter of the grey scale: the edges of
# the strokes and the outline, not the wood's grain.
edges() {
    convert "$1" -background 'rgb(242,189,123)' -flatten -colorspace gray -depth 8 txt:- |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9.]*\).*/\1 \2 \3/p' |
        awk '{ v[$1 "," $2] = $3; if ($1 > w) w = $1; if ($2 > h) h = $2 }
             END {
                 for (y = 0; y < h; y++)
                     for (x = 0; x < w; x++) {
                         d = v[x "," y] - v[(x + 1) "," y]; e = v[x "," y] - v[x "," (y + 1)]
                         if (d > 64 || d < -64 || e > 64 || e < -64) n++
                     }
                 print n + 0
             }'
}

# --- Two device pixels per pixel, zoom 100 %.
start_game 2 QT_SCALE_FACTOR=2
shot="$artifacts/e2e-ratio2.png"
import -window root -crop "$((673 * S))x$((413 * S))+$X+$CY" +repage "$shot" || fail "no screenshot"

QT_QPA_PLATFORM=offscreen "$draw" --scale 2 "$work/drawn" >/dev/null || fail "the picture tool failed"
for piece in 王:59 飛:28 com角:33; do
    name=${piece%%:*} sq=${piece##*:}
    left=$(((74 + (9 - sq / 10) * 40) * S)) top=$(((10 + (sq % 10 - 1) * 40) * S))
    convert "$shot" -crop "76x76+$left+$top" +repage "$work/shown.png"
    convert "$assets/$name.bmp" -filter Triangle -resize 200% "$work/blown-up.png"
    shown=$(edges "$work/shown.png") drawn=$(edges "$work/drawn/$name@2x.png") blown=$(edges "$work/blown-up.png")
    say "$name on $sq: $shown edge pixels shown, $drawn drawn at double size, $blown in the bitmap blown up"
    [ "$drawn" -ge 100 ] || fail "the picture tool's $name@2x.png has only $drawn edge pixels"
    [ $((shown * 100)) -ge $((drawn * 90)) ] || fail "$name on $sq is soft: $shown edge pixels, not about $drawn"
    [ $((shown * 100)) -ge $((blown * 125)) ] || fail "$name on $sq is no sharper than a blown-up bitmap"
done

drag 76 75
kifu=$(record_with_move 2)
printf '%s\n' "$kifu" >"$artifacts/kifu-ratio2.txt"
grep -q '^ 1: ▲先手: 　76→75　歩$' <<<"$kifu" || fail "the drag played no turn (see $artifacts/kifu-ratio2.txt)"
click_square 27
click_square 26
kifu=$(record_with_move 4)
printf '%s\n' "$kifu" >"$artifacts/kifu-ratio2.txt"
grep -q '^ 3: ▲先手: 　27→26　歩$' <<<"$kifu" || fail "the clicks played no turn (see $artifacts/kifu-ratio2.txt)"
grep -q '^ 4: △後手: ' <<<"$kifu" || fail "COM did not answer the clicked move"
say "a drag and two clicks played turns"
stop_game

# --- One device pixel per pixel, zoom 200 % kept from an earlier run.
mkdir -p "$XDG_CONFIG_HOME/mirutoa"
# The move list is hidden, so that the window at 200 % fits the display.
printf '[General]\nlanguage=ja\n[view]\nzoom=200\nkifuList=false\n' >"$XDG_CONFIG_HOME/mirutoa/mirutoa.conf"
CLIENT_WIDTH=673
start_game 2
click_square 77
xdotool mousemove $((X + 20)) $((CY + 400 * S))
sleep 0.5
# The whole window, menu bar included: the README's picture.
shot="$artifacts/e2e-zoom200.png"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$shot" || fail "no screenshot"
left=$(((74 + 4 * 40) * S)) top=$((CY - Y + (10 + 8 * 40) * S))
convert "$shot" -crop "76x76+$left+$top" +repage "$work/shown.png"
shown=$(edges "$work/shown.png") drawn=$(edges "$work/drawn/王@2x.png")
[ $((shown * 100)) -ge $((drawn * 90)) ] || fail "the king at 200 % is soft: $shown edge pixels, not about $drawn"
say "200 %: the king shows $shown edge pixels ($drawn drawn); screenshot $shot"

kill -0 "$game_pid" 2>/dev/null || fail "the program has ended"
say "passed"
