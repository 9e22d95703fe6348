#include "engine/EngineClient.h"

#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"

#include <unistd.h>

TEngineStatus TEngineClient::Send(const std::string& line) {
    return process_.WriteLine(line, Deadline());
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
    if (::access(settings.VariantFile.c_str(), R_OK) != 0)
        return TEngineStatus::Fail(EngineError::VariantMissing,
                                   "variant file not found: " + settings.VariantFile);
    if (TEngineStatus s = process_.Start(settings.Program); !s) return s;

    auto fail = [this](TEngineStatus s) {
        process_.Stop();
        return s;
    };
    if (TEngineStatus s = Send("uci"); !s) return fail(s);
    bool readsVariants = false;
    std::string line;
    const auto deadline = Deadline();
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(line, deadline); !s) return fail(s);
        const TEngineLine parsed = ParseEngineLine(line);
        if (parsed.Type == TEngineLine::Kind::Id && parsed.Name == "name") name_ = parsed.Text;
        if (parsed.Type == TEngineLine::Kind::Option && parsed.Name == "VariantPath") readsVariants = true;
        if (parsed.Type == TEngineLine::Kind::UciOk) break;
    }
    if (!readsVariants)
        return fail(TEngineStatus::Fail(
            EngineError::Protocol, "the engine " + name_ + " reads no variant file (no option VariantPath)"));
    if (TEngineStatus s = Send("setoption name VariantPath value " + settings.VariantFile); !s)
        return fail(s);
    if (TEngineStatus s = SelectVariant(settings.Variant); !s) return fail(s);
    return TEngineStatus::Ok();
}

TEngineStatus TEngineClient::SelectVariant(const std::string& variant) {
    infoStrings_.clear();
    if (TEngineStatus s = Send("setoption name UCI_Variant value " + variant); !s) return s;
    if (TEngineStatus s = Send("isready"); !s) return s;
    std::string line;
    if (TEngineStatus s = ReadUntil(TEngineLine::Kind::ReadyOk, line); !s) return s;
    // The engine confirms a variant it has taken with "info string variant NAME ..."; an unknown name
    // leaves it silently at the one it had.
    const std::string confirmation = "variant " + variant + " ";
    for (const std::string& info : infoStrings_)
        if (info.starts_with(confirmation)) {
            settings_.Variant = variant;
            return TEngineStatus::Ok();
        }
    return TEngineStatus::Fail(EngineError::VariantMissing, "the engine did not take the variant " + variant +
                                                                " from " + settings_.VariantFile);
}

TEngineStatus TEngineClient::SetStartPosition() {
    return Send("position startpos");
}

TEngineStatus TEngineClient::SetPosition(const TKyokumen& k, bool comToMove) {
    return Send("position fen " + EngineFen(k, comToMove));
}

TEngineStatus TEngineClient::LegalMoves(std::vector<std::string>& moves) {
    moves.clear();
    if (TEngineStatus s = Send("go perft 1"); !s) return s;
    const auto deadline = Deadline();
    std::string line;
    for (;;) {
        if (TEngineStatus s = process_.ReadLine(line, deadline); !s) return s;
        const TEngineLine parsed = ParseEngineLine(line);
        if (parsed.Type == TEngineLine::Kind::PerftMove) moves.push_back(parsed.Move);
        if (parsed.Type == TEngineLine::Kind::PerftTotal) {
            if (parsed.Count != moves.size())
                return TEngineStatus::Fail(EngineError::Protocol,
                                           "the engine counted " + std::to_string(parsed.Count) +
                                               " moves but listed " + std::to_string(moves.size()));
            return TEngineStatus::Ok();
        }
    }
}
