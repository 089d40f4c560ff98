#include "translation/language_match.h"

#include <functional>

#include <QDir>
#include <QLocale>

#include "common/ini_file.h"
#include "common/program_folder.h"
#include "common/regular_file.h"
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

// Only the start of a file is read for its Language key: with hundreds of files in the folders,
// reading each whole would hold up the start for many seconds. Translation files keep the key
// near their top or within their first few hundred lines.
constexpr qint64 kLanguageHeadBytes = 32 * 1024;

// A file without a Language key is taken by its name.
bool NamedAfter(const Candidate& file, const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return false;
    return file.baseName.compare(locale.nativeLanguageName(), Qt::CaseInsensitive) == 0 ||
           file.baseName.compare(QLocale::languageToString(locale.language()), Qt::CaseInsensitive) == 0;
}

} // namespace

QString DeclaredLanguage(const QString& path) {
    std::optional<QByteArray> head = ReadRegularFile(path, kLanguageHeadBytes + 1);
    if (!head)
        return {};
    if (head->size() > kLanguageHeadBytes)
        head->truncate(head->lastIndexOf('\n', kLanguageHeadBytes - 1) + 1);
    return Normalized(IniFile::fromData(path, *head)
                          .readString(QStringLiteral("Translation"), QStringLiteral("Language"), {}));
}

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
            files.append({entry.fileName(), DeclaredLanguage(entry.filePath()), entry.completeBaseName()});
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
