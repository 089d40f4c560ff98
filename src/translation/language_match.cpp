#include "translation/language_match.h"

#include <functional>

#include <QDir>
#include <QLocale>

#include "common/ini_file.h"
#include "common/program_folder.h"
#include "common/settings.h"

namespace {

struct Candidate {
    QString fileName;
    QString language; // "de", "pt-BR"; empty when the file does not say
    QString baseName;
};

QString Normalized(QString code) {
    return code.replace(QLatin1Char('_'), QLatin1Char('-')).trimmed().toLower();
}

QString Primary(const QString& code) {
    return code.section(QLatin1Char('-'), 0, 0);
}

// A file without a Language key is taken by its name.
bool NamedAfter(const Candidate& file, const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return false;
    return file.baseName.compare(locale.nativeLanguageName(), Qt::CaseInsensitive) == 0 ||
           file.baseName.compare(QLocale::languageToString(locale.language()), Qt::CaseInsensitive) == 0;
}

} // namespace

QString TranslationForLanguages(const QStringList& folders, const QStringList& uiLanguages) {
    QList<Candidate> files;
    QStringList seen;
    for (const QString& folder : folders) {
        const QFileInfoList entries =
            QDir(folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        for (const QFileInfo& entry : entries) {
            if (seen.contains(entry.fileName()))
                continue;
            seen.append(entry.fileName());
            const IniFile file(entry.filePath());
            files.append(
                {entry.fileName(),
                 Normalized(file.readString(QStringLiteral("Translation"), QStringLiteral("Language"), {})),
                 entry.completeBaseName()});
        }
    }
    // For each of the user's languages in turn, closest first: the very language and region, then the
    // language alone, then the same language in another region or a file known by its name.
    const std::function<bool(const Candidate&, const QString&)> tiers[] = {
        [](const Candidate& file, const QString& language) { return file.language == language; },
        [](const Candidate& file, const QString& language) { return file.language == Primary(language); },
        [](const Candidate& file, const QString& language) {
            return file.language.isEmpty() ? NamedAfter(file, language)
                                           : Primary(file.language) == Primary(language);
        },
    };
    for (const QString& wanted : uiLanguages) {
        for (const auto& matches : tiers) {
            for (const Candidate& file : files) {
                if (matches(file, Normalized(wanted)))
                    return file.fileName;
            }
        }
    }
    return {};
}

void FollowUserLanguages(StoredSettings& stored, const ProgramFolder& folder,
                         const QStringList& uiLanguages) {
    if (stored.TranslationChosen)
        return;
    const QString name = TranslationForLanguages(folder.translationDirs(), uiLanguages);
    if (!name.isEmpty())
        stored.TranslationPath = folder.translationFile(name);
}
