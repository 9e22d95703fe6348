#include "session/RecordKeeper.h"

#include "session/KifFile.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace {

// The names one start time gives ("…-2.kifu", "…-3.kifu", …) are tried this far and no further.
constexpr int kMostNamesTried = 1000;

} // namespace

TRecordKeeper::TRecordKeeper(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path TRecordKeeper::NewFileFor(const TKifRecord& record) const {
    const TKifDate& d = record.Began;
    char stem[64];
    if (d.Known())
        std::snprintf(stem, sizeof stem, "%04d%02d%02d-%02d%02d%02d", d.Year, d.Month, d.Day, d.Hour,
                      d.Minute, d.Second);
    else
        std::snprintf(stem, sizeof stem, "game");
    // Two games begun in the same second (or a clock set back) must not share a file, nor may a game
    // of this window take a name another window has claimed.
    std::error_code ec;
    for (int n = 1; n <= kMostNamesTried; ++n) {
        const std::string name =
            n == 1 ? std::string(stem) + ".kifu" : std::string(stem) + "-" + std::to_string(n) + ".kifu";
        const std::filesystem::path path = folder_ / name;
        if (!std::filesystem::exists(path, ec) && !ec && (!Claim || Claim(path))) return path;
        if (ec) throw std::filesystem::filesystem_error("cannot look into the records folder", folder_, ec);
    }
    throw std::runtime_error("no free name for the record in the records folder");
}

void TRecordKeeper::Keep(std::uint64_t game, const TKifRecord& record) noexcept {
    try {
        if (!haveGame_ || game != game_) {
            std::filesystem::create_directories(folder_);
            file_ = NewFileFor(record);
            game_ = game;
            haveGame_ = true;
        }
        // A turn must not wait for the disk: the rename alone already keeps the file whole when the
        // program dies, and the file systems in common use write a file renamed over another before
        // the rename itself. The finished game, and one left unfinished, is flushed for certain.
        WriteFileReplacing(file_, WithCrLf(WriteKif(record)),
                           record.Ending.Over() || record.Interrupted);
        error_.clear();
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "cannot keep the record";
    }
}

void TRecordKeeper::KeepAgain(const TKifRecord& record) noexcept {
    if (haveGame_) Keep(game_, record);
}

void TRecordKeeper::Adopt(std::uint64_t game, std::filesystem::path file) {
    file_ = std::move(file);
    game_ = game;
    haveGame_ = true;
}

std::vector<std::filesystem::path> TRecordKeeper::Recent(std::size_t count) const {
    struct TEntry {
        std::filesystem::file_time_type Time;
        std::filesystem::path Path;
    };
    std::vector<TEntry> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError) || it->path().extension() != ".kifu") continue;
        const auto time = it->last_write_time(entryError);
        if (!entryError) entries.push_back({time, it->path()});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
        return a.Time != b.Time ? a.Time > b.Time : a.Path.filename() > b.Path.filename();
    });
    std::vector<std::filesystem::path> paths;
    for (std::size_t i = 0; i < entries.size() && i < count; ++i) paths.push_back(entries[i].Path);
    return paths;
}
