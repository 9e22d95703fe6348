// Record files given to the KIF reader, as .kifu (UTF-8) and as .kif (CP932) bytes. A record is either
// refused with a line number inside the text, or read; a record that was read replays on the position
// from its start, and writing it and reading that again gives the same record and the same text.
#include "session/Kif.h"
#include "session/KifFile.h"
#include "support/Invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "kif fuzz: %s\n", what.c_str());
    std::abort();
}

bool SameRecord(const TKifRecord& a, const TKifRecord& b) {
    return a.Start == b.Start && a.Edited == b.Edited && a.Began == b.Began && a.Played == b.Played &&
           a.Shown == b.Shown && a.Ending == b.Ending && a.Comments == b.Comments;
}

void Check(std::string_view text) {
    TKifRecord record;
    try {
        record = ReadKif(text);
    } catch (const TKifError& e) {
        const int lines = KifLineOf(text, text.size());
        if (e.Line() < 1 || e.Line() > lines)
            Fail("line " + std::to_string(e.Line()) + " named in a text of " + std::to_string(lines) +
                 " lines");
        return;
    }
    if (record.Played.size() != record.Shown.size()) Fail("played and shown moves differ in number");
    TKyokumen k = KifStartPosition(record);
    for (std::size_t i = 0; i < record.Played.size(); ++i) {
        k.ComToMove = KifMover(record, i) == Side::Gote;
        k.ApplyMove(record.Played[i]);
        const TMove shown = k.ComToMove ? k.Gote.LastMove : k.Sente.LastMove;
        if (!(shown == record.Shown[i])) Fail("move " + std::to_string(i + 1) + " replays differently");
        const std::string fault = invariants::PositionFault(k);
        if (!fault.empty()) Fail(fault);
    }
    const std::string written = WriteKif(record);
    TKifRecord again;
    try {
        again = ReadKif(written);
    } catch (const TKifError& e) {
        Fail(std::string("a written record is refused: ") + e.what());
    }
    if (!SameRecord(record, again)) Fail("a written record reads back differently");
    if (WriteKif(again) != written) Fail("a record's text changes when written twice");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        CheckUtf8(bytes);
        Check(bytes);
    } catch (const TKifError&) {
    }
    std::string decoded;
    try {
        decoded = DecodeCp932(bytes);
    } catch (const TKifError&) {
        return 0;
    }
    Check(decoded);
    return 0;
}
