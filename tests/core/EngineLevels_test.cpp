// The engine's levels as every front-end and record names them: the whole ladder is taken, the records
// written when there were five levels still read as they did, and nothing past the ladder is taken.
#include "cli/Console.h"
#include "session/GameSession.h"
#include "session/Kif.h"
#include "session/Seats.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The text with every line that starts with prefix left out.
std::string WithoutLines(const std::string& text, const std::string& prefix) {
    std::string kept;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        const std::string line = text.substr(at, end - at);
        if (!line.starts_with(prefix)) kept += line;
        at = end;
    }
    return kept;
}

} // namespace

TEST(EngineLevels, EveryFrontEndTakesTheWholeLadderAndNothingElse) {
    struct Row {
        std::string Text;
        std::optional<int> Level;
    };
    const Row rows[] = {
        {"1", 1},
        {"5", 5},
        {std::to_string(kEngineLevelCount), kEngineLevelCount},
        {"0", std::nullopt},
        {std::to_string(kEngineLevelCount + 1), std::nullopt},
        {"08", std::nullopt},
        {"+3", std::nullopt},
        {"-1", std::nullopt},
        {"3x", std::nullopt},
        {"", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("level \"" + row.Text + "\"");
        EXPECT_EQ(EngineLevelFromText(row.Text), row.Level);

        const std::optional<TSeats> seats = ParseSeatsText("human engine:" + row.Text);
        ASSERT_EQ(seats.has_value(), row.Level.has_value());
        if (seats) {
            EXPECT_EQ((*seats)[Side::Gote], TSeat::Engine(*row.Level));
        }

        const std::optional<TSeat> named = SeatFromRecordName("エンジン Lv" + row.Text);
        EXPECT_EQ(named, row.Level ? std::optional(TSeat::Engine(*row.Level)) : std::nullopt);

        const TParsedCommand opponent = ParseConsoleCommand("opponent engine " + row.Text, false);
        EXPECT_EQ(opponent.Command, row.Level ? ConsoleCommand::Opponent : ConsoleCommand::Refused);
        if (row.Level) {
            EXPECT_EQ(opponent.From, *row.Level);
        }

        const TParsedCommand seated = ParseConsoleCommand("seats engine " + row.Text + " com", false);
        EXPECT_EQ(seated.Command, row.Level ? ConsoleCommand::Seats : ConsoleCommand::Refused);
        if (row.Level) {
            EXPECT_EQ(seated.Seats[Side::Sente], TSeat::Engine(*row.Level));
        }
    }
}

// A record of a game against エンジン Lv5 reads back with that seat, from the seats line or, in a
// record without it, from the header's names; so does one against the top of the ladder.
TEST(EngineLevels, RecordsNameTheirEngineSeatsAndReadBack) {
    for (const int level : {5, kEngineLevelCount}) {
        TKifRecord record;
        record.Seats = {{TSeat::Human(), TSeat::Engine(level)}};
        const std::string text = WriteKif(record);
        const std::string name = "後手：エンジン Lv" + std::to_string(level) + "\n";
        ASSERT_NE(text.find(name), std::string::npos) << text;
        EXPECT_EQ(ReadKif(text).Seats, record.Seats) << text;
        const std::string headerOnly = WithoutLines(text, "#ミルトア");
        ASSERT_NE(headerOnly.find(name), std::string::npos);
        EXPECT_EQ(ReadKif(headerOnly).Seats, record.Seats) << headerOnly;
    }
}

// A game against the engine opened and played on where no engine is at hand (a session without one):
// the engine's turn fails with the words of a missing engine, and the game stays as it was.
TEST(EngineLevels, AnEngineSeatWithoutAnEngineFailsItsTurnPlainly) {
    TKifRecord record;
    record.Seats = {{TSeat::Human(), TSeat::Engine(kEngineLevelCount)}};
    TQuietView view;
    TGameSession s(view);
    s.Start();
    ASSERT_EQ(s.OpenKifText(WriteKif(record)), 0);
    ASSERT_EQ(s.PlayOn(), 0);
    ASSERT_EQ(s.Seats(), record.Seats);
    const TTurnReport r = s.MoveComa_Screen(27, 26);
    EXPECT_EQ(r.Result, TTurnReport::Outcome::ComFailed);
    ASSERT_EQ(r.Boxes.size(), 1u);
    EXPECT_NE(r.Boxes[0].find("engine not found"), std::string::npos) << r.Boxes[0];
    EXPECT_EQ(s.MoveCount(), 1);
    EXPECT_FALSE(s.ComputerToMove());
}
