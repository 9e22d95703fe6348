#include "session/Seats.h"

#include "formation/Senpou.h"

#include <charconv>
#include <sstream>

namespace {

constexpr std::string_view kEngineName = "エンジン Lv";
constexpr std::string_view kComName = "COM";

} // namespace

std::optional<Side> TSeats::ListedCom() const {
    if (Of[1].Kind == SeatKind::Com) return Side::Gote;
    if (Of[0].Kind == SeatKind::Com) return Side::Sente;
    return std::nullopt;
}

std::optional<Side> TSeats::LoneHuman() const {
    if (Humans() != 1) return std::nullopt;
    return Of[0].Computer() ? Side::Gote : Side::Sente;
}

std::optional<int> EngineLevelFromText(std::string_view text) {
    int level = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    // Leading zeros and signs are no level a front-end or a record writes.
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || text.front() == '0' ||
        level < 1 || level > kEngineLevelCount)
        return std::nullopt;
    return level;
}

bool KnownFormation(std::string_view name) {
    for (const TFormationEntry& e : kFormationTable)
        if (e.Name == name) return true;
    return false;
}

std::string SeatRecordName(const TSeat& seat, bool withFormation) {
    switch (seat.Kind) {
    case SeatKind::Human:
        return "あなた";
    case SeatKind::Com:
        return std::string(kComName) + (withFormation ? seat.Formation : "");
    case SeatKind::Engine:
        return std::string(kEngineName) + std::to_string(seat.Level);
    }
    return {};
}

std::optional<TSeat> SeatFromRecordName(std::string_view name) {
    if (name == "あなた") return TSeat::Human();
    if (name == kComName) return TSeat::Com();
    if (name.starts_with(kComName) && KnownFormation(name.substr(kComName.size())))
        return TSeat::Com(std::string(name.substr(kComName.size())));
    if (name.starts_with(kEngineName))
        if (const std::optional<int> level = EngineLevelFromText(name.substr(kEngineName.size())))
            return TSeat::Engine(*level);
    return std::nullopt;
}

std::string SeatsText(const TSeats& seats) {
    std::string text;
    for (const TSeat& seat : seats.Of) {
        if (!text.empty()) text += ' ';
        switch (seat.Kind) {
        case SeatKind::Human:
            text += "human";
            break;
        case SeatKind::Com:
            text += "com:" + seat.Formation;
            break;
        case SeatKind::Engine:
            text += "engine:" + std::to_string(seat.Level);
            break;
        }
    }
    return text;
}

std::optional<TSeats> ParseSeatsText(std::string_view text) {
    std::istringstream words{std::string(text)};
    std::string word;
    TSeats seats;
    for (TSeat& seat : seats.Of) {
        if (!(words >> word)) return std::nullopt;
        if (word == "human") {
            seat = TSeat::Human();
        } else if (word.starts_with("com:") && KnownFormation(std::string_view(word).substr(4))) {
            seat = TSeat::Com(word.substr(4));
        } else if (const std::optional<int> level =
                       word.starts_with("engine:") ? EngineLevelFromText(std::string_view(word).substr(7))
                                                   : std::nullopt) {
            seat = TSeat::Engine(*level);
        } else {
            return std::nullopt;
        }
    }
    if (words >> word) return std::nullopt;
    return seats;
}
