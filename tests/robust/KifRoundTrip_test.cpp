// Whole games saved in every form and opened again: the opened game must replay to the same board and
// give back the same record, whatever the start and however the game ended.
#include "session/Kif.h"
#include "session/KifFile.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

using scripted_play::Drag;
using scripted_play::PlayRandomTurn;
using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kGames = 200;
constexpr int kMaxMoves = 300;

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool EveryLineEndsInCrLf(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
    return !bytes.empty() && bytes.back() == '\n';
}

// COM's moves that leave its king unattacked.
std::vector<TMove> SafeComMoves(const TKyokumen& k) {
    TKyokumen probe = k;
    probe.ComToMove = true;
    probe.GenerateMoves();
    std::vector<TMove> safe;
    for (const TMove& m : probe.Gote.Moves) {
        TKyokumen after = k;
        after.ComToMove = true;
        after.ApplyMove(m);
        if (after.Sente.Attacks[std::size_t(after.Gote.Pieces.List[kKingIndex].Square())] == 0)
            safe.push_back(m);
    }
    return safe;
}

// The human mates when it can (if asked to look), else takes the most valuable piece it can (COM's
// king too, when COM leaves it standing in attack), else plays at random: enough to win now and then,
// which a random human rarely does.
TTurnReport PlayGreedyTurn(TGameSession& s, std::mt19937& rng, bool mate) {
    const TKyokumen& k = s.BoardPosition();
    const int comKing = k.Gote.Pieces.List[kKingIndex].Square();
    int bestFrom = 0, bestTo = 0, bestValue = 0;
    for (const auto& [from, to] : scripted_play::CandidateDrags(s)) {
        if (!mate) break;
        TKyokumen after = k;
        after.ComToMove = false;
        if (after.TestHumanMove(from, to).Result != THumanMoveTest::Legal) continue;
        after.ApplyMove(after.TestHumanMove(from, to).Move);
        if (after.Sente.Attacks[std::size_t(comKing)] > 0 && SafeComMoves(after).empty())
            return Drag(s, from, to);
    }
    for (const auto& [from, to] : scripted_play::CandidateDrags(s)) {
        const int value = k.ValueAt[std::size_t(to)];
        if (IsCom(k.Board[std::size_t(to)]) && value > bestValue) {
            TKyokumen probe = k;
            probe.ComToMove = false;
            if (probe.TestHumanMove(from, to).Result != THumanMoveTest::Legal) continue;
            bestFrom = from, bestTo = to, bestValue = value;
        }
    }
    if (bestValue > 0) return Drag(s, bestFrom, bestTo);
    return PlayRandomTurn(s, rng);
}

// A weak stand-in for COM's think, so that the human wins some games: a random move that leaves COM's
// king unattacked; with the game's own verdicts when COM's king was taken, stands alone or cannot move.
void WeakThink(TKyokumenKanri& k, std::mt19937& rng) {
    k.ComMove = TMove{};
    k.InCheckFlag = false;
    const auto& com = k.Kyokumen.Gote.Pieces.List;
    int left = 0;
    for (const TComa& piece : com) left += piece.Captured ? 0 : 1;
    if (com[kKingIndex].Captured) {
        k.HumanMatesFlag = true;
        return;
    }
    if (left == 1) {
        k.ComBareKingFlag = true;
        return;
    }
    const std::vector<TMove> safe = SafeComMoves(k.Kyokumen);
    if (safe.empty())
        k.HumanMatesFlag = true;
    else
        k.ComMove = safe[rng() % safe.size()];
}

std::vector<PieceName> Board(const TGameSession& s) {
    const auto& b = s.BoardPosition().Board;
    return {b.begin(), b.begin() + kSquareCount};
}

} // namespace

// Game g: the even start for even g, the handicap start for odd g; every fifth game is resigned after a
// few turns and every fifth left unfinished; the others run to their end (or 300 moves). The human is
// greedy in half of the games, and in a quarter of them plays the weak stand-in for COM.
TEST(KifRoundTrip, GamesSavedInEveryFormOpenToTheSameBoardAndRecord) {
    std::mt19937 human(20240701u);
    std::mt19937 weakCom(7u);
    QuietView view, weakView, openedView;
    TGameSession real(view);
    real.Start();
    TSessionHooks weakHooks;
    weakHooks.Think = [&weakCom](TKyokumenKanri& k) { WeakThink(k, weakCom); };
    TGameSession weak(weakView, weakHooks);
    weak.Start();
    TGameSession opened(openedView);
    opened.Start();

    char folderTemplate[] = "/tmp/mirutoa-kif-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;

    std::map<std::pair<int, int>, int> endings; // by kind and loser
    for (int g = 0; g < kGames; ++g) {
        TGameSession& session = g % 4 == 3 ? weak : real;
        session.PickFormation(kFormationList[std::size_t(g % 14)]);
        if (g % 2 == 0)
            session.NewGame();
        else
            session.NewHandicapGame();
        const int plan = g % 5;
        const int turns = 1 + int(human() % 25);
        const bool greedy = g % 4 >= 2;
        for (int t = 0; session.ShownMove() < kMaxMoves; ++t) {
            if ((plan == 0 || plan == 1) && t == turns) break;
            const TTurnReport r =
                greedy ? PlayGreedyTurn(session, human, g % 8 == 3) : PlayRandomTurn(session, human);
            ASSERT_NE(r.Result, Outcome::ComFailed) << "game " << g;
            if (r.Result != Outcome::Continues) break;
        }
        if (plan == 0 && !session.GameOver()) {
            ASSERT_TRUE(session.Resign()) << "game " << g;
        }
        ++endings[{int(session.Ending().Kind), int(session.Ending().Loser)}];

        const std::string kifu = session.KifuText();
        const std::string kif = session.KifText();
        // KIF has no word for a bare king's end: only the reader's own end test stops a move after it.
        if (session.Ending().Kind == EndKind::BareKing) {
            try {
                ReadKif(kif + std::to_string(session.MoveHistory().size() + 1) + " ５五歩(56)\n");
                ADD_FAILURE() << "a move after the bare king's end is read, game " << g;
            } catch (const TKifError& e) {
                EXPECT_EQ(e.Fault(), KifFault::GameAlreadyOver) << e.what();
            }
        }
        const std::vector<PieceName> board = Board(session);
        const int moves = int(session.MoveHistory().size());
        for (const char* name : {"game.kif", "game.kifu", "game.txt"}) {
            const std::filesystem::path path = folder / name;
            session.SaveRecord(path);
            const std::string bytes = Slurp(path);
            ASSERT_TRUE(EveryLineEndsInCrLf(bytes)) << name << ", game " << g;
            if (RecordFormOf(path) == RecordForm::Text) {
                EXPECT_EQ(bytes, kifu) << "game " << g;
                continue;
            }
            if (RecordFormOf(path) == RecordForm::Kif) {
                ASSERT_EQ(DecodeCp932(bytes), WithCrLf(kif)) << "game " << g;
            }

            ASSERT_EQ(opened.OpenRecord(path), moves) << name << ", game " << g;
            ASSERT_TRUE(opened.ReplayMode());
            ASSERT_EQ(opened.ShownMove(), 0);
            ASSERT_EQ(opened.KifuText(), kifu) << name << ", game " << g;
            ASSERT_EQ(opened.KifText(), kif) << name << ", game " << g;
            ASSERT_EQ(opened.Ending(), session.Ending());
            // COM's reasons travel as the comments on its moves.
            ASSERT_EQ(opened.ComReasons(), session.ComReasons()) << name << ", game " << g;
            for (int k = 0; k < moves; ++k) opened.ReplayOne();
            ASSERT_EQ(opened.ShownMove(), moves) << name << ", game " << g;
            ASSERT_EQ(Board(opened), board) << name << ", game " << g;
            ASSERT_TRUE(openedView.Boxes.empty()) << openedView.Boxes.front();
        }
    }
    std::filesystem::remove_all(folder);

    std::string seen;
    for (const auto& [ending, count] : endings)
        seen += std::to_string(ending.first) + "/" + std::to_string(ending.second) + ":" +
                std::to_string(count) + " ";
    const std::pair<EndKind, Side> expected[] = {
        {EndKind::None, Side::Sente}, {EndKind::Mate, Side::Gote},      {EndKind::BareKing, Side::Gote},
        {EndKind::Mate, Side::Sente}, {EndKind::BareKing, Side::Sente}, {EndKind::Resign, Side::Sente}};
    for (auto [kind, loser] : expected)
        EXPECT_GT((endings[{int(kind), int(loser)}]), 0)
            << "no game ended with ending " << int(kind) << "/" << int(loser) << " (endings: " << seen << ")";
}
