#include "session/Continuation.h"

#include "formation/Senpou.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr std::string_view kSeedKey = "#ミルトア乱数：";
constexpr std::string_view kFormationKey = "#ミルトア陣形：";
constexpr std::string_view kTakeBackKey = "#ミルトア待った：";
constexpr std::string_view kSecondsKey = "#ミルトアCOM思考：";
constexpr std::string_view kEndSeedKey = "#ミルトア最終乱数：";

std::string SquaresText(const TMove& m) {
    if (m.Empty()) return "-";
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d%02d", m.From, m.To);
    return buf;
}

std::string SecondsText(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", s);
    return buf;
}

bool ParseSquares(const std::string& word, TMove& m) {
    if (word == "-") {
        m = TMove{};
        return true;
    }
    if (word.size() != 4 || word.find_first_not_of("0123456789") != std::string::npos) return false;
    m.From = std::uint8_t((word[0] - '0') * 10 + (word[1] - '0'));
    m.To = std::uint8_t((word[2] - '0') * 10 + (word[3] - '0'));
    // Only the squares matter: the replay makes the move again and compares where it went.
    m.Name = PieceName::Fu;
    return true;
}

bool ParseSeconds(const std::string& word, double& s) {
    try {
        std::size_t used = 0;
        s = std::stod(word, &used);
        return used == word.size() && std::isfinite(s) && s >= 0 && s <= kKifMaxComSeconds;
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseSeed(const std::string& word, std::uint32_t& seed) {
    unsigned long long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc{} || end != word.data() + word.size() || value > 0xFFFFFFFFull) return false;
    seed = std::uint32_t(value);
    return true;
}

// A name COM has no formation for would leave it building nothing while it says it builds that.
bool KnownFormation(const std::string& name) {
    return std::any_of(kFormationTable.begin(), kFormationTable.end(),
                       [&name](const TFormationEntry& entry) { return entry.Name == name; });
}

} // namespace

std::vector<std::string> ContinuationLines(const TKifContinuation& c) {
    std::vector<std::string> lines;
    if (!c.Known) return lines;
    lines.push_back(std::string(kSeedKey) + std::to_string(c.Seed));
    for (const TKifEvent& e : c.Events) {
        if (!e.Formation.empty()) {
            lines.push_back(std::string(kFormationKey) + e.Formation);
            continue;
        }
        const TKifTakeBack& t = e.TakeBack;
        lines.push_back(std::string(kTakeBackKey) + std::to_string(t.AtCount) + " " + SquaresText(t.Human) +
                        " " + SquaresText(t.Com) + " " + SecondsText(t.Seconds));
    }
    std::string seconds(kSecondsKey);
    for (std::size_t i = 0; i < c.ComSeconds.size(); ++i)
        seconds += (i ? " " : "") + SecondsText(c.ComSeconds[i]);
    lines.push_back(seconds);
    if (c.EndSeed) lines.push_back(std::string(kEndSeedKey) + std::to_string(*c.EndSeed));
    return lines;
}

bool ReadContinuationLine(std::string_view line, int lineNumber, TKifContinuation& c) {
    auto after = [&line](std::string_view key, std::string& rest) {
        if (line.substr(0, key.size()) != key) return false;
        rest = std::string(line.substr(key.size()));
        while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
        return true;
    };
    auto fault = [&]() {
        if (c.FaultLine == 0) c.FaultLine = lineNumber;
        return true;
    };
    std::string rest;
    if (after(kSeedKey, rest)) {
        if (!ParseSeed(rest, c.Seed)) return fault();
        c.Known = true;
        c.Lines.Seed = lineNumber;
        return true;
    }
    if (after(kEndSeedKey, rest)) {
        std::uint32_t seed = 0;
        if (!ParseSeed(rest, seed)) return fault();
        c.EndSeed = seed;
        c.Lines.EndSeed = lineNumber;
        return true;
    }
    if (after(kFormationKey, rest)) {
        if (!KnownFormation(rest)) return fault();
        c.Events.push_back(TKifEvent{rest, {}});
        return true;
    }
    if (after(kTakeBackKey, rest)) {
        std::istringstream words(rest);
        std::string count, human, com, seconds, extra;
        TKifTakeBack t;
        if (!(words >> count >> human >> com >> seconds) || (words >> extra) ||
            count.find_first_not_of("0123456789") != std::string::npos || count.size() > 4 ||
            !ParseSquares(human, t.Human) || t.Human.Empty() || !ParseSquares(com, t.Com) ||
            !ParseSeconds(seconds, t.Seconds))
            return fault();
        t.AtCount = std::stoi(count);
        c.Events.push_back(TKifEvent{{}, t});
        return true;
    }
    if (after(kSecondsKey, rest)) {
        std::istringstream words(rest);
        std::string word;
        c.ComSeconds.clear();
        double s = 0;
        while (words >> word) {
            if (!ParseSeconds(word, s)) return fault();
            c.ComSeconds.push_back(s);
        }
        return true;
    }
    return false;
}
