// Whole games through the game session, as the window plays them. Each input byte is one action: most
// values play one of the human's candidate moves (a whole turn with COM's reply; low values take
// pieces), so that any byte string is a game and a long enough one reaches its end; the others are the
// window's commands (see kCommands). A refused or empty action leaves the game exactly as it was;
// after every other action the position's tables agree and the record holds one line per move; a
// take-back restores the board of the turn it takes back; replaying a finished game from its start
// walks it to the board it ended on.
#include "FuzzThink.h"
#include "support/Helpers.h"
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Board = std::array<PieceName, kMapSize>;
using Outcome = TTurnReport::Outcome;

// What is being done, for the failure message: a command's name, or "move" and the input byte. Its
// text is made only when it is shown.
struct ActionName {
    const char* Name = "";
    int Code = -1;
    std::string Text() const { return Code < 0 ? Name : std::string(Name) + " " + std::to_string(Code); }
};

[[noreturn]] void Fail(const std::string& what, const ActionName& action) {
    std::fprintf(stderr, "game fuzz: %s (after %s)\n", what.c_str(), action.Text().c_str());
    std::abort();
}

// Set MIRUTOA_FUZZ_TRACE=1 to see the actions of a reproduced input and how each turn ended.
template <typename Line> void Trace(Line line) {
    static const bool on = std::getenv("MIRUTOA_FUZZ_TRACE") != nullptr;
    if (on) std::fprintf(stderr, "%s\n", line().c_str());
}

bool HasErrorBox(const std::vector<std::string>& boxes) {
    for (const std::string& box : boxes)
        if (box.find("エラー発生") != std::string::npos) return true;
    return false;
}

TSessionHooks Hooks() {
    TSessionHooks hooks;
    hooks.Think = FuzzThink();
    return hooks;
}

// Where the latest turn's lines begin in the record; the lines before it were checked as they came.
std::size_t LatestTurn(const TGameSession& s) {
    const std::size_t shown = s.ShownMoveHistory().size();
    return shown > 2 ? shown - 2 : 0;
}

// Where the save-open command writes, removed when the fuzzer ends. In memory where the system offers
// it: every save is flushed to the disk.
struct ScratchFolder {
    std::filesystem::path Path;
    ScratchFolder() {
        char name[] = "/dev/shm/mirutoa-game-fuzz-XXXXXX";
        if (mkdtemp(name) == nullptr) {
            std::strcpy(name, "/tmp/mirutoa-game-fuzz-XXXXXX");
            if (mkdtemp(name) == nullptr) Fail("no temporary folder", {"save-open"});
        }
        Path = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
};

struct Game {
    scripted_play::QuietView View;
    TGameSession Session{View, Hooks()};
    Board Start{};             // the board the current game began on
    std::vector<Board> Before; // the board before each turn still in the record
    Board Final{};             // the board the game ended on
    ActionName Action;
    bool Unchanged = false; // the action was seen to leave the game exactly as it was
    bool Saved = false;     // the input has saved and opened its record once

    // Fails unless the game is as it was before the action; what changed is named after `what`.
    void ExpectUnchanged(const invariants::SessionState& before, const char* what) {
        const std::string d = before.DifferenceTo(Session);
        if (!d.empty()) Fail(what + d, Action);
        Unchanged = true;
    }

    Game() {
        Session.Start();
        Restart();
    }
    const Board& Now() const { return Session.BoardPosition().Board; }
    void Restart() {
        Start = Now();
        Before.clear();
    }
    // Input bytes beyond the end are zero, so that an action's argument never fails to exist.
    static std::uint8_t Next(const std::uint8_t*& p, const std::uint8_t* end) { return p < end ? *p++ : 0; }

    void Turn(int from, int to) {
        const invariants::SessionState before(Session);
        const Board board = Now();
        const std::size_t moves = Session.MoveHistory().size();
        const TTurnReport r = scripted_play::Drag(Session, from, to);
        Trace([&] {
            return Action.Text() + ": " + SquareText(from) + SquareText(to) + " -> outcome " +
                   std::to_string(int(r.Result)) + ", " + std::to_string(Session.MoveHistory().size()) +
                   " moves" + (Session.GameOver() ? ", over" : "");
        });
        switch (r.Result) {
        case Outcome::Ignored:
        case Outcome::Illegal:
        case Outcome::IllegalCheck: {
            ExpectUnchanged(before, "a refused move changed ");
            return;
        }
        case Outcome::HumanMoveFailed:
            Fail("the human's move could not be made", Action);
        case Outcome::ComFailed:
            if (HasErrorBox(r.Boxes)) Fail("COM failed: " + r.Boxes.back(), Action);
            break;
        default:
            break;
        }
        if (Session.MoveHistory().size() <= moves) Fail("an accepted move was not recorded", Action);
        Before.push_back(board);
        if (Session.GameOver()) Final = Now();
    }
    void Matta() {
        const invariants::SessionState before(Session);
        if (!Session.Matta().Done) {
            ExpectUnchanged(before, "a refused take-back changed ");
            return;
        }
        if (Before.empty()) Fail("a take-back with no turn to take back", Action);
        if (Now() != Before.back()) Fail("the take-back did not restore the board of the turn", Action);
        Before.pop_back();
    }
    // Replay commands change only the position shown, and only in replay mode.
    template <typename Step> void Replay(Step step) {
        const invariants::SessionState before(Session);
        const bool replaying = Session.ReplayMode();
        step();
        if (!replaying) {
            ExpectUnchanged(before, "a replay command outside replay mode changed ");
            return;
        }
        if (!Session.ReplayMode()) Fail("replay mode ended", Action);
        const std::size_t shown = std::size_t(Session.ShownMove());
        if (shown == 0 && Now() != Start) Fail("the replay did not return to the start", Action);
        if (shown == Session.MoveHistory().size() && shown > 0 && Now() != Final)
            Fail("replaying every move did not reach the board the game ended on", Action);
    }
};

// The human's candidate moves, those that leave the king attacked included: the captures first, the
// most valuable piece first (COM's king above all), then the others in list order. Low bytes take
// pieces, so that short inputs reach the ends of games.
std::vector<std::pair<int, int>> Candidates(const TGameSession& s) {
    const std::vector<std::pair<int, int>> drags = scripted_play::CandidateDrags(s);
    const TKyokumen& k = s.BoardPosition();
    auto value = [&k](const std::pair<int, int>& d) { return k.ValueAt[std::size_t(d.second)]; }; // -1: empty
    std::vector<std::pair<int, int>> ordered;
    ordered.reserve(drags.size());
    for (const auto& d : drags)
        if (value(d) >= 0) {
            auto at = ordered.begin();
            while (at != ordered.end() && value(*at) >= value(d)) ++at;
            ordered.insert(at, d);
        }
    for (const auto& d : drags)
        if (value(d) < 0) ordered.push_back(d);
    return ordered;
}

// The commands, in the order of their codes: kFirstCommand + i is command i. A new command takes the
// next free code; the codes above the last command play moves, like those below kFirstCommand.
struct Command {
    const char* Name;
    void (*Run)(Game&, const std::uint8_t*&, const std::uint8_t*);
};

constexpr Command kCommands[] = {
    // Any two square codes 0-99: off-board squares, the same square, empty and COM squares.
    {"drag",
     [](Game& g, const std::uint8_t*& p, const std::uint8_t* end) {
         const int from = Game::Next(p, end) % 100, to = Game::Next(p, end) % 100;
         g.Turn(from, to);
     }},
    {"matta", [](Game& g, const std::uint8_t*&, const std::uint8_t*) { g.Matta(); }},
    {"new",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) {
         g.Session.NewGame();
         g.Restart();
     }},
    {"handicap",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) {
         g.Session.NewHandicapGame();
         g.Restart();
     }},
    {"test",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) {
         g.Session.NewTestGame();
         g.Restart();
     }},
    {"formation",
     [](Game& g, const std::uint8_t*& p, const std::uint8_t* end) {
         const std::string_view name = kFormationList[Game::Next(p, end) % kFormationList.size()];
         const invariants::SessionState before(g.Session);
         if (!g.Session.PickFormation(name)) {
             g.ExpectUnchanged(before, "a formation kept for the next game changed ");
         }
         if (g.Session.Formation() != name) Fail("the formation list does not show the pick", g.Action);
     }},
    {"replay-start", [](Game& g, const std::uint8_t*&,
                        const std::uint8_t*) { g.Replay([&] { g.Session.ReplayToStart(); }); }},
    {"replay-one",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) { g.Replay([&] { g.Session.ReplayOne(); }); }},
    {"replay-two",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) { g.Replay([&] { g.Session.ReplayTwo(); }); }},
    {"kifu",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) {
         const invariants::SessionState before(g.Session);
         g.Session.CopyKifu();
         g.ExpectUnchanged(before, "copying the record changed ");
     }},
    {"resign",
     [](Game& g, const std::uint8_t*&, const std::uint8_t*) {
         const invariants::SessionState before(g.Session);
         const Board board = g.Now();
         if (!g.Session.Resign()) {
             g.ExpectUnchanged(before, "a refused resignation changed ");
             return;
         }
         if (!g.Session.GameOver() || !g.Session.ReplayMode())
             Fail("the resignation did not end the game", g.Action);
         g.Final = board;
     }},
    // Saved and opened again: the same record, shown in replay mode from its start.
    {"save-open",
     [](Game& g, const std::uint8_t*& p, const std::uint8_t* end) {
         static const ScratchFolder folder;
         const std::filesystem::path file =
             folder.Path / (Game::Next(p, end) % 2 == 0 ? "game.kif" : "game.kifu");
         // Once per input: it reads the whole game again, and the fuzzer, finding that every record
         // reaches a little more of the reader, filled its inputs with it at the cost of the games.
         if (g.Saved) {
             g.Unchanged = true;
             return;
         }
         g.Saved = true;
         const Board final = g.Session.ReplayMode() ? g.Final : g.Now();
         const std::string kifu = g.Session.KifuText();
         const std::vector<TMove> moves = g.Session.MoveHistory();
         g.Session.SaveRecord(file);
         g.Session.OpenRecord(file);
         if (g.Session.KifuText() != kifu || g.Session.MoveHistory() != moves)
             Fail("the record opened differs from the one saved", g.Action);
         if (!g.Session.ReplayMode() || g.Session.ShownMove() != 0)
             Fail("an opened record is not shown from its start", g.Action);
         g.Restart();
         g.Final = final;
     }},
};
constexpr int kFirstCommand = 0xF0;
static_assert(kFirstCommand + std::size(kCommands) <= 0x100);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Game g;
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    while (p < end) {
        g.Unchanged = false;
        const int code = *p++;
        const std::size_t command = std::size_t(code - kFirstCommand);
        if (code >= kFirstCommand && command < std::size(kCommands)) {
            g.Action = {kCommands[command].Name};
            Trace([&] { return g.Action.Text(); });
            kCommands[command].Run(g, p, end);
        } else {
            g.Action = {"move", code};
            const std::vector<std::pair<int, int>> drags = Candidates(g.Session);
            if (!drags.empty()) {
                const auto& d = drags[std::size_t(code) % drags.size()];
                g.Turn(d.first, d.second);
            }
        }
        if (g.Unchanged) continue;
        std::string fault = invariants::PositionFault(g.Session.BoardPosition(), false);
        if (fault.empty()) fault = invariants::RecordFault(g.Session, LatestTurn(g.Session));
        if (!fault.empty()) Fail(fault, g.Action);
    }
    std::string fault = invariants::PositionFault(g.Session.BoardPosition());
    if (fault.empty()) fault = invariants::RecordFault(g.Session);
    if (!fault.empty()) Fail(fault, {"the last action"});
    return 0;
}
