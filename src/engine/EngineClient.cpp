#include "engine/EngineClient.h"

#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"

#include <cstdlib>
#include <unistd.h>

namespace {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

TEngineStatus TEngineClient::Send(const std::string& line) {
    return process_.WriteLine(line, Deadline());
}

TEngineStatus TEngineClient::Stopped(TEngineStatus s) {
    process_.Stop();
    return s;
}

TEngineStatus TEngineClient::ReadUntil(TEngineLine::Kind kind, std::string& lastLine) {
    const auto deadline = Deadline();
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(lastLine, deadline); !s) return s;
        const TEngineLine parsed = ParseEngineLine(lastLine);
        if (parsed.Type == TEngineLine::Kind::InfoString) infoStrings_.push_back(parsed.Text);
        if (parsed.Type == kind) return TEngineStatus::Ok();
    }
}

TEngineStatus TEngineClient::Start(const TEngineSettings& settings) {
    settings_ = settings;
    name_.clear();
    infoStrings_.clear();
    // The engine ignores a variant file it cannot read; say so here rather than as an unknown variant.
    // A line break would end the command it stands in and start another.
    if (HasLineBreak(settings.VariantFile) || HasLineBreak(settings.Variant))
        return TEngineStatus::Fail(EngineError::Protocol, "the variant file or name holds a line break");
    if (::access(settings.VariantFile.c_str(), R_OK) != 0)
        return TEngineStatus::Fail(EngineError::VariantMissing,
                                   "variant file not found: " + settings.VariantFile);
    if (TEngineStatus s = process_.Start(settings.Program); !s) return s;

    if (TEngineStatus s = Send("uci"); !s) return Stopped(s);
    bool readsVariants = false;
    std::string line;
    const auto deadline = Deadline();
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(line, deadline); !s) return Stopped(s);
        const TEngineLine parsed = ParseEngineLine(line);
        if (parsed.Type == TEngineLine::Kind::Id && parsed.Name == "name") name_ = parsed.Text;
        if (parsed.Type == TEngineLine::Kind::Option && parsed.Name == "VariantPath") readsVariants = true;
        if (parsed.Type == TEngineLine::Kind::UciOk) break;
    }
    if (!readsVariants)
        return Stopped(TEngineStatus::Fail(
            EngineError::Protocol, "the engine " + name_ + " reads no variant file (no option VariantPath)"));
    if (TEngineStatus s = Send("setoption name VariantPath value " + settings.VariantFile); !s)
        return Stopped(s);
    if (TEngineStatus s = SelectVariant(settings.Variant); !s) return Stopped(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::SelectVariant(const std::string& variant) {
    if (HasLineBreak(variant))
        return TEngineStatus::Fail(EngineError::Protocol, "the variant name holds a line break");
    infoStrings_.clear();
    if (TEngineStatus s = Send("setoption name UCI_Variant value " + variant); !s) return Stopped(s);
    if (TEngineStatus s = Send("isready"); !s) return Stopped(s);
    std::string line;
    if (TEngineStatus s = ReadUntil(TEngineLine::Kind::ReadyOk, line); !s) return Stopped(s);
    // The engine confirms a variant it has taken with "info string variant NAME ..."; an unknown name
    // leaves it silently at the one it had.
    const std::string confirmation = "variant " + variant + " ";
    for (const std::string& info : infoStrings_)
        if (info.starts_with(confirmation)) {
            settings_.Variant = variant;
            return TEngineStatus::Ok();
        }
    return Stopped(TEngineStatus::Fail(EngineError::VariantMissing, "the engine did not take the variant " +
                                                                        variant + " from " +
                                                                        settings_.VariantFile));
}

TEngineStatus TEngineClient::SetStartPosition() {
    if (TEngineStatus s = Send("position startpos"); !s) return Stopped(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::SetPosition(const TKyokumen& k, bool comToMove) {
    if (TEngineStatus s = Send("position fen " + EngineFen(k, comToMove)); !s) return Stopped(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::LegalMoves(std::vector<std::string>& moves) {
    moves.clear();
    if (TEngineStatus s = Send("go perft 1"); !s) return Stopped(s);
    const auto deadline = Deadline();
    std::string line;
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(line, deadline); !s) return Stopped(s);
        const TEngineLine parsed = ParseEngineLine(line);
        if (parsed.Type == TEngineLine::Kind::PerftMove) moves.push_back(parsed.Move);
        if (parsed.Type == TEngineLine::Kind::PerftTotal) {
            if (parsed.Count != moves.size())
                return Stopped(TEngineStatus::Fail(EngineError::Protocol,
                                                   "the engine counted " + std::to_string(parsed.Count) +
                                                       " moves but listed " + std::to_string(moves.size())));
            return TEngineStatus::Ok();
        }
    }
}

TEngineStatus TEngineClient::SearchFailed(TEngineStatus s) {
    searching_ = false;
    return Stopped(std::move(s));
}

TEngineStatus TEngineClient::Go(const TKyokumen& k, bool comToMove, const TEngineSearch& search) {
    if (searching_) Abort();
    if (!Running()) return TEngineStatus::Fail(EngineError::Exited, "the engine is not running");
    result_ = {};
    const int lines = search.Lines < 1 ? 1 : search.Lines;
    for (const std::string& command :
         {"setoption name Skill Level value " + std::to_string(search.Skill),
          "setoption name MultiPV value " + std::to_string(lines), "position fen " + EngineFen(k, comToMove),
          "go movetime " + std::to_string(search.MoveTime.count())})
        if (TEngineStatus s = Send(command); !s) return Stopped(s);
    searching_ = true;
    searchDeadline_ = TEngineClock::now() + search.MoveTime + kEngineSearchGrace;
    return TEngineStatus::Ok();
}

void TEngineClient::TakeSearchLine(const std::string& line, bool& done) {
    const TEngineLine parsed = ParseEngineLine(line);
    if (parsed.Type == TEngineLine::Kind::Info && !parsed.Pv.empty()) {
        // The engine numbers its lines from 1; more than a few are never asked for.
        const int index = parsed.MultiPv.value_or(1) - 1;
        if (index < 0 || index >= 32) return;
        if (result_.Lines.size() <= std::size_t(index)) result_.Lines.resize(std::size_t(index) + 1);
        result_.Lines[std::size_t(index)] = parsed;
    } else if (parsed.Type == TEngineLine::Kind::BestMove) {
        result_.BestMove = parsed.Move;
        searching_ = false;
        done = true;
    }
}

TEngineStatus TEngineClient::Poll(bool& done) {
    done = !searching_;
    std::string line;
    while (searching_) {
        // A deadline already past reads what has arrived and does not wait.
        TEngineStatus s = process_.ReadLine(line, TEngineClock::now());
        if (s) {
            TakeSearchLine(line, done);
            continue;
        }
        if (s.Error != EngineError::NoAnswer) return SearchFailed(s);
        if (TEngineClock::now() < searchDeadline_) return TEngineStatus::Ok();
        return SearchFailed(TEngineStatus::Fail(EngineError::NoAnswer, "the engine did not answer in time"));
    }
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::Wait() {
    bool done = !searching_;
    std::string line;
    while (!done) {
        if (TEngineStatus s = process_.ReadLine(line, searchDeadline_); !s) return SearchFailed(s);
        TakeSearchLine(line, done);
    }
    return TEngineStatus::Ok();
}

void TEngineClient::Abort() {
    if (!searching_) return;
    // The engine still answers a stopped search with its "bestmove"; it must be read before the next
    // search, or it would be taken for that one's.
    if (TEngineStatus s = Send("stop"); !s) {
        (void)SearchFailed(s);
        return;
    }
    searchDeadline_ = Deadline();
    if (TEngineStatus s = Wait(); !s) return;
    result_ = {};
}

std::string FindVariantFile() {
    const char* set = std::getenv("MIRUTOA_VARIANT_FILE");
    if (set != nullptr && *set != '\0') return set;
    for (const char* candidate :
         {"mirutoa-variant.ini", MIRUTOA_INSTALLED_VARIANT_FILE, MIRUTOA_SOURCE_VARIANT_FILE})
        if (::access(candidate, R_OK) == 0) return candidate;
    return {};
}
