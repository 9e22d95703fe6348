// COM's formation strategies: their step lists and the bookkeeping of the progress made on them.
#include "formation/Senpou.h"

#include <stdexcept>

std::string TSenpouStep::Text() const {
    switch (Type) {
    case Step: {
        // The piece index right-aligned in two characters, then ",", then the target square.
        std::string text(5, ' ');
        if (Piece >= 10) text[0] = char('0' + Piece / 10);
        text[1] = char('0' + Piece % 10);
        text[2] = ',';
        text[3] = char('0' + Target / 10);
        text[4] = char('0' + Target % 10);
        return text;
    }
    case Terminator:
        return std::string(kStepTerminatorText);
    case None:
        break;
    }
    return {};
}

namespace {

// The first slot not yet marked done; slot 0 when every slot is marked.
int FirstOpenSlot(const std::array<int, TSenpou_Base::kSlots>& done) {
    for (int i = 0; i < TSenpou_Base::kSlots; ++i)
        if (done[i] == 0) return i;
    return 0;
}

} // namespace

TSenpouStep TSenpou_Base::PeekStep() {
    // The stamp moves on every time COM asks, so a take-back can tell whether a step was marked during
    // COM's last move (the stamps are then equal) or earlier.
    PeekStamp += 2;
    for (int i = 0; i < kSlots; ++i)
        if (StepDone[i] == 0) return Steps[i];
    return {};
}

void TSenpou_Base::MarkStepDone() {
    const int slot = FirstOpenSlot(StepDone);
    StepDone[slot] = 1;
    if (slot + 1 < kSlots && Steps[slot + 1].Type == TSenpouStep::Terminator) Finished = true;
    DoneStamp = PeekStamp;
}

void TSenpou_Base::UnmarkStep() {
    const int slot = FirstOpenSlot(StepDone);
    if (slot > 0) StepDone[slot - 1] = 0;
    if (Steps[slot].Type == TSenpouStep::Terminator) Finished = false;
}

void TSenpou_Base::SetSteps(std::initializer_list<std::pair<int, int>> steps) {
    // The terminator needs a slot of its own.
    if (steps.size() >= std::size_t(kSlots))
        throw std::length_error("a formation has room for " + std::to_string(kSlots - 1) + " steps, not " +
                                std::to_string(steps.size()));
    int slot = 0;
    for (const auto& [piece, target] : steps) Steps[slot++] = TSenpouStep{TSenpouStep::Step, piece, target};
    Steps[slot] = TSenpouStep{TSenpouStep::Terminator, 0, 0};
}

// Each formation as (COM piece index, target square) in the order COM builds it.
// clang-format off
TSenpou_Kihon::TSenpou_Kihon() { SetSteps({{3, 43}, {2, 32}, {5, 52}, {4, 41}, {18, 84}, {6, 72}, {6, 83}}); }
TSenpou_Anaguma::TSenpou_Anaguma() {
    SetSteps({{10, 42}, {4, 82}, {8, 92}, {4, 91}, {6, 82}, {5, 72}, {3, 71}, {14, 46}});
}
TSenpou_IbisyaAnaguma::TSenpou_IbisyaAnaguma() {
    SetSteps({{6, 62}, {4, 22}, {0, 12}, {4, 11}, {2, 22}, {3, 31}, {5, 32}, {18, 85}});
}
TSenpou_NakaBisya::TSenpou_NakaBisya() {
    SetSteps({{15, 54}, {10, 52}, {5, 62}, {5, 53}, {5, 64}, {14, 45}, {4, 62}, {4, 82}, {6, 72}, {19, 94}});
}
TSenpou_YonkenBisya::TSenpou_YonkenBisya() { SetSteps({{10, 42}, {3, 52}, {14, 45}, {14, 46}}); }
TSenpou_SankenBisya::TSenpou_SankenBisya() {
    SetSteps({{10, 32}, {9, 42}, {2, 22}, {3, 52}, {4, 62}, {4, 82}, {6, 72}, {3, 43}, {13, 35}});
}
TSenpou_FunaGakoi::TSenpou_FunaGakoi() {
    SetSteps({{4, 32}, {5, 52}, {2, 22}, {15, 54}, {6, 53}, {11, 14}, {18, 84}});
}
TSenpou_YaguraGakoi::TSenpou_YaguraGakoi() {
    SetSteps({{2, 32}, {9, 42}, {2, 33}, {3, 32}, {5, 43}, {4, 31}, {4, 22}});
}
TSenpou_NadareGakoi::TSenpou_NadareGakoi() {
    SetSteps({{4, 22}, {3, 32}, {2, 42}, {2, 43}, {14, 45}, {2, 44}, {5, 52}, {5, 43}, {15, 54}, {6, 53},
              {15, 55}, {6, 54}, {16, 64}});
}
TSenpou_Big4::TSenpou_Big4() {
    SetSteps({{2, 32}, {2, 43}, {14, 45}, {2, 44}, {3, 43}, {15, 55}, {5, 54}, {6, 53}, {16, 64}, {4, 32},
              {11, 14}});
}
TSenpou_MukaiBisya::TSenpou_MukaiBisya() {
    SetSteps({{3, 32}, {3, 43}, {13, 35}, {3, 34}, {10, 22}, {12, 24}});
}
TSenpou_MirutoaYagura::TSenpou_MirutoaYagura() {
    SetSteps({{3, 43}, {4, 42}, {4, 22}, {2, 32}, {5, 52}, {11, 14}});
}
TSenpou_JujiAnaguma::TSenpou_JujiAnaguma() {
    SetSteps({{10, 42}, {3, 52}, {2, 32}, {11, 14}, {4, 62}, {4, 82}, {8, 92}, {4, 91}, {6, 82}, {18, 84},
              {6, 83}, {5, 72}, {5, 82}, {3, 72}});
}
TSenpou_Ougon::TSenpou_Ougon() {
    SetSteps({{2, 32}, {2, 43}, {10, 22}, {4, 62}, {3, 52}, {4, 72}, {4, 82}, {5, 72}, {3, 62}, {13, 35},
              {2, 34}});
}
// clang-format on

const std::array<TFormationEntry, kSenpouCount> kFormationTable = {{
    {"【基本形】", Kihon},
    {"【穴熊】", Anaguma},
    {"【居飛車穴熊】", IbisyaAnaguma},
    {"【中飛車】", NakaBisya},
    {"【四間飛車】", YonkenBisya},
    {"【三間飛車】", SankenBisya},
    {"【船囲い】", FunaGakoi},
    {"【矢倉囲い】", YaguraGakoi},
    {"【ミルトア式BIG4 改】", Big4},
    {"【向かい飛車】", MukaiBisya},
    {"【ミルトア式雪崩囲い】", NadareGakoi},
    {"【ミルトア式変則矢倉】", MirutoaYagura},
    {"【ミルトア式十字穴熊】", JujiAnaguma},
    {"【ミルトア式黄金囲い】", Ougon},
}};

const std::array<SenpouId, kSenpouCount> kSenpouChainOrder = {
    Kihon,       Anaguma, IbisyaAnaguma, NakaBisya,  YonkenBisya,   SankenBisya, FunaGakoi,
    YaguraGakoi, Big4,    NadareGakoi,   MukaiBisya, MirutoaYagura, JujiAnaguma, Ougon,
};

const std::array<SenpouId, kSenpouCount> kSenpouTakeBackOrder = {
    Kihon,       Anaguma,     FunaGakoi, IbisyaAnaguma, NakaBisya,     SankenBisya, YonkenBisya,
    YaguraGakoi, NadareGakoi, Big4,      MukaiBisya,    MirutoaYagura, JujiAnaguma, Ougon,
};
