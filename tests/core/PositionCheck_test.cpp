// Positions set up by hand: which the rules refuse and why, and the engine's FEN that carries them in and
// out of the game.
#include "board/PositionCheck.h"
#include "engine/EngineNotation.h"
#include "session/Judge.h"
#include "session/PositionText.h"
#include "support/SelfPlay.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace testing_helpers;

namespace {

constexpr std::string_view kEvenFen = "lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w - - 0 1";

TFenPosition Fen(std::string_view text) {
    return ParseEngineFen(text);
}

} // namespace

TEST(PositionCheck, RefusesEachImpossiblePositionWithItsReason) {
    struct Row {
        const char* What;
        std::string_view Fen;
        PositionFault Fault;
        std::string English;
        std::string Japanese = {};
    };
    const Row rows[] = {
        {"no king of the first player", "4k4/9/9/9/9/9/9/4G4/9 w", PositionFault::KingCount,
         "the first player has no king", "先手の玉がありません"},
        {"two kings of the second player", "3kk4/9/9/9/9/9/9/9/4K4 w", PositionFault::KingCount,
         "the second player has 2 kings, not one", "後手の玉が2枚あります（玉は一枚ずつ置きます）"},
        {"ten pawns", "4k4/9/9/9/9/P8/PPPPPPPPP/9/4K4 w", PositionFault::TooMany,
         "the first player has 10 歩, more than the 9 its twenty pieces hold"},
        {"a third silver, promoted or not", "4k4/9/9/9/9/9/9/S+S7/S3K4 w", PositionFault::TooMany,
         "has 3 銀, more than the 2", "先手の銀が3枚あります（二十枚の駒には2枚までです）"},
        {"a second rook, one of them promoted", "4k4/9/9/9/9/9/9/1R+R6/4K4 w", PositionFault::TooMany,
         "has 2 飛, more than the 1"},
        {"a pawn on the last rank", "P3k4/9/9/9/9/9/9/9/4K4 w", PositionFault::Stranded,
         "the 歩 on 91 could never move again", "９一の歩はもう動けません"},
        {"a lance of the second player on its last rank", "4k4/9/9/9/9/9/9/9/4K3l w", PositionFault::Stranded,
         "the 香 on 19 could never move again"},
        {"a knight on the rank before the last", "4k4/1N7/9/9/9/9/9/9/4K4 w", PositionFault::Stranded,
         "the 桂 on 82"},
        {"a knight of the second player on its eighth rank", "4k4/9/9/9/9/9/9/n8/4K4 b",
         PositionFault::Stranded, "the 桂 on 98"},
        // Its jumps would land on the last two ranks, where a knight never moves.
        {"a knight on the fourth rank from the far end", "4k4/9/9/2N6/9/9/9/9/4K4 w", PositionFault::Stranded,
         "the 桂 on 74 could never move again"},
        {"a knight of the second player on its sixth rank", "4k4/9/9/9/9/6n2/9/9/4K4 w",
         PositionFault::Stranded, "the 桂 on 36"},
        {"an unpromoted lance in the zone", "4k4/L8/9/9/9/9/9/9/4K4 w", PositionFault::Unpromoted,
         "the 香 on 92 stands unpromoted", "９二の香は成っていません（敵陣に入った駒は必ず成ります）"},
        {"an unpromoted silver in the zone", "4k4/9/4S4/9/9/9/9/9/4K4 w", PositionFault::Unpromoted,
         "the 銀 on 53"},
        {"an unpromoted bishop of the second player in its zone", "4k4/9/9/9/9/9/b8/9/4K4 w",
         PositionFault::Unpromoted, "the 角 on 97"},
        {"an unpromoted rook that gives check: the piece is named first", "4k4/9/4R4/9/9/9/9/9/4K4 w",
         PositionFault::Unpromoted, "the 飛 on 53"},
        {"the second player in check, the first to move", "4k4/9/9/4R4/9/9/9/9/4K4 w",
         PositionFault::WaitingInCheck, "the king of the second player, who is not to move, is in check",
         "手番でない後手の玉に王手がかかっています"},
        {"a king alone", "4k4/9/9/9/9/9/9/9/3GK4 b", PositionFault::BareKing,
         "the second player has nothing but its king"},
        {"the side to move mated", "8k/8G/p7+P/9/9/9/9/9/4K4 b", PositionFault::NoMove,
         "the second player, to move, has no legal move", "手番の後手に指せる手がありません"},
    };
    for (const Row& row : rows) {
        const TFenPosition p = Fen(row.Fen);
        const TPositionCheck check = CheckPosition(p.Board, p.ToMove);
        EXPECT_EQ(check.Fault, row.Fault) << row.What << ": " << PositionFaultEnglish(check);
        EXPECT_NE(PositionFaultEnglish(check).find(row.English), std::string::npos)
            << row.What << ": " << PositionFaultEnglish(check);
        if (!row.Japanese.empty()) {
            EXPECT_EQ(PositionFaultJapanese(check), row.Japanese) << row.What;
        }
    }

    // What the rules allow: the game's starts, promoted pieces anywhere, a gold on the last rank, the
    // side to move in check (it must answer it).
    for (std::string_view fen :
         {kEvenFen, std::string_view("lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PP2PPPPP/9/LNSGKGSNL w"),
          std::string_view("+P3k3G/9/9/9/9/9/9/9/4K3+l w"), std::string_view("4k4/p8/9/4R4/9/9/9/9/4K4 b")}) {
        const TFenPosition p = Fen(fen);
        EXPECT_TRUE(CheckPosition(p.Board, p.ToMove).Sound())
            << fen << ": " << PositionFaultEnglish(CheckPosition(p.Board, p.ToMove));
    }
}

TEST(EngineFen, ReadsWhatItWritesOverAThousandPositionsOfScriptedGamesAndEachPassesTheChecks) {
    std::mt19937 rng(20260115);
    int positions = 0, gote = 0, promoted = 0;
    for (int game = 0; positions < 1000; ++game) {
        TKyokumen k;
        if (game % 3 == 1) k.SetupHisyaKaku();
        if (game % 3 == 2) k.SetupHisyaKaku(Side::Gote);
        TJudge judge;
        judge.Reset(k);
        for (int move = 0; move < 120; ++move) {
            const Side side = SideToMove(k);
            const std::string fen = EngineFen(k, side == Side::Gote);
            const TFenPosition read = ParseEngineFen(fen);
            ASSERT_EQ(read.ToMove, side) << fen;
            for (int sq = 11; sq <= 99; ++sq)
                ASSERT_EQ(read.Board[std::size_t(sq)], k.Board[std::size_t(sq)]) << fen << " square " << sq;
            ++positions;
            gote += side == Side::Gote;
            promoted += fen.find('+') != std::string::npos;
            // Every position a game reaches is one a game could be set up from.
            EXPECT_TRUE(CheckPosition(read.Board, read.ToMove).Sound())
                << fen << ": " << PositionFaultEnglish(CheckPosition(read.Board, read.ToMove));
            TMoveList legal;
            LegalMoves(k, side, legal);
            const TMove m = legal[int(UniformBelow(rng, std::uint32_t(legal.Size())))];
            k.ComToMove = side == Side::Gote;
            k.ApplyMove(m);
            k.ComToMove = side == Side::Sente;
            if (judge.Moved(k).Over()) break;
        }
    }
    EXPECT_GT(gote, 400);
    EXPECT_GT(promoted, 100);
}

TEST(EngineFen, ReadsOrdinaryShogisSfenAndTheEnginesCommandAndRefusesTheRestSayingWhy) {
    const std::string board = "lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL";
    const TFenPosition even = Fen(kEvenFen);
    EXPECT_EQ(even.ToMove, Side::Sente);
    EXPECT_EQ(even.Board, TKyokumen().Board);
    struct Same {
        std::string Text;
        Side ToMove;
    };
    for (const Same& s : std::initializer_list<Same>{{board, Side::Sente},
                                                     {"  " + board + " b - - 0 1\n", Side::Gote},
                                                     {"position fen " + board + " w - - 12 7", Side::Sente},
                                                     {board + "[-] b", Side::Gote},
                                                     {"sfen " + board + " b - 1", Side::Sente},
                                                     {"position sfen " + board + " w - 24", Side::Gote}}) {
        const TFenPosition p = Fen(s.Text);
        EXPECT_EQ(p.Board, even.Board) << s.Text;
        EXPECT_EQ(p.ToMove, s.ToMove) << s.Text;
    }

    struct Refused {
        std::string Text;
        FenFault Fault;
        std::string English;
    };
    const Refused refused[] = {
        {"  ", FenFault::Empty, "empty"},
        {"9/9/9 w", FenFault::RowCount, "3 rows, not 9"},
        {"lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSN w", FenFault::RowWidth,
         "row 9 fills 8 squares"},
        {"lnsgkgsnl/1r8/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w", FenFault::RowWidth,
         "row 2 fills 10"},
        {"lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7Q1/LNSGKGSNL w", FenFault::UnknownLetter,
         "row 8: \"Q\" is no piece"},
        {"lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNS+GKGSNL w", FenFault::Promotion,
         "\"+G\" is no promoted piece"},
        {"lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPP+/7R1/LNSGKGSNL w", FenFault::Promotion, "row 7"},
        {board + " x - - 0 1", FenFault::SideToMove, "\"x\" is no side to move"},
        {"sfen " + board, FenFault::SideToMove, "the side to move is missing"},
        {board + "[Pp] w", FenFault::PiecesInHand, "no drops"},
        {"sfen " + board + " b 2P 1", FenFault::PiecesInHand, "no drops"},
        {board + " w - - 0 1 moves 7g7f", FenFault::Trailing, "\"moves\""},
        {board + " w KQkq - 0 1", FenFault::Trailing, "\"KQkq\""},
        {std::string(201, '9'), FenFault::TooLong, "longer than 200"},
    };
    for (const Refused& r : refused) {
        try {
            Fen(r.Text);
            ADD_FAILURE() << r.Text << ": read";
        } catch (const TFenError& e) {
            EXPECT_EQ(e.Fault(), r.Fault) << r.Text << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(r.English), std::string::npos) << r.Text << ": " << e.what();
            EXPECT_FALSE(FenErrorText(e).empty());
        }
    }
}
