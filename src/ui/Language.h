// The language the window speaks. Japanese is the source of every text; English comes from the
// translations built into the program. The choice is the system's (a ja* locale speaks Japanese,
// any other English) unless the player picks one in the 表示 menu, which is kept between runs.
#pragma once

#include "session/Tr.h"

#include <QString>

class QLocale;
class QObject;

enum class TLanguageChoice { System, Japanese, English };

namespace Language {

// The kept choice; System when none is kept or the kept value is not one this program writes.
TLanguageChoice Kept();
void Keep(TLanguageChoice choice);
// The language a choice means on a system with this locale.
TTextLanguage Resolve(TLanguageChoice choice, const QLocale& system);

// Installs the game's translations and the toolkit's own (its buttons and file dialogs) for the
// language, and gives the session the toolkit's translate so that its texts follow.
void Apply(TTextLanguage language);
TTextLanguage Current();

// Sets an object's text (a menu's title, an action's, a button's or a label's text, a window's
// title) from its Japanese source now, and again at every Retranslate. The source and its context
// must be the literals that the translation tools found (QT_TRANSLATE_NOOP).
void SetText(QObject* object, const char* context, const char* source);
void SetToolTip(QObject* object, const char* context, const char* source);
// The name a formation is shown by: the Japanese name itself, or its English gloss.
QString FormationName(const QString& japanese);

// Every object under root (root included) given its texts by SetText or SetToolTip gets them again
// in the language now installed.
void Retranslate(QObject* root);

} // namespace Language
