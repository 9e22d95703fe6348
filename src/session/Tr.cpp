#include "session/Tr.h"

#include <utility>

namespace {

TTextLanguage gLanguage = TTextLanguage::Japanese;
TTranslator gTranslator;
thread_local int tRecordDepth = 0;

} // namespace

void SetDisplayLanguage(TTextLanguage language, TTranslator translator) {
    gLanguage = translator ? language : TTextLanguage::Japanese;
    gTranslator = gLanguage == TTextLanguage::Japanese ? TTranslator{} : std::move(translator);
}

TTextLanguage DisplayLanguage() {
    return tRecordDepth > 0 ? TTextLanguage::Japanese : gLanguage;
}

std::string Tr(const char* context, const char* source) {
    if (DisplayLanguage() == TTextLanguage::Japanese || !gTranslator) return source;
    std::string text = gTranslator(context, source);
    return text.empty() ? std::string(source) : text;
}

std::string TrArg(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

TRecordTexts::TRecordTexts() {
    ++tRecordDepth;
}
TRecordTexts::~TRecordTexts() {
    --tRecordDepth;
}
