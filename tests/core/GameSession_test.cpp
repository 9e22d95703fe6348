// Whole turns, take-backs, replays and record copies through the game session, with a fake window.
#include "session/GameSession.h"

#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// The window as the session sees it: what is shown, nothing drawn.
struct FakeView : ISessionView {
    std::string Message, Status, Clipboard;
    std::vector<std::string> Boxes;
    std::map<int, PieceName> Squares;
    struct Frame {
        int Square = -1;
        bool Visible = false;
    };
    Frame Waku, Waku2;
    bool Replay = false;
    int Pending = 0;
    int Calls = 0; // every call that could change what the window shows
    // Labels, status lines, boxes and replay switches in the order they were shown.
    std::vector<std::string> Log;

    void SetMessage(const std::string& t) override { Message = t, ++Calls, Log.push_back("label " + t); }
    void SetStatus(const std::string& t) override { Status = t, ++Calls, Log.push_back("status " + t); }
    void ShowMessageBox(const std::string& t) override {
        Boxes.push_back(t), ++Calls, Log.push_back("box " + t);
    }
    void SetSquare(int sq, PieceName p) override { Squares[sq] = p, ++Calls; }
    void MoveFrame(SessionFrame f, int sq) override { FrameOf(f).Square = sq, ++Calls; }
    void RemoveFrame(SessionFrame f) override { FrameOf(f) = {0, false}, ++Calls; }
    void ShowFrame(SessionFrame f, bool v) override { FrameOf(f).Visible = v, ++Calls; }
    void SetReplayMode(bool on) override {
        Replay = on, ++Calls, Log.push_back(on ? "replay on" : "replay off");
    }
    void ProcessPendingEvents() override { ++Pending; }
    void SetClipboardText(const std::string& t) override { Clipboard = t; }
    void TurnFinished(const TTurnReport& r) override { Finished.push_back(r.Result); }
    std::vector<TTurnReport::Outcome> Finished;

    Frame& FrameOf(SessionFrame f) { return f == SessionFrame::Waku ? Waku : Waku2; }
    PieceName At(int sq) const {
        auto it = Squares.find(sq);
        return it == Squares.end() ? PieceName::Empty : it->second;
    }
    // The board as drawn, by square code.
    std::vector<PieceName> Drawn() const {
        std::vector<PieceName> b(100, PieceName::Empty);
        for (auto [sq, p] : Squares) b[sq] = p;
        return b;
    }
};

std::vector<PieceName> BoardOf(const TGameSession& s) {
    std::vector<PieceName> b(100, PieceName::Empty);
    for (int f = 1; f <= 9; ++f)
        for (int r = 1; r <= 9; ++r) b[f * 10 + r] = s.ShownPosition().Board[f * 10 + r];
    return b;
}

// Everything a refused command must leave alone.
struct Snapshot {
    std::vector<std::string> Board, ComBoard;
    std::string Kifu;
    size_t Moves;
    int Count;
    TMove HumanLast, ComLast;
    Side ToMove;
    explicit Snapshot(const TGameSession& s)
        : Board(s.ShownPosition().BoardList()), Kifu(s.KifuText()), Moves(s.MoveHistory().size()),
          Count(s.MoveCount()), ToMove(s.SideToMove()) {
        if (const TKyokumenKanri* com = s.ComKanri(Side::Gote)) {
            ComBoard = com->BoardList();
            HumanLast = com->Kyokumen.Sente.LastMove;
            ComLast = com->Kyokumen.Gote.LastMove;
        }
    }
    bool operator==(const Snapshot&) const = default;
};

const TKyokumenKanri& ComOf(const TGameSession& s) {
    return *s.ComKanri(Side::Gote);
}

// A session started as the window starts it, with a fixed date and, unless given, fixed think times.
struct SessionTest : ::testing::Test {
    FakeView view;
    std::int64_t tick = 0;
    std::int64_t thinkMs = 47;
    TSessionHooks hooks;
    std::unique_ptr<TGameSession> session;

    void SetUp() override {
        hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
        // Each COM reply takes thinkMs: the counter moves on every second reading.
        hooks.TickCount = [this] {
            std::int64_t now = tick;
            tick += thinkMs;
            return now;
        };
        session = std::make_unique<TGameSession>(view, hooks);
        session->Start();
    }
    TTurnReport Drag(int from, int to) { return session->MoveComa_Screen(from, to); }
    TGameSession& S() { return *session; }
};

const std::string kStartKifu = "--------------------------------\r\n"
                               "　創作将棋 ミルトア\r\n"
                               "　棋譜作成日:2024/03/05 9:07:31\r\n"
                               "--------------------------------\r\n"
                               "　先手：あなた　後手：COM\r\n"
                               " \r\n"
                               "　香桂銀金王金銀桂香\r\n"
                               "　□飛□□□□□□□\r\n"
                               "　歩歩歩歩歩□角歩歩\r\n"
                               "　□□□□□歩歩□□\r\n"
                               "　□□□□□□□□□\r\n"
                               "　□□歩歩□□□□□\r\n"
                               "　歩歩角□歩歩歩歩歩\r\n"
                               "　□□□□□□□飛□\r\n"
                               "　香桂銀金王金銀桂香\r\n"
                               "--------------------------------\r\n";
const std::string kClosing = "--------------------------------\r\n";

// COM's replies come from a list, so that the session's own steps are tested whatever COM would
// choose; once the list is used up, COM finds itself mated, as its think reports it (and resigns).
std::function<void(TKyokumenKanri&)> ScriptedCom(std::vector<std::string> replies) {
    return [replies, next = std::size_t{0}](TKyokumenKanri& k) mutable {
        k.InCheckFlag = false;
        k.ComMove = TMove{};
        if (next < replies.size())
            k.ComMove = ParseMoveText(replies[next++]);
        else
            k.HumanMatesFlag = true;
    };
}

// COM's first replies from a list, its own think afterwards: a position set up by playing, that COM
// then plays on from.
std::function<void(TKyokumenKanri&)> ScriptedThenCom(std::vector<std::string> replies) {
    return [replies, next = std::size_t{0}](TKyokumenKanri& k) mutable {
        if (next >= replies.size()) return k.ComThink();
        k.InCheckFlag = false;
        k.ComMove = ParseMoveText(replies[next++]);
    };
}

// A session whose first moves are the given ones: the human's dragged, COM's scripted.
void StartWith(SessionTest& t, std::vector<std::string> moves) {
    std::vector<std::string> com;
    for (const std::string& m : moves)
        if (testing_helpers::IsComText(m)) com.push_back(m);
    t.session.reset();
    t.hooks.Think = ScriptedThenCom(com);
    t.session = std::make_unique<TGameSession>(t.view, t.hooks);
    t.S().Start();
    for (const std::string& m : moves) {
        if (testing_helpers::IsComText(m)) continue;
        const TMove h = ParseMoveText(m);
        ASSERT_NE(t.Drag(h.From, h.To).Result, TTurnReport::Outcome::Illegal) << m;
    }
}

// A game from the test position that the human wins with its 7th move.
void PlaySevenMoveWin(SessionTest& t) {
    t.session.reset();
    t.hooks.Think = ScriptedCom({"4131com金", "8384com歩", "9247com角"});
    t.session = std::make_unique<TGameSession>(t.view, t.hooks);
    t.S().Start();
    t.S().NewTestGame();
    const int script[4][2] = {{19, 18}, {28, 23}, {33, 32}, {23, 13}};
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(t.Drag(script[i][0], script[i][1]).Result, TTurnReport::Outcome::Continues);
    ASSERT_EQ(t.Drag(script[3][0], script[3][1]).Ending, (TGameEnd{EndKind::Mate, Side::Gote}));
}

} // namespace

TEST_F(SessionTest, StartShowsTheStartPositionAndTheGreeting) {
    EXPECT_EQ(view.Message, "あなたの番です\r\n\r\n\r\n（COMの陣形は【基本形】に設定されました）");
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_EQ(view.At(77), PieceName::Kaku);
    EXPECT_FALSE(view.Waku.Visible);
    EXPECT_EQ(view.Waku.Square, 0);
    EXPECT_FALSE(view.Replay);
    EXPECT_EQ(ComOf(S()).FormationName, "【基本形】");
    EXPECT_EQ(S().KifuText(), kStartKifu + kClosing);
}

TEST_F(SessionTest, FirstTurnWritesLabelRecordAndSquares) {
    const TTurnReport r = Drag(27, 26);
    ASSERT_EQ(r.Result, TTurnReport::Outcome::Continues);
    const TMove com = S().ShownMoveHistory().at(1);
    EXPECT_EQ(view.Message, "1手目 あなたの指し手:\r\n\r\n　27→26　歩\r\n\r\n2手目 COMの指し手:\r\n\r\n" +
                                TGameSession::FormatMove(com) +
                                "\r\n\r\nCOM思考： 0.047秒\r\nCOM消費時間： 0秒");
    const auto& kifu = S().KifuLines();
    ASSERT_EQ(kifu.size(), 18u);
    EXPECT_EQ(kifu[16], " 1: ▲先手: 　27→26　歩");
    EXPECT_EQ(kifu[17], " 2: △後手: " + TGameSession::FormatMove(com));
    EXPECT_EQ(S().MoveHistory().size(), 2u);
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_EQ(view.Waku.Square, com.To);
    EXPECT_EQ(view.Pending, 1); // just before COM thinks
    EXPECT_EQ(S().SideToMove(), Side::Sente);
    EXPECT_TRUE(view.Status == "【基本形】の駒組み中" || view.Status == "COMが王手しました！" ||
                view.Status.empty());
    EXPECT_DOUBLE_EQ(S().ComTotalTime(), 0.047);
}

TEST_F(SessionTest, StatusLineIsClearedThenNamesTheFormationInProgress) {
    session.reset();
    hooks.Think = ScriptedCom({"8384com歩"});
    session = std::make_unique<TGameSession>(view, hooks);
    S().Start();
    view.Log.clear();
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    std::vector<std::string> statuses;
    for (const std::string& entry : view.Log)
        if (entry.starts_with("status ")) statuses.push_back(entry);
    EXPECT_EQ(statuses, (std::vector<std::string>{"status COM思考中。。。。", "status ",
                                                  "status 【基本形】の駒組み中"}));
}

// Digits become '9', so that a text can be compared with the shape of a number or a date.
std::string Shape(std::string text) {
    for (char& c : text)
        if (c >= '0' && c <= '9') c = '9';
    return text;
}

TEST(Session, ThinkingTimeFromTheRealClock) {
    FakeView view;
    TGameSession s(view);
    s.Start();
    ASSERT_EQ(s.MoveComa_Screen(27, 26).Result, TTurnReport::Outcome::Continues);
    const std::string head = "\r\n\r\nCOM思考： ", middle = "秒\r\nCOM消費時間： ";
    const std::size_t a = view.Message.rfind(head);
    const std::size_t b = view.Message.find(middle, a);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    const std::string think = Shape(view.Message.substr(a + head.size(), b - a - head.size()));
    EXPECT_TRUE(think.find_first_not_of("9") == std::string::npos ||
                (think.starts_with("9.") && think.find_first_not_of("9", 2) == std::string::npos))
        << view.Message;
    EXPECT_EQ(Shape(view.Message.substr(b + middle.size())), "9秒");
    const std::string date = Shape(s.KifuLines()[2]);
    EXPECT_TRUE(date == "　棋譜作成日:9999/99/99 9:99:99" || date == "　棋譜作成日:9999/99/99 99:99:99")
        << date;
}

TEST_F(SessionTest, RefusedMovesChangeOnlyTheLabel) {
    // COM's pawn promoted on 47 covers 48 and 58 next to the human king.
    StartWith(*this, {"1716歩", "4445com歩", "1615歩", "4546com歩", "1514歩", "4647com歩"});
    if (HasFatalFailure()) return;
    const Snapshot before(S());
    view.Calls = 0;
    EXPECT_EQ(Drag(77, 76).Result, TTurnReport::Outcome::Illegal);
    EXPECT_EQ(view.Message, "あなたの番です。\r\n\r\n駒の動かし方が不正です。");
    EXPECT_EQ(Drag(59, 58).Result, TTurnReport::Outcome::IllegalCheck);
    EXPECT_EQ(view.Message, "あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。");
    // A drop outside every square names no destination.
    EXPECT_EQ(Drag(97, 0).Result, TTurnReport::Outcome::Illegal);
    EXPECT_EQ(Snapshot(S()), before);
    EXPECT_TRUE(view.Boxes.empty());

    // After a whole turn, a refused move and then a take-back return to the position before the pair.
    ASSERT_EQ(Drag(97, 96).Result, TTurnReport::Outcome::Continues);
    int from = 0, to = 0;
    TMoveList moves;
    S().Position().ListMoves(false, moves);
    for (const TMove& m : moves)
        if (TestMove(S().Position(), Side::Sente, m.From, m.To).Result == THumanMoveTest::KingLeftAttacked) {
            from = m.From, to = m.To;
            break;
        }
    ASSERT_NE(from, 0) << "no move leaves the king attacked after COM's reply";
    const Snapshot afterTurn(S());
    EXPECT_EQ(Drag(from, to).Result, TTurnReport::Outcome::IllegalCheck);
    EXPECT_EQ(Snapshot(S()), afterTurn);
    ASSERT_TRUE(S().Matta().Done);
    EXPECT_EQ(S().Position().BoardList(), before.Board);
    EXPECT_EQ(S().KifuText(), before.Kifu);
    EXPECT_EQ(
        view.Message,
        "待ったをしました\r\n\r\n戻した指し手:\r\n\r\n　7手目\r\n　97→96　歩\r\n　8手目\r\n　13→14　com歩");
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
}

TEST_F(SessionTest, DropOnTheStartSquareDoesNothing) {
    const Snapshot before(S());
    const std::string message = view.Message;
    view.Calls = 0;
    EXPECT_EQ(Drag(77, 77).Result, TTurnReport::Outcome::Ignored);
    EXPECT_EQ(view.Message, message);
    EXPECT_EQ(Snapshot(S()), before);
    EXPECT_EQ(view.Calls, 0);
}

TEST_F(SessionTest, HumanMateEndsTheTurnBeforeComMoves) {
    S().NewTestGame();
    view.Log.clear();
    const TTurnReport r = Drag(28, 22);
    ASSERT_EQ(r.Result, TTurnReport::Outcome::GameOver);
    EXPECT_EQ(view.Boxes, std::vector<std::string>{"王の詰みです。あなたの勝ちです。"});
    EXPECT_EQ(view.Message, "1手目 あなたの指し手:\r\n\r\n　28→22　龍王\r\n\r\nCOM消費時間： 0秒");
    // The referee sees the mate: COM is not asked.
    EXPECT_EQ(view.Log, (std::vector<std::string>{
                            "label 1手目 あなたの指し手:\r\n\r\n　28→22　龍王",
                            "box 王の詰みです。あなたの勝ちです。",
                            "status あなたの勝ちです。",
                            "replay on",
                            "label 1手目 あなたの指し手:\r\n\r\n　28→22　龍王\r\n\r\nCOM消費時間： 0秒",
                        }));
    EXPECT_EQ(view.Status, "あなたの勝ちです。");
    const auto& kifu = S().KifuLines();
    ASSERT_EQ(kifu.size(), 18u);
    EXPECT_EQ(kifu[16], " 1: ▲先手: 　28→22　龍王");
    EXPECT_EQ(kifu[17], "まで、先手の勝ち");
    EXPECT_EQ(S().MoveHistory().size(), 1u);
    EXPECT_TRUE(view.Replay);

    // The game is over: drags change nothing, take-back is refused, the record ends with the result.
    const Snapshot over(S());
    EXPECT_EQ(Drag(22, 21).Result, TTurnReport::Outcome::Ignored);
    EXPECT_EQ(S().Matta().Refusal, "棋譜再現中です。待ったできません。");
    EXPECT_EQ(Snapshot(S()), over);
    S().CopyKifu();
    EXPECT_EQ(view.Clipboard.substr(0, 34), kClosing);
    EXPECT_EQ(view.Clipboard.substr(view.Clipboard.size() - 60), "まで、先手の勝ち\r\n" + kClosing);
}

TEST_F(SessionTest, ComWinShowsTheTotalTimeOnce) {
    thinkMs = 1500;
    // The human king walks towards COM until COM wins.
    TTurnReport r;
    int turns = 0;
    for (; turns < 100; ++turns) {
        TMove pick;
        for (const TMove& m : S().LegalMoves())
            if (pick.Empty() || (m.Name == PieceName::Ou && m.ToRank() < pick.ToRank())) pick = m;
        ASSERT_FALSE(pick.Empty());
        r = Drag(pick.From, pick.To);
        if (r.Result != TTurnReport::Outcome::Continues) break;
    }
    ASSERT_EQ(r.Result, TTurnReport::Outcome::GameOver);
    ASSERT_TRUE(r.Ending.Won(Side::Gote));
    const bool mate = r.Ending.Kind == EndKind::Mate;
    const std::string total = "COM消費時間： " + std::to_string((turns + 1) * 3 / 2) + "秒";
    EXPECT_TRUE(view.Message.ends_with("COM思考： 1.5秒\r\n" + total)) << view.Message;
    EXPECT_EQ(view.Message.find(total), view.Message.rfind(total)) << view.Message;
    // The status line is cleared, may name the formation, tells of the check, and only then comes the
    // box, the result on the status line, replay mode and the total time.
    const std::string box = mate ? "詰みです。COMの勝ちです。"
                            : r.Ending.Kind == EndKind::BareKing
                                ? "王一枚のみとなったので終了です。COMの勝ちです。"
                                : "指せる手がありません。COMの勝ちです。";
    std::vector<std::string> tail(view.Log.end() - 4, view.Log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"box " + box, "status COMの勝ちです。", "replay on",
                                              "label " + view.Message}));
    auto cleared = std::find(view.Log.rbegin(), view.Log.rend(), "status ");
    ASSERT_NE(cleared, view.Log.rend());
    std::vector<std::string> afterClear(cleared.base(), view.Log.end() - 4);
    if (mate) {
        ASSERT_FALSE(afterClear.empty());
        EXPECT_EQ(afterClear.back(), "status COMが王手しました！");
    }
    for (const std::string& entry : afterClear) EXPECT_TRUE(entry.starts_with("status ")) << entry;
    EXPECT_EQ(view.Status, "COMの勝ちです。");
    EXPECT_EQ(view.Boxes.back(), box);
    EXPECT_EQ(S().KifuLines().back(), "まで、後手の勝ち");
    EXPECT_EQ(S().KifuLines().size(), 16 + S().MoveHistory().size() + 1);
    EXPECT_TRUE(view.Replay);
}

TEST_F(SessionTest, ResignEndsTheGameAsAComWinOnlyOnTheHumansTurnOfAGameUnderWay) {
    EXPECT_FALSE(S().Resign()) << "no move made yet";
    EXPECT_FALSE(S().ReplayMode());
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    ASSERT_TRUE(S().Resign());
    EXPECT_TRUE(S().GameOver());
    EXPECT_TRUE(view.Replay);
    EXPECT_EQ(view.Status, "COMの勝ちです。");
    const std::vector<std::string>& lines = S().KifuLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], " 3: ▲先手: 　投了");
    EXPECT_EQ(lines.back(), "まで、後手の勝ち");
    const Snapshot over(S());
    EXPECT_FALSE(S().Resign()) << "the game is over";
    EXPECT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Ignored);
    EXPECT_FALSE(S().Matta().Done);
    EXPECT_EQ(Snapshot(S()), over);
    S().NewGame();
    EXPECT_FALSE(S().GameOver());
    EXPECT_FALSE(S().Resign());
}

TEST_F(SessionTest, TakeBackIsRefusedFiveWaysAndAllowedOnceBetweenTurns) {
    const auto start = S().ShownPosition().BoardList();
    EXPECT_EQ(S().Matta().Refusal, "すでに初期状態です。待ったできません。");
    EXPECT_EQ(view.Boxes.back(), "すでに初期状態です。待ったできません。");

    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    ASSERT_TRUE(S().Matta().Done);
    EXPECT_EQ(view.Message, "待ったをしました\r\n初期状態に戻りました\r\n\r\n");
    EXPECT_EQ(S().ShownPosition().BoardList(), start);
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_EQ(S().KifuText(), kStartKifu + kClosing);
    EXPECT_FALSE(view.Waku.Visible);
    EXPECT_EQ(view.Status, "");
    EXPECT_EQ(S().Matta().Refusal, "待ったは一度だけです。");

    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    const auto afterFirstPair = S().ShownPosition().BoardList();
    ASSERT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Continues);
    ASSERT_TRUE(S().Matta().Done);
    EXPECT_EQ(
        view.Message,
        "待ったをしました\r\n\r\n戻した指し手:\r\n\r\n　3手目\r\n　26→25　歩\r\n　4手目\r\n　42→43　com金");
    EXPECT_EQ(S().ShownPosition().BoardList(), afterFirstPair);
    EXPECT_EQ(S().ShownMove(), 2);
    EXPECT_EQ(S().KifuLines().size(), 18u);
    EXPECT_EQ(S().ShownMoveHistory().size(), 2u);

    ASSERT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Continues);
    EXPECT_FALSE(S().MattaUsed());

    // A game resigned after a take-back is refused as a finished game, not as a second take-back.
    ASSERT_TRUE(S().Matta().Done);
    ASSERT_TRUE(S().Resign());
    EXPECT_EQ(S().Matta().Refusal, "棋譜再現中です。待ったできません。");
}

TEST_F(SessionTest, ReplayStepsThroughAFinishedGame) {
    PlaySevenMoveWin(*this);
    if (HasFatalFailure()) return;
    const auto finalBoard = S().ShownPosition().BoardList();
    const std::string kifu = S().KifuText();
    const auto& shown = S().ShownMoveHistory();
    auto fm = [&](int k) { return TGameSession::FormatMove(shown.at(k - 1)); };

    // Before the to-start button every move is already on the board.
    view.Calls = 0;
    S().ReplayTwo();
    EXPECT_EQ(view.Calls, 0);

    S().ReplayToStart();
    EXPECT_EQ(
        view.Message,
        "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一手ずつ再生することができます。");
    TKyokumen testStart;
    testStart.SetupTestPosition();
    EXPECT_EQ(S().ShownPosition().BoardList(), testStart.BoardList());
    EXPECT_FALSE(view.Waku.Visible);
    EXPECT_FALSE(view.Waku2.Visible);

    S().ReplayOne();
    EXPECT_EQ(view.Message, "棋譜再現モード\r\n\r\n\r\n1手目\r\n\r\n" + fm(1));
    EXPECT_EQ(S().ShownMove(), 1);

    S().ReplayToStart();
    for (int first = 1; first <= 5; first += 2) {
        S().ReplayTwo();
        EXPECT_EQ(view.Message, "棋譜再現モード\r\n\r\n" + std::to_string(first) + "手目\r\n\r\n" +
                                    fm(first) + "\r\n\r\n" + std::to_string(first + 1) + "手目\r\n\r\n" +
                                    fm(first + 1));
        EXPECT_EQ(view.Waku.Square, shown[first - 1].To);
        EXPECT_EQ(view.Waku2.Square, shown[first].To);
        EXPECT_TRUE(view.Waku.Visible && view.Waku2.Visible);
    }
    S().ReplayTwo();
    // The last move says how the game ended.
    EXPECT_EQ(view.Message,
              "棋譜再現モード\r\n\r\n7手目\r\n\r\n" + fm(7) + "\r\n\r\nまで7手　詰みであなたの勝ち");
    EXPECT_EQ(view.Waku.Square, shown[6].To);
    EXPECT_EQ(view.Waku2.Square, shown[5].To); // left as it was
    EXPECT_TRUE(view.Waku2.Visible);
    EXPECT_EQ(S().ShownPosition().BoardList(), finalBoard);
    EXPECT_EQ(view.Drawn(), BoardOf(S()));

    view.Calls = 0;
    S().ReplayTwo();
    S().ReplayOne();
    EXPECT_EQ(view.Calls, 0);
    EXPECT_EQ(S().KifuText(), kifu);
}

TEST_F(SessionTest, ClipboardTextOfANewGame) {
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    S().NewGame();
    S().CopyKifu();
    EXPECT_EQ(view.Clipboard, kStartKifu + kClosing);
    EXPECT_EQ(view.Message, "あなたの番です\r\n\r\n\r\n（COMの陣形は【基本形】に設定されました）");
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_FALSE(view.Waku.Visible);
}

TEST_F(SessionTest, HandicapGameLeavesOutRookAndBishop) {
    S().NewHandicapGame();
    EXPECT_EQ(view.At(77), PieceName::Empty);
    EXPECT_EQ(view.At(28), PieceName::Empty);
    EXPECT_EQ(view.At(76), PieceName::Fu);
    EXPECT_EQ(view.At(66), PieceName::Fu);
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_TRUE(S().HisyaKakuMode());
    const auto& kifu = S().KifuLines();
    ASSERT_EQ(kifu.size(), 16u);
    EXPECT_EQ(kifu[12], "　歩歩□□歩歩歩歩歩");
    EXPECT_EQ(kifu[13], "　□□□□□□□□□");
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    ASSERT_TRUE(S().Matta().Done);
    EXPECT_EQ(S().ShownPosition().BoardList()[77], " ");
    EXPECT_EQ(view.At(28), PieceName::Empty);
}

TEST_F(SessionTest, FormationPickedAfterTheFirstMoveIsKeptForTheNextGame) {
    EXPECT_TRUE(S().PickFormation("【中飛車】"));
    EXPECT_EQ(view.Message, "あなたの番です\r\n\r\n\r\n（COMの陣形は【中飛車】に設定されました）");
    EXPECT_EQ(ComOf(S()).FormationName, "【中飛車】");

    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    const std::string label = view.Message;
    EXPECT_FALSE(S().PickFormation("【ミルトア式BIG4 改】"));
    EXPECT_EQ(view.Message, label);
    EXPECT_EQ(ComOf(S()).FormationName, "【中飛車】");

    S().NewGame();
    EXPECT_EQ(ComOf(S()).FormationName, "【ミルトア式BIG4 改】");
    EXPECT_EQ(view.Message, "あなたの番です\r\n\r\n\r\n（COMの陣形は【ミルトア式BIG4 改】に設定されました）");
    EXPECT_EQ(S().Formation(), "【ミルトア式BIG4 改】");
}

// COM's king needs three moves to reach the square of the formation's second step: each of them is a
// move of its own, and a taken-back one is counted again when COM replays it.
TEST_F(SessionTest, EachFormationMoveHasANumberOfItsOwn) {
    S().NewHandicapGame();
    ASSERT_TRUE(S().PickFormation("【穴熊】"));
    for (auto [from, to] : {std::pair{27, 26}, {76, 75}, {66, 65}, {97, 96}})
        ASSERT_EQ(Drag(from, to).Result, TTurnReport::Outcome::Continues);
    const std::vector<std::string> built = {"【穴熊】の駒組み 1手目", "【穴熊】の駒組み 2手目",
                                            "【穴熊】の駒組み 3手目", "【穴熊】の駒組み 4手目"};
    EXPECT_EQ(S().ComReasons(), built);
    ASSERT_TRUE(S().Matta().Done);
    ASSERT_EQ(Drag(97, 96).Result, TTurnReport::Outcome::Continues);
    EXPECT_EQ(S().ComReasons(), built);
}

TEST_F(SessionTest, TakeBackAfterAComErrorReturnsTheHumansMove) {
    // COM's think can be made to die half-way through a look-ahead, leaving a probe move on the board.
    bool fail = false;
    session.reset();
    hooks.Think = [&fail](TKyokumenKanri& k) {
        k.ComThink();
        if (!fail) return;
        k.Kyokumen.ComToMove = true;
        k.Kyokumen.ApplyMoveText("9394com歩");
        throw std::runtime_error("search stack exhausted");
    };
    session = std::make_unique<TGameSession>(view, hooks);
    S().Start();
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    const Snapshot afterPair(S());
    auto progress = [this] {
        std::vector<std::array<int, TSenpou_Base::kSlots>> done;
        for (int id = 0; id < kSenpouCount; ++id)
            done.push_back(ComOf(S()).Senpou[std::size_t(id)]->StepDone);
        return done;
    };
    const auto progressAfterPair = progress();

    fail = true;
    ASSERT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::ComFailed);
    // The failed think counted a formation step that COM never made.
    ASSERT_NE(progress(), progressAfterPair);
    EXPECT_EQ(view.Boxes.back(),
              "COM思考でエラー発生\r\n\r\nプログラム上のバグです。致命的な状況なのでゲームを中断し"
              "ます。\r\n\r\nエラー内容は search stack exhausted");
    EXPECT_EQ(view.Status, "COM思考中。。。。");
    EXPECT_EQ(S().KifuLines().size(), 19u);
    EXPECT_EQ(S().SideToMove(), Side::Gote);
    EXPECT_EQ(Drag(77, 86).Result, TTurnReport::Outcome::Ignored);

    ASSERT_TRUE(S().Matta().Done);
    EXPECT_EQ(view.Message, "待ったをしました\r\n\r\n戻した指し手:\r\n\r\n　3手目\r\n　26→25　歩");
    EXPECT_EQ(S().ShownPosition().BoardList(), afterPair.Board);
    EXPECT_EQ(S().KifuText(), afterPair.Kifu);
    EXPECT_EQ(S().SideToMove(), Side::Sente);
    EXPECT_EQ(ComOf(S()).SideToMove, 0);
    EXPECT_EQ(ComOf(S()).Kyokumen.ComToMove, false);
    EXPECT_EQ(ComOf(S()).MoveCount(), 2);
    EXPECT_EQ(S().MoveCount(), 2);
    EXPECT_EQ(progress(), progressAfterPair);
    EXPECT_EQ(view.Drawn(), BoardOf(S()));
    EXPECT_EQ(S().Matta().Refusal, "待ったは一度だけです。");

    // The game goes on.
    fail = false;
    ASSERT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Continues);
    EXPECT_EQ(S().MoveHistory().size(), 4u);
    EXPECT_FALSE(S().MattaUsed());
}

// COM that finds no move it takes for safe, where the rules still give it one, gives the game up; a
// move of COM's that leaves its own king attacked is a foul that loses at once and is not played.
TEST_F(SessionTest, ComWithoutAMoveResignsAndAComFoulLoses) {
    session.reset();
    hooks.Think = [](TKyokumenKanri& k) { k.ComMove = TMove{}; };
    session = std::make_unique<TGameSession>(view, hooks);
    S().Start();
    const TTurnReport r = Drag(27, 26);
    ASSERT_EQ(r.Result, TTurnReport::Outcome::GameOver);
    EXPECT_EQ(r.Ending, (TGameEnd{EndKind::Resign, Side::Gote}));
    EXPECT_EQ(view.Boxes.back(), "COMが投了しました。あなたの勝ちです。");
    EXPECT_EQ(view.Status, "あなたの勝ちです。");
    EXPECT_EQ(S().MoveHistory().size(), 1u);
    EXPECT_EQ(S().KifuLines().back(), "まで、先手の勝ち");

    // From the test position COM's king on 11 steps onto 22, which the human's と on 33 covers.
    session.reset();
    hooks.Think = ScriptedCom({"1122com王"});
    session = std::make_unique<TGameSession>(view, hooks);
    S().Start();
    S().NewTestGame();
    ASSERT_EQ(Drag(19, 18).Result, TTurnReport::Outcome::GameOver);
    EXPECT_EQ(view.Boxes.back(), "COMの指し手は反則です。あなたの勝ちです。") << view.Message;
    EXPECT_EQ(S().Ending(), (TGameEnd{EndKind::IllegalMove, Side::Gote}));
    EXPECT_EQ(S().MoveHistory().size(), 1u);
    const std::vector<std::string> lines = S().KifuLines();
    EXPECT_EQ(lines[lines.size() - 2], " 2: △後手: 　反則負け");
    EXPECT_EQ(lines.back(), "まで、先手の勝ち");
    const TKifRecord again = ReadKif(S().KifText());
    EXPECT_EQ(again.Ending, S().Ending());
}

TEST(Session, TextsOfMovesGlyphsAndTimes) {
    EXPECT_EQ(TGameSession::FormatMove(ParseMoveText("8384com歩")), "　83→84　com歩");
    EXPECT_EQ(TGameSession::DiagramGlyph("com龍王"), "龍王");
    EXPECT_EQ(TGameSession::DiagramGlyph("香成"), "香成");
    EXPECT_EQ(TGameSession::DiagramGlyph(" "), "□");
    EXPECT_EQ(TGameSession::FormatSeconds(0.047), "0.047");
    EXPECT_EQ(TGameSession::FormatSeconds(1.5), "1.5");
    EXPECT_EQ(TGameSession::FormatSeconds(3), "3");
    EXPECT_EQ(TGameSession::FormatSeconds(0.1 + 0.2), "0.3");
    EXPECT_EQ(TGameSession::FormatSeconds(0.00002), "0.00002");
}

// A player that thinks elsewhere: it answers with the built-in COM's reply when the test says so.
struct LaterOpponent : IPlayer {
    TRandom Rng;
    TComPlayer Com{Rng};
    TKyokumen Position;
    std::vector<TMove> Legal;
    ReplyFn Reply;
    int Cancelled = 0;
    void NewGame(const TKyokumen& start, Side side, const TSeat& seat) override {
        Com.NewGame(start, side, seat);
    }
    void Moved(const TMove& m, Side mover) override { Com.Moved(m, mover); }
    void TookBack(bool missing) override { Com.TookBack(missing); }
    void Think(const TMoveRequest& r, ReplyFn reply) override {
        Position = r.Position, Legal = r.Legal, Reply = std::move(reply);
    }
    void Cancel() override { ++Cancelled; }
    std::string Building() const override { return Com.Building(); }
    void Answer() { Com.Think({Position, Side::Gote, Legal}, std::exchange(Reply, {})); }
};

TEST_F(SessionTest, AReplyThatComesLaterFinishesTheTurnAsOneAtOnceWould) {
    LaterOpponent later;
    FakeView laterView;
    TSessionHooks laterHooks = hooks;
    laterHooks.Opponent = &later;
    TGameSession s(laterView, laterHooks);
    s.Start();

    for (auto [from, to] : {std::pair{27, 26}, {26, 25}, {39, 38}}) {
        ASSERT_EQ(s.MoveComa_Screen(from, to).Result, TTurnReport::Outcome::Pending);
        // The human's move is shown; nothing else happens until the reply.
        EXPECT_EQ(laterView.At(to), s.Position().Board[to]);
        EXPECT_TRUE(s.ReplyPending());
        EXPECT_TRUE(s.LegalMoves().empty());
        const Snapshot waiting(s);
        EXPECT_EQ(s.MoveComa_Screen(39, 38).Result, TTurnReport::Outcome::Ignored);
        EXPECT_FALSE(s.Matta().Done);
        EXPECT_FALSE(s.Resign());
        EXPECT_EQ(Snapshot(s), waiting);

        later.Answer();
        EXPECT_FALSE(s.ReplyPending());
        ASSERT_EQ(laterView.Finished.back(), TTurnReport::Outcome::Continues);
        ASSERT_EQ(Drag(from, to).Result, TTurnReport::Outcome::Continues);
        EXPECT_EQ(s.KifuText(), S().KifuText());
        EXPECT_EQ(laterView.Message, view.Message);
        EXPECT_EQ(laterView.Status, view.Status);
        EXPECT_EQ(laterView.Drawn(), view.Drawn());
    }

    // A new game drops the reply still owed for the old one.
    ASSERT_EQ(s.MoveComa_Screen(59, 58).Result, TTurnReport::Outcome::Pending);
    IPlayer::ReplyFn stale = std::exchange(later.Reply, {});
    s.NewGame();
    EXPECT_EQ(later.Cancelled, 1);
    const Snapshot fresh(s);
    stale(TOpponentReply{{}, TMove{33, 34, PieceName::ComFu}, false, {}, {}, {}});
    EXPECT_EQ(Snapshot(s), fresh);
    EXPECT_EQ(laterView.Finished.size(), 3u);
}

TEST_F(SessionTest, AnOpenedRecordKeepsTheCommentsOnBothSidesMovesWhenSavedAgain) {
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    std::string kif = S().KifText();
    const std::string first = "   1 ２六歩(27)\n";
    ASSERT_NE(kif.find(first), std::string::npos) << kif;
    kif.insert(kif.find(first) + first.size(), "*居飛車の意思表示\n");
    ASSERT_EQ(S().OpenKifText(kif), 2);
    EXPECT_EQ(S().KifText(), kif);
    EXPECT_EQ(S().ComReasonOfMove(2), "【基本形】の駒組み 1手目");
}

TEST_F(SessionTest, InCheckTheLegalListHoldsOnlyMovesThatLeaveTheKingSafe) {
    // COM's と on 48 checks the human king on 59.
    StartWith(*this,
              {"1716歩", "4445com歩", "1615歩", "4546com歩", "1514歩", "4647com歩", "1413歩", "4748comと"});
    if (HasFatalFailure()) return;
    const std::vector<TMove> legal = S().LegalMoves();
    ASSERT_FALSE(legal.empty());
    bool kingMoves = false;
    for (const TMove& m : legal) {
        TKyokumen after = S().Position();
        after.ApplyMove(m);
        const int king = m.Name == PieceName::Ou ? m.To : 59;
        kingMoves |= m.Name == PieceName::Ou;
        EXPECT_FALSE(Attacked(after.Board, king, Side::Gote)) << SquareText(m.From) << SquareText(m.To);
    }
    EXPECT_TRUE(kingMoves);
    EXPECT_EQ(S().LegalDestinations(27), std::vector<int>{});
}

TEST_F(SessionTest, AnEarlierPositionIsOnlyLookedAtAndPlayingOnIsRefusedWhereItCannotBeExact) {
    ASSERT_EQ(Drag(27, 26).Result, TTurnReport::Outcome::Continues);
    ASSERT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Continues);
    const std::vector<PieceName> live = BoardOf(*session);
    session->ShowMove(2);
    EXPECT_TRUE(session->Browsing());
    EXPECT_EQ(view.At(25), PieceName::Empty) << "the board shows the position after move 2";
    EXPECT_EQ(view.At(26), PieceName::Fu);
    const Snapshot browsing(*session);
    EXPECT_EQ(Drag(26, 25).Result, TTurnReport::Outcome::Ignored);
    EXPECT_FALSE(session->Matta().Done);
    EXPECT_FALSE(session->Resign());
    EXPECT_EQ(Snapshot(*session), browsing);
    session->ShowMove(4);
    EXPECT_FALSE(session->Browsing());
    EXPECT_EQ(view.Drawn(), live);
    EXPECT_THROW(session->ShowMove(5), std::out_of_range);

    // Each refusal names its reason and leaves the game as it was.
    const std::string kif = session->KifText();
    struct Case {
        std::string Record;
        int Shown;
        std::string Says;
    };
    std::string edited = kif;
    edited.replace(edited.find("４三金(42)"), std::string("４三金(42)").size(), "９四歩(93)");
    const std::string noLines = kif.substr(0, kif.find("#ミルトア"));
    std::string badSeed = kif;
    badSeed.replace(badSeed.find("乱数：") + std::string("乱数：").size(), 1, "x");
    const Case cases[] = {
        {kif, 1, "COMの手番"},
        {noLines, 4, "情報（COMの乱数と陣形）がありません"},
        {badSeed, 4, "行目: 続きを指すための情報が読めません"},
        {edited, 4, "4手目: COMの指し手が棋譜と違います"},
    };
    for (const Case& c : cases) {
        session->OpenKifText(c.Record);
        session->ShowMove(c.Shown);
        const Snapshot before(*session);
        try {
            session->PlayOn();
            ADD_FAILURE() << c.Says;
        } catch (const TPlayOnRefusal& e) {
            EXPECT_NE(e.Japanese().find(c.Says), std::string::npos) << e.Japanese();
        }
        EXPECT_EQ(Snapshot(*session), before) << c.Says;
        EXPECT_TRUE(session->ReplayMode());
    }
}
