# What the end-to-end scripts share, sourced after they set e2e_name: the tool check, a scratch folder
# ($work), a virtual X display (start_display WIDTHxHEIGHT), the client area's top on screen
# (client_top), squares, drags and clicks on the board, and the clean-up of the game ($game_pid) and the display on exit.
skip=77

say() { echo "$e2e_name: $*"; }
fail() {
    say "FAIL: $*"
    exit 1
}

for tool in Xvfb xdotool xclip import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        say "skipped: '$tool' is not installed (scripts/deps.sh lists the test packages)"
        exit $skip
    fi
done

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
stop_game() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
    game_pid=""
}
cleanup() {
    stop_game
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and reports its number.
start_display() {
    Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        say "skipped: Xvfb could not start a display within 10 s:"
        sed 's/^/    /' "$work/xvfb.log"
        exit $skip
    fi
    DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
    export DISPLAY
    say "virtual display $DISPLAY"
}

# The game's folder with the piece pictures, and scratch folders for the settings and the kept games.
# With a language ("ja"), the window speaks it whatever the machine's locale; without, it follows the
# locale.
prepare_game() {
    mkdir -p "$work/game" "$artifacts"
    cp "$assets"/*.bmp "$work/game/" || fail "no piece pictures in $assets"
    export XDG_CONFIG_HOME="$work/config"
    export XDG_DATA_HOME="$work/data"
    if [ -n "${1:-}" ]; then
        mkdir -p "$XDG_CONFIG_HOME/mirutoa"
        printf '[General]\nlanguage=%s\n' "$1" >"$XDG_CONFIG_HOME/mirutoa/mirutoa.conf"
    fi
}

# The screen row of the client area's top in the window at X, Y of height HEIGHT, drawn at S device
# pixels per layout pixel (1 when not given). The client area lies between the menu bar and the status
# bar; its top is found from the board's top grid line (client row 8): the first dark pixel down a
# column that the menu bar leaves empty and that crosses no vertical grid line.
client_top() {
    local s=${1:-1} first_dark
    first_dark=$(import -window root -crop "1x$HEIGHT+$((X + 400 * s))+$Y" +repage -depth 8 txt:- |
        sed -n 's/^0,\([0-9]*\): *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3 \4/p' |
        awk '$2 + $3 + $4 < 150 { print $1; exit }')
    echo $((Y + ${first_dark:-0} - 8 * s))
}

# The centre of a square on screen, at S device pixels per layout pixel (1 when unset): file 9 is the
# leftmost column, rank 1 the top row. X and CY are the window's left and the client area's top.
square_x() { echo $((X + (74 + (9 - $1 / 10) * 40 + 20) * ${S:-1})); }
square_y() { echo $((CY + (10 + ($1 % 10 - 1) * 40 + 20) * ${S:-1})); }

# A real mouse drag from one square to another, in small steps.
drag() {
    local fx fy tx ty i steps=10
    fx=$(square_x "$1") fy=$(square_y "$1") tx=$(square_x "$2") ty=$(square_y "$2")
    xdotool mousemove "$fx" "$fy"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    for i in $(seq 1 $steps); do
        xdotool mousemove $((fx + (tx - fx) * i / steps)) $((fy + (ty - fy) * i / steps))
        sleep 0.05
    done
    sleep 0.2
    xdotool mouseup 1
}

click_square() {
    xdotool mousemove "$(square_x "$1")" "$(square_y "$1")"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}
