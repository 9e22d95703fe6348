// The words for a position that cannot be played from (a board set up by hand, a record's diagram, a
// position text): in English for the console and the errors' what(), in Japanese, and in the display
// language for the window.
#pragma once

#include "board/PositionCheck.h"
#include "engine/EngineNotation.h"

#include <stdexcept>
#include <string>

// "the 香 on 21 could never move again" / "２一の香はもう動けません" / "the Lance on 2a could never move
// again".
std::string PositionFaultEnglish(const TPositionCheck& check);
std::string PositionFaultJapanese(const TPositionCheck& check);
std::string PositionFaultText(const TPositionCheck& check);
// A position text that cannot be read, in the display language (TFenError's what() is the English).
std::string FenErrorText(const TFenError& e);

// A position refused: what() in English, Shown() in the display language.
class TPositionRefusal : public std::runtime_error {
public:
    explicit TPositionRefusal(const TPositionCheck& check)
        : std::runtime_error(PositionFaultEnglish(check)), check_(check), shown_(PositionFaultText(check)) {}
    const TPositionCheck& Check() const { return check_; }
    const std::string& Shown() const { return shown_; }

private:
    TPositionCheck check_;
    std::string shown_;
};
