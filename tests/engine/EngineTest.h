// What the engine tests share: skipping where the engine is not installed, and the settings of the real
// engine and of the fake one (tests/engine/fake-engine.sh).
#pragma once

#include "engine/EngineClient.h"
#include "engine/EngineProcess.h"

#include <gtest/gtest.h>

#include <chrono>

#define SKIP_WITHOUT_ENGINE()                                                                                \
    if (FindEngineProgram("fairy-stockfish").empty())                                                        \
    GTEST_SKIP() << "the engine is not installed (Debian package fairy-stockfish)"

namespace engine_test {

// The installed engine with this game's variant.
inline TEngineSettings Settings() {
    TEngineSettings s;
    s.VariantFile = MIRUTOA_VARIANT_FILE;
    return s;
}

// The fake engine, quick to give up: a hung fake costs the grace, not the engine's five seconds.
inline TEngineSettings FakeSettings() {
    TEngineSettings s = Settings();
    s.Program = MIRUTOA_FAKE_ENGINE;
    s.Timeout = std::chrono::milliseconds(3000);
    s.Grace = std::chrono::milliseconds(300);
    return s;
}

} // namespace engine_test
