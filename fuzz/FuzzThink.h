// The think the fuzz targets that play whole games give COM. Its quick think keeps every rule of the
// game around COM (results, take-back, replay, records) while an input plays hundreds of turns in a
// millisecond; COM's own cascade is guarded by the transcript, soak and stage tests. Set
// MIRUTOA_FUZZ_REAL_COM=1 to fuzz with COM's real think, some hundred times slower.
#pragma once

#include "com/KyokumenKanri.h"

#include <cstdlib>
#include <functional>

inline std::function<void(TKyokumenKanri&)> FuzzThink() {
    static const bool real = std::getenv("MIRUTOA_FUZZ_REAL_COM") != nullptr;
    if (real) return {};
    return [](TKyokumenKanri& k) { k.QuickThink(); };
}
