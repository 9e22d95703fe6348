#!/usr/bin/env bash
# The knock heard, end to end: a private sound server with one null sink, whose monitor is recorded
# while the game on a virtual X display plays seven turns by real drags, resigns, and steps ten moves
# through the replay with the arrow keys. Every piece that landed must be heard as one knock: the
# onsets in the recording are counted against the landings (the moves of the kept record and the
# replay steps). A second run with MIRUTOA_MUTE=1 plays a turn and must stay silent.
#
#   knock.sh PROGRAM ASSETS_FOLDER ARTIFACT_FOLDER
#
# Exits 77 (skipped) when the display or the sound server cannot be started or a tool is missing,
# saying why.
set -uo pipefail

program=$1
assets=$2
artifacts=$3
e2e_name="e2e knock"
# shellcheck source=tests/e2e/display.sh
source "$(dirname "$0")/display.sh"

for tool in pulseaudio pactl parec od awk; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        say "skipped: '$tool' is not installed (scripts/deps.sh lists the test packages)"
        exit $skip
    fi
done

# The recording: 16-bit mono at the knock's own rate, so that nothing is resampled on the way.
rate=22050
pulse_pid=""
record_pid=""
stop_sound() {
    [ -n "$record_pid" ] && kill "$record_pid" 2>/dev/null && wait "$record_pid" 2>/dev/null
    record_pid=""
    [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
    pulse_pid=""
}
trap 'stop_sound; cleanup' EXIT

# A sound server of the test's own, reached only through its socket in the scratch folder: it never
# meets the user's, and it keeps its settings in a home of its own.
start_sound_server() {
    mkdir -p "$artifacts"
    mkdir -p "$work/pulse" "$work/pulse-home"
    chmod 700 "$work/pulse"
    HOME="$work/pulse-home" XDG_CONFIG_HOME="$work/pulse-home" XDG_RUNTIME_DIR="$work/pulse" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no -F /dev/null \
        --load="module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
        --load="module-null-sink sink_name=board rate=$rate channels=1" \
        >"$artifacts/pulseaudio.log" 2>&1 &
    pulse_pid=$!
    export PULSE_SERVER="unix:$work/pulse/native"
    for _ in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && break
        kill -0 "$pulse_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! pactl info >/dev/null 2>&1; then
        say "skipped: the sound server could not start within 10 s:"
        sed 's/^/    /' "$artifacts/pulseaudio.log"
        exit $skip
    fi
    say "sound server at $PULSE_SERVER"
}

# Records the sink's monitor into FILE until stop_recording.
start_recording() {
    parec -d board.monitor --format=s16le --rate=$rate --channels=1 --latency-msec=20 >"$1" \
        2>"$artifacts/parec.log" &
    record_pid=$!
    sleep 0.5
}
stop_recording() {
    sleep 1
    kill "$record_pid" 2>/dev/null
    wait "$record_pid" 2>/dev/null
    record_pid=""
}

# The knocks in a raw recording: the peak of every 2 ms is loud (above a seventh of the knock's own
# peak) after at least 40 ms of quiet. A knock lasts 60 ms and the next comes 150 ms after it at the
# soonest, so two knocks are never taken for one, nor one for two.
count_knocks() {
    od -An -v -t d2 -w2 "$1" | awk -v window=$((rate / 500)) -v quiet_windows=20 '
        { a = $1 < 0 ? -$1 : $1; if (a > peak) peak = a; if (++n < window) next
          if (peak >= 3000) { if (quiet >= quiet_windows) knocks++; quiet = 0 } else quiet++
          n = 0; peak = 0 }
        BEGIN { quiet = 1000 }
        END { print knocks + 0 }'
}

# The moves of the game kept in the data folder.
kept_moves() {
    local kept
    kept=$(find "$XDG_DATA_HOME" -name '*.kifu' -newer "$work/started" 2>/dev/null | head -n 1)
    [ -n "$kept" ] || {
        echo 0
        return
    }
    grep -cE '^ *[0-9]+ .*\([1-9][1-9]\)' "$kept"
}

wait_for_moves() {
    for _ in $(seq 1 100); do
        [ "$(kept_moves)" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "the game did not reach move $1 (kept: $(kept_moves))"
}

start_game() {
    touch "$work/started"
    sleep 1
    (cd "$work/game" && exec env "$@" "$program") >>"$artifacts/program-knock.log" 2>&1 &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '創作将棋 ミルトア' | head -n 1)
    [ -n "$window" ] || fail "the window did not appear (program log: $artifacts/program-knock.log)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    sleep 0.5
    CY=$(client_top)
}

# Answers the box captioned 確認 with はい (Alt+Y; No is its default).
answer_yes() {
    local box
    box=$(timeout 10 xdotool search --sync --name '^確認$' | head -n 1)
    [ -n "$box" ] || fail "no box asked: $1"
    xdotool windowfocus "$box" 2>/dev/null
    sleep 0.3
    xdotool key --window "$box" alt+y
    sleep 0.5
}

start_sound_server
start_display 1024x768
prepare_game ja

# Seven pawns pushed one square each: every one of them a legal move whatever COM replies in this
# game, whose replies are the same on every run.
start_recording "$work/knocks.raw"
start_game
landed=0
moves=0
for move in "17 16" "97 96" "27 26" "87 86" "57 56" "47 46" "37 36"; do
    # shellcheck disable=SC2086
    drag $move
    moves=$((moves + 2))
    wait_for_moves $moves
done
landed=$moves
say "seven turns played: $landed pieces landed"
sleep 1

# Resigned through the game menu (its fifth item that can be chosen), then ten steps through the replay: Home goes back
# to the start without a sound, each → lands one piece. A pause first, longer than the knock's stream
# stays open unused, so that the replay's first knock comes on a stream started again.
xdotool windowfocus "$window" 2>/dev/null
sleep 3
xdotool key --window "$window" alt+g
sleep 0.5
xdotool key --window "$window" Down Down Down Down Return
answer_yes "投了しますか？"
kept=$(find "$XDG_DATA_HOME" -name '*.kifu' -newer "$work/started" | head -n 1)
for _ in $(seq 1 50); do
    grep -q '投了' "$kept" && break
    sleep 0.1
done
grep -q '投了' "$kept" || fail "the game was not resigned through the menu (see $kept)"
xdotool windowfocus "$window" 2>/dev/null
xdotool key --window "$window" Home
sleep 0.5
# Each step that lands a piece changes the board: the steps are counted on the screen, so that a key
# the display lost is not taken for a knock the program lost.
board_picture() { import -window root -crop "362x362+$((X + 72))+$((CY + 8))" +repage rgb:- | md5sum; }
steps=0
shown=$(board_picture)
for _ in $(seq 1 10); do
    xdotool key --window "$window" Right
    sleep 0.4
    now=$(board_picture)
    [ "$now" != "$shown" ] && steps=$((steps + 1))
    shown=$now
done
[ "$steps" -ge 5 ] || fail "only $steps of 10 replay steps were taken"
landed=$((landed + steps))
say "$steps replay steps taken"
stop_recording
stop_game
cp "$work/knocks.raw" "$artifacts/knocks.raw"
heard=$(count_knocks "$work/knocks.raw")
say "$landed pieces landed, $heard knocks heard (recording: $artifacts/knocks.raw, $rate Hz s16le mono)"
[ "$heard" -eq "$landed" ] || fail "$heard knocks heard for $landed landed pieces"

# Muted: a turn lands two pieces and the sink hears nothing.
start_recording "$work/muted.raw"
start_game MIRUTOA_MUTE=1
drag 17 16
wait_for_moves 2
stop_recording
stop_game
heard=$(count_knocks "$work/muted.raw")
[ "$heard" -eq 0 ] || fail "MIRUTOA_MUTE=1: $heard knocks heard"
say "MIRUTOA_MUTE=1: a turn played, nothing heard"
say "passed"
