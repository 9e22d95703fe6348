// Keeps every game: the record of the game in progress is written as a .kifu file into one folder after
// every completed turn and at the end, one file per game named by its start time (20240305-090731.kifu),
// each time as a new file renamed over the old, so that a closed window or a crash loses at most the
// turn in progress.
#pragma once

#include "session/Kif.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class TRecordKeeper {
public:
    // The folder is made when the first record is written.
    explicit TRecordKeeper(std::filesystem::path folder);

    // Writes the record of a game. game numbers the games of one session: a new number starts a new
    // file, so no game ever overwrites another's. Never throws; a failure is kept in LastError and the
    // next call tries again.
    void Keep(std::uint64_t game, const TKifRecord& record) noexcept;

    // Writes record over the file of the game kept last: a game that was to be left, kept as
    // interrupted, goes on after all. Never throws, as Keep.
    void KeepAgain(const TKifRecord& record) noexcept;

    // Goes on keeping game in file, a record kept before (a game continued where it stopped).
    void Adopt(std::uint64_t game, std::filesystem::path file);

    // Asked for each free name a new game's file might take, before anything is written there: false
    // passes the name over for the next (another program keeps its game there). Unset, every free
    // name is taken.
    std::function<bool(const std::filesystem::path&)> Claim;

    // The newest kept records, newest first (by the time they were last written).
    std::vector<std::filesystem::path> Recent(std::size_t count = 10) const;

    const std::filesystem::path& Folder() const { return folder_; }
    // The file of the game kept last; empty before the first.
    const std::filesystem::path& CurrentFile() const { return file_; }
    // Why the last write failed; empty when it succeeded.
    const std::string& LastError() const { return error_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::uint64_t game_ = 0;
    bool haveGame_ = false;
    std::string error_;

    std::filesystem::path NewFileFor(const TKifRecord& record) const;
};
