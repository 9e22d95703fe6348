// The words for why COM moved: what the status bar, the replay, the record's comments and the console
// say for each stage of COM's think.
#pragma once

#include "com/KyokumenKanri.h"

#include <string>
#include <string_view>

// A short phrase ("王手を回避", "【矢倉囲い】の駒組み 3手目") in the display language; empty for an empty
// reason and for the scans that only prepare later stages.
std::string ComReasonText(const TComReason& reason);

// A reason as a record of this game wrote it beside COM's move, in the display language; any other
// comment is given back as it is.
std::string RecordedComReasonText(std::string_view recorded);
