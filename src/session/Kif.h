// Game records as KIF text, the form in which shogi programs exchange games. This game writes every
// start through a board diagram, because even its even start (bishops developed, two pawns advanced)
// is not ordinary shogi's, and reads back what it wrote, or what another program wrote from one of
// this game's starts with moves this game allows.
#pragma once

#include "board/Kyokumen.h"
#include "session/Continuation.h"
#include "session/KifError.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Where a game began: the even start, the handicap start (the human without rook and bishop), or the
// fixed test position.
enum class KifStart { Even, Handicap, Test };

// How a game ended; None while it goes on, or when it was left unfinished (TKifRecord::Interrupted).
enum class KifEnding { None, HumanMates, ComBareKing, ComMates, HumanBareKing, HumanResigns };

constexpr bool HumanWon(KifEnding e) {
    return e == KifEnding::HumanMates || e == KifEnding::ComBareKing;
}

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

struct TKifRecord {
    KifStart Start = KifStart::Even;
    TKifDate Began;
    std::vector<TMove> Played; // the moves as the game applies them (replay plays these)
    std::vector<TMove> Shown;  // the same moves as the position recorded them: the name after the move
    KifEnding Ending = KifEnding::None;
    // A game without an ending that the player left on purpose: the record ends "N 中断" and
    // "まで N手で中断", as records of unfinished games do, and it is not offered to be continued.
    bool Interrupted = false;
    // The comment written after each move ("*" lines; several are joined with LF); empty for none.
    // Shorter than Shown when the last moves have none.
    std::vector<std::string> Comments;
    // Who played the second side, as the header's "後手：" line names it.
    std::string Opponent = "COM";
    // What this game needs to continue the game exactly; not Known for another program's record.
    TKifContinuation Continuation;
};

// Record files larger than this are refused unread: a long game of this game takes a few kilobytes.
inline constexpr std::size_t kKifMaxBytes = std::size_t(1) << 20;

TKyokumen KifStartPosition(KifStart start);

// A move as a KIF move line names it, without its from-square: "２六歩", "２三歩成". before is the
// moving piece as it stood before the move.
std::string KifMoveName(const TMove& m, PieceName before, bool promotes);

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

// Reads a KIF text (UTF-8; LF, CR LF or CR line ends). Every move is checked with this game's own rules:
// the human move check for the first player, COM's move generation for the second, forced promotion,
// the game's own end tests. Throws TKifError for anything this game cannot replay.
TKifRecord ReadKif(std::string_view text);
