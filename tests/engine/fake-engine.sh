#!/bin/sh
# A stand-in for the variant engine: it speaks the engine's protocol well enough for the game's client and
# misbehaves as MIRUTOA_FAKE_ENGINE says (the first argument, when given, instead):
#
#   good        answers every search: its best line is the first pawn push of the side to move (score
#               +57), its second line the next pawn push (+20). Asked to search only some moves, it gives
#               the first of them +57 and every other 57 less MIRUTOA_FAKE_DROP (0 when unset).
#   exit        exits before reading anything
#   crash       is killed by a signal when asked to search
#   half        as good while the first side is to move, as none while the second is
#   crash-once  as crash the first time (it leaves the file MIRUTOA_FAKE_MARK), then as good
#   silent      says nothing once asked to search, ignores stop and quit, outlives the end of its input
#   garbage     answers a search with junk and malformed lines, then a legal move without any line
#   long        answers a search with a line of 3 MB, then a legal move
#   illegal     its best line and move are its own lance jumping over its own pawn
#   wrong-side  its best line and move are the other side's pawn push
#   none        answers "bestmove (none)"
#   resign      answers "bestmove resign"
#   flood       answers a search with an endless stream of lines and never ends it
#   novariant   never confirms the variant it is given
#
# With MIRUTOA_FAKE_LOG set it appends every "position fen" line it is sent to that file.
#
# The moves are found in the position alone (the first pawn, file a to i, that can step forward without
# entering the last three ranks), so any position the tests reach early in a game has them.
mode=${1:-${MIRUTOA_FAKE_ENGINE:-good}}
drop=${MIRUTOA_FAKE_DROP:-0}
[ "$mode" = exit ] && exit 3

start='lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w - - 0 1'
fen=$start
variant=mirutoa

say() {
    printf '%s\n' "$*"
}

# The position a "position fen" line gives: its FEN with the moves after "moves" played on it, as a FEN
# of its own (board and side to move).
played_out() {
    printf '%s\n' "$1" | awk '
    {
        n = split($1, rows, "/")
        for (i = 1; i <= n; i++) {
            rank = 10 - i; file = 1; promoted = ""
            for (j = 1; j <= length(rows[i]); j++) {
                c = substr(rows[i], j, 1)
                if (c ~ /[0-9]/) {
                    for (k = 0; k < c + 0; k++) cell[file++, rank] = "."
                } else if (c == "+") {
                    promoted = "+"
                } else {
                    cell[file++, rank] = promoted c; promoted = ""
                }
            }
        }
        side = $2
        for (f = 3; f <= NF && $f != "moves"; f++) continue
        for (f++; f <= NF; f++) {
            from = index("abcdefghi", substr($f, 1, 1)) SUBSEP substr($f, 2, 1)
            to = index("abcdefghi", substr($f, 3, 1)) SUBSEP substr($f, 4, 1)
            cell[to] = (substr($f, 5, 1) == "+" ? "+" : "") cell[from]
            cell[from] = "."
            side = side == "w" ? "b" : "w"
        }
        out = ""
        for (rank = 9; rank >= 1; rank--) {
            empty = 0
            for (file = 1; file <= 9; file++) {
                if (cell[file, rank] == ".") { empty++; continue }
                if (empty) { out = out empty; empty = 0 }
                out = out cell[file, rank]
            }
            if (empty) out = out empty
            if (rank > 1) out = out "/"
        }
        print out " " side " - - 0 1"
    }'
}

# The nth pawn push of a side (w or b) in the position: "a3a4".
push() {
    printf '%s\n' "$fen" | awk -v side="$1" -v nth="$2" '
    {
        n = split($1, rows, "/")
        for (i = 1; i <= n; i++) {
            rank = 10 - i; file = 1; promoted = ""
            for (j = 1; j <= length(rows[i]); j++) {
                c = substr(rows[i], j, 1)
                if (c ~ /[0-9]/) {
                    for (k = 0; k < c + 0; k++) cell[file++, rank] = "."
                } else if (c == "+") {
                    promoted = "+"
                } else {
                    cell[file++, rank] = promoted c; promoted = ""
                }
            }
        }
        pawn = side == "w" ? "P" : "p"; step = side == "w" ? 1 : -1
        found = 0
        for (file = 1; file <= 9; file++)
            for (rank = 1; rank <= 9; rank++) {
                to = rank + step
                if (cell[file, rank] != pawn || to < 4 || to > 6 || cell[file, to] != ".") continue
                if (++found == nth) {
                    f = substr("abcdefghi", file, 1)
                    print f rank f to
                    exit
                }
            }
    }'
}

side() {
    set -- $fen
    printf '%s\n' "$2"
}

other() {
    [ "$(side)" = w ] && echo b || echo w
}

# The answer of a good engine to the search command $1.
good() {
    us=$(side)
    # The moves after "searchmoves", if any.
    only=${1#*searchmoves}
    [ "$only" = "$1" ] && only=
    if [ -n "$only" ]; then
        n=0
        for m in $only; do
            n=$((n + 1))
            score=$((57 - drop))
            [ $n = 1 ] && score=57
            say "info depth 1 multipv $n score cp $score nodes 1 pv $m"
        done
        set -- $only
        say "bestmove $1"
        return
    fi
    best=$(push "$us" 1)
    second=$(push "$us" 2)
    if [ -z "$best" ]; then
        say "bestmove (none)"
        return
    fi
    say "info depth 1 multipv 1 score cp 57 nodes 1 pv $best"
    [ -n "$second" ] && say "info depth 1 multipv 2 score cp 20 nodes 1 pv $second"
    say "bestmove $best"
}

go() {
    us=$(side)
    case $mode in
    good | crash-once)
        good "$1"
        ;;
    half)
        if [ "$us" = w ]; then good "$1"; else say "bestmove (none)"; fi
        ;;
    crash)
        kill -KILL $$
        ;;
    silent)
        hung=1
        ;;
    garbage)
        best=$(push "$us" 1)
        say "info depth x score cp"
        say "info depth 1 multipv 0 score cp 900 pv $best"
        say "info depth 1 multipv 99999999999 score cp 900 pv $best"
        say "info depth 1 multipv 40 score cp 900 pv $best"
        say "info score cp 12x pv zz9"
        say "bestmove"
        say "bestmove z9z9"
        printf '\001\377\376 \000 info\r\n'
        say "bestmove $best"
        ;;
    long)
        head -c 3145728 /dev/zero | tr '\000' x
        say ""
        say "bestmove $(push "$us" 1)"
        ;;
    illegal)
        lance=a1a5
        [ "$us" = b ] && lance=a9a5
        say "info depth 1 multipv 1 score cp 500 nodes 1 pv $lance"
        say "bestmove $lance"
        ;;
    wrong-side)
        theirs=$(push "$(other)" 1)
        say "info depth 1 multipv 1 score cp 500 nodes 1 pv $theirs"
        say "bestmove $theirs"
        ;;
    none)
        say "bestmove (none)"
        ;;
    resign)
        say "bestmove resign"
        ;;
    flood)
        line="info depth 1 multipv 1 score cp 1 nodes 1 pv $(push "$us" 1)"
        while :; do say "$line"; done
        ;;
    esac
}

if [ "$mode" = crash-once ] && [ ! -e "${MIRUTOA_FAKE_MARK:?crash-once needs MIRUTOA_FAKE_MARK}" ]; then
    : >"$MIRUTOA_FAKE_MARK"
    mode=crash
fi

hung=
while IFS= read -r line; do
    [ -n "$hung" ] && continue
    case $line in
    uci)
        say "id name Fake Engine ($mode)"
        say "option name VariantPath type string default <empty>"
        say "option name UCI_Variant type combo default mirutoa var mirutoa var mirutoa-handicap"
        say "uciok"
        ;;
    "setoption name UCI_Variant value "*)
        variant=${line#setoption name UCI_Variant value }
        [ "$mode" != novariant ] && say "info string variant $variant files 9 ranks 9 pocket 0"
        ;;
    isready) say "readyok" ;;
    "position startpos"*) fen=$start ;;
    "position fen "*)
        [ -n "${MIRUTOA_FAKE_LOG:-}" ] && printf '%s\n' "$line" >>"$MIRUTOA_FAKE_LOG"
        fen=$(played_out "${line#position fen }")
        ;;
    go*) go "$line" ;;
    quit) exit 0 ;;
    esac
done
# An engine that hangs does not end with its input either.
[ -n "$hung" ] && exec sleep 600
exit 0
