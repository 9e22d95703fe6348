// The words for why COM moved: what the status bar, the replay, the record's comments and the console
// say for each stage of COM's think.
#pragma once

#include "com/KyokumenKanri.h"

#include <string>

// A short Japanese phrase ("王手を回避", "【矢倉囲い】の駒組み 3手目"); empty for an empty reason and
// for the scans that only prepare later stages.
std::string ComReasonText(const TComReason& reason);
