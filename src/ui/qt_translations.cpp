#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include "translation/language_match.h"

bool LoadQtTranslations(const QString& language) {
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    if (language.isEmpty())
        return false;
    // QLocale reads "pt_BR" and "pt-BR" alike, with the region in capitals.
    QString name = language;
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    if (const qsizetype cut = name.indexOf(QLatin1Char('_')); cut > 0)
        name = name.first(cut).toLower() + name.sliced(cut).toUpper();
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(name), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

QString QtLanguageFor(const QString& translationPath) {
    if (translationPath.isEmpty())
        return {};
    if (const QString declared = DeclaredLanguage(translationPath); !declared.isEmpty())
        return declared;
    // A file without a Language key (English.txt, older files) is in the language its name gives,
    // in that language or in English ("Deutsch.txt", "German.txt").
    const QString name = QFileInfo(translationPath).completeBaseName();
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (locale.language() != QLocale::C &&
            (name.compare(locale.nativeLanguageName(), Qt::CaseInsensitive) == 0 ||
             name.compare(QLocale::languageToString(locale.language()), Qt::CaseInsensitive) == 0))
            return QLocale::languageToCode(locale.language());
    }
    return {};
}
