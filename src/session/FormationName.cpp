#include "session/FormationName.h"

#include "session/Tr.h"

namespace {

constexpr const char* kFormationNames[] = {
    TrNoop("Formation", "【基本形】"),
    TrNoop("Formation", "【中飛車】"),
    TrNoop("Formation", "【矢倉囲い】"),
    TrNoop("Formation", "【船囲い】"),
    TrNoop("Formation", "【穴熊】"),
    TrNoop("Formation", "【居飛車穴熊】"),
    TrNoop("Formation", "【四間飛車】"),
    TrNoop("Formation", "【三間飛車】"),
    TrNoop("Formation", "【向かい飛車】"),
    TrNoop("Formation", "【ミルトア式BIG4 改】"),
    TrNoop("Formation", "【ミルトア式雪崩囲い】"),
    TrNoop("Formation", "【ミルトア式変則矢倉】"),
    TrNoop("Formation", "【ミルトア式十字穴熊】"),
    TrNoop("Formation", "【ミルトア式黄金囲い】"),
};

} // namespace

std::string FormationDisplayName(std::string_view name) {
    for (const char* known : kFormationNames)
        if (name == known) return Tr("Formation", known);
    return std::string(name);
}
