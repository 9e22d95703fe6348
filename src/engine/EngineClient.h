// The variant engine playing this game's rules: starts it, hands it the variant file, sets positions
// and asks it for the legal moves. Each request waits at most the settings' timeout. A request that
// fails stops the engine (its answers could no longer be told from those to the next request):
// Running() is then false, and Start begins anew.
#pragma once

#include "board/Kyokumen.h"
#include "engine/EngineProcess.h"
#include "engine/EngineProtocol.h"

#include <chrono>
#include <string>
#include <vector>

struct TEngineSettings {
    std::string Program = "fairy-stockfish";
    // The variant description (assets/mirutoa-variant.ini, installed beside the piece pictures).
    std::string VariantFile;
    // "mirutoa", or "mirutoa-handicap" for games without the human's rook and bishop (only the start
    // position differs).
    std::string Variant = "mirutoa";
    std::chrono::milliseconds Timeout{5000};
};

class TEngineClient {
public:
    // Starts the engine and sets the variant; afterwards the engine's name is known.
    TEngineStatus Start(const TEngineSettings& settings);
    void Stop() { process_.Stop(); }
    bool Running() const { return process_.Running(); }
    const std::string& EngineName() const { return name_; }

    // Switches to another variant of the same file ("mirutoa-handicap").
    TEngineStatus SelectVariant(const std::string& variant);
    // The variant's start position, as the variant file describes it.
    TEngineStatus SetStartPosition();
    TEngineStatus SetPosition(const TKyokumen& k, bool comToMove);
    // The legal moves of the position set last, in the engine's notation and order. Empty when the
    // engine finds the game over (mate, a bare king, no move at all).
    TEngineStatus LegalMoves(std::vector<std::string>& moves);

private:
    TEngineStatus Send(const std::string& line);
    TEngineStatus Stopped(TEngineStatus s); // stops the engine, returns s
    // Reads lines until one of the kind wanted; collects the info strings on the way.
    TEngineStatus ReadUntil(TEngineLine::Kind kind, std::string& lastLine);
    TEngineClock::time_point Deadline() const { return TEngineClock::now() + settings_.Timeout; }

    TEngineSettings settings_;
    TEngineProcess process_;
    std::string name_;
    std::vector<std::string> infoStrings_;
};
