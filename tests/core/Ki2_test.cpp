// KI2 records (moves without numbers or origins, the piece told apart by 右 左 直 上 引 寄) and records
// pasted as text, read as the files that hold the same text are.
#include "engine/EngineNotation.h"
#include "session/GameSession.h"
#include "session/KifFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string kHeader = "開始日時：2024/03/05 09:07:31\n"
                            "手合割：その他\n"
                            "先手：あなた\n"
                            "後手：COM\n";

// The diagram of a position as this game writes it, from the engine's FEN.
std::string Diagram(std::string_view fen) {
    const TFenPosition p = ParseEngineFen(fen);
    TKifRecord r;
    r.Start = StartOfBoard({p.Board, p.ToMove});
    r.Edited = {p.Board, p.ToMove};
    std::string text = WriteKif(r);
    const std::size_t from = text.find("後手の持駒");
    const std::size_t to = text.find("手数----");
    return text.substr(from, to - from);
}

const std::string kEven = "lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w";

// The game of the KIF tests (the bishop takes COM's bishop and promotes, a knight takes back, the
// human resigns) in both forms.
const std::string kKif = kHeader + Diagram(kEven) +
                         "手数----指手---------消費時間--\n"
                         "   1 ６五歩(66)\n"
                         "   2 ４五歩(44)\n"
                         "   3 ３三角成(77)\n"
                         "   4 同　桂(21)\n"
                         "   5 投了\n"
                         "まで4手で後手の勝ち\n";
const std::string kKi2 = kHeader + Diagram(kEven) +
                         "\n"
                         "▲６五歩　　△４五歩　　▲３三角成　△同　桂\n"
                         "まで4手で後手の勝ち\n";

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::filesystem::path TempFolder() {
    char name[] = "/tmp/mirutoa-ki2-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
    return name;
}

} // namespace

TEST(Ki2, ReadsTheSameGameAsItsKifAndWritesItAsKif) {
    const TKifRecord kif = ReadKif(kKif);
    for (const std::string& text :
         {kKi2, kHeader + Diagram(kEven) +
                    "☗６五歩 ☖４五歩\n*a comment\n☗３三角成\n▽同桂\nまで4手で後手の勝ち\n"}) {
        const TKifRecord ki2 = ReadKif(text);
        EXPECT_EQ(ki2.Played, kif.Played);
        EXPECT_EQ(ki2.Shown, kif.Shown);
        EXPECT_EQ(ki2.Ending, (TGameEnd{EndKind::Resign, Side::Sente}));
        if (text == kKi2) {
            EXPECT_EQ(WriteKif(ki2), kKif);
        }
    }
    // Without the closing line the game is unfinished; 中断 says the same.
    EXPECT_FALSE(ReadKif(kHeader + Diagram(kEven) + "▲６五歩　△４五歩\n").Ending.Over());
    EXPECT_FALSE(ReadKif(kHeader + Diagram(kEven) + "▲６五歩　△４五歩\nまで2手で中断\n").Ending.Over());
}

TEST(Ki2, TellsPiecesOfAKindApartByTheirPlaceAndTheirMove) {
    struct Row {
        std::string_view Fen;
        std::string Move;
        int From;
    };
    const Row rows[] = {
        // Golds on 69 and 49 that both reach 58: the first player's right is the lower file.
        {"4k4/9/p8/9/9/9/9/9/3GKG3 w", "▲５八金右", 49},
        {"4k4/9/p8/9/9/9/9/9/3GKG3 w", "▲５八金左", 69},
        // From below (上, or 直 straight up) and from the side (寄).
        {"4k4/9/p8/9/9/9/9/5G3/K3G4 w", "▲５八金上", 59},
        {"4k4/9/p8/9/9/9/9/5G3/K3G4 w", "▲５八金直", 59},
        {"4k4/9/p8/9/9/9/9/5G3/K3G4 w", "▲５八金寄", 48},
        // From above (引).
        {"4k4/9/p8/9/9/9/4G4/5G3/K8 w", "▲５八金引", 57},
        {"4k4/9/p8/9/9/9/4G4/5G3/K8 w", "▲５八金寄", 48},
        // Silvers that both step back.
        {"4k4/9/p8/9/9/9/3S1S3/9/K8 w", "▲５八銀右", 47},
        {"4k4/9/p8/9/9/9/3S1S3/9/K8 w", "▲５八銀左", 67},
        // The second player's right is the higher file, its forward the higher rank.
        {"3g1g2k/9/9/9/9/9/P8/9/4K4 b", "△５二金右", 61},
        {"3g1g2k/9/9/9/9/9/P8/9/4K4 b", "△５二金左", 41},
        {"4g3k/5g3/9/9/9/9/P8/9/4K4 b", "△５二金上", 51},
        {"4g3k/5g3/9/9/9/9/P8/9/4K4 b", "△５二金寄", 42},
        // One piece that can go there needs no word, and a word that fits it is no fault.
        {"4g3k/5g3/9/9/9/9/P8/9/4K4 b", "△４三金", 42},
        {"4g3k/5g3/9/9/9/9/P8/9/4K4 b", "△４三金直", 42},
    };
    for (const Row& row : rows) {
        const std::string text = kHeader + Diagram(row.Fen) + row.Move + "\n";
        try {
            const TKifRecord r = ReadKif(text);
            ASSERT_EQ(r.Played.size(), 1u) << row.Move;
            EXPECT_EQ(r.Played[0].From, row.From) << row.Fen << " " << row.Move;
        } catch (const std::exception& e) {
            ADD_FAILURE() << row.Fen << " " << row.Move << ": " << e.what();
        }
    }
}

TEST(Ki2, RefusesAMoveItCannotPlaceNamingTheLineAndTheFault) {
    struct Row {
        std::string Text;
        int Line;
        std::string Fault;
        std::string Japanese = {};
    };
    const std::string golds = kHeader + Diagram("4k4/9/p8/9/9/9/9/9/3GKG3 w");
    const int moves = 20; // the line of the first move after the header and the diagram
    const Row rows[] = {
        {golds + "\n\n\n▲５八金\n", moves + 3, "more than one 金 can move to 58",
         "23行目: ▲５八金: 58へ動ける金が複数あります（駒の後に右・左・直・上・引・寄で区別します）"},
        {golds + "\n\n\n△５八金右\n", moves + 3, "先手 is to move here"},
        {golds + "\n\n\n▲５七金\n", moves + 3, "no 金 of 先手 can move to 57"},
        {golds + "\n\n\n▲５八金引\n", moves + 3, "no 金 of 先手 can move to 58"},
        {golds + "\n\n\n▲５五歩打\n", moves + 3, "drop"},
        {golds + "\n\n\n▲５八金右 x\n", moves + 3, "after the move: \"x\""},
        {kKi2 + "▲５八金右\n", moves + 3, "a move after the end of the game (line 22)"},
        {kHeader + Diagram(kEven) + "\n▲６五歩　△４五歩　▲３三角成\nまで3手で後手の勝ち\n", moves + 2,
         "no ending by 後手の勝ち"},
        {kHeader + Diagram(kEven) + "\n▲６五歩　△４五歩\nまで2手で持将棋\n", moves + 2,
         "no ending by 持将棋"},
        {kHeader + Diagram(kEven) + "\n▲６五歩　△４五歩　▲３三角\n", moves + 1, "promotes here"},
    };
    for (const Row& row : rows) {
        try {
            ReadKif(row.Text);
            ADD_FAILURE() << row.Fault << ": read";
        } catch (const TKifError& e) {
            EXPECT_EQ(e.Line(), row.Line) << e.what();
            EXPECT_NE(std::string(e.what()).find(row.Fault), std::string::npos) << e.what();
            if (!row.Japanese.empty()) {
                EXPECT_EQ(KifErrorJapanese(e), row.Japanese);
            }
        }
    }
}

// A record pasted as text is the record its file holds: the files this game writes, and KIF and KI2
// written by hand in the common style (a weekday in the date, times after the moves, CR LF, several
// KI2 moves to a line). The game's own clipboard copy and a text over the file limit are refused.
TEST(Paste, APastedRecordIsTheRecordItsFileHolds) {
    const std::filesystem::path folder = TempFolder();
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    struct QuietView : TQuietView {
    } view;
    TGameSession s(view, hooks);
    s.Start();
    for (auto [from, to] : {std::pair{27, 26}, {26, 25}, {25, 24}}) s.MoveComa_Screen(from, to);
    s.SaveRecord(folder / "game.kif");
    s.SaveRecord(folder / "game.kifu");
    const std::string written = s.KifText();

    const std::string byHand = "開始日時：2024/03/05(火) 09:07:31\r\n手合割：その他\r\n" +
                               WithCrLf(Diagram(kEven)) +
                               "手数----指手---------消費時間--\r\n"
                               "   1 ６五歩(66)   ( 0:03/00:00:03)\r\n"
                               "   2 ４五歩(44)   ( 0:01/00:00:01)\r\n";
    WriteBytes(folder / "hand.kifu", byHand);
    WriteBytes(folder / "hand.kif", EncodeCp932(byHand));
    WriteBytes(folder / "hand.ki2u", kKi2);
    WriteBytes(folder / "hand.ki2", EncodeCp932(WithCrLf(kKi2)));

    struct Pair {
        std::string File;
        std::string Text;
    };
    for (const Pair& p :
         {Pair{"game.kif", written}, Pair{"game.kifu", WithCrLf(written)}, Pair{"hand.kif", byHand},
          Pair{"hand.kifu", byHand}, Pair{"hand.ki2", kKi2}, Pair{"hand.ki2u", WithCrLf(kKi2)}}) {
        const TKifRecord opened = TGameSession::ReadRecord(folder / p.File);
        const TKifRecord pasted = TGameSession::ReadPastedRecord(p.Text);
        EXPECT_EQ(WriteKif(pasted), WriteKif(opened)) << p.File;
        EXPECT_EQ(pasted.Played, opened.Played) << p.File;
    }

    for (const std::string& text : {s.KifuText(), "\n" + s.KifuText()}) {
        try {
            TGameSession::ReadPastedRecord(text);
            ADD_FAILURE() << "the clipboard copy was read";
        } catch (const TKifError& e) {
            EXPECT_EQ(e.Fault(), KifFault::PastedCopy) << e.what();
        }
    }
    EXPECT_THROW(TGameSession::ReadPastedRecord(written + std::string(kKifMaxBytes, '#')), TKifError);
    std::filesystem::remove_all(folder);
}
