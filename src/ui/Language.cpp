#include "ui/Language.h"

#include "session/FormationName.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QSettings>
#include <QTranslator>

namespace {

const char* const kLanguageKey = "language";
const char* const kContextProperty = "mirutoaTrContext";
const char* const kSourceProperty = "mirutoaTrSource";
const char* const kTipContextProperty = "mirutoaTipContext";
const char* const kTipSourceProperty = "mirutoaTipSource";

TTextLanguage current = TTextLanguage::Japanese;

// The translators live as long as the application: installed ones must outlive every translate().
struct TTranslators {
    QTranslator Window;
    QTranslator Game;
    QTranslator Toolkit;
};

TTranslators& Translators() {
    static TTranslators* translators = new TTranslators;
    return *translators;
}

void SetObjectText(QObject* object, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(object))
        action->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(text);
    else if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setWindowTitle(text);
}

void SetObjectToolTip(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object))
        action->setToolTip(text);
    else if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setToolTip(text);
}

QString Translated(const QObject* object, const char* contextProperty, const char* sourceProperty) {
    const QByteArray context = object->property(contextProperty).toByteArray();
    const QByteArray source = object->property(sourceProperty).toByteArray();
    return QCoreApplication::translate(context.constData(), source.constData());
}

void RetranslateOne(QObject* object) {
    if (object->property(kSourceProperty).isValid())
        SetObjectText(object, Translated(object, kContextProperty, kSourceProperty));
    if (object->property(kTipSourceProperty).isValid())
        SetObjectToolTip(object, Translated(object, kTipContextProperty, kTipSourceProperty));
}

} // namespace

namespace Language {

TLanguageChoice Kept() {
    const QString kept = QSettings().value(QString::fromLatin1(kLanguageKey)).toString();
    if (kept == QLatin1String("ja")) return TLanguageChoice::Japanese;
    if (kept == QLatin1String("en")) return TLanguageChoice::English;
    return TLanguageChoice::System;
}

void Keep(TLanguageChoice choice) {
    const char* value = choice == TLanguageChoice::Japanese  ? "ja"
                        : choice == TLanguageChoice::English ? "en"
                                                             : "system";
    QSettings().setValue(QString::fromLatin1(kLanguageKey), QString::fromLatin1(value));
}

TTextLanguage Resolve(TLanguageChoice choice, const QLocale& system) {
    switch (choice) {
    case TLanguageChoice::Japanese:
        return TTextLanguage::Japanese;
    case TLanguageChoice::English:
        return TTextLanguage::English;
    case TLanguageChoice::System:
        break;
    }
    return system.language() == QLocale::Japanese ? TTextLanguage::Japanese : TTextLanguage::English;
}

void Apply(TTextLanguage language) {
    TTranslators& t = Translators();
    for (QTranslator* translator : {&t.Window, &t.Game, &t.Toolkit})
        QCoreApplication::removeTranslator(translator);
    const bool english = language == TTextLanguage::English;
    const QString folder = QStringLiteral(":/mirutoa/translations");
    // A missing translation leaves its texts Japanese; the window still works.
    if (english && t.Window.load(QStringLiteral("mirutoa_en"), folder))
        QCoreApplication::installTranslator(&t.Window);
    if (english && t.Game.load(QStringLiteral("mirutoa_game_en"), folder))
        QCoreApplication::installTranslator(&t.Game);
    if (t.Toolkit.load(english ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&t.Toolkit);
    current = language;
    if (english)
        SetDisplayLanguage(TTextLanguage::English, [](const char* context, const char* source) {
            return QCoreApplication::translate(context, source).toStdString();
        });
    else
        SetDisplayLanguage(TTextLanguage::Japanese);
}

TTextLanguage Current() {
    return current;
}

void SetText(QObject* object, const char* context, const char* source) {
    object->setProperty(kContextProperty, QByteArray(context));
    object->setProperty(kSourceProperty, QByteArray(source));
    SetObjectText(object, QCoreApplication::translate(context, source));
}

void SetToolTip(QObject* object, const char* context, const char* source) {
    object->setProperty(kTipContextProperty, QByteArray(context));
    object->setProperty(kTipSourceProperty, QByteArray(source));
    SetObjectToolTip(object, QCoreApplication::translate(context, source));
}

QString FormationName(const QString& japanese) {
    return QString::fromStdString(FormationDisplayName(japanese.toStdString()));
}

void Retranslate(QObject* root) {
    RetranslateOne(root);
    for (QObject* object : root->findChildren<QObject*>()) RetranslateOne(object);
}

} // namespace Language
