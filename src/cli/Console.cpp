#include "cli/Console.h"

#include "engine/EngineNotation.h"
#include "session/Review.h"
#include "session/Study.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

bool IsErrorBox(const std::string& text) {
    constexpr std::string_view tail = "エラー発生";
    const std::string first = FirstLine(text);
    return first.size() >= tail.size() && first.compare(first.size() - tail.size(), tail.size(), tail) == 0;
}

// "7776" -> 77 and 76. Returns an error text, empty when the argument is good.
// "com human", "engine 3 com": two seats.
std::optional<TSeats> ParseConsoleSeats(std::string_view arg) {
    TSeats seats;
    std::size_t at = 0;
    auto word = [&]() {
        const std::size_t end = std::min(arg.find(' ', at), arg.size());
        const std::string_view w = arg.substr(at, end - at);
        at = end == arg.size() ? end : end + 1;
        return w;
    };
    for (TSeat& seat : seats.Of) {
        const std::string_view w = word();
        if (w == "human") {
            seat = TSeat::Human();
        } else if (w == "com") {
            seat = TSeat::Com();
        } else if (w == "engine") {
            const std::optional<int> level = EngineLevelFromText(word());
            if (!level) return std::nullopt;
            seat = TSeat::Engine(*level);
        } else {
            return std::nullopt;
        }
    }
    // A blank after the second seat is a third word left empty, as in every other command.
    if (at != arg.size() || arg.ends_with(' ')) return std::nullopt;
    return seats;
}

std::string ParseSquarePair(std::string_view arg, int& from, int& to) {
    const bool digits = arg.size() == 4 && arg.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits) return "move takes four digits, two squares such as 7776";
    from = (arg[0] - '0') * 10 + (arg[1] - '0');
    to = (arg[2] - '0') * 10 + (arg[3] - '0');
    for (int sq : {from, to})
        if (!OnBoard(FileOf(sq), RankOf(sq)))
            return "square " + SquareText(sq) + " is not on the board (files and ranks are 1 to 9)";
    return "";
}

TSessionHooks Hooks(bool timing, TEngineSeat& engine, std::function<void(TKyokumenKanri&)> think) {
    TSessionHooks hooks;
    hooks.Engine = &engine;
    hooks.Think = std::move(think);
    if (timing) hooks.ThinkTimed = [](double ms) { std::fprintf(stderr, "%.3f\n", ms); };
    return hooks;
}

} // namespace

TConsole::TConsole(std::ostream& out, bool timing, bool files, std::function<void(TKyokumenKanri&)> think)
    : out_(out), files_(files), session_(view_, Hooks(timing, seat_, std::move(think))) {
    seat_.Restarted = [this](const std::string& message) { Say("notice " + message); };
    session_.Start();
}

bool TConsole::Command(const std::string& line, bool tooLong) {
    try {
        return Execute(ParseConsoleCommand(line, tooLong));
    } catch (const std::exception& e) {
        out_ << "error " << e.what() << '\n';
        return true;
    }
}

void TConsole::Say(const std::string& text) {
    out_ << text << '\n';
}

TParsedCommand ParseConsoleCommand(const std::string& line, bool tooLong) {
    TParsedCommand c;
    if (tooLong) {
        c.Refusal = "error line too long (at most " + std::to_string(kConsoleMaxLineBytes) + " bytes)";
        return c;
    }
    const std::size_t blank = line.find(' ');
    const std::string_view command = std::string_view(line).substr(0, blank);
    const bool hasArg = blank != std::string::npos;
    const std::string_view arg = hasArg ? std::string_view(line).substr(blank + 1) : std::string_view();

    const TConsoleCommandRow* row = nullptr;
    for (const TConsoleCommandRow& s : kConsoleCommands)
        if (s.Name == command) row = &s;
    if (row == nullptr) {
        c.Refusal = "unknown-command";
        return c;
    }
    switch (row->Argument) {
    case ConsoleArgument::None:
        if (hasArg) {
            c.Refusal = "error " + std::string(command) + " takes no argument";
            return c;
        }
        break;
    case ConsoleArgument::Squares: {
        const std::string error = hasArg ? ParseSquarePair(arg, c.From, c.To) : std::string(row->Missing);
        if (!error.empty()) {
            c.Refusal = "error " + error;
            return c;
        }
        break;
    }
    case ConsoleArgument::Formation: {
        if (!hasArg) {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        bool known = false;
        for (std::string_view name : kFormationList) known = known || name == arg;
        if (!known) {
            c.Refusal = "unknown-formation";
            return c;
        }
        c.Argument = arg;
        break;
    }
    case ConsoleArgument::Seats: {
        const std::optional<TSeats> seats = ParseConsoleSeats(arg);
        if (!seats) {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        c.Seats = *seats;
        break;
    }
    case ConsoleArgument::Opponent:
        if (arg == "com") {
            c.From = 0;
        } else if (const std::optional<int> level =
                       arg.starts_with("engine ") ? EngineLevelFromText(arg.substr(7)) : std::nullopt) {
            c.From = *level;
        } else {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        break;
    case ConsoleArgument::Path:
    case ConsoleArgument::Text:
        if (arg.empty()) {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        c.Argument = arg;
        break;
    case ConsoleArgument::Millis:
        if (arg.empty() || arg.size() > 5 || arg.find_first_not_of("0123456789") != std::string_view::npos ||
            std::stoi(std::string(arg)) < 1 || std::stoi(std::string(arg)) > kConsoleMaxStudyMs) {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        c.Number = std::stoi(std::string(arg));
        c.Argument = std::string(arg);
        break;
    case ConsoleArgument::Number:
        if (arg.empty() || arg.size() > 4 || arg.find_first_not_of("0123456789") != std::string_view::npos) {
            c.Refusal = "error " + std::string(row->Missing);
            return c;
        }
        c.Number = std::stoi(std::string(arg));
        c.Argument = std::string(arg); // as written: "007" is move 7
        break;
    }
    c.Command = row->Command;
    return c;
}

bool TConsole::Execute(const TParsedCommand& c) {
    switch (c.Command) {
    case ConsoleCommand::Refused:
        Say(c.Refusal);
        break;
    case ConsoleCommand::Move:
        Move(c.From, c.To);
        break;
    case ConsoleCommand::New:
        session_.NewGame();
        Say("ok");
        break;
    case ConsoleCommand::Handicap:
        session_.NewHandicapGame();
        Say("ok");
        break;
    case ConsoleCommand::Formation:
        Say(session_.PickFormation(c.Argument) ? "ok" : "kept");
        break;
    case ConsoleCommand::Matta:
        Matta();
        break;
    case ConsoleCommand::Board:
        Board();
        break;
    case ConsoleCommand::Legal:
        Legal();
        break;
    case ConsoleCommand::Kifu:
        Kifu();
        break;
    case ConsoleCommand::Kif:
        out_ << session_.KifText() << "end\n";
        break;
    case ConsoleCommand::Save:
    case ConsoleCommand::Open:
        if (!files_) {
            Say("error files are off");
        } else if (c.Command == ConsoleCommand::Save) {
            session_.SaveRecord(c.Argument);
            Say("ok");
        } else {
            Say("ok " + std::to_string(session_.OpenRecord(c.Argument)));
        }
        break;
    case ConsoleCommand::Sfen: {
        const TEditedStart shown = session_.ShownSetup();
        TKyokumen k;
        k.SetupFromBoard(shown.Board, shown.ToMove == Side::Gote);
        Say(EngineFen(k, shown.ToMove == Side::Gote));
        break;
    }
    case ConsoleCommand::Position:
        Position(c.Argument);
        break;
    case ConsoleCommand::Resign:
        Say(session_.Resign() ? "end resigned" : "ignored");
        break;
    case ConsoleCommand::Why:
        Say(session_.LatestComReason());
        break;
    case ConsoleCommand::Hint:
        Hint();
        break;
    case ConsoleCommand::Opponent:
        Opponent(c.From);
        break;
    case ConsoleCommand::Goto:
        session_.ShowMove(c.Number);
        Say("ok " + std::to_string(session_.ShownMove()));
        break;
    case ConsoleCommand::PlayOn:
        Say("ok " + std::to_string(session_.PlayOn()));
        break;
    case ConsoleCommand::Branch:
        Say("ok " + std::to_string(session_.Branch()));
        break;
    case ConsoleCommand::Variations:
        Variations(c.Number);
        break;
    case ConsoleCommand::Variation:
        EnterLine(c.Number, session_.LineStart(c.Number));
        break;
    case ConsoleCommand::Mainline:
        // The main line may be shorter than the move shown: entering it clamps to its last move.
        EnterLine(0, session_.ShownMove());
        break;
    case ConsoleCommand::Analyse:
        Analyse();
        break;
    case ConsoleCommand::Mistakes:
        Mistakes();
        break;
    case ConsoleCommand::Study:
        Study(c.Number);
        break;
    case ConsoleCommand::Seats:
        Seats(c.Seats);
        break;
    case ConsoleCommand::Go:
        Go();
        break;
    case ConsoleCommand::Quit:
        return false;
    }
    return true;
}

namespace {

// The word of a player in the end lines: "human" and "com" when a person plays a computer (the engine
// is "com" too), else the side.
std::string EndWho(const TSeats& seats, Side side) {
    if (seats.LoneHuman()) return seats[side].Computer() ? "com" : "human";
    return side == Side::Sente ? "sente" : "gote";
}

std::string EndLine(const TSeats& seats, const TGameEnd& e) {
    const Side winner = Other(e.Loser);
    switch (e.Kind) {
    case EndKind::Mate:
        return "end " + EndWho(seats, winner) + "-mates";
    case EndKind::BareKing:
        return "end " + EndWho(seats, e.Loser) + "-bare-king";
    case EndKind::NoMove:
        return "end " + EndWho(seats, e.Loser) + "-no-move";
    case EndKind::Resign:
        return EndWho(seats, e.Loser) == "human" ? "end resigned"
                                                 : "end " + EndWho(seats, e.Loser) + "-resigned";
    case EndKind::Repetition:
        return "end draw-repetition";
    case EndKind::PerpetualCheck:
        return "end perpetual-check-loss";
    case EndKind::IllegalMove:
        return "end " + EndWho(seats, e.Loser) + "-illegal-move";
    case EndKind::None:
        break;
    }
    return "end";
}

} // namespace

void TConsole::Move(int from, int to) {
    Report(session_.MoveComa_Screen(from, to));
}

void TConsole::Go() {
    Report(session_.Go());
}

void TConsole::Report(TTurnReport r) {
    using Outcome = TTurnReport::Outcome;
    auto sayErrors = [&] {
        for (const std::string& box : r.Boxes)
            if (IsErrorBox(box)) Say("error " + FirstLine(box));
    };
    switch (r.Result) {
    case Outcome::Ignored:
        Say("ignored");
        return;
    case Outcome::Illegal:
        sayErrors();
        Say("illegal");
        return;
    case Outcome::IllegalCheck:
        Say("illegal-check");
        return;
    case Outcome::HumanMoveFailed:
        sayErrors();
        return;
    default:
        break;
    }
    const std::size_t before = r.Moves.size();
    for (const TReportedMove& m : r.Moves)
        Say(std::string(m.Computer ? "com " : "human ") + std::to_string(m.Count) + " " + MoveText(m.Shown));
    if (r.Result == Outcome::Pending) {
        // The console may wait: the engine's reply finishes the turn within seat_.Wait().
        seat_.Wait();
        if (session_.ReplyPending()) return;
        r = view_.Finished;
        for (std::size_t i = before; i < r.Moves.size(); ++i) {
            const TReportedMove& m = r.Moves[i];
            Say(std::string(m.Computer ? "com " : "human ") + std::to_string(m.Count) + " " +
                MoveText(m.Shown));
        }
    }
    // A failed think, or a reply that could not be played: the box's first line, whatever it says.
    if (r.Result == Outcome::ComFailed) {
        for (const std::string& box : r.Boxes) Say("error " + FirstLine(box));
        return;
    }
    // A check is said after a computer's move, and between two people after either's; a king left
    // alone ends the game before anyone looks for a check.
    const bool told = !r.Moves.empty() && (r.Moves.back().Computer || session_.Seats().Humans() == 2);
    if (r.Check && told && r.Ending.Kind != EndKind::BareKing) Say("check");
    if (r.Result == Outcome::GameOver) {
        Say(EndLine(session_.Seats(), r.Ending));
        return;
    }
    const std::string& status = session_.Status();
    Say(status.empty() ? "status" : "status " + status);
}

void TConsole::Seats(const TSeats& seats) {
    for (const TSeat& seat : seats.Of)
        if (seat.Kind == SeatKind::Engine)
            if (const std::string refusal = EngineRefusal(); !refusal.empty()) return Say(refusal);
    TSeats withFormation = seats;
    for (TSeat& seat : withFormation.Of)
        if (seat.Kind == SeatKind::Com) seat.Formation = session_.Formation();
    session_.SetSeats(withFormation);
    if (session_.StartKind() == KifStart::Edited)
        session_.NewGameFrom(session_.EditedStart());
    else if (session_.HisyaKakuMode())
        session_.NewHandicapGame();
    else
        session_.NewGame();
    Say("ok");
}

// A new game from a position text, with the seats of the game; the game stays as it was when the text
// cannot be read or the position cannot be played from ("error TEXT").
void TConsole::Position(const std::string& text) {
    const TFenPosition p = ParseEngineFen(text);
    session_.NewGameFrom({p.Board, p.ToMove});
    Say("ok");
}

void TConsole::Board() {
    // An earlier position looked at is the one shown.
    const std::vector<std::string> board = session_.ShownPosition().BoardList();
    for (int rank = 1; rank <= 9; ++rank) {
        std::string line;
        for (int file = 9; file >= 1; --file) {
            const std::string& entry = board[file * 10 + rank];
            if (file != 9) line += ' ';
            line += entry == " " ? "・" : entry;
        }
        Say(line);
    }
}

void TConsole::Legal() {
    std::string line;
    for (const TMove& m : session_.LegalMoves()) {
        if (!line.empty()) line += ' ';
        line += SquareText(m.From) + SquareText(m.To);
    }
    Say(line);
}

void TConsole::Matta() {
    const TMattaReport r = session_.Matta();
    if (r.Done)
        Say("ok " + std::to_string(session_.MoveCount()));
    else
        Say("refused " + FirstLine(r.Refusal));
}

// One line per way of playing move n on the line shown, the shown line's own first; a line that ends
// there instead of moving is written by its end line, or none when it has no end yet.
void TConsole::Variations(int n) {
    const std::vector<TGameSession::TAlternative> alternatives = session_.Alternatives(n);
    if (alternatives.empty()) return Say("error no move " + std::to_string(n) + " on this line");
    for (const TGameSession::TAlternative& a : alternatives) {
        const std::string text = !a.Shown.Empty()              ? MoveText(a.Shown)
                                 : a.End.Kind != EndKind::None ? EndLine(session_.Seats(), a.End)
                                                               : "none";
        Say("variation " + std::to_string(a.Line) + " " + text);
    }
    Say("end");
}

void TConsole::EnterLine(int k, int n) {
    if (k >= session_.LineCount()) return Say("error no variation " + std::to_string(k));
    // The line exists: only a computer's turn still running keeps it from being shown.
    if (!session_.EnterLine(k, n)) return Say("error COM is thinking");
    Say("ok " + std::to_string(session_.ShownMove()));
}

void TConsole::Kifu() {
    const std::string text = session_.KifuText();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    out_ << out;
}

std::string TConsole::EngineRefusal() const {
    if (!files_) return "error engine is off";
    if (!seat_.Installed()) return "error engine not found";
    return "";
}

void TConsole::Hint() {
    if (const std::string refusal = EngineRefusal(); !refusal.empty()) return Say(refusal);
    if (!session_.HumanToMove()) return Say("hint none");
    TEngineStatus status;
    TEngineProposal hint;
    seat_.Ask(session_.Position(), session_.SideToMove() == Side::Gote, session_.LegalMoves(), kHintLevel,
              [&](const TEngineStatus& s, const TEngineProposal& p) {
                  status = s;
                  hint = p;
              });
    seat_.Wait();
    if (!status) return Say("error " + status.Message);
    if (!hint.Found) return Say("hint none");
    session_.NoteHint(HintComment(hint));
    // The hint is for the side to move, the player: the engine's value is already theirs.
    const std::string value = hint.Mate ? (*hint.Mate > 0 ? "M+" : "M") + std::to_string(*hint.Mate)
                              : hint.Cp ? std::to_string(*hint.Cp)
                                        : "none";
    Say("hint " + SquareText(hint.Move.From) + SquareText(hint.Move.To) + " " + hint.MoveText + " " + value);
}

void TConsole::Opponent(int level) {
    if (const std::string refusal = EngineRefusal(); !refusal.empty()) return Say(refusal);
    const std::optional<Side> side = session_.OpponentSide();
    const TSeat seat = level == 0 ? TSeat::Com(session_.Formation()) : TSeat::Engine(level);
    Say(side && session_.ChangeSeat(*side, seat) ? "ok" : "ignored");
}

void TConsole::Analyse() {
    if (const std::string refusal = EngineRefusal(); !refusal.empty()) return Say(refusal);
    auto analysis = std::make_unique<TGameAnalysis>(seat_);
    const TKifRecord record = session_.LineRecord();
    TAnalysisSettings settings;
    settings.Judged = JudgedSides(record.Seats);
    analysis->Start(record, settings);
    analysis->Wait();
    if (!analysis->Error().empty()) return Say("error " + analysis->Error());
    session_.NoteAnalysis(analysis->Record().Played, analysis->MoveComments());
    for (std::size_t i = 0; i < analysis->Evals().size(); ++i) {
        const std::optional<int>& value = analysis->Evals()[i].Value;
        Say("eval " + std::to_string(i) + " " + (value ? std::to_string(*value) : "none"));
    }
    Say("end");
    analysis_ = std::move(analysis);
}

void TConsole::Mistakes() {
    if (!analysis_) return Say("error no analysis: analyse first");
    const std::vector<TMove> game = session_.MoveHistory();
    const std::vector<TMove>& analysed = analysis_->Record().Played;
    const bool same = analysis_->Record().Start == session_.LineRecord().Start &&
                      analysed.size() <= game.size() &&
                      std::equal(analysed.begin(), analysed.end(), game.begin());
    if (!same) return Say("error the game has changed since the analysis: analyse again");
    for (const TReviewQuestion& q : ReviewQuestions(*analysis_))
        Say("mistake " + std::to_string(q.Move) + " " + SquareText(q.Played.From) + SquareText(q.Played.To) +
            " " + SquareText(q.Best.From) + SquareText(q.Best.To) + " " + std::to_string(q.Loss));
    Say("end");
}

void TConsole::Study(int ms) {
    if (const std::string refusal = EngineRefusal(); !refusal.empty()) return Say(refusal);
    const TKyokumen shown = session_.ShownPosition();
    TMoveList legal;
    LegalMoves(shown, SideToMove(shown), legal);
    if (!legal.IsEmpty()) {
        TEngineSearch search;
        search.Skill = 20;
        search.MoveTime = std::chrono::milliseconds(ms);
        search.Lines = kStudyLines;
        TEngineStatus status;
        seat_.Ask(shown, shown.ComToMove, {legal.begin(), legal.end()}, search,
                  [&status](const TEngineStatus& s, const TEngineProposal&) { status = s; });
        seat_.Wait();
        if (!status) return Say("error " + status.Message);
        const std::vector<TStudyLine> lines = StudyLines(seat_.Client().Result(), shown, session_.Viewer());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const TStudyLine& line = lines[k];
            std::string value = "none";
            if (line.Value && std::abs(*line.Value) > kMateValue - 1000)
                value = (*line.Value > 0 ? "M+" : "M-") + std::to_string(kMateValue - std::abs(*line.Value));
            else if (line.Value)
                value = std::to_string(*line.Value);
            std::string text =
                "line " + std::to_string(k + 1) + " " + value + " " + std::to_string(line.Depth);
            for (const TMove& m : line.Moves) text += " " + SquareText(m.From) + SquareText(m.To);
            Say(text);
        }
    }
    Say("end");
}

bool ReadConsoleLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    bool any = false;
    char c;
    while (in.get(c)) {
        any = true;
        if (c == '\n') break;
        // One byte more than a line may hold: the CR of a CR LF end is not part of the line.
        if (line.size() <= kConsoleMaxLineBytes)
            line.push_back(c);
        else
            tooLong = true;
    }
    if (!any) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kConsoleMaxLineBytes) {
        line.resize(kConsoleMaxLineBytes);
        tooLong = true;
    }
    return true;
}

void RunConsole(std::istream& in, std::ostream& out, bool timing) {
    TConsole console(out, timing);
    std::string line;
    bool tooLong = false;
    while (ReadConsoleLine(in, line, tooLong)) {
        const bool go = console.Command(line, tooLong);
        // Answers that cannot be written are lost: reading on would play a game nobody sees.
        if (!out.flush() || !go) break;
    }
}
