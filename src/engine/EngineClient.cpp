#include "engine/EngineClient.h"

#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace {

// One call of Poll reads for this long at the most, however fast the engine writes: the window's
// events are handled between two calls.
constexpr std::chrono::milliseconds kPollBudget{4};

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string GoCommand(const TEngineSearch& search) {
    std::string go = search.Nodes > 0 ? "go nodes " + std::to_string(search.Nodes)
                                      : "go movetime " + std::to_string(search.MoveTime.count());
    if (!search.OnlyMoves.empty()) go += " searchmoves";
    for (const std::string& move : search.OnlyMoves) go += " " + move;
    return go;
}

std::string PositionText(const TKyokumen& k, bool comToMove, const TEngineSearch& search) {
    if (search.StartFen.empty()) return EngineFen(k, comToMove);
    std::string text = search.StartFen;
    if (!search.Played.empty()) text += " moves";
    for (const std::string& move : search.Played) text += " " + move;
    return text;
}

} // namespace

TEngineStatus TEngineClient::Send(const std::string& line) {
    return process_.WriteLine(line, Deadline());
}

TEngineStatus TEngineClient::SendNow(const std::string& line) {
    // A command is a few dozen bytes and the engine reads as it searches: only an engine that has
    // stopped reading fills the channel, and that one has failed.
    return process_.WriteLine(line, TEngineClock::now());
}

TEngineStatus TEngineClient::Failed(TEngineStatus s) {
    Stop();
    return s;
}

void TEngineClient::Stop() {
    process_.Stop();
    phase_ = Phase::Off;
    queued_.clear();
    searching_ = false;
    searchDone_ = false;
    result_ = {}; // what a failed search said before it failed is no answer
}

TEngineStatus TEngineClient::ReadUntil(TEngineLine::Kind kind, std::string& lastLine,
                                       std::vector<std::string>& infos) {
    const auto deadline = Deadline();
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(lastLine, deadline); !s) return s;
        const TEngineLine parsed = ParseEngineLine(lastLine);
        if (parsed.Type == TEngineLine::Kind::InfoString) infos.push_back(parsed.Text);
        if (parsed.Type == kind) return TEngineStatus::Ok();
        // A chatty engine that never says it is ready has failed as surely as a silent one.
        if (TEngineClock::now() > deadline)
            return TEngineStatus::Fail(EngineError::NoAnswer, "the engine did not answer in time");
    }
}

TEngineStatus TEngineClient::Launch(const TEngineSettings& settings) {
    Stop();
    settings_ = settings;
    name_.clear();
    readsVariants_ = false;
    variantTaken_ = false;
    result_ = {};
    // The engine ignores a variant file it cannot read; say so here rather than as an unknown variant.
    // A line break would end the command it stands in and start another.
    if (HasLineBreak(settings.VariantFile) || HasLineBreak(settings.Variant))
        return TEngineStatus::Fail(EngineError::Protocol, "the variant file or name holds a line break");
    if (::access(settings.VariantFile.c_str(), R_OK) != 0)
        return TEngineStatus::Fail(EngineError::VariantMissing,
                                   "variant file not found: " + settings.VariantFile);
    if (TEngineStatus s = process_.Start(settings.Program); !s) return s;
    phase_ = Phase::Starting;
    phaseDeadline_ = Deadline();
    // All at once: the engine takes its commands in order, lists its options before it reads the next,
    // and confirms the variant before "readyok". One thread and a fixed table make a search of a number
    // of nodes repeat itself exactly.
    for (const std::string& command :
         {std::string("uci"), std::string("setoption name Threads value 1"),
          "setoption name Hash value " + std::to_string(kEngineHashMb),
          "setoption name VariantPath value " + settings.VariantFile,
          "setoption name UCI_Variant value " + settings.Variant, std::string("isready")})
        if (TEngineStatus s = SendNow(command); !s) return Failed(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Start(const TEngineSettings& settings) {
    if (TEngineStatus s = Launch(settings); !s) return s;
    return Settle();
}

TEngineStatus TEngineClient::TakeLine(const std::string& text) {
    using Kind = TEngineLine::Kind;
    const TEngineLine line = ParseEngineLine(text);
    switch (phase_) {
    case Phase::Starting:
        if (line.Type == Kind::Id && line.Name == "name") name_ = line.Text;
        if (line.Type == Kind::Option && line.Name == "VariantPath") readsVariants_ = true;
        // The engine confirms a variant it has taken with "info string variant NAME ..."; an unknown
        // name leaves it silently at the one it had.
        if (line.Type == Kind::InfoString && line.Text.starts_with("variant " + settings_.Variant + " "))
            variantTaken_ = true;
        if (line.Type == Kind::ReadyOk) return Started();
        break;
    case Phase::Searching:
        if (line.Type == Kind::Info && !line.Pv.empty() && !line.Malformed) {
            // The engine numbers its lines from 1; more than a few are never asked for.
            const int index = line.MultiPv.value_or(1) - 1;
            if (index < 0 || index >= 32) break;
            if (result_.Lines.size() <= std::size_t(index)) result_.Lines.resize(std::size_t(index) + 1);
            result_.Lines[std::size_t(index)] = line;
        } else if (line.Type == Kind::BestMove) {
            result_.BestMove = line.Move;
            result_.Resigns = line.Resigns;
            phase_ = Phase::Ready;
            searching_ = false;
            searchDone_ = true;
        }
        break;
    case Phase::Stopping:
        // Everything up to the aborted search's "bestmove" belongs to that search.
        if (line.Type == Kind::BestMove) {
            phase_ = Phase::Ready;
            return SendQueued();
        }
        break;
    case Phase::Off:
    case Phase::Ready:
        break; // nothing was asked: an engine's chatter
    }
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Started() {
    if (!readsVariants_)
        return Failed(TEngineStatus::Fail(EngineError::Protocol, "the engine " + name_ +
                                                                     " reads no variant file (no option "
                                                                     "VariantPath)"));
    if (!variantTaken_)
        return Failed(TEngineStatus::Fail(EngineError::VariantMissing,
                                          "the engine did not take the variant " + settings_.Variant +
                                              " from " + settings_.VariantFile));
    phase_ = Phase::Ready;
    return SendQueued();
}

TEngineStatus TEngineClient::SendQueued() {
    if (queued_.empty()) return TEngineStatus::Ok();
    const std::vector<std::string> commands = std::move(queued_);
    queued_.clear();
    for (const std::string& command : commands)
        if (TEngineStatus s = SendNow(command); !s) return Failed(s);
    phase_ = Phase::Searching;
    phaseDeadline_ = TEngineClock::now() + allowance_;
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Overdue() {
    const bool waiting = phase_ == Phase::Starting || phase_ == Phase::Searching || phase_ == Phase::Stopping;
    if (!waiting || TEngineClock::now() <= phaseDeadline_) return TEngineStatus::Ok();
    return Failed(TEngineStatus::Fail(EngineError::NoAnswer,
                                      phase_ == Phase::Stopping ? "the engine did not stop its search in time"
                                                                : "the engine did not answer in time"));
}

TEngineStatus TEngineClient::ReadOn() {
    std::string line;
    if (TEngineStatus s = process_.ReadLine(line, phaseDeadline_); !s)
        return s.Error == EngineError::NoAnswer ? Overdue() : Failed(s);
    if (TEngineStatus s = TakeLine(line); !s) return s;
    return Overdue();
}

TEngineStatus TEngineClient::Settle() {
    while (phase_ == Phase::Starting || phase_ == Phase::Stopping)
        if (TEngineStatus s = ReadOn(); !s) return s;
    if (phase_ == Phase::Off) return TEngineStatus::Fail(EngineError::Exited, "the engine is not running");
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::SelectVariant(const std::string& variant) {
    if (HasLineBreak(variant))
        return TEngineStatus::Fail(EngineError::Protocol, "the variant name holds a line break");
    Abort();
    if (TEngineStatus s = Settle(); !s) return s;
    if (TEngineStatus s = Send("setoption name UCI_Variant value " + variant); !s) return Failed(s);
    if (TEngineStatus s = Send("isready"); !s) return Failed(s);
    std::string line;
    std::vector<std::string> infos;
    if (TEngineStatus s = ReadUntil(TEngineLine::Kind::ReadyOk, line, infos); !s) return Failed(s);
    for (const std::string& info : infos)
        if (info.starts_with("variant " + variant + " ")) {
            settings_.Variant = variant;
            return TEngineStatus::Ok();
        }
    return Failed(TEngineStatus::Fail(EngineError::VariantMissing, "the engine did not take the variant " +
                                                                       variant + " from " +
                                                                       settings_.VariantFile));
}

TEngineStatus TEngineClient::SetStartPosition() {
    Abort();
    if (TEngineStatus s = Settle(); !s) return s;
    if (TEngineStatus s = Send("position startpos"); !s) return Failed(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::SetPosition(const TKyokumen& k, bool comToMove) {
    Abort();
    if (TEngineStatus s = Settle(); !s) return s;
    if (TEngineStatus s = Send("position fen " + EngineFen(k, comToMove)); !s) return Failed(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::LegalMoves(std::vector<std::string>& moves) {
    moves.clear();
    Abort();
    if (TEngineStatus s = Settle(); !s) return s;
    if (TEngineStatus s = Send("go perft 1"); !s) return Failed(s);
    const auto deadline = Deadline();
    std::string line;
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(line, deadline); !s) return Failed(s);
        const TEngineLine parsed = ParseEngineLine(line);
        if (parsed.Type == TEngineLine::Kind::PerftMove) moves.push_back(parsed.Move);
        if (parsed.Type == TEngineLine::Kind::PerftTotal) {
            if (parsed.Count != moves.size())
                return Failed(TEngineStatus::Fail(EngineError::Protocol,
                                                  "the engine counted " + std::to_string(parsed.Count) +
                                                      " moves but listed " + std::to_string(moves.size())));
            return TEngineStatus::Ok();
        }
        if (TEngineClock::now() > deadline)
            return Failed(TEngineStatus::Fail(EngineError::NoAnswer, "the engine did not answer in time"));
    }
}

TEngineStatus TEngineClient::Go(const TKyokumen& k, bool comToMove, const TEngineSearch& search) {
    Abort();
    if (phase_ == Phase::Off) return TEngineStatus::Fail(EngineError::Exited, "the engine is not running");
    for (const std::string& move : search.OnlyMoves)
        if (!IsEngineMoveToken(move))
            return TEngineStatus::Fail(EngineError::Protocol, "not a move to search: " + move);
    for (const std::string& move : search.Played)
        if (!IsEngineMoveToken(move))
            return TEngineStatus::Fail(EngineError::Protocol, "not a move played: " + move);
    if (HasLineBreak(search.StartFen))
        return TEngineStatus::Fail(EngineError::Protocol, "a start position of more than one line");
    result_ = {};
    const int lines = search.Lines < 1 ? 1 : search.Lines;
    queued_ = {"setoption name Skill Level value " + std::to_string(search.Skill),
               "setoption name MultiPV value " + std::to_string(lines)};
    // A search of a number of nodes starts from an empty table, so that what the engine searched
    // before cannot change its answer.
    if (search.Nodes > 0) queued_.push_back("ucinewgame");
    queued_.push_back("position fen " + PositionText(k, comToMove, search));
    queued_.push_back(GoCommand(search));
    allowance_ = (search.Nodes > 0 ? std::chrono::milliseconds(search.Nodes * 1000 / kSlowestNodesPerSecond)
                                   : search.MoveTime) +
                 settings_.Grace;
    searching_ = true;
    searchDone_ = false;
    if (phase_ == Phase::Ready) return SendQueued();
    // An engine started long ago and not read since has had its answers waiting: its time to answer runs
    // from now, when someone waits for it.
    const auto wait = phase_ == Phase::Starting ? settings_.Timeout : settings_.Grace;
    phaseDeadline_ = std::max(phaseDeadline_, TEngineClock::now() + wait);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Poll(bool& done) {
    done = false;
    const auto budgetEnd = TEngineClock::now() + kPollBudget;
    std::string line;
    while (phase_ != Phase::Off) {
        // A deadline already past reads what has arrived and does not wait.
        TEngineStatus s = process_.ReadLine(line, TEngineClock::now());
        if (!s) {
            if (s.Error != EngineError::NoAnswer) return Failed(s);
            break;
        }
        if (s = TakeLine(line); !s) return s;
        if (searchDone_) {
            searchDone_ = false;
            done = true;
            return TEngineStatus::Ok();
        }
        if (TEngineClock::now() >= budgetEnd) break;
    }
    if (TEngineStatus s = Overdue(); !s) return s;
    done = !searching_;
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Wait() {
    while (searching_) {
        if (TEngineStatus s = ReadOn(); !s) return s;
        if (searchDone_) searchDone_ = false;
    }
    return TEngineStatus::Ok();
}

void TEngineClient::Abort() {
    if (!searching_) return;
    searching_ = false;
    searchDone_ = false;
    result_ = {};
    // A search not yet sent is simply dropped.
    queued_.clear();
    if (phase_ != Phase::Searching) return;
    if (TEngineStatus s = SendNow("stop"); !s) return Stop();
    phase_ = Phase::Stopping;
    phaseDeadline_ = TEngineClock::now() + settings_.Grace;
}

std::string FindVariantFile() {
    const char* set = std::getenv("MIRUTOA_VARIANT_FILE");
    if (set != nullptr && *set != '\0') return set;
    for (const char* candidate :
         {"mirutoa-variant.ini", MIRUTOA_INSTALLED_VARIANT_FILE, MIRUTOA_SOURCE_VARIANT_FILE})
        if (::access(candidate, R_OK) == 0) return candidate;
    return {};
}
