// KIF records: the text this game writes, what the reader takes from other programs, and everything it
// refuses (with the line and the fault, the game left as it was).
#include "session/Kif.h"
#include "session/KifFile.h"
#include "session/RecordKeeper.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Lines 1-19: header and diagram of the even start; line 20 the moves' title; moves from line 21.
const std::string kDiagram = "後手の持駒：なし\n"
                             "  ９ ８ ７ ６ ５ ４ ３ ２ １\n"
                             "+---------------------------+\n"
                             "|v香v桂v銀v金v玉v金v銀v桂v香|一\n"
                             "| ・v飛 ・ ・ ・ ・ ・ ・ ・|二\n"
                             "|v歩v歩v歩v歩v歩 ・v角v歩v歩|三\n"
                             "| ・ ・ ・ ・ ・v歩v歩 ・ ・|四\n"
                             "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五\n"
                             "| ・ ・ 歩 歩 ・ ・ ・ ・ ・|六\n"
                             "| 歩 歩 角 ・ 歩 歩 歩 歩 歩|七\n"
                             "| ・ ・ ・ ・ ・ ・ ・ 飛 ・|八\n"
                             "| 香 桂 銀 金 玉 金 銀 桂 香|九\n"
                             "+---------------------------+\n"
                             "先手の持駒：なし\n"
                             "先手番\n";

// The pawn opens the bishop's diagonal, COM's pawn steps off it, the bishop takes COM's bishop and
// promotes, a knight takes back on the same square, and the human resigns.
const std::string kWritten = "開始日時：2024/03/05 09:07:31\n"
                             "手合割：その他\n"
                             "先手：あなた\n"
                             "後手：COM\n" +
                             kDiagram +
                             "手数----指手---------消費時間--\n"
                             "   1 ６五歩(66)\n"
                             "   2 ４五歩(44)\n"
                             "   3 ３三角成(77)\n"
                             "   4 同　桂(21)\n"
                             "   5 投了\n"
                             "まで4手で後手の勝ち\n";

// The same game as another program might write it: CR LF (stray CRs before two of them), a comment, a
// weekday, half-width colons in the header, times, a variation mark and a variation.
const std::string kForeign = "# ---- a record from elsewhere ----\r\n"
                             "開始日時:2024/03/05(火) 09:07:31\r\n"
                             "手合割：その他　\r\n"
                             "先手：A\r\n"
                             "後手：B\r\n" +
                             WithCrLf(kDiagram) +
                             "手数----指手---------消費時間--\r\n"
                             "   1 ６五歩(66)   ( 0:03/00:00:03)\r\n"
                             "*a comment\r\r\n"
                             "   2 ４五歩(44)   ( 0:01/00:00:01)+\r\n"
                             "   3 ３三角成(77) ( 0:02/00:00:05)\r\n"
                             "   4 同　桂(21)   ( 0:01/00:00:02)\r\r\n"
                             "   5 投了         ( 0:09/00:00:14)\r\n"
                             "まで4手で後手の勝ち\r\n"
                             "\r\n"
                             "変化：2手\r\n"
                             "   2 ８四歩(83)   ( 0:01/00:00:01)\r\n"
                             "*in a variation\r\n"
                             "   3 ７五歩(76)   ( 0:01/00:00:02)\r\n";

std::string ReplaceLine(const std::string& text, int line, const std::string& replacement) {
    std::size_t begin = 0;
    for (int n = 1; n < line; ++n) begin = text.find('\n', begin) + 1;
    const std::size_t end = text.find('\n', begin);
    return text.substr(0, begin) + replacement + text.substr(end);
}

std::filesystem::path TempFolder() {
    char name[] = "/tmp/mirutoa-kif-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
    return name;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Everything a refused record must leave alone.
struct GameState {
    std::string Kifu, Kif;
    std::vector<std::string> Board;
    std::size_t Moves;
    bool Replay;
    explicit GameState(const TGameSession& s)
        : Kifu(s.KifuText()), Kif(s.KifText()), Board(s.BoardPosition().BoardList()),
          Moves(s.MoveHistory().size()), Replay(s.ReplayMode()) {}
    bool operator==(const GameState&) const = default;
};

} // namespace

TEST(Kif, ReadsAnotherProgramsRecordAndWritesItInThisGamesForm) {
    // A byte order mark before the date; CR alone ending the lines; the move count some programs write
    // under a diagram.
    std::string crOnly = kWritten;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    const std::string counted =
        ReplaceLine(kWritten, 20, "手数＝0  ▲７六歩  まで\n手数----指手---------消費時間--");
    for (const std::string& text : {kWritten, kForeign, "\xEF\xBB\xBF" + kWritten, crOnly, counted}) {
        const TKifRecord r = ReadKif(text);
        EXPECT_EQ(r.Start, KifStart::Even);
        EXPECT_EQ(r.Ending, (TGameEnd{EndKind::Resign, Side::Sente}));
        EXPECT_EQ(r.Began, (TKifDate{2024, 3, 5, 9, 7, 31}));
        ASSERT_EQ(r.Shown.size(), 4u);
        EXPECT_EQ(MoveText(r.Shown[2]), "7733角成");
        EXPECT_EQ(MoveText(r.Shown[3]), "2133com桂");
        // Another program's comments stay with their moves, its variation is kept.
        std::string expected = kWritten;
        if (text == kForeign) {
            expected.insert(expected.find("   2 "), "*a comment\n");
            expected.insert(expected.find("\n   3 "), "+");
            expected += "\n変化：2手\n   2 ８四歩(83)\n*in a variation\n   3 ７五歩(76)\n";
        }
        EXPECT_EQ(WriteKif(r), expected);
    }
    // The handicap start goes through the diagram as well.
    TKifRecord handicap;
    handicap.Start = KifStart::Handicap;
    const std::string text = WriteKif(handicap);
    EXPECT_NE(text.find("| 歩 歩 ・ ・ 歩 歩 歩 歩 歩|七\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|八\n"),
              std::string::npos);
    EXPECT_EQ(ReadKif(text).Start, KifStart::Handicap);
}

TEST(Kif, RefusesWhatThisGameCannotReplayNamingTheLineAndLeavingTheGameAlone) {
    const std::string ordinaryStart =
        ReplaceLine(ReplaceLine(ReplaceLine(kWritten, 10, "|v歩v歩v歩v歩v歩v歩v歩v歩v歩|三"), 11,
                                "| ・ ・ ・ ・ ・ ・ ・ ・ ・|四"),
                    9, "| ・v飛 ・ ・ ・ ・ ・v角 ・|二");
    struct Case {
        const char* What;
        std::string Text;
        int Line;
        std::string Fault;
        std::string Japanese = {}; // the window's text, where a row checks it
    };
    const std::string longLine = std::string(40, 'x');
    const Case cases[] = {
        {"empty", "\n \n", 1, "empty"},
        {"ordinary shogi's start", "手合割：平手\n手数----指手---------消費時間--\n   1 ７六歩(77)\n", 1,
         "ordinary shogi"},
        // A diagram of another position the rules allow is a start set up by hand, from which the moves
        // are checked: this one's second move finds no pawn on 44.
        {"ordinary shogi's diagram", ordinaryStart, 22, "no piece of 後手 stands on 44"},
        {"a diagram with two kings", ReplaceLine(kWritten, 16, "| 香 桂 銀 金 玉 金 銀 玉 香|九"), 6,
         "the board diagram is no position to play from: the first player has 2 kings, not one",
         "6行目: 盤面図の局面からは指せません: 先手の玉が2枚あります（玉は一枚ずつ置きます）"},
        {"a diagram with a pawn on the last rank",
         ReplaceLine(ReplaceLine(kWritten, 8, "| 歩v桂v銀v金v玉v金v銀v桂v香|一"), 14,
                     "| ・ 歩 角 ・ 歩 歩 歩 歩 歩|七"),
         6, "the 歩 on 91 could never move again"},
        {"a diagram with the second player to move and the first in check",
         ReplaceLine(ReplaceLine(ReplaceLine(kWritten, 9, "| ・ ・ ・ ・ ・ ・ ・ ・ ・|二"), 15,
                                 "| ・ ・ ・ ・v龍 ・ ・ 飛 ・|八"),
                     19, "後手番"),
         6, "the king of the first player, who is not to move, is in check"},
        {"a ragged diagram", ReplaceLine(kWritten, 12, "| ・ ・ ・ ・|五"), 12, "board row 5"},
        {"a tenth row",
         ReplaceLine(kWritten, 16, "| 香 桂 銀 金 玉 金 銀 桂 香|九\n| ・ ・ ・ ・ ・ ・ ・ ・ ・|十"), 17,
         "tenth row", "17行目: 盤面図に10段目があります"},
        {"a diagram after moves", ReplaceLine(kWritten, 20, "手数＝12  ▲７六歩  まで"), 20, "after move 12"},
        {"a line of a megabyte", ReplaceLine(kWritten, 2, longLine + std::string(1000000, 'y')), 2,
         "unreadable line \"" + longLine + "…\"", "2行目: " + longLine + "…: 読めない行です"},
        {"pieces in hand", ReplaceLine(kWritten, 18, "先手の持駒：歩二"), 18, "no drops"},
        // 後手番: the second player moves first, and here has no pawn on 66.
        {"the second player first", ReplaceLine(kWritten, 19, "後手番"), 21, "no piece of 後手 stands on 66"},
        {"a drop", ReplaceLine(kWritten, 21, "   1 ５五歩打"), 21, "drop"},
        {"an illegal move", ReplaceLine(kWritten, 21, "   1 ２四歩(27)"), 21, "cannot move from 27 to 24",
         "21行目: ２四歩(27): 歩は27から24へ動けません"},
        {"an illegal COM move", ReplaceLine(kWritten, 22, "   2 ４四金(41)"), 22,
         "cannot move from 41 to 44"},
        {"another piece", ReplaceLine(kWritten, 21, "   1 ６五香(66)"), 21, "is 歩, not 香"},
        {"an empty square", ReplaceLine(kWritten, 21, "   1 ５五歩(56)"), 21, "no piece of 先手"},
        {"a forced promotion left out", ReplaceLine(kWritten, 23, "   3 ３三角(77)"), 23, "promotes here"},
        {"a promotion that is none", ReplaceLine(kWritten, 21, "   1 ６五歩成(66)"), 21, "does not promote"},
        {"a move number out of turn", ReplaceLine(kWritten, 22, "   3 ４五歩(44)"), 22,
         "where 2 was expected"},
        {"同 first", ReplaceLine(kWritten, 21, "   1 同　歩(66)"), 21, "no move before it"},
        {"no origin", ReplaceLine(kWritten, 21, "   1 ６五歩"), 21, "origin"},
        {"an unreadable piece", ReplaceLine(kWritten, 21, "   1 ６五兵(66)"), 21, "piece name"},
        {"an unreadable line", ReplaceLine(kWritten, 22, "hello"), 22, "unreadable line"},
        {"text after the move", ReplaceLine(kWritten, 21, "   1 ６五歩(66) x"), 21, "after the move"},
        {"a move after the end", ReplaceLine(kWritten, 26, "   6 ５八金(49)"), 26, "after the end"},
        {"an ending this game lacks", ReplaceLine(kWritten, 25, "   5 千日手"), 25, "no ending by 千日手"},
        {"a mate that is none", ReplaceLine(kWritten, 25, "   5 詰み"), 25, "not mated"},
        // Variations: lines 27 and 28 are a blank line and the 変化 line, 29 its first move.
        {"a variation at a move its line lacks", kWritten + "\n変化：6手\n   6 ５八金(49)\n", 28,
         "has no move 6"},
        {"an illegal move in a variation", kWritten + "\n変化：3手\n   3 ２四歩(27)\n", 29,
         "cannot move from 27 to 24"},
        {"a variation numbered out of turn", kWritten + "\n変化：3手\n   4 ２六歩(27)\n", 29,
         "where 3 was expected"},
    };

    // The second player may resign (the engine does): that record is read.
    const TKifRecord resigned =
        ReadKif(ReplaceLine(ReplaceLine(kWritten, 25, "まで3手で先手の勝ち"), 24, "   4 投了"));
    EXPECT_EQ(resigned.Ending, (TGameEnd{EndKind::Resign, Side::Gote}));

    scripted_play::QuietView view;
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    // The record carries COM's thinking times: the same turn played twice must take the same time.
    hooks.TickCount = [] { return std::int64_t(0); };
    TGameSession session(view, hooks);
    session.Start();
    ASSERT_EQ(scripted_play::Drag(session, 27, 26).Result, TTurnReport::Outcome::Continues);
    const GameState before(session);
    ASSERT_EQ(session.OpenKifText(kWritten), 4) << "the table's base record";
    session.NewGame();
    ASSERT_EQ(scripted_play::Drag(session, 27, 26).Result, TTurnReport::Outcome::Continues);

    for (const Case& c : cases) {
        try {
            session.OpenKifText(c.Text);
            ADD_FAILURE() << c.What << ": accepted";
        } catch (const TKifError& e) {
            EXPECT_EQ(e.Line(), c.Line) << c.What << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.Fault), std::string::npos) << c.What << ": " << e.what();
            if (!c.Japanese.empty()) {
                EXPECT_EQ(KifErrorJapanese(e), c.Japanese) << c.What;
            }
        }
        EXPECT_TRUE(GameState(session) == before) << c.What << ": the game changed";
    }

    // Files: the wrong encoding for the extension, an empty and a huge file, forms that are not opened.
    const std::filesystem::path folder = TempFolder();
    struct FileCase {
        const char* Name;
        std::string Bytes;
        const char* Fault;
    };
    const FileCase files[] = {
        {"utf8.kif", "開始日時：2024/03/05 09:07:31\n手合割：その他\n\xFF\n", "not CP932"},
        {"cp932.kifu", "\n\n" + EncodeCp932("手合割：その他\n"), "line 3: a byte that is not UTF-8"},
        {"overlong.kifu", "手合割：その他\r\r\n\xC0\xAF\n", "line 2: a byte that is not UTF-8"},
        {"empty.kifu", "", "line 1: the file is empty"},
        {"huge.kifu", std::string(kKifMaxBytes + 1, '#'), "larger than"},
        {"game.txt", "x", ".kif or .kifu"},
        {"game.doc", "x", "ends in .kif"},
    };
    for (const FileCase& f : files) {
        WriteBytes(folder / f.Name, f.Bytes);
        try {
            session.OpenRecord(folder / f.Name);
            ADD_FAILURE() << f.Name << ": accepted";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(f.Fault), std::string::npos) << f.Name << ": " << e.what();
        }
        EXPECT_TRUE(GameState(session) == before) << f.Name << ": the game changed";
    }
    EXPECT_THROW(session.OpenRecord(folder / "missing.kifu"), std::runtime_error);
    EXPECT_THROW(session.SaveRecord(folder / "no-such-folder" / "game.kifu"), std::runtime_error);
    std::filesystem::remove_all(folder);
}

// A game left unfinished ends its record as other programs end one: the word 中断 as its last move
// line and "まで N手で中断"; read back, it is the same game, interrupted and without an ending.
TEST(Kif, AGameLeftUnfinishedIsWrittenAndReadAsInterrupted) {
    TKifRecord left = ReadKif(kWritten);
    left.Ending = {};
    left.Interrupted = true;
    std::string expected = kWritten;
    expected.replace(expected.find("   5 投了"), std::string::npos, "   5 中断\nまで4手で中断\n");
    EXPECT_EQ(WriteKif(left), expected);
    for (const std::string& text :
         {expected, WithCrLf(ReplaceLine(expected, 25, "   5 中断   ( 0:09/00:00:14)"))}) {
        const TKifRecord r = ReadKif(text);
        EXPECT_TRUE(r.Interrupted);
        EXPECT_FALSE(r.Ending.Over());
        EXPECT_EQ(r.Shown, left.Shown);
    }
    left.Interrupted = false;
    EXPECT_FALSE(ReadKif(WriteKif(left)).Interrupted) << "a game that goes on is not interrupted";
}

TEST(Kif, KeeperWritesEveryTurnOfEachGameIntoAFileOfItsOwn) {
    const std::filesystem::path folder = TempFolder() / "records";
    TRecordKeeper keeper(folder);
    scripted_play::QuietView view;
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    TGameSession session(view, hooks);
    session.Start();
    session.SetRecordKeeper(&keeper);
    auto kept = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    ASSERT_EQ(scripted_play::Drag(session, 27, 26).Result, TTurnReport::Outcome::Continues);
    const std::filesystem::path first = folder / "20240305-090731.kifu";
    EXPECT_EQ(keeper.CurrentFile(), first);
    EXPECT_EQ(kept(first), WithCrLf(session.KifText()));
    ASSERT_EQ(scripted_play::Drag(session, 26, 25).Result, TTurnReport::Outcome::Continues);
    EXPECT_EQ(kept(first), WithCrLf(session.KifText())) << "every completed turn";
    ASSERT_TRUE(session.Matta().Done);
    EXPECT_EQ(kept(first), WithCrLf(session.KifText())) << "a take-back too";
    ASSERT_TRUE(session.Resign());
    EXPECT_EQ(kept(first), WithCrLf(session.KifText())) << "and the end";
    EXPECT_NE(kept(first).find("投了"), std::string::npos);
    const std::string firstGame = kept(first);

    // A new game begun in the same second gets a file of its own; the first game's stays as it was.
    session.NewHandicapGame();
    ASSERT_EQ(scripted_play::Drag(session, 27, 26).Result, TTurnReport::Outcome::Continues);
    const std::filesystem::path second = folder / "20240305-090731-2.kifu";
    EXPECT_EQ(keeper.CurrentFile(), second);
    EXPECT_EQ(kept(first), firstGame);
    EXPECT_EQ(keeper.Recent(), (std::vector<std::filesystem::path>{second, first}));
    EXPECT_EQ(keeper.Recent(1), (std::vector<std::filesystem::path>{second}));

    // A kept file opens; keeping switched off writes nothing more.
    TGameSession reader(view, hooks);
    EXPECT_EQ(reader.OpenRecord(second), 2);
    session.SetRecordKeeper(nullptr);
    const std::string before = kept(second);
    ASSERT_EQ(scripted_play::Drag(session, 26, 25).Result, TTurnReport::Outcome::Continues);
    EXPECT_EQ(kept(second), before);

    // A folder that cannot be made: the failure is kept, the game goes on.
    WriteBytes(folder / "file", "x");
    TRecordKeeper broken(folder / "file" / "records");
    session.SetRecordKeeper(&broken);
    EXPECT_EQ(scripted_play::Drag(session, 25, 24).Result, TTurnReport::Outcome::Continues);
    EXPECT_FALSE(broken.LastError().empty());
    session.SetRecordKeeper(nullptr);
    std::filesystem::remove_all(folder.parent_path());
}

// A name another window has claimed is passed over before anything is written, and a game that was
// to be left but goes on is kept again as it is.
TEST(Kif, KeeperTakesOnlyANameItCanClaimAndKeepsAGameAgain) {
    const std::filesystem::path folder = TempFolder() / "records";
    TRecordKeeper keeper(folder);
    std::vector<std::string> asked;
    keeper.Claim = [&](const std::filesystem::path& file) {
        asked.push_back(file.filename().string());
        return asked.size() > 1;
    };
    TKifRecord r = ReadKif(kWritten);
    r.Ending = {};
    keeper.Keep(1, r);
    EXPECT_EQ(asked, (std::vector<std::string>{"20240305-090731.kifu", "20240305-090731-2.kifu"}));
    EXPECT_EQ(keeper.CurrentFile(), folder / "20240305-090731-2.kifu");
    EXPECT_FALSE(std::filesystem::exists(folder / "20240305-090731.kifu"));
    r.Interrupted = true;
    keeper.Keep(1, r);
    r.Interrupted = false;
    keeper.KeepAgain(r);
    EXPECT_FALSE(ReadKif(ReadKifFile(keeper.CurrentFile())).Interrupted);
    EXPECT_EQ(asked.size(), 2u) << "a game's later keeps claim nothing";
    std::filesystem::remove_all(folder.parent_path());
}

// A save replaces the record whole or not at all, and opening reads regular files only.
TEST(KifFile, SavesReplaceTheRecordWholeAndOpensReadOnlyRegularFiles) {
    const std::filesystem::path folder = TempFolder();
    const std::filesystem::path record = folder / "game.kifu";
    auto bytes = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto names = [&folder] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    };

    // A new file under the name: another name for the old file keeps the old record.
    WriteFileReplacing(record, "old");
    ASSERT_EQ(link(record.c_str(), (folder / "hard.kifu").c_str()), 0);
    WriteFileReplacing(record, "new");
    EXPECT_EQ(bytes(folder / "hard.kifu"), "old");
    EXPECT_EQ(bytes(record), "new");
    struct stat st;
    ASSERT_EQ(stat(record.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    // Through a symbolic link: the file it names is replaced, the link stays.
    std::filesystem::create_symlink("game.kifu", folder / "link.kifu");
    WriteFileReplacing(folder / "link.kifu", "linked");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.kifu"));
    EXPECT_EQ(bytes(record), "linked");

    // A temporary file a killed save left a while ago goes at the next save; one of a save that may
    // still be running stays.
    const std::filesystem::path stale = folder / ".game.kifu.mirutoa-tmp-Ab12Cd";
    const std::filesystem::path fresh = folder / ".other.kifu.mirutoa-tmp-Ef34Gh";
    WriteBytes(stale, "x");
    WriteBytes(fresh, "x");
    std::filesystem::last_write_time(stale,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
    WriteFileReplacing(record, "linked");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(fresh));
    std::filesystem::remove(fresh);

    // A save the system cuts short leaves the old record and no temporary file.
    rlimit limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{16, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteFileReplacing(record, std::string(4096, 'z')), std::runtime_error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(bytes(record), "linked");
    EXPECT_EQ(names(), (std::vector<std::string>{"game.kifu", "hard.kifu", "link.kifu"}));

    // Opening: a FIFO is refused without waiting for a writer, a device at once, and a file past the
    // limit without reading it all (this one is sparse, 8 GiB).
    ASSERT_EQ(mkfifo((folder / "fifo.kifu").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero.kif");
    WriteBytes(folder / "huge.kifu", "");
    std::filesystem::resize_file(folder / "huge.kifu", std::uintmax_t(8) << 30);
    const std::pair<const char*, KifFault> refused[] = {{"fifo.kifu", KifFault::NotRegular},
                                                        {"zero.kif", KifFault::NotRegular},
                                                        {"huge.kifu", KifFault::FileTooLarge}};
    for (const auto& [name, fault] : refused) {
        try {
            ReadKifFile(folder / name);
            ADD_FAILURE() << name << ": read";
        } catch (const TKifError& e) {
            EXPECT_EQ(e.Fault(), fault) << name << ": " << e.what();
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(Kif, WhatPlayingOnNeedsComesBackAsWrittenAndAFaultInItLeavesTheRecordReadable) {
    TKifRecord r = ReadKif(WriteKif(TKifRecord{}));
    r.Continuation.Known = true;
    r.Continuation.Seed = 4294967295u;
    TKifTakeBack t{0, TMove{27, 26, PieceName::Fu}, TMove{41, 42, PieceName::Fu}, 0.047};
    TKifTakeBack failed{2, TMove{26, 25, PieceName::Fu}, TMove{}, kKifMaxComSeconds};
    r.Continuation.Events = {{"【穴熊】", {}}, {{}, t}, {"【ミルトア式BIG4 改】", {}}, {{}, failed}};
    r.Continuation.ComSeconds = {1.5, 0.001};
    r.Continuation.EndSeed = 0u;
    const std::string text = WriteKif(r);
    const TKifRecord read = ReadKif(text);
    EXPECT_EQ(read.Continuation, r.Continuation) << text;
    EXPECT_EQ(read.Continuation.FaultLine, 0) << text;

    // Each line changed by hand is a fault at its own line; the moves still read.
    auto lineOf = [&text](const std::string& start) { return KifLineOf(text, text.find(start)); };
    const int seedLine = lineOf("#ミルトア乱数：");
    EXPECT_EQ(read.Continuation.Lines.Seed, seedLine);
    EXPECT_EQ(read.Continuation.Lines.EndSeed, lineOf("#ミルトア最終乱数："));
    const int takeBackLine = lineOf("#ミルトア待った：0 ");
    const int secondsLine = lineOf("#ミルトアCOM思考：");
    const struct {
        const char* What;
        int Line;
        std::string Text;
    } faults[] = {
        {"an unreadable seed", seedLine, "#ミルトア乱数：x"},
        {"a seed beyond 32 bits", seedLine, "#ミルトア乱数：4294967296"},
        {"an unknown formation", lineOf("#ミルトア陣形：【穴熊】"), "#ミルトア陣形：【無い陣形】"},
        {"a formation without its brackets", lineOf("#ミルトア陣形：【穴熊】"), "#ミルトア陣形：穴熊"},
        {"squares of two digits", takeBackLine, "#ミルトア待った：0 27 4142 0.047"},
        {"a take-back of 1e30 seconds", takeBackLine, "#ミルトア待った：0 2726 4142 1e30"},
        {"a take-back of inf seconds", takeBackLine, "#ミルトア待った：0 2726 4142 inf"},
        {"a take-back of nan seconds", takeBackLine, "#ミルトア待った：0 2726 4142 nan"},
        {"a take-back of negative seconds", takeBackLine, "#ミルトア待った：0 2726 4142 -0.5"},
        {"a take-back of a day and a bit", takeBackLine, "#ミルトア待った：0 2726 4142 86400.001"},
        {"a think of 1e30 seconds", secondsLine, "#ミルトアCOM思考：1.500 1e30"},
        {"a think of inf seconds", secondsLine, "#ミルトアCOM思考：inf 0.001"},
        {"a think of -inf seconds", secondsLine, "#ミルトアCOM思考：-inf 0.001"},
        {"a think of nan seconds", secondsLine, "#ミルトアCOM思考：1.500 nan"},
        {"a think of negative seconds", secondsLine, "#ミルトアCOM思考：1.500 -1"},
        {"a think past the double range", secondsLine, "#ミルトアCOM思考：1e400"},
        {"an unreadable final state", lineOf("#ミルトア最終乱数："), "#ミルトア最終乱数：-1"},
    };
    for (const auto& f : faults) {
        const TKifRecord bad = ReadKif(ReplaceLine(text, f.Line, f.Text));
        EXPECT_EQ(bad.Continuation.FaultLine, f.Line) << f.What;
        EXPECT_EQ(bad.Shown, r.Shown) << f.What;
    }
}

// A record of a game against the engine opened where no engine can play (a session without one): it is
// replayed, and nobody is asked for the engine's move.
TEST(Kif, AnEnginesGameOpensForReplayWhereNoEngineCanPlay) {
    const std::string text = ReplaceLine(kWritten, 25, "#ミルトア対局者：human engine:3");
    scripted_play::QuietView view;
    TGameSession s(view);
    s.Start();
    ASSERT_EQ(s.OpenKifText(text), 4);
    EXPECT_EQ(s.Seats()[Side::Gote], TSeat::Engine(3));
    s.ReplayTo(4);
    EXPECT_FALSE(s.ComputerToMove());
    EXPECT_EQ(s.Go().Result, TTurnReport::Outcome::Ignored);
    EXPECT_TRUE(view.Boxes.empty());
}
