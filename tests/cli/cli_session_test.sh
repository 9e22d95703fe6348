#!/usr/bin/env bash
# Scripted sessions through mirutoa-cli: exact answers where they are fixed, patterns where they
# depend on COM's choices or the clock. Usage: cli_session_test.sh PATH-TO-mirutoa-cli
set -u
CLI=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILS=0

fail() {
    echo "FAIL: $1" >&2
    FAILS=$((FAILS + 1))
}
# same NAME EXPECTED ACTUAL
same() {
    if [[ "$2" != "$3" ]]; then
        fail "$1"
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") >&2
    fi
}
# matches NAME REGEX TEXT (the whole text, line by line)
matches() {
    local line n=0
    while IFS= read -r line; do
        n=$((n + 1))
        [[ "$line" =~ $2 ]] || fail "$1: line $n \"$line\" does not match /$2/"
    done <<<"$3"
}
run() { "$CLI" "$@" 2>"$WORK/stderr"; }

START_BOARD='com香 com桂 com銀 com金 com王 com金 com銀 com桂 com香
・ com飛 ・ ・ ・ ・ ・ ・ ・
com歩 com歩 com歩 com歩 com歩 ・ com角 com歩 com歩
・ ・ ・ ・ ・ com歩 com歩 ・ ・
・ ・ ・ ・ ・ ・ ・ ・ ・
・ ・ 歩 歩 ・ ・ ・ ・ ・
歩 歩 角 ・ 歩 歩 歩 歩 歩
・ ・ ・ ・ ・ ・ ・ 飛 ・
香 桂 銀 金 王 金 銀 桂 香'
START_LEGAL='1918 3948 3938 4958 4948 4938 5968 5958 5948 6978 6968 6958 7988 7978 7968 9998 7786 7795 7788 7768 2838 2848 2858 2868 2878 2888 2898 2818 1716 2726 3736 4746 5756 6665 7675 8786 9796'
START_KIFU_TAIL=' 
　香桂銀金王金銀桂香
　□飛□□□□□□□
　歩歩歩歩歩□角歩歩
　□□□□□歩歩□□
　□□□□□□□□□
　□□歩歩□□□□□
　歩歩角□歩歩歩歩歩
　□□□□□□□飛□
　香桂銀金王金銀桂香
--------------------------------
--------------------------------'
SEP='--------------------------------'

# --- The start, refusals and bad input: the game stays as it was. ---
LONG=$(head -c 10000 /dev/zero | tr '\0' 'x')
out=$( { printf 'board\nlegal\nkifu\nmatta\nmove 7776\nmove 5951\nmove 7777\n'
         printf 'move 7\nmove 0000\nmove ab12\nmove 77760\nmove\nmove 7a76\n%s\n' "move $LONG"
         printf 'mo\0ve 2726\nfrobnicate\nnew extra\nformation\n\nMOVE 2726\nboard\nlegal\n' ; } | run)
rc=$?
same "exit status after end of input" 0 "$rc"
mapfile -t L <<<"$out"
same "board at start" "$START_BOARD" "$(printf '%s\n' "${L[@]:0:9}")"
same "legal at start" "$START_LEGAL" "${L[9]}"
same "kifu header" "$SEP
　創作将棋 ミルトア" "$(printf '%s\n' "${L[@]:10:2}")"
matches "kifu date" '^　棋譜作成日:[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{1,2}:[0-9]{2}:[0-9]{2}$' "${L[12]}"
same "kifu rest" "$SEP
　先手：あなた　後手：COM
$START_KIFU_TAIL" "$(printf '%s\n' "${L[@]:13:14}")"
same "refusals and bad input" "refused すでに初期状態です。待ったできません。
illegal
illegal
ignored
error move takes four digits, two squares such as 7776
error square 00 is not on the board (files and ranks are 1 to 9)
error move takes four digits, two squares such as 7776
error move takes four digits, two squares such as 7776
error move needs two squares such as 7776
error move takes four digits, two squares such as 7776
error line too long (at most 4096 bytes)
unknown-command
unknown-command
error new takes no argument
error formation needs a name such as 【基本形】
unknown-command
unknown-command" "$(printf '%s\n' "${L[@]:27:17}")"
same "board unchanged by bad input" "$START_BOARD" "$(printf '%s\n' "${L[@]:44:9}")"
same "legal unchanged by bad input" "$START_LEGAL" "${L[53]}"
same "nothing more" 54 "${#L[@]}"

# --- Line limits and line ends: 4096 bytes are a command, 4097 are refused; CR LF reads as LF. ---
NAME=$(head -c 4086 /dev/zero | tr '\0' 'x')
out=$(printf 'formation %s\nformation %sx\nformation %s\r\n' "$NAME" "$NAME" "$NAME" | run)
same "line limits" "unknown-formation
error line too long (at most 4096 bytes)
unknown-formation" "$out"
script='board\nmove 2726\nwhy\nlegal\nsave %s/crlf.kifu\nopen %s/crlf.kifu\nboard\n'
lf=$(printf "$script" "$WORK" "$WORK" | run)
crlf=$(printf "${script//\\n/\\r\\n}" "$WORK" "$WORK" | run)
same "CR LF line ends" "$lf" "$crlf"
[[ $crlf == *"ok 2"* ]] || fail "a file named on a CR LF line opens"

# --- Whole turns, take-back, formations, new games. ---
out=$(printf '%s\n' 'move 2726' 'formation 【ミルトア式BIG4 改】' 'formation 【無い陣形】' 'matta' 'matta' \
    'formation 【中飛車】' 'move 2726' 'move 2625' 'matta' 'move 2625' 'new' 'kifu' 'handicap' 'board' \
    'quit' 'board' | run --timing)
same "exit status after quit" 0 "$?"
mapfile -t L <<<"$out"
matches "first turn" '^(human 1 2726歩|com 2 [1-9]{4}com.+|check|status .*)$' "$(printf '%s\n' "${L[@]:0:3}")"
same "first turn's human line" "human 1 2726歩" "${L[0]}"
[[ ${L[2]} == status* ]] || fail "first turn ends with the status line: ${L[2]}"
same "formation after the first move, take-back, formation at move 0" "kept
unknown-formation
ok 0
refused 待ったは一度だけです。
ok" "$(printf '%s\n' "${L[@]:3:5}")"
rest=("${L[@]:8}")
same "third move" "human 3 2625歩" "${rest[3]}"
i=$(( $(printf '%s\n' "${rest[@]}" | grep -n '^ok 2$' | cut -d: -f1) - 1 ))
((i > 0)) || fail "take-back after two turns answers ok 2"
same "move after the take-back" "human 3 2625歩" "${rest[$((i + 1))]}"
j=$(( $(printf '%s\n' "${rest[@]}" | grep -n '^ok$' | head -1 | cut -d: -f1) - 1 ))
((j > i)) || fail "new answers ok"
kifu=$(printf '%s\n' "${rest[@]:$((j + 1)):17}")
same "kifu of a new game" "$START_KIFU_TAIL" "$(printf '%s\n' "$kifu" | tail -n 12)"
same "handicap" "ok
com香 com桂 com銀 com金 com王 com金 com銀 com桂 com香
・ com飛 ・ ・ ・ ・ ・ ・ ・
com歩 com歩 com歩 com歩 com歩 ・ com角 com歩 com歩
・ ・ ・ ・ ・ com歩 com歩 ・ ・
・ ・ ・ ・ ・ ・ ・ ・ ・
・ ・ 歩 歩 ・ ・ ・ ・ ・
歩 歩 ・ ・ 歩 歩 歩 歩 歩
・ ・ ・ ・ ・ ・ ・ ・ ・
香 桂 銀 金 王 金 銀 桂 香" "$(printf '%s\n' "${rest[@]:$((j + 18)):10}")"
same "quit ends the session" $((j + 28)) "${#rest[@]}"
matches "timing lines" '^[0-9]+\.[0-9]{3}$' "$(cat "$WORK/stderr")"
same "one timing line per think" 4 "$(wc -l <"$WORK/stderr")"

# --- legal only looks: COM answers the same with and without it. ---
# The take-back reads both last-move records, COM's reply reads the maps.
with=$(printf 'move 2726\nlegal\nlegal\nboard\nmove 2625\nlegal\nmatta\nboard\nmove 2625\nlegal\nmove 7675\n' |
    run | grep -v '^[0-9]\{4\}\( \|$\)')
without=$(printf 'move 2726\nboard\nmove 2625\nmatta\nboard\nmove 2625\nmove 7675\n' | run)
same "legal changes nothing later commands see" "$without" "$with"

# --- Records: the KIF text, saving in three forms, resigning, opening. ---
out=$(printf '%s\n' 'resign' 'move 6665' 'kif' "save $WORK/g.kif" "save $WORK/g.kifu" "save $WORK/g.txt" \
    "save $WORK/g.doc" 'save' 'kifu' 'resign' 'resign' "open $WORK/missing.kif" "open $WORK/g.kifu" 'board' \
    "open $WORK/g.kif" 'legal' 'move 2726' | run)
mapfile -t L <<<"$out"
same "resign before the first move" "ignored" "${L[0]}"
same "the turn" "human 1 6665歩" "${L[1]}"
kif=$(printf '%s\n' "${L[@]:4}" | sed '/^end$/q')
matches "kif header" '^開始日時：[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$(head -n 1 <<<"$kif")"
same "kif head" "手合割：その他
先手：あなた
後手：COM
後手の持駒：なし
  ９ ８ ７ ６ ５ ４ ３ ２ １
+---------------------------+
|v香v桂v銀v金v玉v金v銀v桂v香|一" "$(sed -n 2,8p <<<"$kif")"
same "kif moves" "先手の持駒：なし
先手番
手数----指手---------消費時間--
   1 ６五歩(66)" "$(sed -n 18,21p <<<"$kif")"
same "COM's reason follows its move" "*【基本形】の駒組み 1手目" "$(sed -n 23p <<<"$kif")"
same "what playing on needs comes last" "#ミルトア乱数：0
#ミルトア陣形：【基本形】" "$(sed -n 24,25p <<<"$kif")"
matches "COM's thinking times" '^#ミルトアCOM思考：[0-9]+\.[0-9]{3}$' "$(sed -n 26p <<<"$kif")"
same "COM's generator after the last move" "#ミルトア最終乱数：0" "$(sed -n 27p <<<"$kif")"
same "kif ends with end" 28 "$(wc -l <<<"$kif")"
i=$((4 + 28))
same "saves" "ok
ok
ok" "$(printf '%s\n' "${L[@]:$i:3}")"
same "a .kifu file is the kif text with CR LF" "$(head -n 27 <<<"$kif" | sed 's/$/\r/')" "$(cat "$WORK/g.kifu")"
same "a .kif file is the same in CP932" "$(cat "$WORK/g.kifu")" "$(iconv -f CP932 -t UTF-8 "$WORK/g.kif")"
same "refused saves" "error a record file ends in .kif (CP932), .kifu (UTF-8) or .txt (the record text), not \"g.doc\"
error save needs a file name such as game.kif" "$(printf '%s\n' "${L[@]:$((i + 3)):2}")"
kifu=$(printf '%s\n' "${L[@]:$((i + 5)):19}")
same "a .txt file is the clipboard record with CR LF" "$(sed 's/$/\r/' <<<"$kifu")" "$(cat "$WORK/g.txt")"
i=$((i + 24))
same "resign, then the game is over" "end resigned
ignored" "$(printf '%s\n' "${L[@]:$i:2}")"
matches "a missing file" '^error cannot open .*missing\.kif: No such file or directory$' "${L[$((i + 2))]}"
same "open puts the game in replay mode at its start" "ok 2
$START_BOARD
ok 2

ignored" "$(printf '%s\n' "${L[@]:$((i + 3))}")"

# --- why: the reason of COM's latest move, in step with take-back and new games. ---
out=$(printf '%s\n' 'why' 'move 5958' 'why' 'move 5859' 'move 5958' 'why' 'matta' 'why' 'new' 'why' 'why now' |
    run | grep -v '^\(human\|com\|status\) ')
same "why" "
【基本形】の駒組み 1手目
【基本形】の駒組み 3手目
ok 4
【基本形】の駒組み 2手目
ok

error why takes no argument" "$out"

# --- Looking back and playing on: an earlier position refuses moves; playing on from it gives COM's
# replies of a game that never stopped; a record without what that needs is refused. ---
out=$(printf '%s\n' 'move 2726' 'move 2625' 'goto 2' 'move 2524' 'goto 9' 'goto x' 'goto 1' 'playon' 'goto 2' \
    'playon' 'move 2625' "save $WORK/p.kifu" "open $WORK/p.kifu" 'goto 4' 'playon' 'move 6665' | run | grep -v '^status')
same "goto and playon" "human 1 2726歩
com 2 4142com金
human 3 2625歩
com 4 4243com金
ok 2
ignored
error the game has moves 0 to 4
error goto needs a move number such as 12
ok 1
error after move 1 COM is to move; play on from a position with you to move
ok 2
ok 2
human 3 2625歩
com 4 4243com金
ok
ok 4
ok 4
ok 4
human 5 6665歩
com 6 3132com銀" "$out"
sed '/^#/d' "$WORK/p.kifu" >"$WORK/other.kifu"
same "a record of another program is not played on" "ok 4
ok 4
error the record does not hold what playing on needs (COM's random state and formation): it was not written by this game" \
    "$(printf '%s\n' "open $WORK/other.kifu" 'goto 4' 'playon' | run)"
sed 's/^#ミルトア乱数：0/#ミルトア乱数：7/' "$WORK/p.kifu" >"$WORK/seed.kifu"
same "a changed seed is refused, naming its line and the final state's" "ok 4
ok 4
error line 27: COM's generator does not end where line 30 says" \
    "$(printf '%s\n' "open $WORK/seed.kifu" 'goto 4' 'playon' | run)"
same "a resigned game's last position is not played on, the one before it is" "human 1 2726歩
com 2 4142com金
end resigned
error the game is over after move 2
ok 0
ok 0" "$(printf '%s\n' 'move 2726' 'resign' 'playon' 'goto 0' 'playon' | run | grep -v '^status')"

# --- Variations: a branch keeps the line it leaves; both are listed, entered, saved and read back; what
# cannot be is refused with the game unchanged. ---
out=$(printf '%s\n' 'move 2726' 'move 2625' 'goto 2' 'branch' 'move 6665' 'variations 3' 'variation 1' 'board' \
    'mainline' 'board' 'variations 4' "save $WORK/v.kifu" "open $WORK/v.kifu" 'variations 3' 'variation 9' \
    'variations 99' 'variations 0' 'goto 1' 'branch' 'variations 3' 'variations' 'branch now' | run |
    grep -v '^status')
mapfile -t L <<<"$out"
same "branch, a different move 3, the ways of playing it" "human 1 2726歩
com 2 4142com金
human 3 2625歩
com 4 4243com金
ok 2
ok 2
human 3 6665歩
com 4 4243com金
variation 0 2625歩
variation 1 6665歩
end
ok 3" "$(printf '%s\n' "${L[@]:0:12}")"
same "the variation's board: 65 played, 26 left" "・ ・ ・ 歩 ・ ・ ・ ・ ・
・ ・ 歩 ・ ・ ・ ・ 歩 ・" "$(printf '%s\n' "${L[@]:16:2}")"
same "back on the main line at the same move" "ok 3
・ ・ ・ ・ ・ ・ ・ 歩 ・
・ ・ 歩 歩 ・ ・ ・ ・ ・" "$(printf '%s\n' "${L[21]}" "${L[@]:26:2}")"
same "the main line's move 4, saved and read back with its variation" "variation 0 4243com金
end
ok
ok 4
variation 0 2625歩
variation 1 6665歩
end" "$(printf '%s\n' "${L[@]:31:7}")"
same "refusals" "error no variation 9
error no move 99 on this line
error no move 0 on this line
ok 1
error after move 1 COM is to move; play on from a position with you to move
variation 0 2625歩
variation 1 6665歩
end
error variations needs a move number such as 12
error branch takes no argument" "$(printf '%s\n' "${L[@]:38}")"
same "a finished game's end is not branched from" "end resigned
error the game is over after move 2
variation 0 4142com金
end" "$(printf '%s\n' 'move 2726' 'resign' 'branch' 'variations 2' | run | grep -v '^\(status\|human\|com\) ')"

# --- Seats: COM moving first, two people at one board, COM against COM; go asks the computer to move. ---
out=$(printf 'seats com human\ngo\ngo\nmove 2324\nseats human human\nmove 2726\nmove 8384\ngo\nseats com com\ngo\ngo\nseats bogus\nseats engine 13 com\nseats human human \nseats human com\nmove 2726\n' | run)
mapfile -t L <<<"$out"
same "seats com human" "ok" "${L[0]}"
matches "COM moves first" '^com 1 [1-9]{4}[^ ]+$' "${L[1]}"
matches "its status" '^status' "${L[2]}"
same "go on the person's turn" "ignored" "${L[3]}"
matches "the person's move as the second player, and COM's reply" '^(human 2 2324com歩|com 3 [1-9]{4}[^ ]+|status.*)$' "$(printf '%s\n' "${L[@]:4:3}")"
same "two people" "ok
human 1 2726歩
status
human 2 8384com歩
status
ignored" "$(printf '%s\n' "${L[@]:7:6}")"
same "COM against COM" "ok" "${L[13]}"
matches "COM against COM, a move each" '^(com [12] [1-9]{4}[^ ]+|status.*)$' "$(printf '%s\n' "${L[@]:14:4}")"
same "bad seats, a trailing blank among them" "error seats needs two seats, each human, com or engine 1 to 12, such as com human
error seats needs two seats, each human, com or engine 1 to 12, such as com human
error seats needs two seats, each human, com or engine 1 to 12, such as com human" "$(printf '%s\n' "${L[@]:18:3}")"
same "back to the person first" "ok" "${L[21]}"
same "the person's move" "human 1 2726歩" "${L[22]}"
matches "COM's reply" '^(com 2 [1-9]{4}[^ ]+|status.*)$' "$(printf '%s\n' "${L[@]:23:2}")"
# Both kings step aside and back until the start comes round a fourth time: 千日手.
out=$( { printf 'seats human human\n'; for _ in 1 2 3; do printf 'move 5958\nmove 5152\nmove 5859\nmove 5251\n'; done; printf 'kif\n'; } | run)
same "repetition ends the game" "end draw-repetition" "$(grep -m1 '^end ' <<<"$out")"
[[ $out == *"  13 千日手"*"まで12手で千日手"* ]] || fail "the record ends with 千日手"

# --- Positions: sfen answers the position shown, position sets one up (the seats kept), or refuses it
# with the reason and the game unchanged; open reads KI2. ---
EVEN_FEN='lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL'
out=$(printf '%s\n' 'sfen' 'move 2726' 'goto 0' 'sfen' 'goto 2' "position $EVEN_FEN x" 'position P3k4/9/9/9/9/9/9/9/4K4 w' \
    'position 4k4/9/4R4/9/9/9/9/9/4K4 w' 'sfen' 'seats human human' "position $EVEN_FEN b" 'sfen' 'legal' \
    'move 3324' 'sfen' 'kif' 'position' | run)
mapfile -t L <<<"$out"
same "sfen at the start" "$EVEN_FEN w - - 0 1" "${L[0]}"
same "sfen of the start looked back at" "ok 0
$EVEN_FEN w - - 0 1
ok 2" "$(printf '%s\n' "${L[@]:4:3}")"
same "positions refused, the game unchanged" "error \"x\" is no side to move (w or b)
error the 歩 on 91 could never move again
error the 飛 on 53 stands unpromoted in its promotion zone, where every piece promotes as it arrives
lnsgk1snl/1r3g3/ppppp1bpp/5pp2/9/2PP3P1/PPB1PPP1P/7R1/LNSGKGSNL w - - 0 1" "$(printf '%s\n' "${L[@]:7:4}")"
same "the second player to move, two people" "ok
ok
$EVEN_FEN b - - 0 1
1112 3122 3132 3142 4152 4142 4132 6172 6162 6152 7162 7172 9192 3322 3342 3324 3315 8292 8272 8262 8252 8242 8232 8222 8212 1314 2324 3435 4445 5354 6364 7374 8384 9394 5152 5162 5142" "$(printf '%s\n' "${L[@]:11:4}")"
same "the second player's move" "human 1 3324com角" "${L[15]}"
same "its position" "lnsgkgsnl/1r7/ppppp2pp/5ppb1/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w - - 0 1" "${L[17]}"
[[ $out == *"後手番"$'\n'"手数----指手---------消費時間--"$'\n'"   1 ２四角(33)"* ]] || fail "the record: 後手番 and the second player's move first"
same "position without a text" "error position needs a position text such as the answer of sfen" "${L[-1]}"
# KI2: the even start's diagram, then moves without origins.
{ printf '%s\n' 'kif' | run | sed -n '/^手合割/,/^先手番/p'
  printf '▲２六歩　△４二金　▲２五歩\nまで3手で先手の勝ち\n'; } >"$WORK/game.ki2u"
out=$(printf '%s\n' "open $WORK/game.ki2u" 'goto 3' 'board' | run)
same "open a KI2 record" "ok 3" "$(head -1 <<<"$out")"
same "the KI2 moves played" "・ ・ ・ ・ ・ ・ ・ 歩 ・" "$(sed -n 7p <<<"$out")"

# --- Options. ---
help=$("$CLI" --help)
same "--help exit status" 0 "$?"
[[ $help == usage:* && $help == *"move FFRR"* ]] || fail "--help explains the commands"
"$CLI" --bogus </dev/null >/dev/null 2>&1
same "unknown option exit status" 2 "$?"

# --- Answers that cannot be written: a message and exit 1, and no more input read. A reader that goes
# away ends the program by SIGPIPE (141) unless SIGPIPE is ignored. The input never ends, so a program
# that plays on after a lost answer is stopped by timeout (124). ---
lost() { # NAME EXPECTED-STATUS COMMAND (run by bash with CLI and ERR set, fed by an endless input)
    local rc
    rc=$(CLI=$CLI ERR=$WORK/lost bash -c "yes board 2>/dev/null | timeout 20 $3; echo \${PIPESTATUS[1]}")
    same "$1: exit status" "$2" "$rc"
    if [[ $2 == 1 ]]; then
        matches "$1: message" '^mirutoa-cli: cannot write to standard output: .+$' "$(cat "$WORK/lost")"
    fi
}
lost "closed output" 1 '"$CLI" 2>"$ERR" >&-'
lost "full disk" 1 '"$CLI" 2>"$ERR" >/dev/full'
lost "reader gone, SIGPIPE ignored" 1 'env --ignore-signal=PIPE "$CLI" 2>"$ERR" | head -c 1 >/dev/null'
lost "reader gone" 141 'env --default-signal=PIPE "$CLI" | head -c 1 >/dev/null'
"$CLI" --help >/dev/full 2>/dev/null
same "--help to a full disk" 1 "$?"

if ((FAILS > 0)); then
    echo "$FAILS check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
