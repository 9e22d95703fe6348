#include "session/Continuation.h"

#include "session/Seats.h"

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
constexpr std::string_view kStartSeatsKey = "#ミルトア開始対局者：";
constexpr std::string_view kSeatsChangeKey = "#ミルトア対局者変更：";
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
    if (!c.StartSeats.empty()) lines.push_back(std::string(kStartSeatsKey) + c.StartSeats);
    for (const TKifEvent& e : c.Events) {
        if (!e.Formation.empty()) {
            lines.push_back(std::string(kFormationKey) + e.Formation);
            continue;
        }
        if (!e.Seats.empty()) {
            lines.push_back(std::string(kSeatsChangeKey) + std::to_string(e.SeatsAt) + " " + e.Seats);
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

namespace {

// Each "#" line's reading: false for a fault.
bool ReadSeed(const std::string& rest, int lineNumber, TKifContinuation& c) {
    if (!ParseSeed(rest, c.Seed)) return false;
    c.Known = true;
    c.Lines.Seed = lineNumber;
    return true;
}

bool ReadEndSeed(const std::string& rest, int lineNumber, TKifContinuation& c) {
    std::uint32_t seed = 0;
    if (!ParseSeed(rest, seed)) return false;
    c.EndSeed = seed;
    c.Lines.EndSeed = lineNumber;
    return true;
}

bool ReadStartSeats(const std::string& rest, int, TKifContinuation& c) {
    if (!ParseSeatsText(rest)) return false;
    c.StartSeats = rest;
    return true;
}

bool ReadSeatsChange(const std::string& rest, int, TKifContinuation& c) {
    const std::size_t blank = rest.find(' ');
    const std::string count = rest.substr(0, blank);
    if (blank == std::string::npos || count.empty() || count.size() > 4 ||
        count.find_first_not_of("0123456789") != std::string::npos || !ParseSeatsText(rest.substr(blank + 1)))
        return false;
    TKifEvent e;
    e.Seats = rest.substr(blank + 1);
    e.SeatsAt = std::stoi(count);
    c.Events.push_back(e);
    return true;
}

bool ReadFormation(const std::string& rest, int, TKifContinuation& c) {
    if (!KnownFormation(rest)) return false;
    TKifEvent e;
    e.Formation = rest;
    c.Events.push_back(std::move(e));
    return true;
}

bool ReadTakeBack(const std::string& rest, int, TKifContinuation& c) {
    std::istringstream words(rest);
    std::string count, human, com, seconds, extra;
    TKifTakeBack t;
    if (!(words >> count >> human >> com >> seconds) || (words >> extra) ||
        count.find_first_not_of("0123456789") != std::string::npos || count.size() > 4 ||
        !ParseSquares(human, t.Human) || t.Human.Empty() || !ParseSquares(com, t.Com) ||
        !ParseSeconds(seconds, t.Seconds))
        return false;
    t.AtCount = std::stoi(count);
    TKifEvent e;
    e.TakeBack = t;
    c.Events.push_back(std::move(e));
    return true;
}

bool ReadSeconds(const std::string& rest, int, TKifContinuation& c) {
    std::istringstream words(rest);
    std::string word;
    c.ComSeconds.clear();
    double s = 0;
    while (words >> word) {
        if (!ParseSeconds(word, s)) return false;
        c.ComSeconds.push_back(s);
    }
    return true;
}

struct TLineKind {
    std::string_view Key;
    bool (*Read)(const std::string& rest, int lineNumber, TKifContinuation& c);
};

constexpr TLineKind kLineKinds[] = {
    {kSeedKey, ReadSeed},
    {kEndSeedKey, ReadEndSeed},
    {kStartSeatsKey, ReadStartSeats},
    {kSeatsChangeKey, ReadSeatsChange},
    {kFormationKey, ReadFormation},
    {kTakeBackKey, ReadTakeBack},
    {kSecondsKey, ReadSeconds},
};

} // namespace

bool ReadContinuationLine(std::string_view line, int lineNumber, TKifContinuation& c) {
    for (const TLineKind& kind : kLineKinds) {
        if (line.substr(0, kind.Key.size()) != kind.Key) continue;
        std::string rest(line.substr(kind.Key.size()));
        while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
        if (!kind.Read(rest, lineNumber, c) && c.FaultLine == 0) c.FaultLine = lineNumber;
        return true;
    }
    return false;
}
