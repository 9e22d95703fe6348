#include "engine/EngineNotation.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// FEN letters by the human kind of a piece name (the order of PieceName from 歩 to 龍王); a promoted
// piece is its unpromoted letter after "+". COM's pieces are the lower-case letters.
constexpr std::array<std::string_view, 15> kFenLetters = {"",   "P", "+P", "L", "+L", "N", "+N", "S",
                                                          "+S", "G", "K",  "B", "+B", "R", "+R"};

} // namespace

std::string EngineSquare(int sq) {
    if (!OnBoard(FileOf(sq), RankOf(sq))) return {};
    return {char('a' + 9 - FileOf(sq)), char('0' + 10 - RankOf(sq))};
}

int SquareFromEngine(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'i' || text[1] < '1' || text[1] > '9') return 0;
    return MakeSquare(9 - (text[0] - 'a'), 10 - (text[1] - '0'));
}

std::optional<TEngineMove> ParseEngineMove(std::string_view text) {
    TEngineMove m;
    if (text.size() == 5 && text[4] == '+') {
        m.Promotes = true;
        text.remove_suffix(1);
    }
    if (text.size() != 4) return std::nullopt;
    m.From = SquareFromEngine(text.substr(0, 2));
    m.To = SquareFromEngine(text.substr(2, 2));
    if (m.From == 0 || m.To == 0) return std::nullopt;
    return m;
}

std::string EngineMoveText(const TEngineMove& m) {
    return EngineSquare(m.From) + EngineSquare(m.To) + (m.Promotes ? "+" : "");
}

bool PromotesOnArrival(const TMove& m) {
    if (!CanPromote(m.Name)) return false;
    return IsCom(m.Name) ? m.ToRank() > 6 : m.ToRank() < 4;
}

std::string EngineMoveText(const TMove& m) {
    return EngineMoveText(TEngineMove{m.From, m.To, PromotesOnArrival(m)});
}

std::optional<TMove> MoveFromEngine(std::string_view text, const TKyokumen& k, bool comToMove) {
    const std::optional<TEngineMove> em = ParseEngineMove(text);
    if (!em) return std::nullopt;
    const PieceName mover = k.Board[std::size_t(em->From)];
    if (mover == PieceName::Empty || IsCom(mover) != comToMove) return std::nullopt;
    const TMove m{std::uint8_t(em->From), std::uint8_t(em->To), mover};
    if (PromotesOnArrival(m) != em->Promotes) return std::nullopt;
    return m;
}

std::string EngineFen(const TKyokumen& k, bool comToMove) {
    std::string fen;
    for (int rank = 1; rank <= 9; ++rank) {
        if (rank > 1) fen += '/';
        int empty = 0;
        for (int file = 9; file >= 1; --file) {
            const PieceName p = k.Board[std::size_t(MakeSquare(file, rank))];
            if (p == PieceName::Empty) {
                ++empty;
                continue;
            }
            if (empty > 0) fen += char('0' + empty);
            empty = 0;
            std::string letter(kFenLetters[std::size_t(HumanKind(p))]);
            if (IsCom(p))
                for (char& c : letter) c = char(c | 0x20);
            fen += letter;
        }
        if (empty > 0) fen += char('0' + empty);
    }
    fen += comToMove ? " b - - 0 1" : " w - - 0 1";
    return fen;
}

namespace {

std::string FenErrorText(FenFault fault, int row, int count, const std::string& letter) {
    const std::string r = std::to_string(row), n = std::to_string(count);
    switch (fault) {
    case FenFault::Empty:
        return "the position text is empty";
    case FenFault::TooLong:
        return "the position text is longer than " + n + " characters";
    case FenFault::RowCount:
        return "the board has " + n + " rows, not 9 (rows are separated by /)";
    case FenFault::RowWidth:
        return "row " + r + " fills " + n + " squares, not 9";
    case FenFault::UnknownLetter:
        return "row " + r + ": \"" + letter +
               "\" is no piece (K R B G S N L P, lower case for the second player)";
    case FenFault::Promotion:
        return "row " + r + ": \"+" + letter + "\" is no promoted piece (only P L N S B R promote)";
    case FenFault::SideToMove:
        return letter.empty() ? "the side to move is missing after the board (w or b)"
                              : "\"" + letter + "\" is no side to move (w or b)";
    case FenFault::PiecesInHand:
        return "pieces in hand: this game has no drops, so no piece is ever in hand";
    case FenFault::Trailing:
        return "unreadable text after the position: \"" + letter + "\"";
    }
    return "unreadable position text";
}

// The blank-separated words of a text.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t begin = text.find_first_not_of(" \t\r\n", at);
        if (begin == std::string_view::npos) break;
        const std::size_t end = std::min(text.find_first_of(" \t\r\n", begin), text.size());
        words.push_back(text.substr(begin, end - begin));
        at = end;
    }
    return words;
}

// The human kind a FEN letter names, Empty for none.
PieceName FenKind(char upper, bool promoted) {
    for (std::size_t i = 1; i < kFenLetters.size(); ++i) {
        const std::string_view letter = kFenLetters[i];
        if ((letter.size() == 2) == promoted && letter.back() == upper) return PieceName(i);
    }
    return PieceName::Empty;
}

void ReadBoard(std::string_view text, TBoard& board) {
    // Pieces in hand come in brackets after the board: only an empty hand is taken.
    if (const std::size_t open = text.find('['); open != std::string_view::npos) {
        const std::string_view hand = text.substr(open);
        if (hand != "[]" && hand != "[-]") throw TFenError(FenFault::PiecesInHand);
        text = text.substr(0, open);
    }
    int rows = 1;
    for (char c : text) rows += c == '/';
    if (rows != 9) throw TFenError(FenFault::RowCount, 0, rows);
    int row = 1, file = 9;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '/') {
            if (file != 0) throw TFenError(FenFault::RowWidth, row, 9 - file);
            ++row;
            file = 9;
            continue;
        }
        const char c = text[i];
        if (c >= '1' && c <= '9') {
            file -= c - '0';
            if (file < 0) throw TFenError(FenFault::RowWidth, row, 9 - file);
            continue;
        }
        const bool promoted = c == '+';
        if (promoted && (++i == text.size() || text[i] == '/')) throw TFenError(FenFault::Promotion, row);
        const char letter = text[i];
        const bool lower = letter >= 'a' && letter <= 'z';
        const char upper = lower ? char(letter - 'a' + 'A') : letter;
        const PieceName kind = FenKind(upper, promoted);
        if (kind == PieceName::Empty) {
            if (promoted && FenKind(upper, false) != PieceName::Empty)
                throw TFenError(FenFault::Promotion, row, 0, std::string(1, letter));
            throw TFenError(FenFault::UnknownLetter, row, 0, std::string(1, letter));
        }
        if (file == 0) throw TFenError(FenFault::RowWidth, row, 10);
        board[std::size_t(MakeSquare(file, row))] = lower ? OtherSide(kind) : kind;
        --file;
    }
}

} // namespace

TFenError::TFenError(FenFault fault, int row, int count, std::string letter)
    : std::invalid_argument(FenErrorText(fault, row, count, letter)), fault_(fault), row_(row), count_(count),
      letter_(std::move(letter)) {}

TFenPosition ParseEngineFen(std::string_view text) {
    if (text.size() > kFenMaxChars) throw TFenError(FenFault::TooLong, 0, int(kFenMaxChars));
    std::vector<std::string_view> words = Words(text);
    bool sfen = false;
    if (!words.empty() && words.front() == "position") words.erase(words.begin());
    if (!words.empty() && (words.front() == "fen" || words.front() == "sfen")) {
        sfen = words.front() == "sfen";
        words.erase(words.begin());
    }
    if (words.empty()) throw TFenError(FenFault::Empty);
    TFenPosition p;
    ReadBoard(words[0], p.Board);
    if (words.size() < 2) {
        // The engine's FEN always names the side; a board alone is the first player's to move.
        if (!sfen) return p;
        throw TFenError(FenFault::SideToMove);
    }
    if (words[1] != "w" && words[1] != "b")
        throw TFenError(FenFault::SideToMove, 0, 0, std::string(words[1]));
    // The engine's first player is white, ordinary shogi's is black (sente).
    const bool first = sfen ? words[1] == "b" : words[1] == "w";
    p.ToMove = first ? Side::Sente : Side::Gote;
    // SFEN: pieces in hand and the move number; FEN: castling, en passant and the two move counters,
    // which mean nothing here but must be what the engine writes.
    const auto counter = [](std::string_view w) {
        return !w.empty() && w.size() <= 4 && w.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const std::size_t fields = sfen ? 2 : 4;
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view w = words[i];
        const bool hand = sfen ? i == 2 : i <= 3;
        if (i - 2 >= fields) throw TFenError(FenFault::Trailing, 0, 0, std::string(w));
        if (hand && w != "-") {
            if (sfen) throw TFenError(FenFault::PiecesInHand);
            throw TFenError(FenFault::Trailing, 0, 0, std::string(w));
        }
        if (!hand && !counter(w)) throw TFenError(FenFault::Trailing, 0, 0, std::string(w));
    }
    return p;
}
