#include "engine/EngineNotation.h"

#include <array>

namespace {

// FEN letters by the human kind of a piece name (the order of PieceName from 歩 to 龍王); a promoted
// piece is its unpromoted letter after "+". COM's pieces are the lower-case letters.
constexpr std::array<std::string_view, 15> kFenLetters = {"",   "P", "+P", "L", "+L", "N", "+N", "S",
                                                          "+S", "G", "K",  "B", "+B", "R", "+R"};

bool CanPromote(PieceName p) {
    switch (HumanKind(p)) {
    case PieceName::Fu:
    case PieceName::Kyo:
    case PieceName::Kei:
    case PieceName::Gin:
    case PieceName::Kaku:
    case PieceName::Hi:
        return true;
    default:
        return false;
    }
}

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
