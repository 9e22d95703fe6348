// The language of what the window shows. Every text the session makes for a person to read passes
// through Tr(context, source): the Japanese source, or the installed translator's text for it. Records,
// the clipboard record and the console stay Japanese: nothing installs a translator for them, and the
// record writers hold a TRecordTexts while they write.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

enum class TTextLanguage { Japanese, English };

// (context, Japanese source) -> the text to show; the window's is the toolkit's translate().
using TTranslator = std::function<std::string(const char* context, const char* source)>;

// Installs the language for the whole program. Japanese drops the translator.
void SetDisplayLanguage(TTextLanguage language, TTranslator translator = {});
// English only while a translator is installed and no TRecordTexts is alive.
TTextLanguage DisplayLanguage();

// The text to show for a Japanese source (the source when no translator is installed). The translation
// tools find the calls by this name: keep both arguments string literals.
std::string Tr(const char* context, const char* source);

// Marks a source for the translation tools where the text is looked up later by Tr (a table's entry, a
// text built in two languages); gives the source back.
constexpr const char* TrNoop(const char* /*context*/, const char* source) {
    return source;
}

// Replaces %1 … %9 in `text` by the arguments, in one pass (an argument's own "%2" stays as it is).
std::string TrArg(std::string_view text, std::initializer_list<std::string_view> args);

// While one is alive on this thread, Tr gives the Japanese sources: what goes into a record file stays
// Japanese whatever the window shows.
class TRecordTexts {
public:
    TRecordTexts();
    ~TRecordTexts();
    TRecordTexts(const TRecordTexts&) = delete;
    TRecordTexts& operator=(const TRecordTexts&) = delete;
};
