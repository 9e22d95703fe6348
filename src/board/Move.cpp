#include "board/Move.h"

#include <stdexcept>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Code points in a UTF-8 text: every byte that does not continue a sequence starts one.
std::size_t CharCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

[[noreturn]] void Fail(std::string_view text, std::string_view why) {
    throw std::invalid_argument("move text \"" + std::string(text) + "\" " + std::string(why));
}

} // namespace

std::string SquareText(int sq) {
    std::string s(2, '0');
    s[0] = char('0' + (sq / 10) % 10);
    s[1] = char('0' + sq % 10);
    return s;
}

std::string MoveText(const TMove& m) {
    if (m.Empty()) return {};
    std::string s = SquareText(m.From) + SquareText(m.To);
    s += PieceText(m.Name);
    return s;
}

TMove ParseMoveText(std::string_view text) {
    if (text.empty()) return {};
    if (CharCount(text) < 5)
        Fail(text, "is too short: a move is the from-square, the to-square and a piece name, such as "
                   "\"7776歩\"");
    for (int i = 0; i < 4; ++i)
        if (!IsDigit(text[i]))
            Fail(text, "does not start with two square codes of two digits each, such as \"7776\"");
    const int fromFile = text[0] - '0', fromRank = text[1] - '0';
    const int toFile = text[2] - '0', toRank = text[3] - '0';
    if (!OnBoard(fromFile, fromRank))
        Fail(text, "names the from-square " + std::string(text.substr(0, 2)) +
                       ", which is not on the board (files and ranks run from 1 to 9)");
    if (!OnBoard(toFile, toRank))
        Fail(text, "names the to-square " + std::string(text.substr(2, 2)) +
                       ", which is not on the board (files and ranks run from 1 to 9)");
    PieceName name;
    const std::string_view nameText = text.substr(4);
    if (!ParsePieceName(nameText, name) || name == PieceName::Empty)
        Fail(text, "ends in \"" + std::string(nameText) +
                       "\", which is not a piece name (such as \"歩\", \"龍王\" or \"com銀成\")");
    TMove m;
    m.From = std::uint8_t(fromFile * 10 + fromRank);
    m.To = std::uint8_t(toFile * 10 + toRank);
    m.Name = name;
    return m;
}
