// COM's formation strategies: fixed lists of steps (a piece index and a target square) and the
// progress made on them.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// One slot of a step list: empty, a step " 3,43" (piece 3 to square 43) or the terminator "完了".
struct TSenpouStep {
    enum Kind : std::uint8_t { None, Step, Terminator };
    Kind Type = None;
    int Piece = 0;
    int Target = 0;

    // " 3,43", "18,84", "完了" or "".
    std::string Text() const;
    bool operator==(const TSenpouStep&) const = default;
};

inline constexpr std::string_view kStepTerminatorText = "完了";

class TSenpou_Base {
public:
    static constexpr int kSlots = 16;

    std::array<TSenpouStep, kSlots> Steps{};
    std::array<int, kSlots> StepDone{};
    int DoneStamp = -1;
    int PeekStamp = 0;
    bool Finished = false;

    // The first step not yet done (the terminator once every real step is done, an empty step when
    // all sixteen slots are marked). Every call raises PeekStamp by 2.
    TSenpouStep PeekStep();
    void MarkStepDone();
    void UnmarkStep();

protected:
    // Writes the steps into slots 0, 1, ... and the terminator after them.
    void SetSteps(std::initializer_list<std::pair<int, int>> steps);
};

struct TSenpou_Kihon : TSenpou_Base {
    TSenpou_Kihon();
};
struct TSenpou_Anaguma : TSenpou_Base {
    TSenpou_Anaguma();
};
struct TSenpou_IbisyaAnaguma : TSenpou_Base {
    TSenpou_IbisyaAnaguma();
};
struct TSenpou_NakaBisya : TSenpou_Base {
    TSenpou_NakaBisya();
};
struct TSenpou_YonkenBisya : TSenpou_Base {
    TSenpou_YonkenBisya();
};
struct TSenpou_SankenBisya : TSenpou_Base {
    TSenpou_SankenBisya();
};
struct TSenpou_FunaGakoi : TSenpou_Base {
    TSenpou_FunaGakoi();
};
struct TSenpou_YaguraGakoi : TSenpou_Base {
    TSenpou_YaguraGakoi();
};
struct TSenpou_NadareGakoi : TSenpou_Base {
    TSenpou_NadareGakoi();
};
struct TSenpou_Big4 : TSenpou_Base {
    TSenpou_Big4();
};
struct TSenpou_MukaiBisya : TSenpou_Base {
    TSenpou_MukaiBisya();
};
struct TSenpou_MirutoaYagura : TSenpou_Base {
    TSenpou_MirutoaYagura();
};
struct TSenpou_JujiAnaguma : TSenpou_Base {
    TSenpou_JujiAnaguma();
};
struct TSenpou_Ougon : TSenpou_Base {
    TSenpou_Ougon();
};

// The fourteen strategies, numbered in the order the game manager holds them.
enum SenpouId : int {
    Kihon,
    Anaguma,
    IbisyaAnaguma,
    NakaBisya,
    YonkenBisya,
    SankenBisya,
    FunaGakoi,
    YaguraGakoi,
    NadareGakoi,
    Big4,
    MukaiBisya,
    MirutoaYagura,
    JujiAnaguma,
    Ougon,
    kSenpouCount
};

// The formation names in the order SetFormation tests them, each with its strategy.
struct TFormationEntry {
    std::string_view Name;
    SenpouId Senpou;
};
extern const std::array<TFormationEntry, kSenpouCount> kFormationTable;

// The order in which COM visits the strategies when it looks for a formation step.
extern const std::array<SenpouId, kSenpouCount> kSenpouChainOrder;
// The order in which a take-back rewinds the strategies.
extern const std::array<SenpouId, kSenpouCount> kSenpouTakeBackOrder;
