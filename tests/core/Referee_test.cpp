// The referee's rules: which moves either side may make, judged on the pieces' true moves, and the
// ends of a game that no player reports (a side with no legal move, a position met for the fourth time,
// a repetition forced by checks), through the session and through the console.
#include "board/Legality.h"
#include "cli/Console.h"
#include "session/GameSession.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using testing_helpers::Play;

namespace {

// Games found by scripted play between two people: the first player left without a move (not in check)
// after 120 moves, and the first player checking until the position came round a fourth time.
const std::string kNoMoveGame =
    "5948 3342 1918 2324 4746 5162 4838 4151 6968 5152 5756 5251 9998 5141 4948 3132 3847 1314 "
    "6867 4131 7786 4251 8653 6253 7988 5354 5655 5455 4736 8262 3626 5546 2616 6282 8899 4445 "
    "4849 3435 6757 4657 4938 5766 7675 6675 3948 9192 3839 5162 4857 6364 2726 3223 2858 9394 "
    "5768 2113 8977 7566 6859 6677 5868 7787 6864 8272 6462 6162 9796 3142 2625 1325 5968 2537 "
    "2937 2334 3745 3445 1627 4233 3948 2425 4837 8776 6859 7666 3738 3343 3848 6261 4849 8384 "
    "2728 4546 5968 1112 1716 3536 6867 6667 2817 7282 4938 6172 3827 3637 2737 4637 1615 1415 "
    "9897 7374 9998 7283 9887 8173 8778 6778 9695 9495 9795 9295 ";
const std::string kPerpetualCheckGame =
    "8786 7374 6958 8173 2818 3435 3928 7365 5867 8262 8685 6152 6756 5142 4958 4232 5655 3342 "
    "5564 8384 6463 8485 6352 4233 5242 3142 5867 4243 7768 4131 6895 9192 9998 3315 8977 7182 "
    "9562 8291 7988 1533 8879 6557 7675 3536 6284 3637 2937 3324 3725 3242 2533 2133 8451 4251 "
    "9796 4352 5969 2446 4746 5141 1716 3345 1817 5261 6757 5354 6958 7475 1718 4152 5767 5253 "
    "7765 5362 6573 6271 7382 9182 4645 3122 2726 2233 6776 8291 9695 8586 7685 7576 5867 1314 "
    "6756 2324 5646 6152 4637 7677 1615 7181 2839 1415 1815 4445 1511 5261 1161 8182 6162 8281 "
    "6261 8182 6162 8281 6261 8182 6162 8281 6261 ";
// Both kings step aside and back three times: the start position a fourth time, nobody checking.
const std::string kRepetitionGame = "5958 5152 5859 5251 5958 5152 5859 5251 5958 5152 5859 5251";

std::vector<std::pair<int, int>> Moves(const std::string& text) {
    std::vector<std::pair<int, int>> moves;
    std::istringstream words(text);
    std::string w;
    while (words >> w) moves.emplace_back(std::stoi(w.substr(0, 2)), std::stoi(w.substr(2, 2)));
    return moves;
}

std::vector<std::string> Texts(const TMoveList& list) {
    std::vector<std::string> out;
    for (const TMove& m : list) out.push_back(SquareText(m.From) + SquareText(m.To));
    return out;
}

} // namespace

TEST(Referee, EndsNoPlayerReportsEndTheGameInTheSessionTheRecordAndTheConsole) {
    struct Row {
        const char* What;
        const std::string& Game;
        TGameEnd End;
        const char* Status;
        const char* LastLine;
        const char* Console;
    };
    const Row rows[] = {
        {"no legal move",
         kNoMoveGame,
         {EndKind::NoMove, Side::Sente},
         "△後手の勝ちです。",
         "まで、後手の勝ち",
         "end sente-no-move"},
        {"fourfold repetition",
         kRepetitionGame,
         {EndKind::Repetition, Side::Sente},
         "引き分けです。",
         "まで、千日手",
         "end draw-repetition"},
        {"perpetual check",
         kPerpetualCheckGame,
         {EndKind::PerpetualCheck, Side::Sente},
         "△後手の勝ちです。",
         "まで、後手の勝ち",
         "end perpetual-check-loss"},
    };
    for (const Row& row : rows) {
        const auto moves = Moves(row.Game);
        TQuietView view;
        TGameSession s(view);
        s.Start();
        s.SetSeats({{TSeat::Human(), TSeat::Human()}});
        s.NewGame();
        TTurnReport last;
        for (auto [from, to] : moves) {
            ASSERT_FALSE(s.GameOver()) << row.What << ": over before its last move";
            last = s.MoveComa_Screen(from, to);
            ASSERT_NE(last.Result, TTurnReport::Outcome::Illegal) << row.What << " " << from << to;
        }
        EXPECT_EQ(last.Result, TTurnReport::Outcome::GameOver) << row.What;
        EXPECT_EQ(s.Ending(), row.End) << row.What;
        EXPECT_EQ(s.Status(), row.Status) << row.What;
        EXPECT_EQ(s.KifuLines().back(), row.LastLine) << row.What;
        EXPECT_TRUE(s.LegalMoves().empty()) << row.What;
        // The record says how it ended, and reading it back judges the same.
        EXPECT_EQ(ReadKif(s.KifText()).Ending, row.End) << row.What;

        std::ostringstream out;
        TConsole console(out, false, false);
        console.Command("seats human human", false);
        for (auto [from, to] : moves) console.Command("move " + SquareText(from) + SquareText(to), false);
        std::string line, lastLine;
        std::istringstream lines(out.str());
        while (std::getline(lines, line)) lastLine = line;
        EXPECT_EQ(lastLine, row.Console) << row.What;
    }
}

// A king is refused a square only where a piece of the other side could really move to; a slider's
// line stops at the first piece, whoever's it is. (The engine comparison checks the same over thousands
// of positions of scripted games.)
TEST(Referee, LegalMovesAreTheTrueMovesOfEitherSide) {
    TKyokumen start;
    TMoveList sente, gote;
    LegalMoves(start, Side::Sente, sente);
    LegalMoves(start, Side::Gote, gote);
    EXPECT_EQ(sente.Size(), 37);
    EXPECT_EQ(gote.Size(), 37);
    EXPECT_EQ(Rotated(start.Board), start.Board) << "the start is the same either way up";
    EXPECT_NE(PositionKey(start.Board, Side::Sente), PositionKey(start.Board, Side::Gote));

    struct Row {
        const char* What;
        std::vector<std::string_view> Moves;
        Side ToMove;
        bool Check;
        std::vector<std::string> KingMoves; // the king's legal moves
    };
    const std::vector<Row> rows = {
        // The second player's bishop on 15 checks the king on 59 through 48.
        {"a bishop's check", {"3736歩", "3315com角"}, Side::Sente, true, {"5968", "5958"}},
        // The human's own pawn on 37 stops the same bishop: no check.
        {"a blocked line", {"3315com角"}, Side::Sente, false, {"5968", "5958", "5948"}},
    };
    for (const Row& row : rows) {
        TKyokumen k;
        for (std::string_view m : row.Moves) {
            k.ComToMove = testing_helpers::IsComText(m);
            k.ApplyMoveText(m);
        }
        k.ComToMove = row.ToMove == Side::Gote;
        EXPECT_EQ(InCheck(k.Board, row.ToMove), row.Check) << row.What;
        TMoveList legal;
        LegalMoves(k, row.ToMove, legal);
        std::vector<std::string> king;
        for (const std::string& m : Texts(legal))
            if (k.Board[std::size_t(std::stoi(m.substr(0, 2)))] == PieceName::Ou) king.push_back(m);
        EXPECT_EQ(king, row.KingMoves) << row.What;
    }
}

// The rules end the game before a player is asked: a person's mate is never put to the computer, whose
// think once judged it (and which an engine cannot judge without a move to make).
TEST(Referee, AGameTheRulesEndedIsNotPutToThePlayer) {
    struct Counting : IPlayer {
        int Asked = 0;
        std::vector<std::string> Replies{"4131com金", "8384com歩", "9247com角"};
        void Think(const TMoveRequest&, ReplyFn reply) override {
            TOpponentReply r;
            r.Move = ParseMoveText(Replies.at(std::size_t(Asked++)));
            reply(r);
        }
    } counting;
    TQuietView view;
    TSessionHooks hooks;
    hooks.Opponent = &counting;
    TGameSession s(view, hooks);
    s.Start();
    s.NewTestGame();
    for (auto [from, to] : {std::pair{19, 18}, {28, 23}, {33, 32}, {23, 13}}) s.MoveComa_Screen(from, to);
    EXPECT_EQ(s.Ending(), (TGameEnd{EndKind::Mate, Side::Gote}));
    EXPECT_EQ(counting.Asked, 3);
}
