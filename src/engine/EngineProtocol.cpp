#include "engine/EngineProtocol.h"

#include "engine/EngineNotation.h"

#include <charconv>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// Whole-token integers only: "12x" or a number past the type's range gives nothing, never a wrapped value.
template <typename T> std::optional<T> Number(std::string_view token) {
    T value{};
    const char* end = token.data() + token.size();
    const auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// The tokens between two positions joined by single blanks.
std::string Join(const std::vector<std::string_view>& tokens, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to && i < tokens.size(); ++i) {
        if (!text.empty()) text += ' ';
        text += tokens[i];
    }
    return text;
}

// The text after the first n tokens, as the engine wrote it (an "info string" keeps its spacing).
std::string_view Rest(std::string_view line, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t t = 0; t < n; ++t) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
    }
    while (i < line.size() && IsSpace(line[i])) ++i;
    std::string_view rest = line.substr(i);
    while (!rest.empty() && IsSpace(rest.back())) rest.remove_suffix(1);
    return rest;
}

void ParseOption(const std::vector<std::string_view>& t, TEngineLine& out) {
    out.Type = TEngineLine::Kind::Option;
    // Names and defaults may hold blanks: each field runs to the next keyword.
    auto isKeyword = [](std::string_view s) {
        return s == "name" || s == "type" || s == "default" || s == "min" || s == "max" || s == "var";
    };
    std::size_t i = 1;
    while (i < t.size()) {
        const std::string_view key = t[i];
        std::size_t end = i + 1;
        while (end < t.size() && !isKeyword(t[end])) ++end;
        const std::string value = Join(t, i + 1, end);
        if (key == "name")
            out.Name = value;
        else if (key == "type")
            out.OptionType = value;
        else if (key == "default")
            out.Default = value == "<empty>" ? std::string() : value;
        else if (key == "min")
            out.Min = Number<std::int64_t>(value);
        else if (key == "max")
            out.Max = Number<std::int64_t>(value);
        else if (key == "var")
            out.Vars.push_back(value);
        i = end;
    }
}

void ParseInfo(const std::vector<std::string_view>& t, TEngineLine& out) {
    out.Type = TEngineLine::Kind::Info;
    // A field's number, or nothing and the line marked when the number cannot be read.
    const auto read = [&out]<typename T>(std::optional<T>& field, std::string_view token) {
        field = Number<T>(token);
        if (!field) out.Malformed = true;
    };
    for (std::size_t i = 1; i < t.size(); ++i) {
        const std::string_view key = t[i];
        if (key == "depth" && i + 1 < t.size()) {
            read(out.Depth, t[++i]);
        } else if (key == "nodes" && i + 1 < t.size()) {
            read(out.Nodes, t[++i]);
        } else if (key == "multipv" && i + 1 < t.size()) {
            read(out.MultiPv, t[++i]);
        } else if (key == "score" && i + 2 < t.size()) {
            if (t[i + 1] == "cp") read(out.ScoreCp, t[i + 2]);
            if (t[i + 1] == "mate") read(out.ScoreMate, t[i + 2]);
            i += 2;
        } else if (key == "pv") {
            // The variation runs to the end of the line.
            for (++i; i < t.size() && IsEngineMoveToken(t[i]); ++i) out.Pv.emplace_back(t[i]);
            return;
        }
    }
}

} // namespace

bool IsEngineMoveToken(std::string_view token) {
    return ParseEngineMove(token).has_value();
}

TEngineLine ParseEngineLine(std::string_view line) {
    TEngineLine out;
    const std::vector<std::string_view> t = Tokens(line);
    if (t.empty()) {
        out.Type = TEngineLine::Kind::Blank;
        return out;
    }
    const std::string_view head = t[0];
    if (head == "uciok" && t.size() == 1) {
        out.Type = TEngineLine::Kind::UciOk;
    } else if (head == "readyok" && t.size() == 1) {
        out.Type = TEngineLine::Kind::ReadyOk;
    } else if (head == "id" && t.size() >= 2) {
        out.Type = TEngineLine::Kind::Id;
        out.Name = std::string(t[1]);
        out.Text = std::string(Rest(line, 2));
    } else if (head == "option") {
        ParseOption(t, out);
    } else if (head == "info" && t.size() >= 2 && t[1] == "string") {
        out.Type = TEngineLine::Kind::InfoString;
        out.Text = std::string(Rest(line, 2));
    } else if (head == "info") {
        ParseInfo(t, out);
    } else if (head == "bestmove" && t.size() >= 2 &&
               (t[1] == "(none)" || t[1] == "resign" || IsEngineMoveToken(t[1]))) {
        out.Type = TEngineLine::Kind::BestMove;
        out.Resigns = t[1] == "resign";
        if (IsEngineMoveToken(t[1])) out.Move = std::string(t[1]);
        if (t.size() >= 4 && t[2] == "ponder" && IsEngineMoveToken(t[3])) out.Ponder = std::string(t[3]);
    } else if (t.size() == 2 && head.size() > 1 && head.back() == ':' &&
               IsEngineMoveToken(head.substr(0, head.size() - 1))) {
        if (const auto n = Number<std::uint64_t>(t[1])) {
            out.Type = TEngineLine::Kind::PerftMove;
            out.Move = std::string(head.substr(0, head.size() - 1));
            out.Count = *n;
        }
    } else if (t.size() == 3 && head == "Nodes" && t[1] == "searched:") {
        if (const auto n = Number<std::uint64_t>(t[2])) {
            out.Type = TEngineLine::Kind::PerftTotal;
            out.Count = *n;
        }
    }
    return out;
}
