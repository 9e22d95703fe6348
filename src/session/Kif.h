// Game records as KIF text, the form in which shogi programs exchange games. This game writes every
// start through a board diagram, because even its even start (bishops developed, two pawns advanced)
// is not ordinary shogi's, and reads back what it wrote, or what another program wrote (in KIF, or in
// KI2, whose moves name no origin) from one of this game's starts or from any position the game could
// play from, with moves this game allows.
#pragma once

#include "board/Kyokumen.h"
#include "board/Legality.h"
#include "session/Continuation.h"
#include "session/KifError.h"
#include "session/Seats.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Where a game began: the even start, the handicap start (the human without rook and bishop), the
// fixed test position, or a position set up by hand (the position editor, a position text, a record's
// diagram of none of the others).
enum class KifStart { Even, Handicap, Test, Edited };

// A start set up by hand: the board in the record's frame (先手 at the bottom) and the side that moves
// first.
struct TEditedStart {
    TBoard Board{};
    Side ToMove = Side::Sente;
    bool operator==(const TEditedStart&) const = default;
};

// How a game ended: a king mated, a side left with its king alone, a resignation, a side with no legal
// move, a position met for the fourth time (千日手, a draw), that repetition reached by checking with
// every move (which the checking side loses), or a move the rules forbid (反則: COM's think can choose
// one that leaves its own king attacked), which loses at once and is not played. None while the game
// goes on or was left unfinished.
enum class EndKind : std::uint8_t {
    None,
    Mate,
    BareKing,
    Resign,
    NoMove,
    Repetition,
    PerpetualCheck,
    IllegalMove
};

struct TGameEnd {
    EndKind Kind = EndKind::None;
    Side Loser = Side::Sente; // who lost; nobody in a draw

    bool Over() const { return Kind != EndKind::None; }
    bool Draw() const { return Kind == EndKind::Repetition; }
    bool Won(Side s) const { return Over() && !Draw() && Loser != s; }
    bool operator==(const TGameEnd&) const = default;
};

// A local date and time; Year 0 when not known.
struct TKifDate {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    bool Known() const { return Year > 0; }
    bool operator==(const TKifDate&) const = default;
};

// Reads "2024/03/05 9:07:31", "2024/03/05 09:07:31", "1999/07/15(木) 19:07" or "2024/03/05"; anything
// else gives an unknown date.
TKifDate ParseKifDate(std::string_view text);
// "2024/03/05 09:07:31", as the record file's header gives it.
std::string KifDateText(const TKifDate& d);
// "2024/03/05 9:07:31", as the clipboard record's header gives it.
std::string RecordDateText(const TKifDate& d);

// A line of play that branches off the main line or off another variation (KIF's 変化 blocks): its
// first move is move At + 1 of the game, played instead of the move of that number in its parent.
struct TKifVariation {
    int Parent = -1; // the variation it branches off (an index of Variations, always an earlier one); -1
                     // the main line
    int At = 0;      // the moves before its first
    std::vector<TMove> Played, Shown;
    std::vector<std::string> Comments; // as the main line's: one per move, shorter when the last have none
    TGameEnd Ending;                   // how the line ended, where it did
    bool operator==(const TKifVariation&) const = default;
};

struct TKifRecord {
    KifStart Start = KifStart::Even;
    TEditedStart Edited; // the board and the side to move of an Edited start
    TKifDate Began;
    std::vector<TMove> Played; // the moves as the game applies them (replay plays these)
    std::vector<TMove> Shown;  // the same moves as the position recorded them: the name after the move
    TGameEnd Ending;
    // A game without an ending that the player left on purpose: the record ends "N 中断" and
    // "まで N手で中断", as records of unfinished games do, and it is not offered to be continued.
    bool Interrupted = false;
    // The comment written after each move ("*" lines; several are joined with LF); empty for none.
    // Shorter than Shown when the last moves have none.
    std::vector<std::string> Comments;
    // Who played each side: the "#ミルトア対局者：" line, else the header's "先手："/"後手：" names where
    // they are this game's own (a person first and COM second for anyone else's record).
    TSeats Seats;
    // What this game needs to continue the game exactly; not Known for another program's record.
    TKifContinuation Continuation;
    // The other lines of play, in the order a KIF record lists them (a line's branches from its last
    // move back, each followed by its own).
    std::vector<TKifVariation> Variations;
    // The moves, as played, of the line of play that ends a variation (-1: the main line), from the start.
    std::vector<TMove> PathPlayed(int line) const;
    std::vector<TMove> PathShown(int line) const;
};

// Puts the variations in the order a record lists them (each line's variations after it, the latest
// branch point first, each followed by its own), renumbering their parents.
void SortKifVariations(TKifRecord& record);

// Record files larger than this are refused unread: a long game of this game takes a few kilobytes.
inline constexpr std::size_t kKifMaxBytes = std::size_t(1) << 20;

TKyokumen KifStartPosition(KifStart start, const TEditedStart& edited = {});
TKyokumen KifStartPosition(const TKifRecord& record);
// The side that made move i (counted from 0) of a record.
Side KifMover(const TKifRecord& record, std::size_t i);
// The start a board and side to move are: one of this game's own starts when it is one, else Edited.
KifStart StartOfBoard(const TEditedStart& edited);

// The KIF text of a record, UTF-8 with LF line ends.
std::string WriteKif(const TKifRecord& record);

// Each move as the record writes it, without its number and origin: "７六歩", "同　銀", "３三角成"; in
// English (the move list's words) the Western notation: "P-7f", "Sx7f", "Bx3c+".
std::vector<std::string> KifMoveTexts(const TKifRecord& record);
// How the game ended and who won, as one line ("投了　まで62手で後手の勝ち"), in the display language;
// empty while it goes on.
std::string KifEndText(const TKifRecord& record);

// The line (counted from 1) that holds the byte at offset, with line ends as ReadKif takes them.
int KifLineOf(std::string_view text, std::size_t offset);

// Reads a KIF or KI2 text (UTF-8; LF, CR LF or CR line ends). A diagram that is none of the game's
// starts, or has 後手番 under it, is an Edited start when the position passes the checks of
// PositionCheck.h. Every move is checked with this game's own rules:
// the human move check for the first player, COM's move generation for the second, forced promotion,
// the game's own end tests. Throws TKifError for anything this game cannot replay.
TKifRecord ReadKif(std::string_view text);
